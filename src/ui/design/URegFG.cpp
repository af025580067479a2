#include "ui/design/URegFG.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/NumberFormat.h"
#include "ui/UiChecks.h"

TfrmRegFG::TfrmRegFG(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRegFG");
    setWindowTitle(QStringLiteral("分格区域"));
    setWindowFlag(Qt::Tool);
    auto* box = new QGroupBox(QStringLiteral("位置坐标"), this);
    txtVal = new QLineEdit(box);
    txtVal->setObjectName("txtVal");
    auto* row = new QHBoxLayout(box);
    row->addWidget(new QLabel(QStringLiteral("位置:"), box));
    row->addWidget(txtVal);
    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
}

void TfrmRegFG::btnOKClick() {
    IsOk = false;
    if (!CheckNumberField(txtVal)) return;
    kelm::ParseNumber(txtVal->text().trimmed(), val);
    IsOk = true;
    accept();
}
