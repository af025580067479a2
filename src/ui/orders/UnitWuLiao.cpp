#include "ui/orders/UnitWuLiao.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiGrid.h"
#include "ui/UiPlatform.h"
#include "ui/orders/UnitCateAdd.h"
#include "ui/orders/UnitYlAdd.h"
#include "ui/orders/UnitYlEdit.h"

namespace {
constexpr int kCateIDRole = Qt::UserRole + 1;

const QString kMaterialSelect = QStringLiteral(
    "SELECT ylID,ylCode,ylName,length,width,houdu,color,bz,FCl.cateID,cateName "
    "FROM FCl,FClCls WHERE FCl.cateID=FClCls.cateID");
}  // namespace

TfrmWuLiao::TfrmWuLiao(QWidget* parent) : QDialog(parent) {
    setObjectName("frmWuLiao");
    setWindowTitle(QStringLiteral("物料管理"));

    // Left: the categories.
    pcCate = new QTabWidget(this);
    tabCate = new QWidget(pcCate);
    tabCate->setObjectName("tabCate");
    pcCate->addTab(tabCate, QStringLiteral("材料类别"));
    tbCate = MakeToolBar(tabCate, "tbCate");
    tlCateAdd = AddTool(tbCate, "tlCateAdd", QStringLiteral("新增"));
    tlCateEdit = AddTool(tbCate, "tlCateEdit", QStringLiteral("编辑"));
    tlCateDel = AddTool(tbCate, "tlCateDel", QStringLiteral("删除"));
    treeCate = new QTreeWidget(tabCate);
    treeCate->setObjectName("treeCate");
    treeCate->setHeaderHidden(true);
    // Renaming starts only from the commands, never by clicking a node.
    treeCate->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pmCate = new QMenu(treeCate);
    pmCate->setObjectName("pmCate");
    mnuCateAdd = pmCate->addAction(QStringLiteral("新增类别"));
    mnuCateAdd->setObjectName("mnuCateAdd");
    mnuCateEdit = pmCate->addAction(QStringLiteral("修改名称"));
    mnuCateEdit->setObjectName("mnuCateEdit");
    pmCate->addSeparator();
    mnuCateDel = pmCate->addAction(QStringLiteral("删除类别"));
    mnuCateDel->setObjectName("mnuCateDel");
    treeCate->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(treeCate, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { pmCate->popup(treeCate->viewport()->mapToGlobal(pos)); });
    auto* cateLayout = new QVBoxLayout(tabCate);
    cateLayout->setContentsMargins(0, 0, 0, 0);
    cateLayout->setSpacing(0);
    cateLayout->addWidget(tbCate);
    cateLayout->addWidget(treeCate, 1);

    // Right: the materials.
    pcYl = new QTabWidget(this);
    tabYl = new QWidget(pcYl);
    tabYl->setObjectName("tabYl");
    pcYl->addTab(tabYl, QStringLiteral("材料列表"));
    tbYl = MakeToolBar(tabYl, "tbYl");
    tlYlAdd = AddTool(tbYl, "tlYlAdd", QStringLiteral("新增"));
    tlYlEdit = AddTool(tbYl, "tlYlEdit", QStringLiteral("编辑"));
    tlYlDel = AddTool(tbYl, "tlYlDel", QStringLiteral("删除"));
    sgYl = new QTableWidget(tabYl);
    sgYl->setObjectName("sgYl");
    SetupRecordGrid(sgYl, {QStringLiteral("材料编码"), QStringLiteral("名称"), QStringLiteral("长"),
                           QStringLiteral("宽"), QStringLiteral("厚度"), QStringLiteral("颜色"),
                           QStringLiteral("备注")});
    const int widths[] = {90, 150, 60, 60, 60, 80};
    for (int column = 0; column < 6; ++column) sgYl->setColumnWidth(column, widths[column]);
    sgYl->horizontalHeader()->setStretchLastSection(true);
    auto* ylLayout = new QVBoxLayout(tabYl);
    ylLayout->setContentsMargins(0, 0, 0, 0);
    ylLayout->setSpacing(0);
    ylLayout->addWidget(tbYl);
    ylLayout->addWidget(sgYl, 1);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(pcCate);
    splitter->addWidget(pcYl);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 600});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    resize(820, 480);

    connect(treeCate, &QTreeWidget::itemSelectionChanged, this, [this] { treeCateChange(); });
    connect(treeCate, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* node, int) { treeCateEdited(node); });
    connect(tlCateAdd, &QAction::triggered, this, [this] { tlCateAddClick(); });
    connect(mnuCateAdd, &QAction::triggered, this, [this] { tlCateAddClick(); });
    connect(tlCateEdit, &QAction::triggered, this, [this] { tlCateEditClick(); });
    connect(mnuCateEdit, &QAction::triggered, this, [this] { tlCateEditClick(); });
    connect(tlCateDel, &QAction::triggered, this, [this] { tlCateDelClick(); });
    connect(mnuCateDel, &QAction::triggered, this, [this] { tlCateDelClick(); });
    connect(tlYlAdd, &QAction::triggered, this, [this] { tlYlAddClick(); });
    connect(tlYlEdit, &QAction::triggered, this, [this] { tlYlEditClick(); });
    connect(tlYlDel, &QAction::triggered, this, [this] { tlYlDelClick(); });
    connect(sgYl, &QTableWidget::cellDoubleClicked, this, [this] { tlYlEditClick(); });

    LoadCategories();
    LoadMaterials();
}

QTreeWidgetItem* TfrmWuLiao::RootNode() const { return treeCate->topLevelItem(0); }

QTreeWidgetItem* TfrmWuLiao::SelectedCategoryNode() const {
    const QList<QTreeWidgetItem*> nodes = treeCate->selectedItems();
    if (nodes.isEmpty() || nodes.first()->parent() == nullptr) return nullptr;
    return nodes.first();
}

void TfrmWuLiao::LoadCategories() {
    p_editNode = nullptr;
    const QSignalBlocker blocker(treeCate);
    treeCate->clear();
    auto* root = new QTreeWidgetItem(treeCate, QStringList{QStringLiteral("全部类别")});
    auto query = OpenQuery(QStringLiteral("SELECT cateID,cateName FROM FClCls"));
    while (query->next()) {
        auto* node = new QTreeWidgetItem(root, QStringList{FieldText(*query, "cateName")});
        node->setData(0, kCateIDRole, FieldText(*query, "cateID"));
    }
    treeCate->expandAll();
    // The tree starts without a selection, so the list shows every material; the
    // members follow.
    cateID.clear();
    cateName.clear();
}

void TfrmWuLiao::LoadMaterials() {
    QString sql = kMaterialSelect;
    if (SelectedCategoryNode() != nullptr) {
        // Category keys are counters read from the tree; anything else lists nothing.
        sql += QStringLiteral(" AND FCl.cateID=") +
               (IsCounterKey(cateID) ? cateID : QStringLiteral("NULL"));
    }
    auto query = OpenQuery(sql);
    FillRecordGrid(sgYl, *query, {"ylCode", "ylName", "length", "width", "houdu", "color", "bz"});
}

void TfrmWuLiao::treeCateChange() {
    const QList<QTreeWidgetItem*> nodes = treeCate->selectedItems();
    if (nodes.isEmpty()) {
        cateID.clear();
        cateName.clear();
    } else {
        QTreeWidgetItem* node = nodes.first();
        cateID = node->parent() ? node->data(0, kCateIDRole).toString() : QString();
        cateName = node->text(0);
        pcYl->setTabText(pcYl->indexOf(tabYl), cateName);
    }
    LoadMaterials();
}

void TfrmWuLiao::tlCateAddClick() {
    TfrmCateAdd dialog(this);
    ShowModal(dialog);
    if (dialog.isOk) LoadCategories();
}

void TfrmWuLiao::tlCateEditClick() {
    QTreeWidgetItem* node = SelectedCategoryNode();
    if (node == nullptr) {
        ShowInfo(QStringLiteral("请先选择要修改的类别名称！"));
        return;
    }
    p_editNode = node;
    p_editOldName = node->text(0);
    {
        const QSignalBlocker blocker(treeCate);
        node->setFlags(node->flags() | Qt::ItemIsEditable);
    }
    treeCate->editItem(node, 0);
}

void TfrmWuLiao::treeCateEdited(QTreeWidgetItem* node) {
    if (node == nullptr || node != p_editNode) return;
    p_editNode = nullptr;
    const QSignalBlocker blocker(treeCate);
    node->setFlags(node->flags() & ~Qt::ItemIsEditable);
    const QString name = node->text(0).trimmed();
    if (name.isEmpty()) {
        // Nothing is stored, so the node keeps showing the stored name.
        node->setText(0, p_editOldName);
        return;
    }
    node->setText(0, name);
    SetCommonSQL(QStringLiteral("UPDATE FClCls SET cateName=:cateName WHERE cateID=:cateID"));
    SetCommonParam("cateName", name);
    SetCommonParam("cateID", node->data(0, kCateIDRole).toString());
    ExecCommon();
}

void TfrmWuLiao::tlCateDelClick() {
    QTreeWidgetItem* node = SelectedCategoryNode();
    if (node == nullptr) {
        ShowInfo(QStringLiteral("请先选择要删除的类别名称！"));
        return;
    }
    const QString key = node->data(0, kCateIDRole).toString();
    if (!IsCounterKey(key)) return;
    // Asked of the table itself, not of the list on screen, so no material is ever left
    // without its category.
    auto count = OpenQuery(QStringLiteral("SELECT COUNT(*) FROM FCl WHERE cateID=") + key);
    if (!count->next() || count->value(0).toInt() > 0) {
        ShowInfo(QStringLiteral("当前分类下有原材数据，不能删除该类别！"));
        return;
    }
    if (!AskConfirm(QStringLiteral("确定要删除选择的类别吗？删除后无法恢复！"))) return;
    SetCommonSQL(QStringLiteral("DELETE FROM FClCls WHERE cateID=") + key);
    if (!ExecCommon()) return;
    if (p_editNode == node) p_editNode = nullptr;
    delete node;  // the selection moves on and the list follows it
}

void TfrmWuLiao::tlYlAddClick() {
    TfrmYlAdd dialog(this);
    if (!cateID.isEmpty()) dialog.SetCategory(cateName, cateID);
    connect(&dialog, &TfrmYlAdd::MaterialAdded, this, [this] { LoadMaterials(); });
    ShowModal(dialog);
}

void TfrmWuLiao::tlYlEditClick() {
    const int row = CurrentRecordRow(sgYl);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要修改的原料记录！"));
        return;
    }
    TfrmYlEdit dialog(this);
    dialog.ylID = RecordValue(sgYl, row, "ylID");
    dialog.SetCategory(RecordValue(sgYl, row, "cateName"), RecordValue(sgYl, row, "cateID"));
    dialog.txtYlCode->setText(RecordValue(sgYl, row, "ylCode"));
    dialog.txtYlName->setText(RecordValue(sgYl, row, "ylName"));
    dialog.txtLength->setText(RecordValue(sgYl, row, "length"));
    dialog.txtWidth->setText(RecordValue(sgYl, row, "width"));
    dialog.txtHoudu->setText(RecordValue(sgYl, row, "houdu"));
    dialog.txtColor->setText(RecordValue(sgYl, row, "color"));
    dialog.txtBz->setPlainText(RecordValue(sgYl, row, "bz"));
    ShowModal(dialog);
    if (dialog.isOk) LoadMaterials();
}

void TfrmWuLiao::tlYlDelClick() {
    const int row = CurrentRecordRow(sgYl);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要删除的原料记录！"));
        return;
    }
    const QString ylID = RecordValue(sgYl, row, "ylID");
    if (!IsCounterKey(ylID)) return;
    if (!AskConfirm(QStringLiteral("确定要删除选择的原材吗？删除后无法恢复！"))) return;
    SetCommonSQL(QStringLiteral("DELETE FROM FCl WHERE ylID=") + ylID);
    if (ExecCommon()) LoadMaterials();
}
