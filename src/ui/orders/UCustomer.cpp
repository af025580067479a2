#include "ui/orders/UCustomer.h"

#include <QAction>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiGrid.h"
#include "ui/UiPlatform.h"
#include "ui/orders/UCustAdd.h"
#include "ui/orders/UCustEdit.h"

TfrmCustomer::TfrmCustomer(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCustomer");
    setWindowTitle(QStringLiteral("客户一览"));

    ToolBar1 = MakeToolBar(this, "ToolBar1");
    tlAdd = AddTool(ToolBar1, "tlAdd", QStringLiteral("新增"));
    tlEdit = AddTool(ToolBar1, "tlEdit", QStringLiteral("编辑"));
    tlDel = AddTool(ToolBar1, "tlDel", QStringLiteral("删除"));
    ToolBar1->addSeparator();
    tlSel = AddTool(ToolBar1, "tlSel", QStringLiteral("选择客户"));

    sgCustomer = new QTableWidget(this);
    sgCustomer->setObjectName("sgCustomer");
    SetupRecordGrid(sgCustomer,
                    {QStringLiteral("客户名称"), QStringLiteral("联系电话"), QStringLiteral("地址"),
                     QStringLiteral("订购日期"), QStringLiteral("备注")});
    sgCustomer->setColumnWidth(0, 150);
    sgCustomer->setColumnWidth(1, 120);
    sgCustomer->setColumnWidth(2, 200);
    sgCustomer->setColumnWidth(3, 100);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(sgCustomer, 1);
    resize(760, 460);

    connect(tlAdd, &QAction::triggered, this, [this] { tlAddClick(); });
    connect(tlEdit, &QAction::triggered, this, [this] { tlEditClick(); });
    connect(tlDel, &QAction::triggered, this, [this] { tlDelClick(); });
    connect(tlSel, &QAction::triggered, this, [this] { tlSelClick(); });
    connect(sgCustomer, &QTableWidget::cellDoubleClicked, this, [this] {
        if (tlSel->isEnabled()) tlSelClick();
    });
}

void TfrmCustomer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    LoadCustomers();
}

void TfrmCustomer::LoadCustomers() {
    auto query = OpenQuery(QStringLiteral(
        "SELECT custID,custName,phone,address,pursDate,bz FROM FCustomers ORDER BY pursDate "
        "DESC"));
    FillRecordGrid(sgCustomer, *query, {"custName", "phone", "address", "pursDate", "bz"});
}

void TfrmCustomer::tlAddClick() {
    TfrmCustAdd dialog(this);
    ShowModal(dialog);
    if (dialog.IsOk) LoadCustomers();
}

void TfrmCustomer::tlEditClick() {
    const int row = CurrentRecordRow(sgCustomer);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要修改的客户信息！"));
        return;
    }
    TfrmCustEdit dialog(this);
    dialog.custID = RecordValue(sgCustomer, row, "custID");
    dialog.txtCustName->setText(RecordValue(sgCustomer, row, "custName"));
    dialog.txtPhone->setText(RecordValue(sgCustomer, row, "phone"));
    dialog.txtAddr->setText(RecordValue(sgCustomer, row, "address"));
    const QDate date = QDate::fromString(RecordValue(sgCustomer, row, "pursDate").left(10),
                                         QStringLiteral("yyyy-MM-dd"));
    if (date.isValid()) dialog.dtPurDate->setDate(date);
    dialog.txtBZ->setPlainText(RecordValue(sgCustomer, row, "bz"));
    ShowModal(dialog);
    if (dialog.IsOk) LoadCustomers();
}

void TfrmCustomer::tlDelClick() {
    const int row = CurrentRecordRow(sgCustomer);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要删除的客户信息！"));
        return;
    }
    const QString name = RecordValue(sgCustomer, row, "custName");
    if (!AskConfirm(QStringLiteral("确定要删除该客户:\"") + name + QStringLiteral("\"吗？")))
        return;
    const QString key = RecordValue(sgCustomer, row, "custID");
    if (!IsCounterKey(key)) return;
    SetCommonSQL(QStringLiteral("DELETE FROM FCustomers WHERE custID=") + key);
    if (ExecCommon()) LoadCustomers();
}

void TfrmCustomer::tlSelClick() {
    const int row = CurrentRecordRow(sgCustomer);
    if (row < 0) return;
    custName = RecordValue(sgCustomer, row, "custName");
    custID = RecordValue(sgCustomer, row, "custID");
    accept();
}
