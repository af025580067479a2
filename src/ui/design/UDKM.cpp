#include "ui/design/UDKM.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "ui/UiChecks.h"
#include "ui/design/UClSel.h"
#include "ui/design/UDoorDrawerCommon.h"

TfrmDkM::TfrmDkM(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDkM");
    setWindowTitle(QStringLiteral("添加门"));
    setWindowFlag(Qt::Tool);
    auto* regBox = MakeRegionGroup(this, txtRegW, txtRegD, txtRegH, txtRegZ);

    auto* clBox = new QGroupBox(QStringLiteral("板料"), this);
    txtClName = new QLineEdit(clBox);
    txtClName->setObjectName("txtClName");
    txtClName->setReadOnly(true);
    btnSel = new QPushButton(QStringLiteral(">>"), clBox);
    btnSel->setObjectName("btnSel");
    btnSel->setMaximumWidth(40);
    txtName = new QLineEdit(QStringLiteral("左门扇"), clBox);
    txtName->setObjectName("txtName");
    auto* clRow = new QHBoxLayout;
    clRow->addWidget(txtClName);
    clRow->addWidget(btnSel);
    auto* clForm = new QFormLayout(clBox);
    clForm->addRow(QStringLiteral("材料："), clRow);
    clForm->addRow(QStringLiteral("名称："), txtName);

    auto* gapBox = new QGroupBox(QStringLiteral("间距"), this);
    auto* gapGrid = new QGridLayout(gapBox);
    auto gap = [&](QLineEdit*& field, const char* name, const QString& label, int row, int col) {
        field = new QLineEdit(QStringLiteral("0"), gapBox);
        field->setObjectName(name);
        field->setMaximumWidth(80);
        gapGrid->addWidget(new QLabel(label, gapBox), row, col * 2);
        gapGrid->addWidget(field, row, col * 2 + 1);
    };
    gap(txtL, "txtL", QStringLiteral("左："), 0, 0);
    gap(txtR, "txtR", QStringLiteral("右："), 0, 1);
    gap(txtT, "txtT", QStringLiteral("上："), 1, 0);
    gap(txtB, "txtB", QStringLiteral("下："), 1, 1);
    gap(txtQ, "txtQ", QStringLiteral("前："), 2, 0);

    auto* posBox = new QGroupBox(QStringLiteral("位置"), this);
    cbBFb = new QComboBox(posBox);
    cbBFb->setObjectName("cbBFb");
    cbBFb->addItems({QStringLiteral("1/2"), QStringLiteral("1/1")});
    cbBFb->setCurrentIndex(0);
    optLeft = new QRadioButton(QStringLiteral("靠左"), posBox);
    optLeft->setObjectName("optLeft");
    optLeft->setChecked(true);
    RadioButton1 = new QRadioButton(QStringLiteral("靠右"), posBox);
    RadioButton1->setObjectName("RadioButton1");
    auto* posRow = new QHBoxLayout(posBox);
    posRow->addWidget(new QLabel(QStringLiteral("宽尺寸=分格宽 x "), posBox));
    posRow->addWidget(cbBFb);
    posRow->addSpacing(12);
    posRow->addWidget(optLeft);
    posRow->addWidget(RadioButton1);
    posRow->addStretch();

    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(regBox);
    layout->addWidget(clBox);
    layout->addWidget(gapBox);
    layout->addWidget(posBox);
    layout->addLayout(buttons);

    connect(btnSel, &QPushButton::clicked, this, [this] { btnSelClick(); });
    connect(optLeft, &QRadioButton::clicked, this, [this] { optLeftClick(); });
    connect(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
}

TfrmDkM::~TfrmDkM() = default;

void TfrmDkM::btnSelClick() {
    TfrmClSel& chooser = ChooserOf(ClSelHolder, p_ownClSel);
    if (!chooser.Execute()) return;
    Cl = GetCl(chooser.SelectedID());
    txtClName->setText(chooser.SelectedText());
}

void TfrmDkM::optLeftClick() {
    optLeft->setChecked(true);
    txtName->setText(QStringLiteral("左门扇"));
}

void TfrmDkM::RadioButton1Click() {
    RadioButton1->setChecked(true);
    txtName->setText(QStringLiteral("右门扇"));
}

void TfrmDkM::btnOKClick() {
    for (QLineEdit* field : {txtL, txtT, txtB, txtQ, txtR})
        if (!CheckNumberField(field)) return;
    auto value = [](QLineEdit* field) {
        double v = 0;
        kelm::ParseNumber(field->text().trimmed(), v);
        return v;
    };
    Edge.T = value(txtT);
    Edge.B = value(txtB);
    Edge.L = value(txtL);
    Edge.R = value(txtR);
    Edge.Q = value(txtQ);
    Edge.H = 0;
    if (txtClName->text().trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("请选择使用的材料！"));
        btnSel->setFocus();
        return;
    }
    Cl.Name = txtName->text().trimmed();
    fm = cbBFb->currentText() == QStringLiteral("1/2") ? 2 : 1;
    lOrR = optLeft->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    IsOk = true;
    accept();
}
