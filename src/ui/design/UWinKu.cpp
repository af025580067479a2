#include "ui/design/UWinKu.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSqlQuery>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

#include "cabinet/UCabs.h"
#include "data/UnitData.h"
#include "documents/UXmlOpen.h"
#include "render/QPainterCanvas.h"
#include "ui/UiPlatform.h"
#include "ui/UiQuery.h"
#include "ui/design/UBkCateAdd.h"
#include "ui/design/UBkCtEdit.h"
#include "ui/design/UBkCtSub.h"
#include "ui/design/UDesign.h"
#include "ui/design/UTkCateTree.h"

TfrmWinKu::TfrmWinKu(QWidget* parent) : QDialog(parent) {
    setObjectName("frmWinKu");
    setWindowTitle(QStringLiteral("柜体图库"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    tree = new QTreeWidget(TabSheet1);
    tree->setObjectName("tree");
    tree->setHeaderHidden(true);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* treeLayout = new QVBoxLayout(TabSheet1);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->addWidget(tree);
    PageControl1->addTab(TabSheet1, QStringLiteral("类别系列"));
    PageControl1->setMaximumWidth(240);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    auto addItem = [this](const char* name, const QString& caption) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    N1 = addItem("N1", QStringLiteral("新增同级类别"));
    N2 = addItem("N2", QStringLiteral("新增子级类别"));
    PopupMenu1->addSeparator();
    N4 = addItem("N4", QStringLiteral("编辑当前类别"));
    N5 = addItem("N5", QStringLiteral("删除当前类别"));

    PageControl2 = new QTabWidget(this);
    PageControl2->setObjectName("PageControl2");
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    ToolBar1 = new QToolBar(TabSheet2);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addTool = [this](const char* name, const QString& caption) {
        QAction* action = ToolBar1->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    tlWinDesign = addTool("tlWinDesign", QStringLiteral("设计柜体"));
    tlDel = addTool("tlDel", QStringLiteral("删除柜体"));
    ToolBar1->addSeparator();
    tlPre = addTool("tlPre", QStringLiteral("上一页"));
    tlNext = addTool("tlNext", QStringLiteral("下一页"));
    ToolBar1->addSeparator();
    tlSelWin = addTool("tlSelWin", QStringLiteral("选择该柜体"));
    tlPre->setEnabled(false);
    tlNext->setEnabled(false);

    lstWins = new QListWidget(TabSheet2);
    lstWins->setObjectName("lstWins");
    lstWins->setViewMode(QListView::IconMode);
    lstWins->setIconSize(QSize(kIconSize, kIconSize));
    lstWins->setResizeMode(QListView::Adjust);
    lstWins->setMovement(QListView::Static);
    lstWins->setSpacing(6);
    lstWins->setUniformItemSizes(true);
    auto* listLayout = new QVBoxLayout(TabSheet2);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    listLayout->addWidget(ToolBar1);
    listLayout->addWidget(lstWins, 1);
    PageControl2->addTab(TabSheet2, QStringLiteral("图库"));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addWidget(PageControl2, 1);
    resize(900, 600);

    connect(tree, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (SelectedCategoryNode(tree)) treeChange();
    });
    connect(tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTreeWidgetItem* node = tree->itemAt(at)) node->setSelected(true);
        PopupMenu1->popup(tree->viewport()->mapToGlobal(at));
    });
    connect(N1, &QAction::triggered, this, [this] { N1Click(); });
    connect(N2, &QAction::triggered, this, [this] { N2Click(); });
    connect(N4, &QAction::triggered, this, [this] { N4Click(); });
    connect(N5, &QAction::triggered, this, [this] { N5Click(); });
    connect(tlWinDesign, &QAction::triggered, this, [this] { tlWinDesignClick(); });
    connect(tlDel, &QAction::triggered, this, [this] { tlDelClick(); });
    connect(tlPre, &QAction::triggered, this, [this] { tlPreClick(); });
    connect(tlNext, &QAction::triggered, this, [this] { tlNextClick(); });
    connect(tlSelWin, &QAction::triggered, this, [this] { tlSelWinClick(); });
    connect(lstWins, &QListWidget::itemDoubleClicked, this, [this] { tlSelWinClick(); });
}

void TfrmWinKu::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    LoadTree();
}

void TfrmWinKu::LoadTree() { LoadCategoryTree(tree); }

void TfrmWinKu::treeChange() {
    QTreeWidgetItem* node = SelectedCategoryNode(tree);
    if (!node) return;
    PageControl2->setTabText(PageControl2->indexOf(TabSheet2), node->text(0));
    LoadEntries(CategoryNodeID(node));
}

void TfrmWinKu::LoadEntries(const QString& cateID) {
    p_cateID = cateID;
    dt.clear();
    auto query = OpenBoundQuery(
        QStringLiteral("SELECT tkPath,cateID,tkID,TkName FROM TkWins WHERE cateID=:cateID"),
        {{QStringLiteral("cateID"), cateID}});
    while (query->next())
        dt.push_back({FieldText(*query, "tkPath"), FieldText(*query, "cateID"),
                      FieldText(*query, "tkID"), FieldText(*query, "TkName")});
    totalCount = int(dt.size());
    totalPage = (totalCount + kPageSize - 1) / kPageSize;
    curPage = 1;
    ShowPage();
}

QImage TfrmWinKu::DrawEntryImage(const QString& tkPath) {
    QImage image = kelm::NewBitmap(kIconSize, kIconSize);
    try {
        const std::unique_ptr<FCabs> cabs = FXmlOpen::OpenXml(tkPath);
        const double dv = (cabs->W() >= cabs->H() ? cabs->W() : cabs->H()) / 100.0;
        if (dv > 0) {
            kelm::QPainterCanvas canvas(&image);
            cabs->Draw(canvas, dv, QPoint(20, 20), true, false, kelm::Color(248, 240, 227), 80, 10);
        }
    } catch (const std::exception&) {
        // a damaged entry keeps a blank picture; the rest of the page still loads
    }
    return image.convertToFormat(QImage::Format_RGB888);
}

void TfrmWinKu::ShowPage() {
    const int load = ++p_pageLoad;
    lstWins->clear();
    tlPre->setEnabled(curPage != 1);
    tlNext->setEnabled(curPage < totalPage);
    const int first = (curPage - 1) * kPageSize;
    const int end = std::min(totalCount, curPage * kPageSize);
    for (int i = std::max(first, 0); i < end; ++i) {
        const TEntry& entry = dt[size_t(i)];
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(DrawEntryImage(entry.tkPath))),
                                         entry.TkName);
        item->setData(Qt::UserRole, entry.tkID);
        lstWins->addItem(item);
        // The page fills visibly and the window stays responsive; when the user picks
        // another category or page meanwhile, that newer load takes over.
        QCoreApplication::processEvents();
        if (load != p_pageLoad) return;
    }
}

void TfrmWinKu::tlPreClick() {
    if (curPage == 1) return;
    --curPage;
    ShowPage();
}

void TfrmWinKu::tlNextClick() {
    if (curPage >= totalPage) return;
    ++curPage;
    ShowPage();
}

void TfrmWinKu::tlSelWinClick() {
    QListWidgetItem* item = lstWins->currentItem();
    if (!item || !item->isSelected()) {
        ShowInfo(QStringLiteral("请选择柜体!"));
        return;
    }
    tkID = item->data(Qt::UserRole).toString();
    if (!IsCounterKey(tkID)) return;
    auto query = OpenQuery(QStringLiteral("SELECT tkPath FROM TkWins WHERE tkID=") + tkID);
    if (!query->next()) return;
    WinXml = FieldText(*query, "tkPath");
    accept();
}

void TfrmWinKu::tlDelClick() {
    QListWidgetItem* item = lstWins->currentItem();
    if (!item || !item->isSelected()) {
        ShowInfo(QStringLiteral("请选择柜体!"));
        return;
    }
    if (!AskConfirm(QStringLiteral("确定要删除选择的柜体吗？"))) return;
    const QString key = item->data(Qt::UserRole).toString();
    if (!IsCounterKey(key)) return;
    SetCommonSQL(QStringLiteral("DELETE FROM TkWins WHERE tkID=") + key);
    if (ExecCommon()) LoadEntries(p_cateID);
}

void TfrmWinKu::tlWinDesignClick() {
    if (!SelectedCategoryNode(tree)) {
        ShowInfo(QStringLiteral("请选择分类！"));
        return;
    }
    TfrmDesign designer(this);
    designer.tlSave->setEnabled(false);
    ShowModal(designer);
}

void TfrmWinKu::N1Click() {
    QTreeWidgetItem* node = SelectedCategoryNode(tree);
    if (!node) {
        ShowInfo(QStringLiteral("请选择节点！"));
        return;
    }
    if (!node->parent()) {
        ShowInfo(QStringLiteral("当前为根节点，不能添加同级节点！"));
        return;
    }
    TfrmBkCateAdd dialog(this);
    dialog.parBH = CategoryNodeID(node->parent());
    ShowModal(dialog);
    if (dialog.IsOK) LoadTree();
}

void TfrmWinKu::N2Click() {
    QTreeWidgetItem* node = SelectedCategoryNode(tree);
    if (!node) {
        ShowInfo(QStringLiteral("请选择节点！"));
        return;
    }
    TfrmBkCtSub dialog(this);
    dialog.parBH = CategoryNodeID(node);
    ShowModal(dialog);
    if (dialog.IsOK) LoadTree();
}

void TfrmWinKu::N4Click() {
    QTreeWidgetItem* node = SelectedCategoryNode(tree);
    if (!node) {
        ShowInfo(QStringLiteral("请选择节点！"));
        return;
    }
    if (!node->parent()) {
        ShowInfo(QStringLiteral("当前为根节点，不能编辑该节点！"));
        return;
    }
    TfrmBkCtEdit dialog(this);
    dialog.KSID = CategoryNodeID(node);
    ShowModal(dialog);
    if (dialog.IsOk) node->setText(0, dialog.txtMC->text().trimmed());
}

void TfrmWinKu::N5Click() {
    QTreeWidgetItem* node = SelectedCategoryNode(tree);
    if (!node) {
        ShowInfo(QStringLiteral("请选择节点！"));
        return;
    }
    if (!node->parent()) {
        ShowInfo(QStringLiteral("当前为根节点，不能删除该节点！"));
        return;
    }
    if (node->childCount() > 0) {
        ShowInfo(QStringLiteral("当前有子类别，不能删除！"));
        return;
    }
    if (!AskConfirm(QStringLiteral("确定要删除选择的记录吗？"))) return;
    SetCommonSQL(QStringLiteral("DELETE FROM FCpCls WHERE KSID=:KSID"));
    SetCommonParam(QStringLiteral("KSID"), CategoryNodeID(node));
    if (ExecCommon()) delete node;
}
