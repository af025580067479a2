#include "ui/design/USetEdge.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/NumberFormat.h"
#include "ui/UiChecks.h"

TSixFieldDialog::TSixFieldDialog(const QString& caption, const QString& group, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(caption);
    setWindowFlag(Qt::Tool);
    auto* box = new QGroupBox(group, this);
    auto* grid = new QGridLayout(box);
    auto make = [&](QLineEdit*& field, const char* name, const QString& label, int row, int col) {
        field = new QLineEdit(QStringLiteral("0"), box);
        field->setObjectName(name);
        field->setMaximumWidth(80);
        auto* caption = new QLabel(label, box);
        caption->setBuddy(field);
        grid->addWidget(caption, row, col * 2);
        grid->addWidget(field, row, col * 2 + 1);
    };
    make(txtL, "txtL", QStringLiteral(" 左："), 0, 0);
    make(txtR, "txtR", QStringLiteral("右："), 0, 1);
    make(txtQ, "txtQ", QStringLiteral("前："), 1, 0);
    make(txtH, "txtH", QStringLiteral("后："), 1, 1);
    make(txtT, "txtT", QStringLiteral("上："), 2, 0);
    make(txtB, "txtB", QStringLiteral("下："), 2, 1);
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

QLabel* TSixFieldDialog::LabelOf(QLineEdit* field) const {
    for (QLabel* label : findChildren<QLabel*>())
        if (label->buddy() == field) return label;
    return nullptr;
}

void TSixFieldDialog::HideField(QLineEdit* field) {
    field->hide();
    if (QLabel* label = LabelOf(field)) label->hide();
}

void TSixFieldDialog::SetValues(double l, double r, double t, double b, double q, double h) {
    txtL->setText(kelm::FormatGeneral(l));
    txtR->setText(kelm::FormatGeneral(r));
    txtT->setText(kelm::FormatGeneral(t));
    txtB->setText(kelm::FormatGeneral(b));
    txtQ->setText(kelm::FormatGeneral(q));
    txtH->setText(kelm::FormatGeneral(h));
}

void TSixFieldDialog::btnOKClick() {
    // Hidden fields are checked too: they carry the values the caller wrote in.
    for (QLineEdit* field : {txtL, txtR, txtQ, txtH, txtT, txtB})
        if (!CheckNumberField(field)) return;
    auto value = [](QLineEdit* field) {
        double v = 0;
        kelm::ParseNumber(field->text().trimmed(), v);
        return v;
    };
    Store(value(txtL), value(txtR), value(txtT), value(txtB), value(txtQ), value(txtH));
    IsOk = true;
    accept();
}

TfrmSetEdge::TfrmSetEdge(QWidget* parent)
    : TSixFieldDialog(QStringLiteral("设置分格间距"), QStringLiteral("位置(毫米)"), parent) {
    setObjectName("frmSetEdge");
}

void TfrmSetEdge::Store(double l, double r, double t, double b, double q, double h) {
    Edge = FEdge{l, r, t, b, q, h};
}

TfrmFBSet::TfrmFBSet(QWidget* parent)
    : TSixFieldDialog(QStringLiteral("封边样式"), QStringLiteral("封边厚度(毫米)"), parent) {
    setObjectName("frmFBSet");
}

void TfrmFBSet::Store(double l, double r, double t, double b, double q, double h) {
    FB = FFengB{l, r, t, b, q, h};
}
