// A library cabinet resized and saved as a position of the open order.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <QJsonArray>
#include <QJsonObject>
#include <map>

#include "CombTestSupport.h"
#include "reports/UReports.h"
#include "spreadsheet/XlsReadBack.h"
#include "ui/design/UWinKu.h"
#include "ui/design/UWinSel.h"
#include "ui/orders/UCustomer.h"
#include "ui/orders/UDataDct.h"

using namespace combtest;

class WinSelTest : public CombTest {
  protected:
    void SetUp() override {
        CombTest::SetUp();
        AddOrder("240101000001", "A", "甲");
        Exec("INSERT INTO ysdItem(itmName,cateName) VALUES('1.0PVC','封边')");
        Exec("INSERT INTO ysdItem(itmName,cateName) VALUES('2.0PVC','封边')");
        Exec("INSERT INTO ysdItem(itmName,cateName) VALUES('别类','其他')");
    }
    // Picks the library document through the scripted browser.
    void Choose(TfrmWinSel& w, const QString& doc) {
        ExpectModal<TfrmWinKu>([doc](TfrmWinKu& browser) {
            browser.tkID = "5";
            browser.WinXml = doc;
        });
        w.tlSelWinKuClick();
    }
    void ChooseCustomer(TfrmWinSel& w) {
        ExpectModal<TfrmCustomer>([](TfrmCustomer& list) {
            list.custID = "3";
            list.custName = "张三";
        });
        w.btnCustSelClick();
    }
};

TEST_F(WinSelTest, StartsWithBandingListAndDefaultCount) {
    TfrmWinSel w;
    EXPECT_EQ(w.windowTitle(), "柜体设计");
    EXPECT_FALSE(w.IsOk);
    EXPECT_EQ(w.txtC->text(), "1");
    ASSERT_EQ(w.cbFB->count(), 2);
    EXPECT_EQ(w.cbFB->currentText(), "1.0PVC");
    EXPECT_TRUE(w.cbFB->isEditable());
}

TEST_F(WinSelTest, ChoosingFillsRoundedSizesAndResizes) {
    TfrmWinSel w;
    Choose(w, LibraryDocument(800.4, 580, 2000, "书柜"));
    EXPECT_EQ(w.tkID, "5");
    EXPECT_EQ(w.txtCode->text(), "书柜");
    EXPECT_EQ(w.txtW->text(), "800");
    EXPECT_EQ(w.txtH->text(), "2000");
    EXPECT_EQ(w.txtD->text(), "580");
    ASSERT_TRUE(w.cabinet && w.tmpCb);
    EXPECT_DOUBLE_EQ(w.cabinet->W(), 800.4);
    EXPECT_DOUBLE_EQ(w.tmpCb->W(), 800);
    EXPECT_DOUBLE_EQ(w.tmpCb->D(), 580);
    EXPECT_DOUBLE_EQ(w.tmpCb->H(), 2000);
    EXPECT_DOUBLE_EQ(w.dv, 10);  // 2000 / 200
    EXPECT_TRUE(prompt.infos.isEmpty());

    // Every resize starts again from the library cabinet.
    w.txtW->setText("500");
    w.txtW->setText("900");
    EXPECT_DOUBLE_EQ(w.tmpCb->W(), 900);
    EXPECT_DOUBLE_EQ(w.cabinet->W(), 800.4);
}

TEST_F(WinSelTest, SizesBeforeChoosingChangeOnlyTheFields) {
    TfrmWinSel w;
    w.txtW->setText("abc");
    w.txtD->setText("");
    EXPECT_EQ(w.txtW->text(), "abc");
    EXPECT_EQ(w.txtD->text(), "");
    EXPECT_FALSE(w.tmpCb);
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(WinSelTest, EmptyDepthBecomesZeroAndNonNumberKeepsLastSize) {
    TfrmWinSel w;
    Choose(w, LibraryDocument(600, 500, 800, "柜"));
    w.txtD->setText("");
    EXPECT_EQ(w.txtD->text(), "0");
    EXPECT_DOUBLE_EQ(w.tmpCb->D(), 0);
    w.txtD->setText("450");
    EXPECT_DOUBLE_EQ(w.tmpCb->D(), 450);
    w.txtW->setText("6x");
    EXPECT_EQ(w.txtW->text(), "");
    EXPECT_EQ(prompt.infos, QStringList{"数字非法！"});
    EXPECT_DOUBLE_EQ(w.tmpCb->W(), 600);
    EXPECT_DOUBLE_EQ(w.tmpCb->D(), 450);
}

TEST_F(WinSelTest, DamagedLibraryDocumentKeepsTheChoice) {
    TfrmWinSel w;
    Choose(w, LibraryDocument(600, 500, 800, "柜"));
    Choose(w, "garbage");
    EXPECT_EQ(prompt.infos, QStringList{"所选柜体无法读取！"});
    EXPECT_EQ(w.txtCode->text(), "柜");
    ASSERT_TRUE(w.tmpCb);
    EXPECT_DOUBLE_EQ(w.tmpCb->W(), 600);
}

TEST_F(WinSelTest, SaveRefusals) {
    TfrmWinSel w;
    w.tlSaveClick();
    // A library cabinet without boards cannot be saved either.
    auto empty = std::make_unique<FCabs>(600, 500, 800);
    empty->AddCabinet(0, std::make_unique<FCabinet>(600, 500, 800, "空"));
    Choose(w, FXmlSave::BuildStoredXml(*empty));
    w.tlSaveClick();
    Choose(w, LibraryDocument(600, 500, 800, "柜"));
    w.tlSaveClick();
    EXPECT_EQ(prompt.infos,
              (QStringList{"请设计柜体后，再保存！", "请设计柜体后，再保存！", "请选择客户！"}));
    EXPECT_FALSE(w.IsOk);
    EXPECT_EQ(Count("SELECT count(*) FROM FProWins"), 0);
}

TEST_F(WinSelTest, SavesTheResizedCabinetAsAPositionWithPanels) {
    TfrmWinSel w;
    w.proID = "240101000001";
    Choose(w, LibraryDocument(600, 500, 800, "柜"));
    w.txtW->setText("700");
    w.txtCode->setText(" A01 ");
    w.txtC->setText(" 3 ");
    w.cbFB->setEditText("0.8PVC");
    ChooseCustomer(w);
    EXPECT_EQ(w.txtCustName->text(), "张三");
    w.tlSaveClick();
    EXPECT_EQ(prompt.infos, QStringList{"保存成功！"});
    EXPECT_TRUE(w.IsOk);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    auto query = data->OpenQuery(
        "SELECT winCode,winCount,Width,Depth,Height,custID,custName,FengB,winID FROM FProWins "
        "WHERE proID='240101000001'");
    ASSERT_TRUE(query->next());
    EXPECT_EQ(FieldText(*query, "winCode"), "A01");
    EXPECT_EQ(FieldText(*query, "winCount"), "3");
    EXPECT_EQ(FieldText(*query, "Width"), "700");
    EXPECT_EQ(FieldText(*query, "Depth"), "500");
    EXPECT_EQ(FieldText(*query, "Height"), "800");
    EXPECT_EQ(FieldText(*query, "custID"), "3");
    EXPECT_EQ(FieldText(*query, "custName"), "张三");
    EXPECT_EQ(FieldText(*query, "FengB"), "0.8PVC");
    const QString winID = FieldText(*query, "winID");
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl WHERE winID='" + winID + "'"), 4);
    // The top board of the resized cabinet spans 700 less the two 18 mm sides.
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl WHERE winID='" + winID +
                    "' AND clName='顶板' AND length=500 AND width=664"),
              1);
}

TEST_F(WinSelTest, TwoPositionsFromOneLibraryCabinetShowTwoCodesInThePanelList) {
    for (const char* code : {"A01", "A02"}) {
        TfrmWinSel w;
        w.proID = "240101000001";
        Choose(w, LibraryDocument(600, 500, 800, "A01-1"));
        w.txtCode->setText(code);
        ChooseCustomer(w);
        w.tlSaveClick();
        ASSERT_TRUE(w.IsOk) << code;
        // Position keys come from the clock; keep the first one apart from the second.
        Exec("UPDATE FProCl SET winID=:code||winID WHERE winID NOT LIKE 'A%'", {{"code", code}});
        Exec("UPDATE FProWins SET winID=:code||winID WHERE winID NOT LIKE 'A%'", {{"code", code}});
    }
    const QString path = dir.filePath("panels.xls");
    ASSERT_TRUE(ExportPanelReport(path, "240101000001"));
    QString error;
    const QJsonObject book = kelm::test::ReadXlsFile(path, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const QJsonArray cells = book["sheets"].toArray()[0].toObject()["cells"].toArray();
    std::map<std::pair<int, int>, QString> text;
    int lastRow = 0;
    for (const QJsonValue v : cells) {
        const QJsonObject c = v.toObject();
        text[{c["row"].toInt(), c["col"].toInt()}] = c["value"].toString();
        lastRow = std::max(lastRow, c["row"].toInt());
    }
    auto at = [&text](int r, int c) { return text[std::make_pair(r, c)]; };
    ASSERT_EQ(at(1, 3), "所属柜体");
    ASSERT_EQ(at(1, 4), "柜体代号");
    std::map<QString, int> rowsPerCode;
    for (int r = 2; r <= lastRow; ++r) {
        // The cabinet is named after its position, not after the library cabinet.
        EXPECT_EQ(at(r, 3), at(r, 4)) << "row " << r + 1;
        ++rowsPerCode[at(r, 4)];
    }
    EXPECT_EQ(rowsPerCode, (std::map<QString, int>{{"A01", 4}, {"A02", 4}}));
}

TEST_F(WinSelTest, FailedSavesKeepTheWindowUsable) {
    TfrmWinSel w;
    w.proID = "240101000001";
    Choose(w, LibraryDocument(600, 500, 800, "柜"));
    ChooseCustomer(w);
    QSqlQuery(data->Database()).exec("DROP TABLE FProCl");
    w.tlSaveClick();
    w.tlSaveClick();
    EXPECT_EQ(prompt.infos, (QStringList{"保存失败！", "保存失败！"}));
    EXPECT_FALSE(w.IsOk);
    EXPECT_NE(w.result(), QDialog::Accepted);
    EXPECT_EQ(Count("SELECT count(*) FROM FProWins"), 0);  // nothing half saved
    EXPECT_EQ(w.txtCustName->text(), "张三");
    ASSERT_TRUE(w.tmpCb);
}

TEST_F(WinSelTest, CustomerListClosedWithoutChoosingEmptiesTheCustomer) {
    TfrmWinSel w;
    ChooseCustomer(w);
    ExpectModal<TfrmCustomer>([](TfrmCustomer&) {});
    w.btnCustSelClick();
    EXPECT_EQ(w.txtCustName->text(), "");
    EXPECT_EQ(w.txtCustID->text(), "");
}

TEST_F(WinSelTest, DictionaryReloadsTheBandingList) {
    TfrmWinSel w;
    ExpectModal<TfrmDataDct>([this](TfrmDataDct&) {
        Exec("INSERT INTO ysdItem(itmName,cateName) VALUES('3.0PVC','封边')");
    });
    w.btnDCtClick();
    EXPECT_EQ(w.cbFB->count(), 3);
}
