// The cabinet library: category tree, paged entries, picking and deleting entries, the
// category dialogs and the category chooser.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "CombTestSupport.h"
#include "ui/design/UBkCateAdd.h"
#include "ui/design/UBkCtEdit.h"
#include "ui/design/UBkCtSub.h"
#include "ui/design/UDesign.h"
#include "ui/design/USelTkCate.h"
#include "ui/design/UTkCateTree.h"
#include "ui/design/UWinKu.h"

using namespace combtest;

class WinKuTest : public CombTest {
  protected:
    QString AddCategory(const QString& name, const QString& parID) {
        Exec("INSERT INTO FCpCls(KSName,parID) VALUES(:n,:p)", {{"n", name}, {"p", parID}});
        auto query = data->OpenQuery("SELECT max(KSID) FROM FCpCls");
        query->next();
        return query->value(0).toString();
    }
    void AddEntries(const QString& cateID, int count, const QString& prefix = "柜") {
        const QString doc = LibraryDocument(600, 500, 800, "lib");
        for (int i = 1; i <= count; ++i)
            Exec("INSERT INTO TkWins(TkPath,TkName,cateID) VALUES(:p,:n,:c)",
                 {{"p", doc}, {"n", prefix + QString::number(i)}, {"c", cateID}});
    }
    QTreeWidgetItem* Node(TfrmWinKu& w, const QString& text) {
        const auto found = w.tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void Select(QTreeWidget* tree, QTreeWidgetItem* node) {
        tree->clearSelection();
        if (node) node->setSelected(true);
    }
    QStringList Captions(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }
};

TEST_F(WinKuTest, TreeLoadsCategoriesDepthFirstUnderTheRoot) {
    const QString kitchen = AddCategory("厨柜", "0");
    const QString wardrobe = AddCategory("衣柜", "0");
    const QString wall = AddCategory("吊柜", kitchen);
    AddCategory("转角", wall);
    AddCategory("平开", wardrobe);
    TfrmWinKu w;
    w.LoadTree();
    EXPECT_EQ(w.windowTitle(), "柜体图库");
    ASSERT_EQ(w.tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = w.tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), "图库类别");
    EXPECT_EQ(CategoryNodeID(root), "0");
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0)->text(0), "厨柜");
    EXPECT_EQ(CategoryNodeID(root->child(0)), kitchen);
    EXPECT_EQ(root->child(0)->child(0)->text(0), "吊柜");
    EXPECT_EQ(root->child(0)->child(0)->child(0)->text(0), "转角");
    EXPECT_EQ(root->child(1)->child(0)->text(0), "平开");
}

TEST_F(WinKuTest, CategoryThatIsItsOwnParentIsShownOnceAndTheTreeLoads) {
    // Written by another tool: category 0 under parent 0 would be its own child, and
    // loading its children would start over from the top level without end.
    Exec("INSERT INTO FCpCls(KSID,KSName,parID) VALUES(0,'自身',0)");
    const QString kitchen = AddCategory("厨柜", "0");
    AddCategory("吊柜", kitchen);
    // A long chain is walked without going deeper on the stack for each level.
    QString parent = kitchen;
    for (int i = 0; i < 3000; ++i) parent = AddCategory(QString("层%1").arg(i), parent);
    TfrmWinKu w;
    w.LoadTree();
    QTreeWidgetItem* root = w.tree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->text(0), "厨柜");
    ASSERT_EQ(root->child(0)->childCount(), 2);
    EXPECT_EQ(root->child(0)->child(0)->text(0), "吊柜");
    EXPECT_NE(Node(w, "层2999"), nullptr);
    EXPECT_EQ(Node(w, "自身"), nullptr);

    TfrmSelTkCate chooser;
    LoadCategoryTree(chooser.tree);
    EXPECT_EQ(chooser.tree->topLevelItem(0)->childCount(), 1);
}

TEST_F(WinKuTest, PagesOfAHundredWithPageButtons) {
    const QString cate = AddCategory("厨柜", "0");
    AddEntries(cate, 250);
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "厨柜"));
    EXPECT_EQ(w.PageControl2->tabText(0), "厨柜");
    EXPECT_EQ(w.totalCount, 250);
    EXPECT_EQ(w.totalPage, 3);
    EXPECT_EQ(w.curPage, 1);
    ASSERT_EQ(w.lstWins->count(), 100);
    EXPECT_EQ(w.lstWins->item(0)->text(), "柜1");
    EXPECT_FALSE(w.tlPre->isEnabled());
    EXPECT_TRUE(w.tlNext->isEnabled());
    EXPECT_EQ(w.lstWins->item(0)->icon().actualSize(QSize(200, 200)), QSize(128, 128));

    w.tlNextClick();
    w.tlNextClick();
    EXPECT_EQ(w.curPage, 3);
    ASSERT_EQ(w.lstWins->count(), 50);
    EXPECT_EQ(w.lstWins->item(0)->text(), "柜201");
    EXPECT_EQ(w.lstWins->item(49)->text(), "柜250");
    EXPECT_TRUE(w.tlPre->isEnabled());
    EXPECT_FALSE(w.tlNext->isEnabled());
    w.tlNextClick();  // nothing past the last page
    EXPECT_EQ(w.curPage, 3);
    w.tlPreClick();
    EXPECT_EQ(w.curPage, 2);
    EXPECT_EQ(w.lstWins->item(0)->text(), "柜101");
}

TEST_F(WinKuTest, EmptyCategoryAndRootEntries) {
    const QString cate = AddCategory("空", "0");
    AddEntries("0", 2, "根");
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "空"));
    EXPECT_EQ(w.lstWins->count(), 0);
    EXPECT_EQ(w.totalPage, 0);
    EXPECT_FALSE(w.tlPre->isEnabled());
    EXPECT_FALSE(w.tlNext->isEnabled());
    Select(w.tree, w.tree->topLevelItem(0));
    EXPECT_EQ(Captions(w.lstWins), (QStringList{"根1", "根2"}));
}

TEST_F(WinKuTest, DamagedEntryStillListedWithBlankPicture) {
    const QString cate = AddCategory("厨柜", "0");
    Exec("INSERT INTO TkWins(TkPath,TkName,cateID) VALUES('garbage','坏',:c)", {{"c", cate}});
    AddEntries(cate, 1);
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "厨柜"));
    EXPECT_EQ(Captions(w.lstWins), (QStringList{"坏", "柜1"}));
    const QImage blank = TfrmWinKu::DrawEntryImage("garbage");
    EXPECT_EQ(blank.size(), QSize(128, 128));
    EXPECT_EQ(blank.depth(), 24);
    EXPECT_EQ(blank.pixelColor(64, 64), QColor(Qt::white));
    const QImage drawn = TfrmWinKu::DrawEntryImage(LibraryDocument(600, 500, 800, "x"));
    EXPECT_NE(drawn, blank);
}

TEST_F(WinKuTest, PickingAnEntryHandsBackItsDocument) {
    const QString cate = AddCategory("厨柜", "0");
    AddEntries(cate, 2);
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "厨柜"));
    w.tlSelWinClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择柜体!"});
    EXPECT_TRUE(w.WinXml.isEmpty());

    w.lstWins->setCurrentRow(1);
    auto query = data->OpenQuery("SELECT tkID,TkPath FROM TkWins WHERE TkName='柜2'");
    ASSERT_TRUE(query->next());
    w.tlSelWinClick();
    EXPECT_EQ(w.tkID, query->value(0).toString());
    EXPECT_EQ(w.WinXml, query->value(1).toString());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(WinKuTest, PickingAVanishedEntryKeepsTheBrowserOpen) {
    const QString cate = AddCategory("厨柜", "0");
    AddEntries(cate, 1);
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "厨柜"));
    w.lstWins->setCurrentRow(0);
    Exec("DELETE FROM TkWins");
    w.tlSelWinClick();
    EXPECT_TRUE(w.WinXml.isEmpty());
    EXPECT_NE(w.result(), QDialog::Accepted);
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(WinKuTest, DeleteAsksThenReloadsTheCategory) {
    const QString cate = AddCategory("厨柜", "0");
    AddEntries(cate, 3);
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "厨柜"));
    w.tlDelClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择柜体!"});

    w.lstWins->setCurrentRow(1);
    prompt.answers = {false};
    w.tlDelClick();
    EXPECT_EQ(Count("SELECT count(*) FROM TkWins"), 3);

    w.lstWins->setCurrentRow(1);
    prompt.answers = {true};
    w.tlDelClick();
    EXPECT_EQ(prompt.confirms.last(), "确定要删除选择的柜体吗？");
    EXPECT_EQ(Count("SELECT count(*) FROM TkWins"), 2);
    EXPECT_EQ(Captions(w.lstWins), (QStringList{"柜1", "柜3"}));
}

TEST_F(WinKuTest, CategoryMenuRefusals) {
    const QString parent = AddCategory("厨柜", "0");
    AddCategory("吊柜", parent);
    TfrmWinKu w;
    w.LoadTree();
    QTreeWidgetItem* root = w.tree->topLevelItem(0);
    struct Case {
        void (TfrmWinKu::*command)();
        QTreeWidgetItem* node;
        const char* message;
    };
    const Case cases[] = {
        {&TfrmWinKu::N1Click, nullptr, "请选择节点！"},
        {&TfrmWinKu::N2Click, nullptr, "请选择节点！"},
        {&TfrmWinKu::N4Click, nullptr, "请选择节点！"},
        {&TfrmWinKu::N5Click, nullptr, "请选择节点！"},
        {&TfrmWinKu::N1Click, root, "当前为根节点，不能添加同级节点！"},
        {&TfrmWinKu::N4Click, root, "当前为根节点，不能编辑该节点！"},
        {&TfrmWinKu::N5Click, root, "当前为根节点，不能删除该节点！"},
        {&TfrmWinKu::N5Click, Node(w, "厨柜"), "当前有子类别，不能删除！"},
        {&TfrmWinKu::tlWinDesignClick, nullptr, "请选择分类！"},
    };
    for (const Case& c : cases) {
        prompt.infos.clear();
        Select(w.tree, c.node);
        (w.*c.command)();
        EXPECT_EQ(prompt.infos, QStringList{c.message});
    }
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(Count("SELECT count(*) FROM FCpCls"), 2);
}

TEST_F(WinKuTest, NewSiblingOfTopLevelCategoryIsTopLevel) {
    AddCategory("厨柜", "0");
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "厨柜"));
    ExpectModal<TfrmBkCateAdd>([](TfrmBkCateAdd& add) {
        EXPECT_EQ(add.windowTitle(), "新增同级类别");
        EXPECT_EQ(add.parBH, "0");
        add.btnOKClick();  // no name
        EXPECT_FALSE(add.IsOK);
        add.txtMC->setText(" 衣柜 ");
        add.btnOKClick();
        EXPECT_TRUE(add.IsOK);
        EXPECT_EQ(add.tmpMC, "衣柜");
    });
    w.N1Click();
    EXPECT_EQ(prompt.infos, (QStringList{"请输入分类名称！", "新增类别成功！"}));
    EXPECT_EQ(Count("SELECT count(*) FROM FCpCls WHERE KSName='衣柜' AND parID=0"), 1);
    EXPECT_EQ(w.tree->topLevelItem(0)->childCount(), 2);  // tree rebuilt
}

TEST_F(WinKuTest, NewChildOfRootAndOfCategory) {
    const QString kitchen = AddCategory("厨柜", "0");
    TfrmWinKu w;
    w.LoadTree();
    const struct {
        const char* node;
        QString parent;
        const char* name;
    } cases[] = {{"图库类别", "0", "衣柜"}, {"厨柜", kitchen, "吊柜"}};
    for (const auto& c : cases) {
        prompt.infos.clear();
        Select(w.tree, Node(w, c.node));  // the tree is rebuilt after every addition
        ExpectModal<TfrmBkCtSub>([&c](TfrmBkCtSub& sub) {
            EXPECT_EQ(sub.windowTitle(), "新增子级类别");
            EXPECT_EQ(sub.parBH, c.parent);
            sub.btnOKClick();
            sub.txtMC->setText(c.name);
            sub.btnOKClick();
        });
        w.N2Click();
        EXPECT_EQ(prompt.infos, (QStringList{"请输入类别名称！", "新增类别成功！"}));
        EXPECT_EQ(Count(QString("SELECT count(*) FROM FCpCls WHERE KSName='%1' AND parID=%2")
                            .arg(c.name, c.parent)),
                  1);
        EXPECT_NE(Node(w, c.name), nullptr);
    }
}

TEST_F(WinKuTest, RenameShowsStoredNameAndRenamesTheNode) {
    const QString id = AddCategory("厨柜", "0");
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "厨柜"));
    ExpectModal<TfrmBkCtEdit>([&id](TfrmBkCtEdit& edit) {
        EXPECT_EQ(edit.windowTitle(), "修改类别");
        EXPECT_EQ(edit.KSID, id);
        edit.LoadName();
        EXPECT_EQ(edit.txtMC->text(), "厨柜");
        edit.txtMC->clear();
        edit.btnOKClick();
        EXPECT_FALSE(edit.IsOk);
        edit.txtMC->setText("橱柜");
        edit.btnOKClick();
        EXPECT_TRUE(edit.IsOk);
    });
    w.N4Click();
    EXPECT_EQ(prompt.infos, (QStringList{"请输入类别名称！", "类别修改成功！"}));
    EXPECT_EQ(w.tree->topLevelItem(0)->child(0)->text(0), "橱柜");
    EXPECT_EQ(Count("SELECT count(*) FROM FCpCls WHERE KSName='橱柜'"), 1);
}

TEST_F(WinKuTest, RenameOfVanishedCategoryStaysOpenSilently) {
    const QString id = AddCategory("厨柜", "0");
    TfrmBkCtEdit edit;
    edit.KSID = id;
    Exec("DELETE FROM FCpCls");
    edit.txtMC->setText("橱柜");
    edit.btnOKClick();
    EXPECT_FALSE(edit.IsOk);
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(WinKuTest, DeletingACategoryKeepsItsEntries) {
    const QString cate = AddCategory("厨柜", "0");
    AddEntries(cate, 2);
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "厨柜"));
    prompt.answers = {false};
    w.N5Click();
    EXPECT_EQ(Count("SELECT count(*) FROM FCpCls"), 1);
    prompt.answers = {true};
    w.N5Click();
    EXPECT_EQ(prompt.confirms.last(), "确定要删除选择的记录吗？");
    EXPECT_EQ(Count("SELECT count(*) FROM FCpCls"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM TkWins"), 2);
    EXPECT_EQ(w.tree->topLevelItem(0)->childCount(), 0);
}

TEST_F(WinKuTest, DesignCabinetOpensTheDesignerWithoutSave) {
    AddCategory("厨柜", "0");
    TfrmWinKu w;
    w.LoadTree();
    Select(w.tree, Node(w, "厨柜"));
    bool saveEnabled = true;
    ExpectModal<TfrmDesign>([&](TfrmDesign& d) { saveEnabled = d.tlSave->isEnabled(); });
    w.tlWinDesignClick();
    EXPECT_EQ(opened, QStringList{"TfrmDesign"});
    EXPECT_FALSE(saveEnabled);
}

TEST_F(WinKuTest, ChooserNeedsCategoryAndName) {
    AddCategory("厨柜", "0");
    {
        TfrmSelTkCate chooser;
        chooser.LoadTree();
        EXPECT_EQ(chooser.windowTitle(), "选择图库类别");
        chooser.txtName->setText("柜");
        chooser.Button1Click();
        EXPECT_EQ(prompt.infos, QStringList{"请选择图库类别！"});
        chooser.tree->topLevelItem(0)->setSelected(true);
        chooser.Button1Click();
        EXPECT_EQ(chooser.tkID, "0");
        EXPECT_EQ(chooser.result(), QDialog::Accepted);
    }
    prompt.infos.clear();
    TfrmSelTkCate chooser;
    chooser.LoadTree();
    chooser.tree->topLevelItem(0)->child(0)->setSelected(true);
    chooser.txtName->setText("  ");
    chooser.Button1Click();
    EXPECT_EQ(prompt.infos, QStringList{"请输入柜体名称！"});
    chooser.reject();
    EXPECT_TRUE(chooser.tkID.isEmpty());
}

TEST_F(WinKuTest, DesignerUsesTheBrowserAndTheChooserForItsLibraryCommands) {
    const QString cate = AddCategory("厨柜", "0");
    TfrmWinKu library;  // a window that opens the designer installs the library windows
    TfrmDesign designer;
    designer.txtGTName->setText("书柜");
    designer.txtW->setText("600");
    designer.txtD->setText("500");
    designer.txtH->setText("800");
    ASSERT_NE(designer.Cabinet, nullptr);
    AddCarcass(*designer.Cabinet);
    ExpectModal<TfrmSelTkCate>([](TfrmSelTkCate& chooser) {
        EXPECT_EQ(chooser.txtName->text(), "书柜");
        chooser.LoadTree();
        chooser.tree->topLevelItem(0)->child(0)->setSelected(true);
        chooser.txtName->setText("书柜A");
        chooser.Button1Click();
    });
    designer.tlSaveTKClick();
    EXPECT_EQ(Count("SELECT count(*) FROM TkWins WHERE TkName='书柜A' AND cateID='" + cate + "'"),
              1);

    ExpectModal<TfrmWinKu>([](TfrmWinKu&) {});  // closed without picking
    designer.tlSelGtClick();
    EXPECT_EQ(opened, (QStringList{"TfrmSelTkCate", "TfrmWinKu"}));
}
