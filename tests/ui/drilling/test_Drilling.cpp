// Drilling standards: the rule list with its add, edit and delete dialogs on a temp
// database, the rules they write read back by the panel-list generator, and the hole
// and groove dialogs.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolBar>

#include "../UiTestSupport.h"
#include "documents/UHolePattern.h"
#include "ui/drilling/UKWEdit.h"
#include "ui/drilling/UKaiCao.h"
#include "ui/drilling/UPZBZ.h"
#include "ui/drilling/UPZBZAdd.h"
#include "ui/drilling/UPZBZEdit.h"
#include "ui/orders/UnitMain.h"
#include "ui/orders/UnitMainLinks.h"

namespace {

class DrillingTest : public UiTest {
  protected:
    void AddRule(const QString& minVal, const QString& maxVal, const QString& kwstr) {
        Exec("INSERT INTO FPKBZ(minVal,maxVal,kwstr) VALUES(:a,:b,:c)",
             {{"a", minVal}, {"b", maxVal}, {"c", kwstr}});
    }

    // The list window as the user sees it: shown, so its query has run.
    std::unique_ptr<TfrmPZBZ> ShownList() {
        auto list = std::make_unique<TfrmPZBZ>();
        list->show();
        return list;
    }

    static QString Cell(const TfrmPZBZ& list, int row, int column) {
        const QTableWidgetItem* item = list.sgPZBZ->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }

    // Fills a rule dialog and presses "确定".
    static void Enter(TPZBZFormBase& dialog, const QString& minVal, const QString& maxVal,
                      const QString& kwstr) {
        dialog.txtMin->setText(minVal);
        dialog.txtMax->setText(maxVal);
        dialog.txtKW->setText(kwstr);
        dialog.btnOKClick();
    }
};

TEST_F(DrillingTest, CaptionsOfTheWindows) {
    TfrmPZBZ list;
    TfrmPZBZAdd add;
    TfrmPZBZEdit edit;
    TfrmKWEdit hole;
    TfrmKaiCao groove;
    EXPECT_EQ(list.windowTitle(), "排钻标准设置");
    EXPECT_EQ(add.windowTitle(), "新增排钻标准");
    EXPECT_EQ(edit.windowTitle(), "修改");
    EXPECT_EQ(hole.windowTitle(), "孔位设置");
    EXPECT_EQ(groove.windowTitle(), "设置开槽");
    EXPECT_EQ(list.tlAdd->text(), "新增标准");
    EXPECT_EQ(list.tlEdit->text(), "编辑");
    EXPECT_EQ(list.tlDel->text(), "删除");
    EXPECT_EQ(list.sgPZBZ->horizontalHeaderItem(0)->text(), "尺寸范围");
    EXPECT_EQ(list.sgPZBZ->horizontalHeaderItem(1)->text(), "打孔位置");
    for (TPZBZFormBase* form :
         {static_cast<TPZBZFormBase*>(&add), static_cast<TPZBZFormBase*>(&edit)}) {
        EXPECT_EQ(form->lblHint->text(), "注：孔位间用英文输入的逗号（,）");
        EXPECT_EQ(form->btnOK->text(), "确定");
    }
}

TEST_F(DrillingTest, MainWindowCommandOpensTheRuleList) {
    TfrmMain main;
    main.mnuPZBZClick();
    EXPECT_EQ(opened, QStringList{"TfrmPZBZ"});
    EXPECT_TRUE(prompt.infos.isEmpty()) << prompt.infos.join("|").toStdString();
}

TEST_F(DrillingTest, ListShowsRangeAndPositionsInTableOrder) {
    AddRule("300", "600", "32,288");
    AddRule("0", "300", "32, 64");
    AddRule("12.5", "100.25", "50");
    auto list = ShownList();
    ASSERT_EQ(list->sgPZBZ->rowCount(), 3);
    EXPECT_EQ(Cell(*list, 0, 0), "300<=尺寸<600");
    EXPECT_EQ(Cell(*list, 0, 1), "32,288");
    EXPECT_EQ(Cell(*list, 1, 0), "0<=尺寸<300");
    EXPECT_EQ(Cell(*list, 1, 1), "32, 64");
    EXPECT_EQ(Cell(*list, 2, 0), "12.5<=尺寸<100.25");
}

TEST_F(DrillingTest, AddingARuleShowsItInTheList) {
    auto list = ShownList();
    EXPECT_EQ(list->sgPZBZ->rowCount(), 0);
    ExpectModal<TfrmPZBZAdd>([](TfrmPZBZAdd& d) { Enter(d, " 0 ", "300", " 32,64 "); });
    list->tlAddClick();
    EXPECT_EQ(prompt.infos, QStringList{"添加成功！"});
    ASSERT_EQ(list->sgPZBZ->rowCount(), 1);
    EXPECT_EQ(Cell(*list, 0, 0), "0<=尺寸<300");
    EXPECT_EQ(Cell(*list, 0, 1), "32,64");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FPKBZ WHERE minVal=0 AND maxVal=300 AND kwstr='32,64'"),
              1);
}

TEST_F(DrillingTest, CancelledAddLeavesListAsItWas) {
    AddRule("0", "300", "32");
    auto list = ShownList();
    ExpectModal<TfrmPZBZAdd>([](TfrmPZBZAdd& d) { d.txtMin->setText("5"); });  // closed
    list->tlAddClick();
    EXPECT_EQ(list->sgPZBZ->rowCount(), 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FPKBZ"), 1);
    EXPECT_TRUE(prompt.infos.isEmpty());
}

struct InputCase {
    const char* minVal;
    const char* maxVal;
    const char* kwstr;
    QStringList messages;
    const char* focus;  // the field that gets the keyboard focus
};

const QString kBadPositions =
    QStringLiteral("打孔位置只能是数字，孔位间用英文输入的逗号（,）隔开！");

// Every case is refused with these messages, in both dialogs, and writes nothing.
std::vector<InputCase> RefusedInputs() {
    return {
        {"abc", "300", "32", {"数字非法！", "请输入最小值！"}, "txtMin"},
        {"", "300", "32", {"请输入最小值！"}, "txtMin"},
        {"0", "", "32", {"请输入最大值！"}, "txtMax"},
        {"0", "3oo", "32", {"数字非法！", "请输入最大值！"}, "txtMax"},
        {"0", "300", "", {"请输入打孔位置！"}, "txtKW"},
        {"0", "300", "   ", {"请输入打孔位置！"}, "txtKW"},
        // Lists the generator would refuse when a panel of that size comes along.
        {"0", "300", "32,abc", {kBadPositions}, "txtKW"},
        {"0", "300", "32,,64", {kBadPositions}, "txtKW"},
        {"0", "300", "32,", {kBadPositions}, "txtKW"},
        {"0", "300", "32，64", {kBadPositions}, "txtKW"},  // full-width comma
        {"0", "300", "32;64", {kBadPositions}, "txtKW"},
        {"0", "300", "3 2", {kBadPositions}, "txtKW"},
        {"0", "300", "inf", {kBadPositions}, "txtKW"},
    };
}

TEST_F(DrillingTest, AddDialogRefusesWhatItCannotSave) {
    for (const InputCase& c : RefusedInputs()) {
        SCOPED_TRACE(std::string(c.minVal) + " / " + c.maxVal + " / " + c.kwstr);
        prompt.infos.clear();
        TfrmPZBZAdd dialog;
        dialog.show();
        dialog.btnOK->setFocus();
        Enter(dialog, QString::fromUtf8(c.minVal), QString::fromUtf8(c.maxVal),
              QString::fromUtf8(c.kwstr));
        EXPECT_EQ(prompt.infos, c.messages);
        ASSERT_NE(dialog.focusWidget(), nullptr);
        EXPECT_EQ(dialog.focusWidget()->objectName(), c.focus);
        EXPECT_FALSE(dialog.IsOk);
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(Count("SELECT COUNT(*) FROM FPKBZ"), 0);
    }
}

TEST_F(DrillingTest, EditDialogRefusesWhatItCannotSave) {
    AddRule("0", "300", "32");
    for (const InputCase& c : RefusedInputs()) {
        SCOPED_TRACE(std::string(c.minVal) + " / " + c.maxVal + " / " + c.kwstr);
        prompt.infos.clear();
        TfrmPZBZEdit dialog;
        dialog.pkID = "1";
        dialog.show();
        dialog.btnOK->setFocus();
        Enter(dialog, QString::fromUtf8(c.minVal), QString::fromUtf8(c.maxVal),
              QString::fromUtf8(c.kwstr));
        EXPECT_EQ(prompt.infos, c.messages);
        ASSERT_NE(dialog.focusWidget(), nullptr);
        EXPECT_EQ(dialog.focusWidget()->objectName(), c.focus);
        EXPECT_FALSE(dialog.IsOk);
        EXPECT_EQ(Count("SELECT COUNT(*) FROM FPKBZ WHERE minVal=0 AND maxVal=300 AND kwstr='32'"),
                  1);
    }
}

TEST(HolePositions, ListsTheGeneratorReads) {
    for (const char* text : {"32", "32,64", " 32 , 64 ", "32.5,-10,0", "1e2"})
        EXPECT_TRUE(HolePositionsValid(QString::fromUtf8(text))) << text;
    for (const char* text : {"", " ", ",", "32,", ",32", "a", "32 64", "nan"})
        EXPECT_FALSE(HolePositionsValid(QString::fromUtf8(text))) << text;
}

TEST_F(DrillingTest, EditOpensFilledAndSavesTheRow) {
    AddRule("0", "300", "32");
    AddRule("300", "600.5", "32,288");
    auto list = ShownList();
    list->sgPZBZ->setCurrentCell(1, 0);
    ExpectModal<TfrmPZBZEdit>([](TfrmPZBZEdit& d) {
        EXPECT_EQ(d.txtMin->text(), "300");
        EXPECT_EQ(d.txtMax->text(), "600.5");
        EXPECT_EQ(d.txtKW->text(), "32,288");
        Enter(d, "300", "700", "32,100,288");
    });
    list->tlEditClick();
    EXPECT_EQ(prompt.infos, QStringList{"修改成功！"});
    ASSERT_EQ(list->sgPZBZ->rowCount(), 2);
    EXPECT_EQ(Cell(*list, 1, 0), "300<=尺寸<700");
    EXPECT_EQ(Cell(*list, 1, 1), "32,100,288");
    EXPECT_EQ(Cell(*list, 0, 1), "32");  // the other rule is untouched
}

TEST_F(DrillingTest, DoubleClickOpensTheEditDialog) {
    AddRule("0", "300", "32");
    auto list = ShownList();
    emit list->sgPZBZ->cellDoubleClicked(0, 1);
    EXPECT_EQ(opened, QStringList{"TfrmPZBZEdit"});
}

TEST_F(DrillingTest, EditOrDeleteWithoutARowSelectedOnlyTellsSo) {
    auto list = ShownList();  // empty list: no current row
    list->tlEditClick();
    list->tlDelClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请选择要修改的记录！", "请选择要删除的记录！"}));
    EXPECT_TRUE(prompt.confirms.isEmpty());
    EXPECT_TRUE(opened.isEmpty());

    AddRule("0", "300", "32");
    list->LoadRules();
    list->sgPZBZ->setCurrentCell(-1, -1);
    prompt.infos.clear();
    list->tlDelClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择要删除的记录！"});
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FPKBZ"), 1);
}

TEST_F(DrillingTest, DeleteAsksAndRemovesOnlyTheSelectedRule) {
    AddRule("0", "300", "32");
    AddRule("300", "600", "32,288");
    auto list = ShownList();
    list->sgPZBZ->setCurrentCell(1, 0);

    prompt.answers = {false};  // Cancel
    list->tlDelClick();
    EXPECT_EQ(prompt.confirms, QStringList{"确定要删除该记录吗？"});
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FPKBZ"), 2);

    prompt.answers = {true};
    list->tlDelClick();
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FPKBZ"), 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FPKBZ WHERE kwstr='32'"), 1);
    ASSERT_EQ(list->sgPZBZ->rowCount(), 1);
    EXPECT_EQ(Cell(*list, 0, 0), "0<=尺寸<300");
    EXPECT_TRUE(prompt.infos.isEmpty());  // deletions are not acknowledged
}

// A rule saved through the window drills a shelf standing between two side boards.
TEST_F(DrillingTest, SavedRuleIsUsedByTheHolePatternGenerator) {
    auto list = ShownList();
    ExpectModal<TfrmPZBZAdd>([](TfrmPZBZAdd& d) { Enter(d, "300", "600", "32, 288.5"); });
    list->tlAddClick();
    ExpectModal<TfrmPZBZAdd>([](TfrmPZBZAdd& d) { Enter(d, "0", "300", "32"); });
    list->tlAddClick();
    ASSERT_EQ(prompt.infos, (QStringList{"添加成功！", "添加成功！"}));

    FPKBZ rules;
    ASSERT_TRUE(ReadDrillingRules(rules));
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].minV, 300);
    EXPECT_EQ(rules[0].maxV, 600);
    EXPECT_EQ(rules[0].kwStr, "32, 288.5");

    auto board = [](FBCType type, double x1, double y1, double x2, double y2, double d) {
        FBC bc;
        bc.BCType = type;
        bc.Pos = FPos{x1, y1, x2, y2, 0};
        bc.D = d;
        bc.Cl.Thick = 18;
        return bc;
    };
    FCabinet cab(600, 550, 720, QStringLiteral("T"));
    cab.SetBCS({board(FBCType::CeBanLeft, 0, 0, 18, 720, 550),
                board(FBCType::CeBanRight, 582, 0, 600, 720, 550),
                board(FBCType::CengBan, 18, 351, 582, 369, 518)});
    const FHoleRules holeRules(rules);
    QString doc;
    ASSERT_NO_THROW(doc = BuildHolePattern(cab, cab.BCS()[2], holeRules, "564", "518", "18"));
    const QString holes = QStringLiteral(
        "<k x=\"33\" y=\"32\"  f=\"L\" desc=\"\" /><k x=\"33\" y=\"288.5\"  f=\"L\" desc=\"\" />"
        "<k x=\"531\" y=\"32\"  f=\"R\" desc=\"\" /><k x=\"531\" y=\"288.5\"  f=\"R\" desc=\"\" "
        "/>");
    EXPECT_EQ(doc, QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>"
                                  "<pz l=\"564\" w=\"518\" t=\"18\"><kw>") +
                       holes + QStringLiteral("</kw><kc></kc></pz>"));
    // The side board's face holes use the same rule (shelf depth 518).
    EXPECT_NO_THROW(BuildHolePattern(cab, cab.BCS()[0], holeRules, "720", "550", "18"));
}

// ---- hole dialog ----

TEST_F(DrillingTest, HoleDialogCodesEachDirection) {
    const char* codes[] = {"M", "L", "R", "T", "B"};
    for (int i = 0; i < 5; ++i) {
        TfrmKWEdit dialog;
        EXPECT_EQ(dialog.cbFX->currentIndex(), 0);
        dialog.txtX->setText("33");
        dialog.txtY->setText("12.5");
        dialog.txtDesc->setText("铰链\"<a&b>");
        dialog.cbFX->setCurrentIndex(i);
        dialog.btnOKClick();
        EXPECT_TRUE(dialog.IsOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.flag, codes[i]);
        EXPECT_EQ(
            dialog.HoleElement(),
            QStringLiteral("<k x=\"33\" y=\"12.5\"  f=\"%1\" desc=\"铰链&quot;&lt;a&amp;b&gt;\" />")
                .arg(codes[i]));
    }
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(DrillingTest, HoleDescriptionStaysReadableXml) {
    // A tab survives as a character reference, a character XML cannot hold is dropped,
    // an apostrophe stays as written (the value is in double quotes).
    TfrmKWEdit dialog;
    dialog.txtX->setText("1");
    dialog.txtY->setText("2");
    dialog.txtDesc->setText(QStringLiteral("a\tb") + QChar(0x01) + QStringLiteral("c'd"));
    dialog.btnOKClick();
    ASSERT_TRUE(dialog.IsOk);
    EXPECT_EQ(dialog.HoleElement(),
              QStringLiteral("<k x=\"1\" y=\"2\"  f=\"M\" desc=\"a&#9;bc'd\" />"));
}

TEST_F(DrillingTest, HoleDialogNeedsNumbers) {
    struct Case {
        const char* x;
        const char* y;
        QStringList messages;
        const char* focus;
    } cases[] = {{"abc", "10", {"数字非法！", "请输入X坐标！"}, "txtX"},
                 {"", "10", {"请输入X坐标！"}, "txtX"},
                 {"10", "", {"请输入Y坐标！"}, "txtY"},
                 {"10", "1,5", {"数字非法！", "请输入Y坐标！"}, "txtY"}};
    for (const Case& c : cases) {
        prompt.infos.clear();
        TfrmKWEdit dialog;
        dialog.txtX->setText(c.x);
        dialog.txtY->setText(c.y);
        dialog.show();
        dialog.btnOK->setFocus();
        dialog.btnOKClick();
        EXPECT_EQ(prompt.infos, c.messages) << c.x << " / " << c.y;
        ASSERT_NE(dialog.focusWidget(), nullptr);
        EXPECT_EQ(dialog.focusWidget()->objectName(), c.focus);
        EXPECT_FALSE(dialog.IsOk);
        EXPECT_TRUE(dialog.flag.isEmpty());
    }
}

// ---- groove dialog ----

TEST_F(DrillingTest, GrooveDialogDefaultsAndRelabelling) {
    TfrmKaiCao dialog;
    EXPECT_EQ(dialog.cbPS->currentText(), "靠上");
    EXPECT_EQ(dialog.txtDJ1->text(), "20");
    EXPECT_EQ(dialog.txtDJ2->text(), "20");
    EXPECT_EQ(dialog.txtW->text(), "5");
    EXPECT_EQ(dialog.txtD->text(), "10");
    const std::pair<const char*, const char*> labels[] = {{"左端距：", "右端距："},
                                                          {"左端距：", "右端距："},
                                                          {"上端距：", "下端距："},
                                                          {"上端距：", "下端距："}};
    for (int i : {2, 0, 3, 1}) {
        dialog.cbPS->setCurrentIndex(i);
        EXPECT_EQ(dialog.lblDJ1->text(), labels[i].first) << i;
        EXPECT_EQ(dialog.lblDJ2->text(), labels[i].second) << i;
    }
}

TEST_F(DrillingTest, GrooveDialogFillsTheGroove) {
    const char* sides[] = {"T", "B", "L", "R"};
    for (int i = 0; i < 4; ++i) {
        TfrmKaiCao dialog;
        dialog.cbPS->setCurrentIndex(i);
        dialog.txtBJ->setText("100");
        dialog.txtDJ1->setText("15.5");
        dialog.txtDJ2->setText("25");
        dialog.txtW->setText("6");
        dialog.txtD->setText("8");
        dialog.btnOKClick();
        EXPECT_TRUE(dialog.isOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        const FCao expected{sides[i], 15.5, 25, 100, 6, 8};
        EXPECT_EQ(dialog.cao, expected) << i;
    }
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(DrillingTest, GrooveDialogStaysOpenOnAFieldThatIsNotANumber) {
    for (const char* field : {"txtBJ", "txtDJ1", "txtDJ2", "txtW", "txtD"}) {
        for (const char* text : {"abc", ""}) {
            prompt.infos.clear();
            TfrmKaiCao dialog;
            dialog.cbPS->setCurrentIndex(2);  // 靠左
            dialog.findChild<QLineEdit*>(field)->setText(text);
            dialog.btnOKClick();
            EXPECT_EQ(prompt.infos, QStringList{"请检查输入是否有非数字项？"}) << field;
            EXPECT_FALSE(dialog.isOk) << field;
            EXPECT_NE(dialog.result(), QDialog::Accepted) << field;
            EXPECT_EQ(dialog.cao, FCao{}) << field;
        }
    }
}

}  // namespace
