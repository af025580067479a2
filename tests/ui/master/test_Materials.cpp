// Raw materials: the materials window with its category tree, and the category and
// material dialogs.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include "../UiTestSupport.h"
#include "ui/UiGrid.h"
#include "ui/orders/UnitCateAdd.h"
#include "ui/orders/UnitMainLinks.h"
#include "ui/orders/UnitWuLiao.h"
#include "ui/orders/UnitYlAdd.h"
#include "ui/orders/UnitYlEdit.h"

class MaterialsTest : public UiTest {
  protected:
    QString AddCategory(const QString& name) {
        Exec("INSERT INTO FClCls(cateName) VALUES(:n)", {{"n", name}});
        auto q = data->OpenQuery("SELECT MAX(cateID) FROM FClCls");
        return q->next() ? q->value(0).toString() : QString();
    }
    void AddMaterial(const QString& cateID, const QString& code, const QString& name) {
        Exec(
            "INSERT INTO FCl(cateID,ylCode,ylName,length,width,houdu,color,bz) "
            "VALUES(:c,:code,:name,2440,1220,18,'白','')",
            {{"c", cateID}, {"code", code}, {"name", name}});
    }
    static QStringList Codes(const TfrmWuLiao& window) {
        QStringList codes;
        for (int r = 0; r < window.sgYl->rowCount(); ++r) codes << window.sgYl->item(r, 0)->text();
        return codes;
    }
    static QTreeWidgetItem* Node(const TfrmWuLiao& window, int index) {
        return window.RootNode()->child(index);
    }
    static void Select(TfrmWuLiao& window, QTreeWidgetItem* node) {
        window.treeCate->clearSelection();
        node->setSelected(true);
    }
};

TEST_F(MaterialsTest, LoadsTreeAndEveryMaterialWithACategory) {
    const QString board = AddCategory("板材");
    const QString back = AddCategory("背板");
    AddMaterial(board, "B1", "颗粒板");
    AddMaterial(back, "K1", "背板5");
    AddMaterial("999", "X1", "无类别");  // category row missing: never listed
    TfrmWuLiao window;
    EXPECT_EQ(window.windowTitle(), "物料管理");
    ASSERT_EQ(window.treeCate->topLevelItemCount(), 1);
    QTreeWidgetItem* root = window.RootNode();
    EXPECT_EQ(root->text(0), "全部类别");
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0)->text(0), "板材");
    EXPECT_EQ(root->child(1)->text(0), "背板");
    EXPECT_EQ(window.pcYl->tabText(0), "材料列表");
    EXPECT_EQ(Codes(window), (QStringList{"B1", "K1"}));
    ASSERT_EQ(window.sgYl->columnCount(), 7);
    const QStringList headings{"材料编码", "名称", "长", "宽", "厚度", "颜色", "备注"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(window.sgYl->horizontalHeaderItem(c)->text(), headings[c]);
    EXPECT_EQ(window.sgYl->item(0, 2)->text(), "2440");

    Select(window, Node(window, 1));
    EXPECT_EQ(window.cateID, back);
    EXPECT_EQ(window.cateName, "背板");
    EXPECT_EQ(window.pcYl->tabText(0), "背板");
    EXPECT_EQ(Codes(window), QStringList{"K1"});

    Select(window, root);
    EXPECT_TRUE(window.cateID.isEmpty());
    EXPECT_EQ(window.pcYl->tabText(0), "全部类别");
    EXPECT_EQ(Codes(window), (QStringList{"B1", "K1"}));
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(MaterialsTest, RenameAndDeleteNeedACategoryNode) {
    AddCategory("板材");
    TfrmWuLiao window;
    for (bool rootSelected : {false, true}) {
        if (rootSelected) Select(window, window.RootNode());
        prompt.infos.clear();
        window.tlCateEditClick();
        window.mnuCateDel->trigger();
        EXPECT_EQ(prompt.infos,
                  (QStringList{"请先选择要修改的类别名称！", "请先选择要删除的类别名称！"}));
    }
    EXPECT_TRUE(prompt.confirms.isEmpty());
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FClCls"), 1);
}

TEST_F(MaterialsTest, AddCategoryChecksNameAndReloadsTree) {
    TfrmWuLiao window;
    ExpectModal<TfrmCateAdd>([](TfrmCateAdd& add) {
        EXPECT_EQ(add.windowTitle(), "新增类别");
        add.txtCateName->setText("  ");
        add.btnOKClick();
        EXPECT_FALSE(add.isOk);
        add.txtCateName->setText(" 面板 ");
        add.btnOKClick();
        EXPECT_TRUE(add.isOk);
    });
    window.mnuCateAdd->trigger();
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(prompt.infos, QStringList{"请输入类别名称！"});  // no success message
    ASSERT_EQ(window.RootNode()->childCount(), 1);
    EXPECT_EQ(window.RootNode()->child(0)->text(0), "面板");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FClCls WHERE cateName='面板'"), 1);

    // A dialog closed without storing leaves the tree alone.
    ExpectModal<TfrmCateAdd>([](TfrmCateAdd&) {});
    window.tlCateAddClick();
    EXPECT_EQ(window.RootNode()->childCount(), 1);
}

TEST_F(MaterialsTest, RenameStoresTrimmedNameAndIgnoresEmptyName) {
    const QString id = AddCategory("板材");
    TfrmWuLiao window;
    QTreeWidgetItem* node = Node(window, 0);
    Select(window, node);

    window.tlCateEditClick();
    node->setText(0, "   ");  // editing ends with an empty text
    EXPECT_EQ(node->text(0), "板材");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FClCls WHERE cateName='板材'"), 1);

    window.mnuCateEdit->trigger();
    node->setText(0, " 柜身板 ");
    EXPECT_EQ(node->text(0), "柜身板");
    auto q = data->OpenQuery("SELECT cateName FROM FClCls WHERE cateID=" + id);
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->value(0).toString(), "柜身板");
    EXPECT_EQ(window.pcYl->tabText(0), "板材");  // until the category is selected again

    // Without a rename in progress, a changed node text stores nothing.
    node->setText(0, "别的");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FClCls WHERE cateName='别的'"), 0);
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(MaterialsTest, CategoryWithMaterialsCannotBeDeleted) {
    const QString id = AddCategory("板材");
    AddMaterial(id, "B1", "颗粒板");
    TfrmWuLiao window;
    Select(window, Node(window, 0));
    window.tlCateDelClick();
    EXPECT_EQ(prompt.infos, QStringList{"当前分类下有原材数据，不能删除该类别！"});
    EXPECT_TRUE(prompt.confirms.isEmpty());

    // Delete the last material, then the category: Cancel keeps it, OK removes it.
    prompt.infos.clear();
    prompt.answers = {true, false, true};
    window.tlYlDelClick();
    EXPECT_EQ(prompt.confirms.last(), "确定要删除选择的原材吗？删除后无法恢复！");
    EXPECT_EQ(window.sgYl->rowCount(), 0);
    window.tlCateDelClick();
    EXPECT_EQ(prompt.confirms.last(), "确定要删除选择的类别吗？删除后无法恢复！");
    EXPECT_EQ(window.RootNode()->childCount(), 1);
    window.tlCateDelClick();
    EXPECT_EQ(window.RootNode()->childCount(), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FClCls"), 0);
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(MaterialsTest, AddDialogStoresSeriesAndListFollowsEachEntry) {
    AddCategory("板材");
    const QString back = AddCategory("背板");
    TfrmWuLiao window;
    Select(window, Node(window, 1));
    int rowsSeenInsideDialog = -1;
    ExpectModal<TfrmYlAdd>([&](TfrmYlAdd& add) {
        EXPECT_EQ(add.windowTitle(), "新增原材");
        EXPECT_EQ(add.cbCateName->currentText(), "背板");
        EXPECT_EQ(add.SelectedCateID(), back);
        EXPECT_EQ(add.txtLength->text(), "2440");
        EXPECT_EQ(add.txtWidth->text(), "1220");
        EXPECT_EQ(add.txtHoudu->text(), "18");
        add.txtYlCode->setText(" K5 ");
        add.txtYlName->setText(" 背板5 ");
        add.txtHoudu->setText("5");
        add.txtColor->setText("白");
        add.txtBz->setPlainText(" 备 ");
        add.btnOKClick();
        rowsSeenInsideDialog = window.sgYl->rowCount();
        // Ready for the next one: code, width, thickness and category stay.
        EXPECT_TRUE(add.txtYlName->text().isEmpty());
        EXPECT_TRUE(add.txtLength->text().isEmpty());
        EXPECT_TRUE(add.txtColor->text().isEmpty());
        EXPECT_TRUE(add.txtBz->toPlainText().isEmpty());
        EXPECT_EQ(add.txtYlCode->text(), " K5 ");
        EXPECT_EQ(add.txtWidth->text(), "1220");
        EXPECT_EQ(add.txtHoudu->text(), "5");
        EXPECT_EQ(add.SelectedCateID(), back);
        add.btnOKClick();  // pressed again at once
    });
    window.tlYlAddClick();
    EXPECT_EQ(rowsSeenInsideDialog, 1);
    EXPECT_EQ(prompt.infos, (QStringList{"添加成功！", "请输入原料长度！"}));
    auto q = data->OpenQuery("SELECT cateID,ylCode,ylName,length,width,houdu,color,bz FROM FCl");
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->value("cateID").toString(), back);
    EXPECT_EQ(q->value("ylCode").toString(), "K5");
    EXPECT_EQ(q->value("ylName").toString(), "背板5");
    EXPECT_EQ(q->value("length").toDouble(), 2440);
    EXPECT_EQ(q->value("houdu").toDouble(), 5);
    EXPECT_EQ(q->value("bz").toString(), "备");
    EXPECT_FALSE(q->next());
}

TEST_F(MaterialsTest, AddDialogRefusesBadFields) {
    AddCategory("板材");
    struct Case {
        const char* category;
        const char* length;
        const char* width;
        const char* houdu;
        const char* message;  // "" when nothing is shown
        const char* lengthAfter;
    };
    const Case cases[] = {
        {"不存在", "2440", "1220", "18", "请选择类别！", "2440"},
        {"板材", "", "1220", "18", "请输入原料长度！", ""},
        {"板材", "2440", " ", "18", "请输入原料宽度！", "2440"},
        {"板材", "abc", "1220", "18", "数字非法！", ""},
        {"板材", "2440", "abc", "18", "数字非法！", "2440"},
        {"板材", "2440", "12x0", "18", "数字非法！", "2440"},
        {"板材", "2440", "1220", "x", "数字非法！", "2440"},
        {"板材", "2440", "1220", "", "请输入原料厚度！", "2440"},
        {"板材", "-2440", "1220", "18", "数字必须大于0！", "-2440"},
        {"板材", "2440", "0", "18", "数字必须大于0！", "2440"},
        {"板材", "2440", "1220", "0", "数字必须大于0！", "2440"},
        {"板材", "1e12", "1220", "18", "数字不能大于10000000！", "1e12"},
        {"板材", "1e309", "1220", "18", "数字非法！", ""},
    };
    TfrmYlAdd add;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        prompt.infos.clear();
        add.cbCateName->setEditText(QString::fromUtf8(c.category));
        add.txtLength->setText(QString::fromUtf8(c.length));
        add.txtWidth->setText(QString::fromUtf8(c.width));
        add.txtHoudu->setText(QString::fromUtf8(c.houdu));
        add.btnOKClick();
        const QString message = QString::fromUtf8(c.message);
        EXPECT_EQ(prompt.infos, message.isEmpty() ? QStringList{} : QStringList{message});
        EXPECT_EQ(add.txtLength->text(), QString::fromUtf8(c.lengthAfter));
        EXPECT_EQ(Count("SELECT COUNT(*) FROM FCl"), 0);
    }
    // A typed name that matches a category selects its key again.
    add.cbCateName->setEditText("板材");
    EXPECT_FALSE(add.SelectedCateID().isEmpty());
}

TEST_F(MaterialsTest, EditFillsDialogAndStores) {
    const QString board = AddCategory("板材");
    const QString back = AddCategory("背板");
    AddMaterial(board, "B1", "颗粒板");
    TfrmWuLiao window;
    ExpectModal<TfrmYlEdit>([&](TfrmYlEdit& edit) {
        EXPECT_EQ(edit.windowTitle(), "修改原料");
        EXPECT_EQ(edit.cbCateName->currentText(), "板材");
        EXPECT_EQ(edit.SelectedCateID(), board);
        EXPECT_EQ(edit.txtYlCode->text(), "B1");
        EXPECT_EQ(edit.txtYlName->text(), "颗粒板");
        EXPECT_EQ(edit.txtLength->text(), "2440");
        EXPECT_EQ(edit.txtColor->text(), "白");
        edit.txtLength->setText("abc");
        edit.btnOKClick();
        EXPECT_FALSE(edit.isOk);
        edit.cbCateName->setEditText("背板");
        edit.txtLength->setText("2800");
        edit.txtYlName->setText("颗粒板2");
        edit.btnOKClick();
        EXPECT_TRUE(edit.isOk);
    });
    window.tlYlEditClick();
    EXPECT_EQ(prompt.infos, (QStringList{"数字非法！", "修改成功！"}));
    EXPECT_EQ(window.sgYl->item(0, 1)->text(), "颗粒板2");
    EXPECT_EQ(window.sgYl->item(0, 2)->text(), "2800");
    EXPECT_EQ(RecordValue(window.sgYl, 0, "cateID"), back);
}

TEST_F(MaterialsTest, MaterialCommandsNeedARow) {
    TfrmWuLiao window;
    window.tlYlEditClick();
    window.tlYlDelClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请选择要修改的原料记录！", "请选择要删除的原料记录！"}));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(MaterialsTest, MainWindowCommandOpensMaterialsWindow) {
    ExpectModal<TfrmWuLiao>(
        [](TfrmWuLiao& window) { EXPECT_EQ(window.windowTitle(), "物料管理"); });
    OpenMaterials(nullptr);
    EXPECT_EQ(opened, QStringList{"TfrmWuLiao"});
    EXPECT_TRUE(prompt.infos.isEmpty());
}
