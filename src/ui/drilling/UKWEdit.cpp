#include "ui/drilling/UKWEdit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/NumberFormat.h"
#include "common/XmlText.h"
#include "data/UnitData.h"
#include "ui/UiChecks.h"

namespace {
// Hole codes in the order of the direction list.
const char* const kCodes[] = {"M", "L", "R", "T", "B"};
}  // namespace

TfrmKWEdit::TfrmKWEdit(QWidget* parent) : QDialog(parent) {
    setObjectName("frmKWEdit");
    setWindowTitle(QStringLiteral("孔位设置"));

    auto* grid = new QGridLayout;
    auto addRow = [&](int row, const QString& caption, QWidget* field) {
        grid->addWidget(new QLabel(caption, this), row, 0, Qt::AlignRight);
        grid->addWidget(field, row, 1);
    };
    txtX = new QLineEdit(this);
    txtX->setObjectName("txtX");
    txtY = new QLineEdit(this);
    txtY->setObjectName("txtY");
    txtDesc = new QLineEdit(this);
    txtDesc->setObjectName("txtDesc");
    cbFX = new QComboBox(this);
    cbFX->setObjectName("cbFX");
    cbFX->addItems({QStringLiteral("无边孔"), QStringLiteral("向左开"), QStringLiteral("向右开"),
                    QStringLiteral("向上开"), QStringLiteral("向下开")});
    cbFX->setCurrentIndex(0);
    addRow(0, QStringLiteral("X坐标："), txtX);
    addRow(1, QStringLiteral("Y坐标："), txtY);
    addRow(2, QStringLiteral("描述："), txtDesc);
    addRow(3, QStringLiteral("边孔方向："), cbFX);

    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(300, 190);
}

void TfrmKWEdit::btnOKClick() {
    if (!CheckNumberField(txtX)) {
        ShowInfo(QStringLiteral("请输入X坐标！"));
        txtX->setFocus();
        return;
    }
    if (!CheckNumberField(txtY)) {
        ShowInfo(QStringLiteral("请输入Y坐标！"));
        txtY->setFocus();
        return;
    }
    const int index = cbFX->currentIndex();
    flag = QString::fromLatin1(kCodes[index >= 0 && index < 5 ? index : 0]);
    IsOk = true;
    accept();
}

QString TfrmKWEdit::HoleElement() const {
    double x = 0, y = 0;
    kelm::ParseNumber(txtX->text(), x);
    kelm::ParseNumber(txtY->text(), y);
    return QStringLiteral("<k x=\"%1\" y=\"%2\"  f=\"%3\" desc=\"%4\" />")
        .arg(kelm::FormatGeneral(x), kelm::FormatGeneral(y), flag,
             kelm::XmlAttributeText(txtDesc->text().trimmed(), false));
}
