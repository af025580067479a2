#include "ui/orders/UnitYlForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiChecks.h"

TYlFormBase::TYlFormBase(QWidget* parent) : QDialog(parent) {
    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("原料信息"));

    cbCateName = new QComboBox(page);
    cbCateName->setEditable(true);
    cbCateName->setInsertPolicy(QComboBox::NoInsert);
    cbCateID = new QComboBox(page);
    cbCateID->setVisible(false);
    txtYlCode = new QLineEdit(page);
    txtYlName = new QLineEdit(page);
    txtLength = new QLineEdit(page);
    txtWidth = new QLineEdit(page);
    txtHoudu = new QLineEdit(page);
    txtColor = new QLineEdit(page);
    txtBz = new QPlainTextEdit(page);
    txtBz->setFixedHeight(70);

    auto* grid = new QGridLayout(page);
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field, const char* name) {
        field->setObjectName(name);
        grid->addWidget(new QLabel(caption, page), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(field, row, 1);
        ++row;
    };
    addRow(QStringLiteral("所属类别："), cbCateName, "cbCateName");
    cbCateID->setObjectName("cbCateID");
    addRow(QStringLiteral("代码："), txtYlCode, "txtYlCode");
    addRow(QStringLiteral("原料名称："), txtYlName, "txtYlName");
    addRow(QStringLiteral("长度(mm)："), txtLength, "txtLength");
    addRow(QStringLiteral("宽度："), txtWidth, "txtWidth");
    addRow(QStringLiteral("厚度："), txtHoudu, "txtHoudu");
    addRow(QStringLiteral("颜色："), txtColor, "txtColor");
    addRow(QStringLiteral("备注："), txtBz, "txtBz");
    grid->itemAtPosition(row - 1, 0)->setAlignment(Qt::AlignRight | Qt::AlignTop);

    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    btnClose->setObjectName("btnClose");
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    resize(380, 400);

    LoadCategories();
    connect(cbCateName, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { CateNameChanged(text); });
}

void TYlFormBase::LoadCategories() {
    auto query = OpenQuery(QStringLiteral("SELECT cateID,cateName FROM FClCls"));
    while (query->next()) {
        cbCateName->addItem(FieldText(*query, "cateName"));
        cbCateID->addItem(FieldText(*query, "cateID"));
    }
    cbCateName->setCurrentIndex(cbCateName->count() > 0 ? 0 : -1);
    cbCateID->setCurrentIndex(cbCateID->count() > 0 ? 0 : -1);
}

void TYlFormBase::CateNameChanged(const QString& text) {
    // Only a name that is listed selects a key; the position in both lists is the same.
    cbCateID->setCurrentIndex(cbCateName->findText(text, Qt::MatchExactly));
}

void TYlFormBase::SetCategory(const QString& cateName, const QString& cateID) {
    const int index = cbCateID->findText(cateID, Qt::MatchExactly);
    if (index >= 0) {
        cbCateName->setCurrentIndex(index);
        cbCateName->setEditText(cateName);
        cbCateID->setCurrentIndex(index);
    } else {
        cbCateName->setEditText(cateName);
        cbCateID->setCurrentIndex(-1);
    }
}

QString TYlFormBase::SelectedCateID() const {
    return cbCateID->currentIndex() >= 0 ? cbCateID->currentText() : QString();
}

void TYlFormBase::btnCloseClick() { reject(); }

bool TYlFormBase::CheckFields() {
    if (SelectedCateID().isEmpty()) {
        ShowInfo(QStringLiteral("请选择类别！"));
        cbCateName->setFocus();
        return false;
    }
    if (CheckRequiredField(txtLength, QStringLiteral("请输入原料长度！"))) return false;
    if (CheckRequiredField(txtWidth, QStringLiteral("请输入原料宽度！"))) return false;
    if (CheckRequiredField(txtHoudu, QStringLiteral("请输入原料厚度！"))) return false;
    // A sheet without length, width or thickness cannot be cut; the table would refuse a
    // text silently, so every size is checked here with a message.
    for (QLineEdit* size : {txtLength, txtWidth, txtHoudu})
        if (!CheckNumberField(size, kPositiveNumber)) return false;
    return true;
}

void TYlFormBase::SetFieldParams() {
    SetCommonParam("cateID", SelectedCateID());
    SetCommonParam("ylCode", txtYlCode->text().trimmed());
    SetCommonParam("ylName", txtYlName->text().trimmed());
    SetCommonParam("length", txtLength->text().trimmed());
    SetCommonParam("color", txtColor->text().trimmed());
    SetCommonParam("bz", txtBz->toPlainText().trimmed());
    SetCommonParam("width", txtWidth->text().trimmed());
    SetCommonParam("houdu", txtHoudu->text().trimmed());
}
