// The combination designer: the outline grid, splits, cabinets designed in the
// single-cabinet designer, the size list, and saving a new or an edited position.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTreeWidget>

#include "CombTestSupport.h"
#include "common/NumberFormat.h"
#include "documents/UXmlOpen.h"
#include "documents/UXmlSaveDb.h"
#include "ui/design/UDesCbs.h"
#include "ui/design/UDesign.h"
#include "ui/design/URegFG.h"
#include "ui/orders/UCustomer.h"
#include "ui/orders/UnitMainLinks.h"

using namespace combtest;

namespace {
const QString kOrder = "240101000001";

QStringList Row(const QTreeWidget* list, int row) {
    const QTreeWidgetItem* item = list->topLevelItem(row);
    if (!item) return {};
    return {item->text(0), item->text(1), item->text(2), item->text(3)};
}
}  // namespace

class DesCbsTest : public CombTest {
  protected:
    void SetUp() override {
        CombTest::SetUp();
        AddOrder(kOrder, "A", "甲");
        Exec("INSERT INTO ysdItem(itmName,cateName) VALUES('1.0PVC','封边')");
    }
    void Outline(TfrmDesCbs& w, const QString& code, const QString& width, const QString& depth,
                 const QString& height) {
        w.SetCell(0, code);
        w.SetCell(1, width);
        w.SetCell(2, depth);
        w.SetCell(3, height);
    }
    // Picture pixel of a frame point (mm) at the window's current scale.
    QPoint Pixel(TfrmDesCbs& w, double x, double y) {
        w.Redraw();
        return QPoint(w.pos.x() + int(x / w.dv), w.pos.y() + int(y / w.dv));
    }
    void SelectAt(TfrmDesCbs& w, double x, double y) {
        const QPoint p = Pixel(w, x, y);
        w.imgPnlMouseDown(p.x(), p.y());
    }
    // Adds a cabinet in the region around (x, y) through the scripted designer, which
    // puts a carcass into the cabinet it made from the proposed size.
    void AddCabinetAt(TfrmDesCbs& w, double x, double y, QString* proposedName = nullptr) {
        SelectAt(w, x, y);
        w.ToolClick(TfrmDesCbs::kAddCabinet);
        ExpectModal<TfrmDesign>([proposedName](TfrmDesign& d) {
            if (proposedName) *proposedName = d.txtGTName->text();
            ASSERT_NE(d.Cabinet, nullptr);
            AddCarcass(*d.Cabinet);
            d.tlSaveClick();
        });
        const QPoint p = Pixel(w, x, y);
        w.imgPnlMouseUp(p.x(), p.y());
    }
    void ChooseCustomer(TfrmDesCbs& w) {
        ExpectModal<TfrmCustomer>([](TfrmCustomer& list) {
            list.custID = "3";
            list.custName = "张三";
        });
        w.btnCustSelClick();
    }
};

TEST_F(DesCbsTest, GridLaidOutForANewPosition) {
    TfrmDesCbs w;
    EXPECT_EQ(w.windowTitle(), "设计");
    EXPECT_EQ(w.sgGT->item(0, 0)->text(), "代码");
    EXPECT_EQ(w.sgGT->item(0, 4)->text(), "数量");
    EXPECT_EQ(w.Cell(4), "1");
    EXPECT_EQ(w.cbFB->currentText(), "1.0PVC");
    EXPECT_EQ(w.optFlag, TfrmDesCbs::kPointer);
    EXPECT_FALSE(w.CBS);
}

TEST_F(DesCbsTest, GridMakesANewCombinationOnlyFromValidSizes) {
    TfrmDesCbs w;
    Outline(w, "A01", "600", "550", "2000");
    ASSERT_TRUE(w.CBS);
    EXPECT_EQ(w.CBS->Regions().size(), 1u);
    const FCabs* first = w.CBS.get();
    w.SetCell(1, "80");
    EXPECT_EQ(w.CBS.get(), first);
    EXPECT_DOUBLE_EQ(w.CBS->W(), 600);
    w.SetCell(1, "60x");
    EXPECT_EQ(prompt.infos, QStringList{"数字非法！"});
    EXPECT_EQ(w.CBS.get(), first);
    w.SetCell(1, "800");
    EXPECT_DOUBLE_EQ(w.CBS->W(), 800);
    EXPECT_DOUBLE_EQ(w.CBS->D(), 550);
    EXPECT_DOUBLE_EQ(w.CBS->H(), 2000);
}

TEST_F(DesCbsTest, ToolsNeedACombinationAndARegion) {
    TfrmDesCbs w;
    w.ToolClick(TfrmDesCbs::kSplitTB);  // no combination: nothing
    EXPECT_TRUE(prompt.infos.isEmpty());
    Outline(w, "A01", "600", "550", "1800");
    w.ToolClick(TfrmDesCbs::kSplitTB);
    EXPECT_EQ(prompt.infos, QStringList{"请选择要添加柜体的位置！"});
    EXPECT_EQ(w.optFlag, TfrmDesCbs::kPointer);
    SelectAt(w, 300, 900);
    EXPECT_EQ(w.CBS->SelIndex(), 0);
    w.ToolClick(TfrmDesCbs::kSplitLR);
    EXPECT_EQ(w.optFlag, TfrmDesCbs::kSplitLR);
}

TEST_F(DesCbsTest, SplitProposesTheReleasePointAndSplits) {
    TfrmDesCbs w;
    Outline(w, "A01", "600", "550", "1800");
    SelectAt(w, 300, 900);
    EXPECT_DOUBLE_EQ(w.dv, 5);
    w.ToolClick(TfrmDesCbs::kSplitTB);
    QString proposed;
    ExpectModal<TfrmRegFG>([&](TfrmRegFG& dialog) {
        proposed = dialog.txtVal->text();
        dialog.txtVal->setText("600");
        dialog.btnOKClick();
    });
    w.imgPnlMouseUp(150, 160);
    EXPECT_EQ(proposed, "500");
    ASSERT_EQ(w.CBS->Regions().size(), 2u);
    EXPECT_DOUBLE_EQ(w.CBS->Regions()[0].Bottom, 600);
    EXPECT_EQ(w.optFlag, TfrmDesCbs::kPointer);

    // Left/right: the proposal is x; a cancelled dialog splits nothing.
    SelectAt(w, 300, 1000);
    w.ToolClick(TfrmDesCbs::kSplitLR);
    ExpectModal<TfrmRegFG>([&](TfrmRegFG& dialog) { proposed = dialog.txtVal->text(); });
    w.imgPnlMouseUp(100 + 40, 100);
    EXPECT_EQ(proposed, "200");
    EXPECT_EQ(w.CBS->Regions().size(), 2u);
    EXPECT_EQ(w.optFlag, TfrmDesCbs::kPointer);
}

TEST_F(DesCbsTest, CabinetsAreNamedInTurnAndBlockSplits) {
    TfrmDesCbs w;
    Outline(w, "A01", "1200", "550", "2000");
    SelectAt(w, 300, 1000);
    w.ToolClick(TfrmDesCbs::kSplitLR);
    ExpectModal<TfrmRegFG>([](TfrmRegFG& d) {
        d.txtVal->setText("400");
        d.btnOKClick();
    });
    w.imgPnlMouseUp(0, 0);
    SelectAt(w, 800, 1000);
    w.ToolClick(TfrmDesCbs::kSplitLR);
    ExpectModal<TfrmRegFG>([](TfrmRegFG& d) {
        d.txtVal->setText("800");
        d.btnOKClick();
    });
    w.imgPnlMouseUp(0, 0);
    ASSERT_EQ(w.CBS->Regions().size(), 3u);

    QString name;
    double proposedW = 0;
    SelectAt(w, 200, 1000);
    w.ToolClick(TfrmDesCbs::kAddCabinet);
    ExpectModal<TfrmDesign>([&](TfrmDesign& d) {
        name = d.txtGTName->text();
        proposedW = d.txtW->text().toDouble();
        EXPECT_EQ(d.txtD->text(), "550");
        EXPECT_EQ(d.txtH->text(), "2000");
        AddCarcass(*d.Cabinet);
        d.tlSaveClick();
    });
    w.imgPnlMouseUp(10, 10);
    EXPECT_EQ(name, "A01-1");
    EXPECT_DOUBLE_EQ(proposedW, 400);
    AddCabinetAt(w, 600, 1000, &name);
    EXPECT_EQ(name, "A01-2");
    // A designer left without saving adds nothing.
    SelectAt(w, 1000, 1000);
    w.ToolClick(TfrmDesCbs::kAddCabinet);
    ExpectModal<TfrmDesign>([](TfrmDesign&) {});
    w.imgPnlMouseUp(10, 10);
    EXPECT_EQ(w.CBS->CBS().size(), 2u);
    AddCabinetAt(w, 1000, 1000, &name);
    EXPECT_EQ(name, "A01-3");
    ASSERT_EQ(w.CBS->CBS().size(), 3u);
    EXPECT_EQ(w.CBS->CBS()[2]->ParRegIndex(), 2);
    EXPECT_EQ(w.CBS->CBS()[2]->SelRegIndex(), -1);
    EXPECT_EQ(w.lstSize->topLevelItemCount(), 12);  // four boards each

    // A region that holds a cabinet takes no second one.
    SelectAt(w, 200, 1000);
    w.ToolClick(TfrmDesCbs::kAddCabinet);
    w.imgPnlMouseUp(10, 10);
    EXPECT_EQ(prompt.infos, QStringList{"当前位置已经存在柜体！"});
    EXPECT_EQ(w.optFlag, TfrmDesCbs::kPointer);
    EXPECT_EQ(w.CBS->CBS().size(), 3u);
    prompt.infos.clear();

    w.ToolClick(TfrmDesCbs::kSplitTB);
    w.imgPnlMouseUp(10, 10);
    EXPECT_EQ(prompt.infos, QStringList{"当前已经存在柜体，不能进行分格！"});
    EXPECT_EQ(w.optFlag, TfrmDesCbs::kSplitTB);  // mode kept after the refusal
    EXPECT_EQ(w.CBS->Regions().size(), 3u);
}

// A cabinet with every part kind: all seven board kinds (banded, so cut size and
// finished size differ), a drawer of 18 mm box boards with a 9 mm bottom, a door leaf.
std::unique_ptr<FCabinet> EveryPartKind(const QString& name) {
    auto cab = std::make_unique<FCabinet>(600, 550, 720, name);
    FFengB banding;
    banding.L = 1;
    banding.R = 0.5;
    banding.T = 2;
    banding.B = 1;
    banding.Q = 1.5;
    banding.H = 0.4;
    const FEdge none{};
    FEdge backGap{};
    backGap.H = 20;
    auto last = [&] { return int(cab->Regions().size()) - 1; };
    cab->AddCeBan(0, FShape::R, backGap, FCl{"1", "左侧板", 18}, "Left", banding, "2");
    cab->AddCeBan(last(), FShape::R, backGap, FCl{"1", "右侧板", 18}, "Right", banding, "2");
    cab->AddDingBan(last(), FShape::A4L, backGap, FCl{"1", "顶板", 18}, banding, "1");
    cab->AddDiBan(last(), FShape::R, backGap, FCl{"1", "底板", 18}, banding, "1");
    const int inner = last() - 1;  // above the bottom
    cab->AddBackBC(inner, none, FCl{"2", "背板", 5}, banding, "0");
    cab->AddBc(inner, FShape::R, none, FCl{"1", "层板", 18}, 0, 360, "1", banding, "1");
    const int upper = last() - 1;
    cab->AddBc(upper, FShape::R, none, FCl{"1", "隔板", 18}, 300, 0, "2", banding, "2");
    cab->AddShuBan(last(), none, FCl{"1", "竖板", 18}, banding, "0");
    const int lower = last() - 2;  // below the shelf
    cab->AddChouTi(lower, FCl{"1", "", 18}, FCl{"3", "", 9}, "抽屉1", 36, 2, 450, 20, 20, 80);
    FEdge gaps{};
    gaps.L = gaps.R = gaps.T = gaps.B = 2;
    cab->AddDKM(last(), gaps, FCl{"1", "门板", 18}, 1, "1");
    return cab;
}

// Every row of the size list is the panel row of the same part: same cabinet, same
// name, the same length and width text, at every precision of the settings.
TEST_F(DesCbsTest, SizeListRowsEqualThePanelRowsOfTheSameParts) {
    for (const int jqd : {0, 1, 2}) {
        SCOPED_TRACE("precision " + std::to_string(jqd));
        Exec("UPDATE FSysSet SET JQD=" + QString::number(jqd));
        TfrmDesCbs w;
        Outline(w, "A01", "1200", "550", "720");
        w.CBS->AddSplit(0, 600, 0, "2");
        w.CBS->AddCabinet(0, EveryPartKind("A01-1"));
        w.CBS->AddCabinet(1, EveryPartKind("A01-2"));
        w.ShowSizes();
        TSysSet set;
        set.JQD = jqd;
        const FPanelRows rows = BuildPanelRows(*w.CBS, set, FHoleRules(FPKBZ{}));
        ASSERT_EQ(rows.size(), 2u * 15);  // 7 boards, 6 drawer parts, 1 door each
        ASSERT_EQ(w.lstSize->topLevelItemCount(), int(rows.size()));
        QStringList kinds;
        for (int i = 0; i < w.lstSize->topLevelItemCount(); ++i) {
            const QStringList listed = Row(w.lstSize, i);
            int matches = 0;
            for (const FPanelRow& row : rows) {
                if (row.gtName != listed[0] || row.clName != listed[1]) continue;
                ++matches;
                EXPECT_EQ(listed[2], row.length) << listed.join(' ').toStdString();
                EXPECT_EQ(listed[3], row.width) << listed.join(' ').toStdString();
            }
            EXPECT_EQ(matches, 1) << listed.join(' ').toStdString();
            if (listed[0] == "A01-1") kinds << listed[1];
        }
        // Listed in the order the objects were placed, the drawer as its six parts.
        EXPECT_EQ(kinds, (QStringList{"左侧板", "右侧板", "顶板", "底板", "背板", "层板", "隔板",
                                      "竖板", "抽屉1-面板", "抽屉1-前板", "抽屉1-后板",
                                      "抽屉1-左侧板", "抽屉1-右侧板", "抽屉1-底板", "门板"}));
    }
}

// The workshop's drawer: box boards 18, bottom 9, face 600, depth 450. The size list
// and the panel list both give the bottom 534 x 424.
TEST_F(DesCbsTest, DrawerBottomHasOneSizeInListAndPanelRows) {
    TfrmDesCbs w;
    Outline(w, "A01", "600", "550", "720");
    auto cab = std::make_unique<FCabinet>(600, 550, 720, "A01-1");
    cab->AddChouTi(0, FCl{"1", "", 18}, FCl{"3", "", 9}, "抽屉1", 0, 4, 450, 20, 20, 80);
    w.CBS->AddCabinet(0, std::move(cab));
    w.ShowSizes();
    ASSERT_EQ(w.lstSize->topLevelItemCount(), 6);
    EXPECT_EQ(Row(w.lstSize, 5), (QStringList{"A01-1", "抽屉1-底板", "534.0", "424.0"}));
    const FPanelRows rows = BuildPanelRows(*w.CBS, TSysSet{}, FHoleRules(FPKBZ{}));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[5].length, "534.0");
    EXPECT_EQ(rows[5].width, "424.0");
    EXPECT_EQ(rows[5].thick, "9");
}

TEST_F(DesCbsTest, EditNeedsACabinetAndACancelledDesignerChangesNothing) {
    TfrmDesCbs w;
    w.tlEditClick();
    Outline(w, "A01", "600", "550", "2000");
    SelectAt(w, 300, 1000);
    w.tlEditClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请选择柜体后，再编辑！", "请选择柜体后，再编辑！"}));
    EXPECT_TRUE(opened.isEmpty());

    AddCabinetAt(w, 300, 1000);
    ASSERT_EQ(w.CBS->CBS().size(), 1u);
    const size_t boards = w.CBS->CBS()[0]->BCS().size();
    auto addShelf = [](TfrmDesign& d) {
        const int last = int(d.Cabinet->Regions().size()) - 1;
        d.Cabinet->AddBc(last, FShape::R, FEdge{}, FCl{"1", "层板", 18}, 0, 1000, "1", FFengB{},
                         "0");
    };
    ExpectModal<TfrmDesign>([&](TfrmDesign& d) {
        EXPECT_TRUE(d.IsEdit);
        EXPECT_EQ(d.txtGTName->text(), "A01-1");
        EXPECT_EQ(d.txtW->text(), "600");
        EXPECT_EQ(d.txtD->text(), "550");
        EXPECT_EQ(d.txtH->text(), "2000");
        addShelf(d);  // then left without 保存
    });
    w.tlEditClick();
    EXPECT_EQ(w.CBS->CBS()[0]->BCS().size(), boards);

    ExpectModal<TfrmDesign>([&](TfrmDesign& d) {
        addShelf(d);
        d.tlSaveClick();
    });
    const int listed = w.lstSize->topLevelItemCount();
    w.tlEditClick();
    ASSERT_EQ(w.CBS->CBS().size(), 1u);
    EXPECT_EQ(w.CBS->CBS()[0]->BCS().size(), boards + 1);
    EXPECT_EQ(w.CBS->CBS()[0]->ParRegIndex(), 0);
    // The size list shows the saved shelf at once, not after the next click.
    ASSERT_EQ(w.lstSize->topLevelItemCount(), listed + 1);
    EXPECT_EQ(w.lstSize->topLevelItem(listed)->text(1), "层板");
}

TEST_F(DesCbsTest, NewAsksBeforeRemakingTheCombination) {
    TfrmDesCbs w;
    w.tlNewClick();  // nothing to remake
    EXPECT_TRUE(prompt.confirms.isEmpty());
    Outline(w, "A01", "600", "550", "2000");
    AddCabinetAt(w, 300, 1000);
    prompt.answers = {false};
    w.tlNewClick();
    EXPECT_EQ(prompt.confirms, QStringList{"确定要重新创建柜体吗？"});
    EXPECT_EQ(w.CBS->CBS().size(), 1u);
    prompt.answers = {true};
    w.tlNewClick();
    ASSERT_TRUE(w.CBS);
    EXPECT_TRUE(w.CBS->CBS().empty());
}

TEST_F(DesCbsTest, SaveRefusalsAndAFailedSaveKeepsEverything) {
    TfrmDesCbs w;
    w.proID = kOrder;
    w.tlSaveClick();
    Outline(w, "A01", "600", "550", "2000");
    w.tlSaveClick();
    AddCabinetAt(w, 300, 1000);
    w.tlSaveClick();
    // Closing the customer list without choosing leaves no customer.
    ExpectModal<TfrmCustomer>([](TfrmCustomer&) {});
    w.btnCustSelClick();
    w.tlSaveClick();
    EXPECT_EQ(prompt.infos, (QStringList{"请设计柜体后，再保存！", "请设计柜体后，再保存！",
                                         "请选择客户！", "请选择客户！"}));
    ChooseCustomer(w);
    QSqlQuery(data->Database()).exec("DROP TABLE FProCl");
    prompt.infos.clear();
    w.tlSaveClick();
    EXPECT_EQ(prompt.infos, QStringList{"保存失败！"});
    EXPECT_FALSE(w.IsOk);
    EXPECT_NE(w.result(), QDialog::Accepted);
    EXPECT_EQ(Count("SELECT count(*) FROM FProWins"), 0);
    EXPECT_EQ(w.CBS->CBS().size(), 1u);
    EXPECT_EQ(w.Cell(0), "A01");
    EXPECT_EQ(w.txtCustID->text(), "3");
}

TEST_F(DesCbsTest, NewPositionSavedIntoTheOpenOrderWithItsPanels) {
    ExpectModal<TfrmDesCbs>([this](TfrmDesCbs& w) {
        EXPECT_EQ(w.proID, kOrder);
        EXPECT_FALSE(w.IsEdit);
        Outline(w, "A01", "1200", "550", "2000");
        w.SetCell(4, " 2 ");
        SelectAt(w, 300, 1000);
        w.ToolClick(TfrmDesCbs::kSplitLR);
        ExpectModal<TfrmRegFG>([](TfrmRegFG& d) {
            d.txtVal->setText("600");
            d.btnOKClick();
        });
        w.imgPnlMouseUp(0, 0);
        AddCabinetAt(w, 300, 1000);
        AddCabinetAt(w, 900, 1000);
        ChooseCustomer(w);
        w.cbFB->setEditText("2.0PVC");
        w.tlSaveClick();
    });
    EXPECT_TRUE(OpenCombinationDesignerNew(nullptr, kOrder));
    EXPECT_EQ(prompt.infos, QStringList{"保存成功！"});
    auto query = data->OpenQuery(
        "SELECT winID,winCode,winCount,Width,Depth,Height,custID,custName,FengB,winPath FROM "
        "FProWins WHERE proID='240101000001'");
    ASSERT_TRUE(query->next());
    EXPECT_EQ(FieldText(*query, "winCode"), "A01");
    EXPECT_EQ(FieldText(*query, "winCount"), "2");
    EXPECT_EQ(FieldText(*query, "Width"), "1200");
    EXPECT_EQ(FieldText(*query, "custName"), "张三");
    EXPECT_EQ(FieldText(*query, "FengB"), "2.0PVC");
    const auto stored = FXmlOpen::OpenXml(FieldText(*query, "winPath"));
    ASSERT_EQ(stored->CBS().size(), 2u);
    EXPECT_EQ(stored->CBS()[1]->Name(), "A01-2");
    const QString winID = FieldText(*query, "winID");
    EXPECT_FALSE(query->next());
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl WHERE winID='" + winID + "'"), 8);
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl WHERE winID='" + winID + "' AND clCount=2"), 8);
}

TEST_F(DesCbsTest, StoredPositionEditedInPlace) {
    AddEntry("2401010000011", kOrder, 600, 2000, 550, 1, "B02");
    Exec("UPDATE FProWins SET winPath=:p,custID='3',custName='张三',FengB='1.0PVC'",
         {{"p", FXmlSave::BuildStoredXml(*OneCarcass(600, 550, 2000, "B02-1"))}});
    Exec("INSERT INTO FProCl(proID,winID,clName) VALUES(:p,'2401010000011','旧')", {{"p", kOrder}});
    auto query = data->OpenQuery("SELECT * FROM FProWins");
    ASSERT_TRUE(query->next());
    TCabinetEntry entry;
    entry.winID = FieldText(*query, "winID");
    entry.winCode = FieldText(*query, "winCode");
    entry.Width = FieldText(*query, "Width");
    entry.Height = FieldText(*query, "Height");
    entry.Depth = FieldText(*query, "Depth");
    entry.winCount = FieldText(*query, "winCount");
    entry.winPath = FieldText(*query, "winPath");
    entry.custID = FieldText(*query, "custID");
    entry.custName = FieldText(*query, "custName");
    entry.FengB = "0.5PVC";
    query.reset();

    ExpectModal<TfrmDesCbs>([this](TfrmDesCbs& w) {
        EXPECT_TRUE(w.IsEdit);
        EXPECT_EQ(w.cbID, "2401010000011");
        EXPECT_EQ(w.proID, kOrder);
        EXPECT_EQ(w.Cell(0), "B02");
        EXPECT_EQ(w.Cell(1), "600");
        EXPECT_EQ(w.Cell(2), "550");
        EXPECT_EQ(w.Cell(3), "2000");
        EXPECT_EQ(w.Cell(4), "1");
        EXPECT_EQ(w.txtCustName->text(), "张三");
        EXPECT_EQ(w.cbFB->currentText(), "0.5PVC");
        EXPECT_FALSE(w.tlNew->isEnabled());
        ASSERT_TRUE(w.CBS);
        EXPECT_EQ(w.lstSize->topLevelItemCount(), 4);
        const FCabs* stored = w.CBS.get();
        w.SetCell(1, "900");  // grid edits never rebuild a stored position
        EXPECT_EQ(w.CBS.get(), stored);
        w.SetCell(0, "B03");
        w.SetCell(4, "4");
        w.tlSaveClick();
    });
    EXPECT_TRUE(OpenCombinationDesignerEdit(nullptr, kOrder, entry));
    EXPECT_EQ(prompt.infos, QStringList{"保存成功！"});
    EXPECT_EQ(Count("SELECT count(*) FROM FProWins"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM FProWins WHERE winCode='B03' AND winCount=4 AND "
                    "FengB='0.5PVC'"),
              1);
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl WHERE winID='2401010000011'"), 4);
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl WHERE clName='旧'"), 0);
}

TEST_F(DesCbsTest, ClosingWithUnsavedWorkAsksSaveDiscardOrCancel) {
    const QString question = "柜体“A01”的设计已修改，是否保存？";
    auto escape = [](QWidget& w) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&w, &press);
    };
    {
        // Opened and closed without a change: no question.
        TfrmDesCbs w;
        w.show();
        w.close();
        EXPECT_TRUE(prompt.saveQuestions.isEmpty());
        EXPECT_FALSE(w.isVisible());
    }
    {
        // 取消 keeps the window and the work; 不保存 closes and stores nothing.
        TfrmDesCbs w;
        w.proID = kOrder;
        w.show();
        Outline(w, "A01", "600", "550", "2000");
        AddCabinetAt(w, 300, 1000);
        prompt.saveAnswers = {TSaveAnswer::Cancel, TSaveAnswer::Cancel, TSaveAnswer::Discard};
        w.close();
        w.tlExit->trigger();
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.CBS->CBS().size(), 1u);
        escape(w);
        EXPECT_EQ(prompt.saveQuestions, (QStringList{question, question, question}));
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(w.IsOk);
        EXPECT_EQ(Count("SELECT count(*) FROM FProWins"), 0);
    }
    {
        // 保存 without a customer says so and stays open; with one it saves and closes.
        TfrmDesCbs w;
        w.proID = kOrder;
        w.show();
        Outline(w, "A01", "600", "550", "2000");
        AddCabinetAt(w, 300, 1000);
        prompt.infos.clear();
        prompt.saveAnswers = {TSaveAnswer::Save};
        w.close();
        EXPECT_EQ(prompt.infos, QStringList{"请选择客户！"});
        EXPECT_TRUE(w.isVisible());
        ChooseCustomer(w);
        prompt.saveAnswers = {TSaveAnswer::Save};
        w.tlExit->trigger();
        EXPECT_EQ(prompt.infos, (QStringList{"请选择客户！", "保存成功！"}));
        EXPECT_TRUE(w.IsOk);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(Count("SELECT count(*) FROM FProWins WHERE winCode='A01'"), 1);
    }
}

TEST_F(DesCbsTest, DamagedStoredPositionIsNotOpened) {
    TCabinetEntry entry;
    entry.winID = "2401010000011";
    entry.winPath = "garbage";
    EXPECT_FALSE(OpenCombinationDesignerEdit(nullptr, kOrder, entry));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(prompt.infos, QStringList{"柜体数据无法读取，不能编辑！"});
}

TEST_F(DesCbsTest, PictureShowsTheCombinationAndTheCrosshair) {
    TfrmDesCbs w;
    const QImage empty = w.RenderPicture();
    Outline(w, "A01", "600", "550", "1800");
    SelectAt(w, 300, 900);  // the selected region is outlined
    const QImage outline = w.RenderPicture();
    EXPECT_NE(outline, empty);
    w.imgPnlMouseMove(160, 160);
    const QImage cross = w.RenderPicture();
    EXPECT_EQ(cross.pixelColor(400, 160), QColor(0, 0, 255));
    EXPECT_EQ(cross.pixelColor(160, 400), QColor(0, 0, 255));
}

TEST_F(DesCbsTest, TypingIntoTheGridRunsTheRuleAtEveryKeystroke) {
    TfrmDesCbs w;
    w.show();
    Outline(w, "A01", "600", "550", "2000");
    const FCabs* before = w.CBS.get();
    w.sgGT->setCurrentCell(1, 1);
    w.sgGT->editItem(w.sgGT->item(1, 1));
    auto* editor = w.sgGT->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->clear();
    auto type = [editor](const QString& keys) {
        for (QChar key : keys) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (key.unicode() - '0'), Qt::NoModifier,
                            QString(key));
            QApplication::sendEvent(editor, &press);
        }
    };
    type("90");  // 9, 90: too small, the combination stays
    EXPECT_EQ(w.CBS.get(), before);
    type("0");  // 900: a new combination while still typing
    ASSERT_TRUE(w.CBS);
    EXPECT_DOUBLE_EQ(w.CBS->W(), 900);
}
