#include "ui/design/UChouTi.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiChecks.h"
#include "ui/design/UClSel.h"
#include "ui/design/UDoorDrawerCommon.h"

TfrmChouTi::TfrmChouTi(QWidget* parent) : QDialog(parent) {
    setObjectName("frmChouTi");
    setWindowTitle(QStringLiteral("添加抽屉"));
    setWindowFlag(Qt::Tool);
    auto* picture = new QLabel(this);
    picture->setObjectName("imgChouTi");
    picture->setPixmap(DrawerPicture());
    picture->setAlignment(Qt::AlignCenter);
    auto* regBox = MakeRegionGroup(this, txtRegW, txtRegD, txtRegH, txtRegZ);

    auto* clBox = new QGroupBox(QStringLiteral("板料"), this);
    txtName = new QLineEdit(QStringLiteral("抽屉"), clBox);
    txtName->setObjectName("txtName");
    txtAName = new QLineEdit(clBox);
    txtAName->setObjectName("txtAName");
    txtAName->setReadOnly(true);
    btnSel = new QPushButton(QStringLiteral(">>"), clBox);
    btnSel->setObjectName("btnSel");
    btnSel->setMaximumWidth(40);
    txtBName = new QLineEdit(clBox);
    txtBName->setObjectName("txtBName");
    txtBName->setReadOnly(true);
    Button1 = new QPushButton(QStringLiteral(">>"), clBox);
    Button1->setObjectName("Button1");
    Button1->setMaximumWidth(40);
    auto* aRow = new QHBoxLayout;
    aRow->addWidget(txtAName);
    aRow->addWidget(btnSel);
    auto* bRow = new QHBoxLayout;
    bRow->addWidget(txtBName);
    bRow->addWidget(Button1);
    auto* clForm = new QFormLayout(clBox);
    clForm->addRow(QStringLiteral("名称："), txtName);
    clForm->addRow(QStringLiteral("A材料："), aRow);
    clForm->addRow(QStringLiteral("B材料："), bRow);

    auto* prmBox = new QGroupBox(QStringLiteral("参数"), this);
    auto* grid = new QGridLayout(prmBox);
    auto field = [&](QLineEdit*& edit, const char* name, const char* text, const QString& label,
                     int row, int col) {
        edit = new QLineEdit(QString::fromLatin1(text), prmBox);
        edit->setObjectName(name);
        edit->setMaximumWidth(80);
        grid->addWidget(new QLabel(label, prmBox), row, col * 2);
        grid->addWidget(edit, row, col * 2 + 1);
    };
    field(txtWVal, "txtWVal", "36", QStringLiteral("W=分格宽+"), 0, 0);
    cbHVal = new QComboBox(prmBox);
    cbHVal->setObjectName("cbHVal");
    for (int i = 1; i <= 8; ++i) cbHVal->addItem(QStringLiteral("1/%1").arg(i));
    cbHVal->setCurrentIndex(0);
    grid->addWidget(new QLabel(QStringLiteral("H=分格高×"), prmBox), 0, 2);
    grid->addWidget(cbHVal, 0, 3);
    field(txtFval, "txtFval", "20", QStringLiteral("F="), 1, 0);
    field(txtEval, "txtEval", "20", QStringLiteral("E="), 1, 1);
    field(txtDVal, "txtDVal", "350", QStringLiteral("D="), 2, 0);
    field(txtMval, "txtMval", "80", QStringLiteral("M="), 2, 1);

    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture);
    layout->addWidget(regBox);
    layout->addWidget(clBox);
    layout->addWidget(prmBox);
    layout->addLayout(buttons);

    connect(btnSel, &QPushButton::clicked, this, [this] { btnSelClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
}

TfrmChouTi::~TfrmChouTi() = default;

void TfrmChouTi::btnSelClick() {
    TfrmClSel& chooser = ChooserOf(ClSelHolder, p_ownClSel);
    if (!chooser.Execute()) return;
    ACl = GetCl(chooser.SelectedID());
    txtAName->setText(chooser.SelectedText());
}

void TfrmChouTi::Button1Click() {
    TfrmClSel& chooser = ChooserOf(ClSelHolder, p_ownClSel);
    if (!chooser.Execute()) return;
    BCl = GetCl(chooser.SelectedID());
    txtBName->setText(chooser.SelectedText());
}

void TfrmChouTi::btnOKClick() {
    // A drawer without depth or box height is none; the gaps may be 0.
    const TNumberRule positive{0, true, 1e7, false};
    for (auto [field, rule] : {std::pair{txtWVal, TNumberRule()}, std::pair{txtDVal, positive},
                               std::pair{txtFval, TNumberRule()}, std::pair{txtEval, TNumberRule()},
                               std::pair{txtMval, positive}})
        if (!CheckNumberField(field, rule)) return;
    if (CheckRequiredField(txtAName, QStringLiteral("请选择A材料！"))) return;
    if (CheckRequiredField(txtBName, QStringLiteral("请选择B材料！"))) return;
    // The parameters are whole millimetres; a fraction is refused, not cut off.
    int values[5] = {};
    QLineEdit* fields[5] = {txtWVal, txtDVal, txtEval, txtFval, txtMval};
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        const QString text = fields[i]->text().trimmed();
        values[i] = text.toInt(&ok);
        if (!ok) {
            ShowInfo(QStringLiteral("“%1”不是有效的整数！").arg(text));
            fields[i]->setFocus();
            return;
        }
    }
    W = values[0];
    D = values[1];
    E = values[2];
    F = values[3];
    M = values[4];
    H = cbHVal->currentIndex() + 1;
    gjName = txtName->text().trimmed();
    IsOK = true;
    accept();
}
