#include "ui/design/UClSel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiPlatform.h"

TfrmClSel::TfrmClSel(QWidget* parent) : QDialog(parent) {
    setObjectName("frmClSel");
    setWindowTitle(QStringLiteral("选择材料"));
    setWindowFlag(Qt::Tool);
    cbClsName = new QComboBox(this);
    cbClsName->setObjectName("cbClsName");
    cbClsID = new QComboBox(this);
    cbClsID->setObjectName("cbClsID");
    cbClsID->hide();
    cbClName = new QComboBox(this);
    cbClName->setObjectName("cbClName");
    cbClName->setMinimumWidth(220);
    cbClID = new QComboBox(this);
    cbClID->setObjectName("cbClID");
    cbClID->hide();
    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("类别："), cbClsName);
    form->addRow(QStringLiteral("材料："), cbClName);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    isOk = false;
    auto query = OpenQuery(QStringLiteral("SELECT cateID,cateName FROM FClCls"));
    while (query && query->next()) {
        cbClsID->addItem(FieldText(*query, "cateID"));
        cbClsName->addItem(FieldText(*query, "cateName"));
    }
    if (cbClsName->count() > 0) cbClsName->setCurrentIndex(0);
    cbClsNameChange();

    connect(cbClsName, &QComboBox::activated, this, [this] { cbClsNameChange(); });
    connect(cbClName, &QComboBox::activated, this, [this] { cbClNameChange(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
}

void TfrmClSel::cbClsNameChange() {
    cbClsID->setCurrentIndex(cbClsName->currentIndex());
    cbClID->clear();
    cbClName->clear();
    const QString cateID = cbClsID->currentText();
    // The category ID is spliced into the statement, so only a counter value is used.
    if (IsCounterKey(cateID)) {
        auto query = OpenQuery(QStringLiteral("SELECT * FROM FCl WHERE cateID=") + cateID);
        while (query && query->next()) {
            cbClID->addItem(FieldText(*query, "ylID"));
            cbClName->addItem(FieldText(*query, "ylCode") + "/" + FieldText(*query, "ylName"));
        }
    }
    if (cbClName->count() > 0) cbClName->setCurrentIndex(0);
    cbClNameChange();
}

void TfrmClSel::cbClNameChange() { cbClID->setCurrentIndex(cbClName->currentIndex()); }

void TfrmClSel::btnOKClick() {
    if (cbClID->currentText().isEmpty()) {
        ShowInfo(QStringLiteral("请选择材料！"));
        return;
    }
    isOk = true;
    accept();
}

bool TfrmClSel::Execute() {
    // Each showing asks afresh: closing the chooser without 确定 chooses nothing, even
    // when a material was confirmed in an earlier showing.
    isOk = false;
    ShowModal(*this);
    return isOk;
}

QString TfrmClSel::SelectedID() const { return cbClID->currentText(); }
QString TfrmClSel::SelectedText() const { return cbClName->currentText(); }

TClSelHolder::~TClSelHolder() { delete p_form.data(); }

TfrmClSel& TClSelHolder::Get() {
    if (!p_form) p_form = new TfrmClSel(Owner);
    return *p_form;
}

TfrmClSel& ChooserOf(TClSelHolder* shared, std::unique_ptr<TClSelHolder>& own) {
    if (shared) return shared->Get();
    if (!own) own = std::make_unique<TClSelHolder>();
    return own->Get();
}
