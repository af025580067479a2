#include "ui/design/UBoardDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiPlatform.h"
#include "ui/design/UClSel.h"
#include "ui/design/USetEdge.h"

namespace {

QLineEdit* RegionField(QWidget* parent, const char* name, const QString& color, bool bold) {
    auto* field = new QLineEdit(QStringLiteral("0"), parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setMaximumWidth(90);
    field->setStyleSheet(QStringLiteral("color:%1;%2").arg(color, bold ? "font-weight:bold;" : ""));
    return field;
}

// Hides the sub-dialog fields whose letters are not listed.
void ShowOnly(TSixFieldDialog& dialog, const QString& letters) {
    const std::pair<QChar, QLineEdit*> fields[] = {{'L', dialog.txtL}, {'R', dialog.txtR},
                                                   {'T', dialog.txtT}, {'B', dialog.txtB},
                                                   {'Q', dialog.txtQ}, {'H', dialog.txtH}};
    for (const auto& [letter, field] : fields)
        if (!letters.contains(letter)) dialog.HideField(field);
}

}  // namespace

TBoardDlgBase::TBoardDlgBase(const TConfig& config, QWidget* parent)
    : QDialog(parent), p_config(config) {
    setWindowTitle(config.caption);
    setWindowFlag(Qt::Tool);

    auto* regBox = new QGroupBox(QStringLiteral("分格尺寸"), this);
    txtRegW = RegionField(regBox, "txtRegW", "blue", false);
    txtRegD = RegionField(regBox, "txtRegD", "blue", false);
    txtRegH = RegionField(regBox, "txtRegH", "blue", false);
    txtRegZ = RegionField(regBox, "txtRegZ", "red", true);
    auto* regGrid = new QGridLayout(regBox);
    regGrid->addWidget(new QLabel(QStringLiteral("宽："), regBox), 0, 0);
    regGrid->addWidget(txtRegW, 0, 1);
    regGrid->addWidget(new QLabel(QStringLiteral("深："), regBox), 0, 2);
    regGrid->addWidget(txtRegD, 0, 3);
    regGrid->addWidget(new QLabel(QStringLiteral("高："), regBox), 1, 0);
    regGrid->addWidget(txtRegH, 1, 1);
    regGrid->addWidget(new QLabel(QStringLiteral("前距："), regBox), 1, 2);
    regGrid->addWidget(txtRegZ, 1, 3);

    auto* clBox = new QGroupBox(QStringLiteral("板料"), this);
    txtClName = new QLineEdit(clBox);
    txtClName->setObjectName("txtClName");
    txtClName->setReadOnly(true);
    btnSel = new QPushButton(QStringLiteral(">>"), clBox);
    btnSel->setObjectName("btnSel");
    btnSel->setMaximumWidth(40);
    txtName = new QLineEdit(config.defaultName, clBox);
    txtName->setObjectName("txtName");
    cbWL = new QComboBox(clBox);
    cbWL->setObjectName("cbWL");
    cbWL->addItems({QStringLiteral("无纹"), QStringLiteral("横纹"), QStringLiteral("竖纹")});
    cbWL->setCurrentIndex(0);
    auto* clRow = new QHBoxLayout;
    clRow->addWidget(txtClName);
    clRow->addWidget(btnSel);
    auto* clForm = new QFormLayout(clBox);
    clForm->addRow(QStringLiteral("材料："), clRow);
    clForm->addRow(QStringLiteral("名称："), txtName);
    clForm->addRow(QStringLiteral("纹路："), cbWL);
    if (config.hasShape) {
        cbShape = new QComboBox(clBox);
        cbShape->setObjectName("cbShape");
        cbShape->addItems(
            {QStringLiteral("矩形"), QStringLiteral("左圆弧"), QStringLiteral("右圆弧")});
        cbShape->setCurrentIndex(0);
        clForm->addRow(QStringLiteral("形状："), cbShape);
    }

    btnEdge = new QPushButton(QStringLiteral("分格间距"), this);
    btnEdge->setObjectName("btnEdge");
    btnFB = new QPushButton(QStringLiteral("封边样式"), this);
    btnFB->setObjectName("btnFB");
    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnEdge);
    buttons->addWidget(btnFB);
    buttons->addStretch();
    buttons->addWidget(btnOK);

    p_extra = new QVBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(regBox);
    layout->addWidget(clBox);
    layout->addLayout(p_extra);
    layout->addLayout(buttons);

    connect(btnSel, &QPushButton::clicked, this, [this] { btnSelClick(); });
    connect(btnEdge, &QPushButton::clicked, this, [this] { btnEdgeClick(); });
    connect(btnFB, &QPushButton::clicked, this, [this] { btnFBClick(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
}

TBoardDlgBase::~TBoardDlgBase() = default;

void TBoardDlgBase::btnSelClick() {
    TfrmClSel& chooser = ChooserOf(ClSelHolder, p_ownClSel);
    if (!chooser.Execute()) return;
    Cl = GetCl(chooser.SelectedID());
    txtClName->setText(chooser.SelectedText());
}

void TBoardDlgBase::btnEdgeClick() {
    if (!EdgeAllowed()) return;
    TfrmSetEdge dialog(this);
    dialog.SetValues(Edge.L, Edge.R, Edge.T, Edge.B, Edge.Q, Edge.H);
    ShowOnly(dialog, EdgeFields());
    PrepareEdge(dialog);
    ShowModal(dialog);
    if (!dialog.IsOk) return;
    Edge = dialog.Edge;
    btnEdge->setText(QStringLiteral("√分格间距"));
}

void TBoardDlgBase::btnFBClick() {
    TfrmFBSet dialog(this);
    dialog.SetValues(FB.L, FB.R, FB.T, FB.B, FB.Q, FB.H);
    ShowOnly(dialog, p_config.fbFields);
    ShowModal(dialog);
    if (!dialog.IsOk) return;
    FB = dialog.FB;
    btnFB->setText(QStringLiteral("√封边样式"));
}

void TBoardDlgBase::btnOKClick() {
    if (!PreCheck()) return;
    if (txtClName->text().trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("请选择使用的材料！"));
        btnSel->setFocus();
        return;
    }
    Cl.Name = txtName->text().trimmed();
    WL = QString::number(cbWL->currentIndex());
    if (cbShape) {
        static const FShape shapes[] = {FShape::R, FShape::A4L, FShape::A4R};
        const int index = cbShape->currentIndex();
        shape = index >= 0 && index < 3 ? shapes[index] : FShape::R;
    }
    if (!ReadExtra()) return;
    IsOk = true;
    accept();
}

#include <QSpinBox>

#include "common/NumberFormat.h"

TPosBoardDlgBase::TPosBoardDlgBase(const TConfig& config, bool vertical, QWidget* parent)
    : TBoardDlgBase(config, parent), p_vertical(vertical) {
    btnOK->setObjectName("Button1");
    Button1 = btnOK;
    txtY = new QLineEdit(this);
    txtY->setObjectName("txtY");
    txtY->setMaximumWidth(90);
    spFZ = new QSpinBox(this);
    spFZ->setObjectName("spFZ");
    spFZ->setRange(1, 8);
    spFZ->setValue(1);
    spFM = new QSpinBox(this);
    spFM->setObjectName("spFM");
    spFM->setRange(1, 9);
    spFM->setValue(1);
    for (QSpinBox* spin : {spFZ, spFM}) {
        spin->setButtonSymbols(QSpinBox::UpDownArrows);
        if (auto* edit = spin->findChild<QLineEdit*>()) edit->setReadOnly(true);
        connect(spin, &QSpinBox::valueChanged, this, [this] { spFZChange(); });
    }
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("位置："), this));
    row->addWidget(txtY);
    row->addWidget(spFZ);
    row->addWidget(new QLabel(QStringLiteral("/"), this));
    row->addWidget(spFM);
    row->addStretch();
    ExtraArea()->addLayout(row);
}

void TPosBoardDlgBase::spFZChange() {
    if (Cl.Thick == 0) return;
    const double t = Cl.Thick;
    const double start = p_vertical ? tmpReg.Left : tmpReg.Top;
    const double extent = p_vertical ? tmpReg.Right - tmpReg.Left : tmpReg.Bottom - tmpReg.Top;
    const int fz = spFZ->value();
    const int fm = spFM->value();
    const double free = extent - (fm - 1) * t;
    const double position = fz * free / fm + start + (fz - 1) * t + t / 2;
    txtY->setText(kelm::FormatPattern(position, QStringLiteral("0.0")));
}

bool TPosBoardDlgBase::ReadPosition(double& value) {
    const QString text = txtY->text().trimmed();
    if (kelm::ParseNumber(text, value)) return true;
    ShowInfo(QStringLiteral("“%1”不是有效的数字！").arg(text));
    return false;
}
