#include "ui/orders/UDataDct.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSplitter>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiGrid.h"
#include "ui/UiQuery.h"
#include "ui/UiPlatform.h"
#include "ui/orders/UItmAdd.h"
#include "ui/orders/UItmEdit.h"

TfrmDataDct::TfrmDataDct(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDataDct");
    setWindowTitle(QStringLiteral("数据字典"));

    trvCate = new QTreeWidget(this);
    trvCate->setObjectName("trvCate");
    trvCate->setHeaderHidden(true);
    trvCate->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("封边")}));

    ToolBar1 = MakeToolBar(this, "ToolBar1");
    tlAdd = AddTool(ToolBar1, "tlAdd", QStringLiteral("新增"));
    tlEdit = AddTool(ToolBar1, "tlEdit", QStringLiteral("编辑"));
    tlDel = AddTool(ToolBar1, "tlDel", QStringLiteral("删除"));
    ToolBar1->addSeparator();
    tlSel = AddTool(ToolBar1, "tlSel", QStringLiteral("选择类别"));

    sgItem = new QTableWidget(this);
    sgItem->setObjectName("sgItem");
    SetupRecordGrid(sgItem, {QStringLiteral("名称")});

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(ToolBar1);
    rightLayout->addWidget(sgItem, 1);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(trvCate);
    splitter->addWidget(right);
    splitter->setSizes({150, 350});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(520, 380);

    // The grid follows the selected node. The tree's current node alone does not count:
    // the tree makes its first node current (unselected) when it gets the focus, and the
    // list stays empty until the user picks a category.
    connect(trvCate, &QTreeWidget::itemSelectionChanged, this, [this] { trvCateChange(); });
    connect(tlAdd, &QAction::triggered, this, [this] { tlAddClick(); });
    connect(tlEdit, &QAction::triggered, this, [this] { tlEditClick(); });
    connect(tlDel, &QAction::triggered, this, [this] { tlDelClick(); });
    connect(tlSel, &QAction::triggered, this, [this] { tlSelClick(); });
    connect(sgItem, &QTableWidget::cellDoubleClicked, this, [this] { tlSelClick(); });
}

QString TfrmDataDct::SelectedCategory() const {
    const QList<QTreeWidgetItem*> nodes = trvCate->selectedItems();
    return nodes.isEmpty() ? QString() : nodes.first()->text(0);
}

void TfrmDataDct::trvCateChange() {
    // Category names are fixed node texts, but bind them anyway so no text can change
    // the statement.
    auto query = OpenBoundQuery(
        QStringLiteral("SELECT itmID,itmName,cateName FROM ysdItem WHERE cateName=:cateName"),
        {{"cateName", SelectedCategory()}});
    FillRecordGrid(sgItem, *query, {"itmName"});
}

void TfrmDataDct::tlAddClick() {
    if (SelectedCategory().isEmpty()) {
        ShowInfo(QStringLiteral("请选择字典类别！"));
        return;
    }
    TfrmItmAdd dialog(this);
    dialog.cateName = SelectedCategory();
    ShowModal(dialog);
    if (dialog.IsOk) trvCateChange();
}

void TfrmDataDct::tlEditClick() {
    const int row = CurrentRecordRow(sgItem);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要修改的记录！"));
        return;
    }
    TfrmItmEdit dialog(this);
    dialog.itmID = RecordValue(sgItem, row, "itmID");
    dialog.txtName->setText(RecordValue(sgItem, row, "itmName"));
    ShowModal(dialog);
    if (dialog.IsOk) trvCateChange();
}

void TfrmDataDct::tlDelClick() {
    const int row = CurrentRecordRow(sgItem);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要删除的记录！"));
        return;
    }
    if (!AskConfirm(QStringLiteral("确定要删除选择的记录吗？"))) return;
    SetCommonSQL(QStringLiteral("DELETE FROM ysdItem WHERE itmID=:itmID"));
    SetCommonParam("itmID", RecordValue(sgItem, row, "itmID"));
    if (ExecCommon()) trvCateChange();
}

void TfrmDataDct::tlSelClick() {
    const int row = CurrentRecordRow(sgItem);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择记录！"));
        return;
    }
    lbMc = RecordValue(sgItem, row, "itmName");
    accept();
}
