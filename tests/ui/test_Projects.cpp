// Order list, creation and edit dialogs, driven through their handlers.
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "UiTestSupport.h"
#include "ui/UiGrid.h"
#include "ui/orders/UProAdd.h"
#include "ui/orders/UProEdit.h"
#include "ui/orders/UProjects.h"

class ProjectsTest : public UiTest {
  protected:
    QStringList ListedNames(const TfrmProjects& list) {
        QStringList names;
        for (int r = 0; r < list.sgProject->rowCount(); ++r)
            names << list.sgProject->item(r, 1)->text();
        return names;
    }
};

TEST_F(ProjectsTest, NewOrderDialogDefaultsDatesTenDaysApart) {
    TfrmProAdd dialog;
    EXPECT_EQ(dialog.windowTitle(), "新建生产单");
    EXPECT_EQ(dialog.dt1->date(), QDate::currentDate());
    EXPECT_EQ(dialog.dt1->date().daysTo(dialog.dt2->date()), 10);
    EXPECT_TRUE(dialog.proID.isEmpty());
}

TEST_F(ProjectsTest, NewOrderRequiresCodeThenName) {
    TfrmProAdd dialog;
    dialog.btnOKClick();
    dialog.txtProCode->setText("P-1");
    dialog.btnOKClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请输入生产批次号！！", "请输入生产批次名称！！"}));
    EXPECT_TRUE(dialog.proID.isEmpty());
    EXPECT_EQ(Count("SELECT count(*) FROM FProject"), 0);
}

TEST_F(ProjectsTest, NewOrderIsStoredTrimmedWithDatesAndHandedBack) {
    TfrmProAdd dialog;
    dialog.txtProCode->setText("  P-7 ");
    dialog.txtProName->setText(" 厨房 ");
    dialog.txtBZ->setPlainText(" 加急 ");
    dialog.dt1->setDate(QDate(2024, 3, 1));
    dialog.dt2->setDate(QDate(2024, 3, 11));
    dialog.btnOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"添加成功！"});
    ASSERT_EQ(dialog.proID.size(), 12);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    auto q = data->OpenQuery("SELECT proID,proCode,proName,begDt,endDt,bz FROM FProject");
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->value("proID").toString(), dialog.proID);
    EXPECT_EQ(q->value("proCode").toString(), "P-7");
    EXPECT_EQ(q->value("proName").toString(), "厨房");
    EXPECT_EQ(q->value("begDt").toString(), "2024-03-01");
    EXPECT_EQ(q->value("endDt").toString(), "2024-03-11");
    EXPECT_EQ(q->value("bz").toString(), "加急");
}

TEST_F(ProjectsTest, FailedInsertKeepsDialogOpenSilently) {
    // A second order made in the same second gets the same key and cannot be stored.
    AddOrder(NewTimeID(), "X", "existing");
    TfrmProAdd dialog;
    dialog.txtProCode->setText("P");
    dialog.txtProName->setText("N");
    const QString before = NewTimeID();
    dialog.btnOKClick();
    if (NewTimeID() != before) GTEST_SKIP() << "the clock moved on during the test";
    EXPECT_TRUE(prompt.infos.isEmpty());
    EXPECT_TRUE(dialog.proID.isEmpty());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(ProjectsTest, ListShowsOrdersNewestFirstWithCount) {
    AddOrder("240101000001", "A", "老订单", "2024-01-01");
    AddOrder("240101000002", "B", "新订单", "2024-06-01");
    TfrmProjects list;
    list.FormShow();
    EXPECT_EQ(ListedNames(list), (QStringList{"新订单", "老订单"}));
    EXPECT_EQ(list.sgProject->item(0, 2)->text(), "2024-06-01");
    EXPECT_EQ(list.lbCount->text(), "满足条件的工程数量：2");
}

TEST_F(ProjectsTest, EmptyListCommandsShowTheirMessages) {
    TfrmProjects list;
    list.FormShow();
    EXPECT_EQ(list.lbCount->text(), "满足条件的工程数量：0");
    list.tlEditClick();
    list.tlDelClick();
    list.tlOpenClick();
    EXPECT_EQ(prompt.infos,
              (QStringList{"请先选择工程！！", "请选择要删除的记录！", "请选择要打开的工程！"}));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(prompt.confirms.isEmpty());
    EXPECT_TRUE(list.proID.isEmpty());
}

TEST_F(ProjectsTest, KeywordFiltersByNameAndQuotesAreSearchedLiterally) {
    AddOrder("240101000001", "A", "王's 厨柜");
    AddOrder("240101000002", "B", "衣柜");
    AddOrder("240101000003", "C", "x' OR '1'='1");
    TfrmProjects list;
    list.FormShow();
    struct Case {
        QString key;
        QStringList names;
    };
    const Case cases[] = {
        {"衣", {"衣柜"}},
        {" 's ", {"王's 厨柜"}},
        {"'", {"王's 厨柜", "x' OR '1'='1"}},
        {"' OR '1'='1", {"x' OR '1'='1"}},
        {"%'--", {}},
        {"", {"王's 厨柜", "衣柜", "x' OR '1'='1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        list.txtKey->setText(c.key);  // the edit's change runs the filter
        QStringList names = ListedNames(list);
        names.sort();
        QStringList expected = c.names;
        expected.sort();
        EXPECT_EQ(names, expected);
        EXPECT_EQ(list.lbCount->text(), "满足条件的工程数量：" + QString::number(c.names.size()));
    }
    EXPECT_TRUE(prompt.infos.isEmpty());  // no statement failed
}

TEST_F(ProjectsTest, AddFromListReloadsAllOrders) {
    AddOrder("240101000001", "A", "甲");
    TfrmProjects list;
    list.FormShow();
    list.txtKey->setText("none such");
    ASSERT_EQ(list.sgProject->rowCount(), 0);
    ExpectModal<TfrmProAdd>([](TfrmProAdd& add) {
        add.txtProCode->setText("B");
        add.txtProName->setText("乙");
        add.btnOKClick();
    });
    list.tlAddClick();
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(list.sgProject->rowCount(), 2);  // the keyword stays but does not filter
    EXPECT_EQ(list.txtKey->text(), "none such");
}

TEST_F(ProjectsTest, EditFillsDialogStoresAndRefilters) {
    AddOrder("240101000001", "A", "甲", "2024-02-03");
    TfrmProjects list;
    list.FormShow();
    ExpectModal<TfrmProEdit>([](TfrmProEdit& edit) {
        EXPECT_EQ(edit.windowTitle(), "生产批次编辑");
        EXPECT_EQ(edit.proID, "240101000001");
        EXPECT_EQ(edit.txtProCode->text(), "A");
        EXPECT_EQ(edit.txtProName->text(), "甲");
        EXPECT_EQ(edit.dt1->date(), QDate(2024, 2, 3));
        EXPECT_EQ(edit.dt2->date(), QDate(2024, 5, 11));
        edit.txtProName->setText(" 甲改 ");
        edit.dt2->setDate(QDate(2024, 2, 20));
        edit.btnOKClick();
        EXPECT_TRUE(edit.isOk);
    });
    list.tlEditClick();
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(prompt.infos, QStringList{"修改成功！"});
    EXPECT_EQ(list.sgProject->item(0, 1)->text(), "甲改");
    EXPECT_EQ(list.sgProject->item(0, 3)->text(), "2024-02-20");
}

TEST_F(ProjectsTest, EditOfVanishedOrderFailsSilently) {
    TfrmProEdit edit;
    edit.proID = "999999999999";
    edit.txtProCode->setText("A");
    edit.txtProName->setText("B");
    edit.btnOKClick();
    EXPECT_FALSE(edit.isOk);
    EXPECT_TRUE(prompt.infos.isEmpty());
    edit.txtProName->clear();
    edit.btnOKClick();
    EXPECT_EQ(prompt.infos, QStringList{"请输入生产批次名称！！"});
}

TEST_F(ProjectsTest, DeleteAsksAndRemovesOnlyTheOrderRow) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 1);
    TfrmProjects list;
    list.FormShow();
    prompt.answers = {false, true};
    list.tlDelClick();  // cancelled
    EXPECT_EQ(Count("SELECT count(*) FROM FProject"), 1);
    list.tlDelClick();
    EXPECT_EQ(prompt.confirms, QStringList(2, "确定要删除选择的记录吗？删除后无法恢复！"));
    EXPECT_EQ(Count("SELECT count(*) FROM FProject"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM FProWins"), 1);
    EXPECT_EQ(list.sgProject->rowCount(), 0);
}

TEST_F(ProjectsTest, OpenHandsBackCurrentOrder) {
    AddOrder("240101000001", "A", "甲", "2024-01-01");
    AddOrder("240101000002", "B", "乙", "2024-02-01");
    TfrmProjects list;
    list.FormShow();
    list.sgProject->setCurrentCell(1, 0);
    list.tlOpenClick();
    EXPECT_EQ(list.proID, "240101000001");
    EXPECT_EQ(list.proName, "甲");
    EXPECT_EQ(list.result(), QDialog::Accepted);
}
