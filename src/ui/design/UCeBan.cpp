#include "ui/design/UCeBan.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/UnitData.h"

TfrmCeBan::TfrmCeBan(QWidget* parent)
    : TBoardDlgBase({QStringLiteral("添加侧板"), QStringLiteral("侧板"), false, "QH", "TBQH"},
                    parent) {
    setObjectName("frmCeBan");
    auto* box = new QGroupBox(QStringLiteral("板件类型"), this);
    optLeft = new QRadioButton(QStringLiteral("左侧板"), box);
    optLeft->setObjectName("optLeft");
    optRight = new QRadioButton(QStringLiteral("右侧板"), box);
    optRight->setObjectName("optRight");
    auto* row = new QHBoxLayout(box);
    row->addWidget(optLeft);
    row->addWidget(optRight);
    ExtraArea()->addWidget(box);
    connect(optLeft, &QRadioButton::clicked, this, [this] { optLeftClick(); });
    connect(optRight, &QRadioButton::clicked, this, [this] { optRightClick(); });
}

void TfrmCeBan::optLeftClick() {
    optLeft->setChecked(true);
    txtName->setText(QStringLiteral("左侧板"));
}

void TfrmCeBan::optRightClick() {
    optRight->setChecked(true);
    txtName->setText(QStringLiteral("右侧板"));
}

bool TfrmCeBan::PreCheck() {
    if (!optLeft->isChecked() && !optRight->isChecked()) {
        ShowInfo(QStringLiteral("请选择是左侧板还是右侧板！"));
        return false;
    }
    cbType = optLeft->isChecked() ? QStringLiteral("Left") : QStringLiteral("Right");
    return true;
}

bool TfrmCeBan::EdgeAllowed() {
    if (optLeft->isChecked() || optRight->isChecked()) return true;
    ShowInfo(QStringLiteral("请选择板件类型！"));
    return false;
}

QString TfrmCeBan::EdgeFields() const { return optLeft->isChecked() ? "LQH" : "RQH"; }
