#include "ui/drilling/UPZBZForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "ui/UiChecks.h"

bool HolePositionsValid(const QString& text) {
    if (text.trimmed().isEmpty()) return false;
    for (const QString& entry : text.split(QLatin1Char(','))) {
        double value = 0;
        if (!kelm::ParseNumber(entry, value)) return false;
    }
    return true;
}

TPZBZFormBase::TPZBZFormBase(QWidget* parent) : QDialog(parent) {
    auto* grid = new QGridLayout;
    auto addRow = [&](int row, const QString& caption, QLineEdit*& field, const char* name) {
        field = new QLineEdit(this);
        field->setObjectName(name);
        grid->addWidget(new QLabel(caption, this), row, 0, Qt::AlignRight);
        grid->addWidget(field, row, 1);
    };
    addRow(0, QStringLiteral("最小值："), txtMin, "txtMin");
    addRow(1, QStringLiteral("最大值："), txtMax, "txtMax");
    addRow(2, QStringLiteral("打孔位置："), txtKW, "txtKW");
    lblHint = new QLabel(QStringLiteral("注：孔位间用英文输入的逗号（,）"), this);
    lblHint->setObjectName("lblHint");
    grid->addWidget(lblHint, 3, 1);

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
    resize(360, 190);
}

bool TPZBZFormBase::InputValid() {
    if (!CheckNumberField(txtMin)) {
        ShowInfo(QStringLiteral("请输入最小值！"));
        txtMin->setFocus();
        return false;
    }
    if (!CheckNumberField(txtMax)) {
        ShowInfo(QStringLiteral("请输入最大值！"));
        txtMax->setFocus();
        return false;
    }
    if (CheckRequiredField(txtKW, QStringLiteral("请输入打孔位置！"))) return false;
    // The generator reads every entry as a number and refuses the whole rule otherwise.
    if (!HolePositionsValid(txtKW->text())) {
        ShowInfo(QStringLiteral("打孔位置只能是数字，孔位间用英文输入的逗号（,）隔开！"));
        txtKW->setFocus();
        return false;
    }
    return true;
}

void TPZBZFormBase::BindRuleFields() {
    SetCommonParam("minVal", txtMin->text().trimmed());
    SetCommonParam("maxVal", txtMax->text().trimmed());
    SetCommonParam("kwstr", txtKW->text().trimmed());
}
