// Customer list and its add/edit dialogs; the data dictionary and its item dialogs.
#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTreeWidget>

#include "UiTestSupport.h"
#include "ui/UiGrid.h"
#include "ui/orders/UCustAdd.h"
#include "ui/orders/UCustEdit.h"
#include "ui/orders/UCustomer.h"
#include "ui/orders/UDataDct.h"
#include "ui/orders/UItmAdd.h"
#include "ui/orders/UItmEdit.h"

class CustomerTest : public UiTest {
  protected:
    void AddCustomer(const QString& name, const QString& date) {
        Exec(
            "INSERT INTO FCustomers(custName,phone,address,pursDate,bz) "
            "VALUES(:n,'1','addr',:d,'')",
            {{"n", name}, {"d", date}});
    }
    QStringList Column(const QTableWidget* grid, int column) {
        QStringList texts;
        for (int r = 0; r < grid->rowCount(); ++r) texts << grid->item(r, column)->text();
        return texts;
    }
};

TEST_F(CustomerTest, ListIsSortedByOrderDateNewestFirst) {
    AddCustomer("张三", "2024-01-05");
    AddCustomer("李四", "2024-03-01");
    TfrmCustomer window;
    window.LoadCustomers();
    EXPECT_EQ(window.windowTitle(), "客户一览");
    EXPECT_EQ(Column(window.sgCustomer, 0), (QStringList{"李四", "张三"}));
    EXPECT_EQ(Column(window.sgCustomer, 3), (QStringList{"2024-03-01", "2024-01-05"}));
}

TEST_F(CustomerTest, AddChecksNameThenStoresSilentlyAndReloads) {
    TfrmCustomer window;
    window.LoadCustomers();
    ExpectModal<TfrmCustAdd>([](TfrmCustAdd& add) {
        EXPECT_EQ(add.dtPurDate->date(), QDate::currentDate());
        add.btnOKClick();  // no name yet
        EXPECT_FALSE(add.IsOk);
        add.txtCustName->setText(" 王五 ");
        add.txtPhone->setText(" 139 ");
        add.txtAddr->setText(" 北京 ");
        add.dtPurDate->setDate(QDate(2024, 7, 8));
        add.txtBZ->setPlainText(" vip ");
        add.btnOKClick();
        EXPECT_TRUE(add.IsOk);
    });
    window.tlAddClick();
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(prompt.infos, QStringList{"请输入客户名称！"});  // no success message
    ASSERT_EQ(window.sgCustomer->rowCount(), 1);
    EXPECT_EQ(Column(window.sgCustomer, 0), QStringList{"王五"});
    auto q = data->OpenQuery("SELECT custName,phone,address,pursDate,bz FROM FCustomers");
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->value("phone").toString(), "139");
    EXPECT_EQ(q->value("address").toString(), "北京");
    EXPECT_EQ(q->value("pursDate").toString(), "2024-07-08");
    EXPECT_EQ(q->value("bz").toString(), "vip");
}

TEST_F(CustomerTest, EditFillsDialogAndStores) {
    AddCustomer("张三", "2024-01-05");
    TfrmCustomer window;
    window.LoadCustomers();
    ExpectModal<TfrmCustEdit>([](TfrmCustEdit& edit) {
        EXPECT_EQ(edit.windowTitle(), "编辑客户资料");
        EXPECT_EQ(edit.txtCustName->text(), "张三");
        EXPECT_EQ(edit.txtAddr->text(), "addr");
        EXPECT_EQ(edit.dtPurDate->date(), QDate(2024, 1, 5));
        EXPECT_FALSE(edit.custID.isEmpty());
        edit.txtCustName->setText("张三丰");
        edit.btnOKClick();
        EXPECT_TRUE(edit.IsOk);
    });
    window.tlEditClick();
    EXPECT_TRUE(prompt.infos.isEmpty());
    EXPECT_EQ(Column(window.sgCustomer, 0), QStringList{"张三丰"});
}

TEST_F(CustomerTest, EmptyListMessagesAndSelectHandsBackNothing) {
    TfrmCustomer window;
    window.LoadCustomers();
    window.tlEditClick();
    window.tlDelClick();
    window.tlSelClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请选择要修改的客户信息！", "请选择要删除的客户信息！"}));
    EXPECT_TRUE(window.custID.isEmpty());
    EXPECT_NE(window.result(), QDialog::Accepted);
}

TEST_F(CustomerTest, DeleteConfirmsWithNameAndKeepsCabinetEntries) {
    AddCustomer("张三", "2024-01-05");
    Exec("INSERT INTO FProWins(winID,proID,custID,custName) VALUES('1','p','1','张三')");
    TfrmCustomer window;
    window.LoadCustomers();
    prompt.answers = {true};
    window.tlDelClick();
    EXPECT_EQ(prompt.confirms, QStringList{"确定要删除该客户:\"张三\"吗？"});
    EXPECT_EQ(window.sgCustomer->rowCount(), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM FProWins WHERE custName='张三'"), 1);
}

TEST_F(CustomerTest, SelectHandsBackCurrentCustomer) {
    AddCustomer("张三", "2024-01-05");
    TfrmCustomer window;
    window.LoadCustomers();
    window.tlSelClick();
    EXPECT_EQ(window.custName, "张三");
    EXPECT_EQ(window.custID, RecordValue(window.sgCustomer, 0, "custID"));
    EXPECT_FALSE(window.custID.isEmpty());
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

using DataDctTest = CustomerTest;

TEST_F(DataDctTest, GridStaysEmptyUntilCategoryIsSelected) {
    Exec("INSERT INTO ysdItem(itmName,cateName) VALUES('白色PVC','封边')");
    Exec("INSERT INTO ysdItem(itmName,cateName) VALUES('其他','别的')");
    TfrmDataDct window;
    EXPECT_EQ(window.windowTitle(), "数据字典");
    EXPECT_EQ(window.trvCate->topLevelItemCount(), 1);
    EXPECT_EQ(window.sgItem->rowCount(), 0);
    window.tlAddClick();
    window.tlEditClick();
    window.tlDelClick();
    window.tlSelClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请选择字典类别！", "请选择要修改的记录！",
                                         "请选择要删除的记录！", "请选择记录！"}));
    window.trvCate->setCurrentItem(window.trvCate->topLevelItem(0));
    EXPECT_EQ(Column(window.sgItem, 0), QStringList{"白色PVC"});
}

TEST_F(DataDctTest, FocusedTreeWithoutSelectedNodeIsNoCategory) {
    Exec("INSERT INTO ysdItem(itmName,cateName) VALUES('白色PVC','封边')");
    TfrmDataDct window;
    window.show();
    QApplication::setActiveWindow(&window);
    window.trvCate->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    // Taking the focus makes the first node current without selecting it.
    ASSERT_TRUE(window.trvCate->hasFocus());
    EXPECT_EQ(window.SelectedCategory(), "");
    EXPECT_EQ(window.sgItem->rowCount(), 0);
    window.tlAddClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择字典类别！"});
    EXPECT_TRUE(opened.isEmpty());
    window.trvCate->topLevelItem(0)->setSelected(true);
    EXPECT_EQ(Column(window.sgItem, 0), QStringList{"白色PVC"});
}

TEST_F(DataDctTest, AddEditDeleteAndSelectItems) {
    TfrmDataDct window;
    window.trvCate->setCurrentItem(window.trvCate->topLevelItem(0));
    ExpectModal<TfrmItmAdd>([](TfrmItmAdd& add) {
        EXPECT_EQ(add.windowTitle(), "添加新类别");
        EXPECT_EQ(add.cateName, "封边");
        add.btnOKClick();
        add.txtName->setText(" 1mm 白 ");
        add.btnOKClick();
        EXPECT_TRUE(add.IsOk);
    });
    window.tlAddClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请输入名称！", "添加成功！"}));
    EXPECT_EQ(Column(window.sgItem, 0), QStringList{"1mm 白"});

    prompt.infos.clear();
    ExpectModal<TfrmItmEdit>([](TfrmItmEdit& edit) {
        EXPECT_EQ(edit.windowTitle(), "修改类别");
        EXPECT_EQ(edit.txtName->text(), "1mm 白");
        edit.txtName->clear();
        edit.btnOKClick();
        edit.txtName->setText("2mm 白");
        edit.btnOKClick();
        EXPECT_TRUE(edit.IsOk);
    });
    window.tlEditClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请输入类别名称！", "修改成功！"}));
    EXPECT_EQ(Column(window.sgItem, 0), QStringList{"2mm 白"});

    window.tlSelClick();
    EXPECT_EQ(window.lbMc, "2mm 白");

    prompt.answers = {true};
    window.tlDelClick();
    EXPECT_EQ(prompt.confirms, QStringList{"确定要删除选择的记录吗？"});
    EXPECT_EQ(window.sgItem->rowCount(), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM ysdItem"), 0);
}
