// The single-cabinet designer keeping boards from clashing: placements that overlap or
// do not fit are refused with a message naming why, a placement selects the region the
// next board goes into, the region list shows sizes, undo and redo walk through every
// placed object, and closing with unsaved work asks 保存 / 不保存 / 取消.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

#include "../UiTestSupport.h"
#include "ui/design/UBCR.h"
#include "ui/design/UBeiBan.h"
#include "ui/design/UCeBan.h"
#include "ui/design/UChouTi.h"
#include "ui/design/UClSel.h"
#include "ui/design/UDKM.h"
#include "ui/design/UDesign.h"
#include "ui/design/UDiBan.h"
#include "ui/design/UDingBan.h"
#include "ui/design/UGeBan.h"
#include "ui/design/UShuBan.h"

namespace {

const FCl kSideBoard{"7", QStringLiteral("左侧板"), 18};
const FCl kRightBoard{"7", QStringLiteral("右侧板"), 18};

// The lists of two cabinets, element by element.
void ExpectSameDesign(const FCabinet& a, const FCabinet& b) {
    EXPECT_TRUE(a.Regions() == b.Regions());
    EXPECT_TRUE(a.BCS() == b.BCS());
    EXPECT_TRUE(a.MBS() == b.MBS());
    EXPECT_TRUE(a.CTS() == b.CTS());
    EXPECT_TRUE(a.OBJS() == b.OBJS());
}

}  // namespace

class PlacingTest : public UiTest {
  public:  // the case table's scripts call the helpers
    void SetUp() override {
        UiTest::SetUp();
        Exec("INSERT INTO FClCls(cateID,cateName) VALUES(1,'板材')");
        Exec(
            "INSERT INTO FCl(ylID,cateID,ylCode,ylName,length,width,houdu,color,bz) "
            "VALUES(7,1,'M18','颗粒板',2440,1220,18,'白','')");
    }

    // A designer holding a new cabinet of 600 x 550 x 720 (2 mm per pixel).
    void MakeCabinet(TfrmDesign& form) {
        form.txtGTName->setText("地柜");
        form.txtW->setText("600");
        form.txtD->setText("550");
        form.txtH->setText("720");
        ASSERT_NE(form.Cabinet, nullptr);
        form.Redraw();
    }

    // Both side boards, placed directly: regions 1 and 2, region 2 = 18 ... 582.
    void AddSides(TfrmDesign& form) {
        form.Cabinet->AddCeBan(0, FShape::R, FEdge{}, kSideBoard, "Left", FFengB{}, "0");
        form.Cabinet->AddCeBan(1, FShape::R, FEdge{}, kRightBoard, "Right", FFengB{}, "0");
        form.FillLists();
    }

    // The next modal window is the dialog T; the action fills it in, then the user
    // picks the first material (twice for a drawer) and confirms.
    template <typename T>
    void ExpectDialog(std::function<void(T&)> fill) {
        ExpectModal<T>([fill](T& d) { fill(d); });
        const int choosers = std::is_same_v<T, TfrmChouTi> ? 2 : 1;
        for (int i = 0; i < choosers; ++i)
            ExpectModal<TfrmClSel>([](TfrmClSel& chooser) { chooser.btnOKClick(); });
    }

    // Picks the tool and releases the mouse over the picture at (x, y) pixels,
    // without choosing a region first.
    void UseTool(TfrmDesign& form, int tag, int x = 300, int y = 300) {
        form.ToolClick(tag);
        form.imgPnlMouseUp(x, y);
    }

    static void ConfirmBoard(TBoardDlgBase& d) {
        d.btnSelClick();
        d.btnOKClick();
    }
};

TEST_F(PlacingTest, PlacementsThatClashOrDoNotFitAreRefusedSayingWhy) {
    struct Case {
        const char* what;
        int region;
        int tag;
        std::function<void(PlacingTest&)> script;
        QString message;
    };
    const Case cases[] = {
        {"bottom in the outer region after both sides", 0, 809,
         [](PlacingTest& t) { t.ExpectDialog<TfrmDiBan>(ConfirmBoard); },
         "“底板”与第1块板件“左侧板”位置重叠，不能添加！"},
        {"top in the outer region", 0, 802,
         [](PlacingTest& t) { t.ExpectDialog<TfrmDingBan>(ConfirmBoard); },
         "“顶板”与第1块板件“左侧板”位置重叠，不能添加！"},
        {"right side over the right side", 1, 803,
         [](PlacingTest& t) {
             t.ExpectDialog<TfrmCeBan>([](TfrmCeBan& d) {
                 d.optRightClick();
                 ConfirmBoard(d);
             });
         },
         "“右侧板”与第2块板件“右侧板”位置重叠，不能添加！"},
        {"back board over the full-depth sides", 0, 801,
         [](PlacingTest& t) { t.ExpectDialog<TfrmBeiBan>(ConfirmBoard); },
         "“背板”与第1块板件“左侧板”位置重叠，不能添加！"},
        {"upright board across the sides", 0, 804,
         [](PlacingTest& t) { t.ExpectDialog<TfrmShuBan>(ConfirmBoard); },
         "“竖板”与第1块板件“左侧板”位置重叠，不能添加！"},
        {"shelf at 900 in a 720 high cabinet", 2, 805,
         [](PlacingTest& t) {
             t.ExpectDialog<TfrmBCR>([](TfrmBCR& d) {
                 d.txtY->setText("900");
                 d.btnSelClick();
                 d.Button1Click();
             });
         },
         "“层板”超出所选分格的范围（层板中心高度应在9至711之间），不能添加！"},
        {"partition left of its region", 2, 806,
         [](PlacingTest& t) {
             t.ExpectDialog<TfrmGeBan>([](TfrmGeBan& d) {
                 d.txtY->setText("10");
                 d.btnSelClick();
                 d.Button1Click();
             });
         },
         "“隔板”超出所选分格的范围（隔板中心位置应在27至573之间），不能添加！"},
        {"door made wider than its region by negative gaps", 2, 807,
         [](PlacingTest& t) {
             t.ExpectDialog<TfrmDkM>([](TfrmDkM& d) {
                 d.txtL->setText("-10");
                 d.txtR->setText("-10");
                 d.btnSelClick();
                 d.btnOKClick();
             });
         },
         // Gaps below zero are refused where they are typed.
         "数字不能小于0！"},
        {"drawer box wider than its region", 2, 808,
         [](PlacingTest& t) {
             t.ExpectDialog<TfrmChouTi>([](TfrmChouTi& d) {
                 d.txtWVal->setText("100");
                 d.btnSelClick();
                 d.Button1Click();
                 d.btnOKClick();
             });
         },
         "“抽屉1”的抽屉箱宽624超出所选分格的宽564，不能添加！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompt.infos.clear();
        TfrmDesign form;
        MakeCabinet(form);
        AddSides(form);
        const FCabinet before = *form.Cabinet;
        c.script(*this);
        form.lstRegSelect(c.region);
        UseTool(form, c.tag);
        EXPECT_TRUE(modalScript.empty());
        EXPECT_EQ(prompt.infos, QStringList{c.message});
        // Nothing placed, nothing else changed; the region stays selected.
        ExpectSameDesign(*form.Cabinet, before);
        EXPECT_EQ(form.Cabinet->SelRegIndex(), c.region);
        EXPECT_EQ(form.lstBC->topLevelItemCount(), 2);
        EXPECT_EQ(form.optFlag, 100);
    }
}

TEST_F(PlacingTest, APlacementSelectsTheRegionTheNextBoardGoesInto) {
    TfrmDesign form;
    MakeCabinet(form);
    // Choose the whole cabinet once; after that "choose a tool, click" is enough.
    form.lstRegSelect(0);
    ExpectDialog<TfrmCeBan>([](TfrmCeBan& d) {
        d.optLeftClick();
        ConfirmBoard(d);
    });
    UseTool(form, 803);
    EXPECT_EQ(form.Cabinet->SelRegIndex(), 1);
    ExpectDialog<TfrmCeBan>([](TfrmCeBan& d) {
        d.optRightClick();
        ConfirmBoard(d);
    });
    UseTool(form, 803);
    EXPECT_EQ(form.Cabinet->SelRegIndex(), 2);
    ExpectDialog<TfrmDingBan>(ConfirmBoard);
    UseTool(form, 802);
    EXPECT_EQ(form.Cabinet->SelRegIndex(), 3);
    ExpectDialog<TfrmDiBan>(ConfirmBoard);
    UseTool(form, 809);
    EXPECT_EQ(form.Cabinet->SelRegIndex(), 4);  // above the bottom, not the strip under it
    ExpectDialog<TfrmBeiBan>(ConfirmBoard);
    UseTool(form, 801);
    EXPECT_EQ(form.Cabinet->SelRegIndex(), 4);  // a back board leaves its region selected
    // A shelf low down: the larger upper half is next.
    ExpectDialog<TfrmBCR>([](TfrmBCR& d) {
        d.txtY->setText("500");
        d.btnSelClick();
        d.Button1Click();
    });
    UseTool(form, 805);
    ASSERT_EQ(form.Cabinet->BCS().size(), 6u);
    EXPECT_EQ(form.Cabinet->SelRegIndex(), 6);
    EXPECT_EQ(form.Cabinet->GetRegion(6).Bottom, 491);
    EXPECT_TRUE(prompt.infos.isEmpty());

    // The region list follows the selection and shows every region's W x H x D.
    ASSERT_EQ(form.lstReg->topLevelItemCount(), 8);
    EXPECT_EQ(form.lstReg->indexOfTopLevelItem(form.lstReg->currentItem()), 6);
    EXPECT_EQ(form.lstReg->headerItem()->text(1), "尺寸(宽×高×深)");
    EXPECT_EQ(form.lstReg->topLevelItem(0)->text(1), "600 × 720 × 550");
    EXPECT_EQ(form.lstReg->topLevelItem(2)->text(1), "564 × 720 × 550");
    EXPECT_EQ(form.lstReg->topLevelItem(4)->text(0), "5");
    EXPECT_EQ(form.lstReg->topLevelItem(4)->text(1), "564 × 684 × 532");  // behind the back
    EXPECT_EQ(form.lstReg->topLevelItem(6)->text(1), "564 × 473 × 532");

    // The selected region is outlined (red dashed) in the picture.
    const FRegion next = form.Cabinet->GetRegion(6);
    const QImage picture = form.RenderPicture();
    const int x = form.pos.x() + int((next.Left + next.Right) / 2 / form.dv);
    const int y = form.pos.y() + int(next.Top / form.dv);
    bool red = false;
    for (int dx = -6; dx <= 6 && !red; ++dx)
        red = picture.pixelColor(x + dx, y) == QColor(Qt::red);
    EXPECT_TRUE(red);

    // Any region can still be chosen.
    form.lstRegSelect(7);
    ExpectDialog<TfrmDkM>([](TfrmDkM& d) {
        d.btnSelClick();
        d.btnOKClick();
    });
    UseTool(form, 807);
    ASSERT_EQ(form.Cabinet->MBS().size(), 1u);
    EXPECT_EQ(form.Cabinet->MBS()[0].regIndex, 7);
}

TEST_F(PlacingTest, UndoWalksBackToTheEmptyCabinetAndRedoForward) {
    TfrmDesign form;
    MakeCabinet(form);
    FCabinet& cab = *form.Cabinet;
    const FCl board{"7", QStringLiteral("板"), 18};
    std::vector<FCabinet> states{cab};
    auto placed = [&] { states.push_back(*form.Cabinet); };
    cab.AddCeBan(0, FShape::R, FEdge{}, board, "Left", FFengB{}, "0");
    placed();
    cab.AddCeBan(1, FShape::R, FEdge{}, board, "Right", FFengB{}, "0");
    placed();
    cab.AddDingBan(2, FShape::R, FEdge{}, board, FFengB{}, "0");
    placed();
    cab.AddDiBan(3, FShape::R, FEdge{}, board, FFengB{}, "0");
    placed();
    cab.AddBc(4, FShape::R, FEdge{}, board, 0, 360, "1", FFengB{}, "0");
    placed();
    cab.AddChouTi(7, board, board, "抽屉1", 36, 2, 350, 20, 20, 80);
    placed();
    cab.AddDKM(6, FEdge{}, board, 1, "1");
    placed();
    form.FillLists();
    const std::size_t last = states.size() - 1;

    auto expectState = [&](std::size_t n) {
        SCOPED_TRACE("state " + std::to_string(n));
        ExpectSameDesign(*form.Cabinet, states[n]);
        // The lists are refreshed with every step.
        EXPECT_EQ(form.lstBC->topLevelItemCount(), int(states[n].BCS().size()));
        EXPECT_EQ(form.lstReg->topLevelItemCount(), int(states[n].Regions().size()));
    };
    for (std::size_t n = last; n-- > 0;) {
        const FRC taken = form.Cabinet->OBJS().back();
        form.tlDelClick();
        expectState(n);
        // The region the object came from is selected again.
        int from = -1;
        if (taken.ObjType == ObjBoard) from = states[n + 1].BCS()[taken.index].regIndex;
        if (taken.ObjType == ObjDrawer) from = states[n + 1].CTS()[taken.index].regIndex;
        if (taken.ObjType == ObjDoor) from = states[n + 1].MBS()[taken.index].regIndex;
        EXPECT_EQ(form.Cabinet->SelRegIndex(), from);
    }
    // At the empty cabinet undo has nothing more to take.
    form.tlDelClick();
    expectState(0);
    for (std::size_t n = 1; n <= last; ++n) {
        form.tlRedoClick();
        expectState(n);
    }
    form.tlRedoClick();  // nothing left to put back
    expectState(last);

    // A new placement after an undo ends what redo could put back.
    form.tlDelClick();
    form.tlDelClick();
    expectState(last - 2);
    form.Cabinet->SetSelRegIndex(0);
    ExpectDialog<TfrmDkM>([](TfrmDkM& d) {
        d.txtL->setText("20");
        d.btnSelClick();
        d.btnOKClick();
    });
    UseTool(form, 807);
    ASSERT_EQ(form.Cabinet->MBS().size(), 1u);
    const FCabinet afterNewDoor = *form.Cabinet;
    form.tlRedoClick();
    ExpectSameDesign(*form.Cabinet, afterNewDoor);
    EXPECT_TRUE(form.Cabinet->CTS().empty());
}

TEST_F(PlacingTest, ClosingWithUnsavedWorkAsksSaveDiscardOrCancel) {
    const QString question = "柜体“地柜”已修改，是否保存？";
    auto escape = [](QWidget& w) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&w, &press);
    };
    {
        // Opened and closed without a change: no question.
        TfrmDesign form;
        MakeCabinet(form);
        form.show();
        form.close();
        EXPECT_TRUE(prompt.saveQuestions.isEmpty());
        EXPECT_FALSE(form.isVisible());
    }
    {
        // 取消 keeps the window open, whichever way it was closed.
        TfrmDesign form;
        MakeCabinet(form);
        form.show();
        AddSides(form);
        prompt.saveAnswers = {TSaveAnswer::Cancel, TSaveAnswer::Cancel, TSaveAnswer::Cancel};
        form.close();
        escape(form);
        form.tlExit->click();
        EXPECT_EQ(prompt.saveQuestions, (QStringList{question, question, question}));
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.IsOK);
        EXPECT_EQ(form.Cabinet->BCS().size(), 2u);
        // Undone back to what it was opened with, there is nothing to lose.
        form.tlDelClick();
        form.tlDelClick();
        prompt.saveQuestions.clear();
        form.close();
        EXPECT_TRUE(prompt.saveQuestions.isEmpty());
        EXPECT_FALSE(form.isVisible());
    }
    {
        // 不保存 closes without handing anything back.
        TfrmDesign form;
        MakeCabinet(form);
        form.show();
        AddSides(form);
        prompt.saveQuestions.clear();
        prompt.saveAnswers = {TSaveAnswer::Discard};
        escape(form);
        EXPECT_EQ(prompt.saveQuestions, QStringList{question});
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.IsOK);
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    {
        // 保存 saves as the 保存 button does and closes.
        TfrmDesign form;
        MakeCabinet(form);
        form.show();
        AddSides(form);
        prompt.saveAnswers = {TSaveAnswer::Save};
        form.tlExit->click();
        EXPECT_TRUE(form.IsOK);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Accepted);
        auto cab = form.TakeCabinet();
        ASSERT_NE(cab, nullptr);
        EXPECT_EQ(cab->BCS().size(), 2u);
    }
    {
        // 保存 of a cabinet 保存 refuses (only a door) says why and stays open.
        TfrmDesign form;
        MakeCabinet(form);
        form.show();
        form.Cabinet->AddDKM(0, FEdge{}, kSideBoard, 1, "1");
        prompt.infos.clear();
        prompt.saveAnswers = {TSaveAnswer::Save};
        form.close();
        EXPECT_EQ(prompt.infos, QStringList{"请设计柜体后，再保存！"});
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.IsOK);
    }
}

TEST_F(PlacingTest, EditingAHandedInCabinetAsksOnlyAfterAChange) {
    FCabinet given(600, 550, 720, "衣柜");
    given.AddCeBan(0, FShape::R, FEdge{}, kSideBoard, "Left", FFengB{}, "0");
    TfrmDesign form;
    form.IsEdit = true;
    form.SetCabinet(&given);
    form.txtGTName->setText("衣柜");
    form.txtW->setText("600");
    form.txtD->setText("550");
    form.txtH->setText("720");
    form.show();
    EXPECT_FALSE(form.HasUnsavedChanges());
    form.txtGTName->setText("衣柜2");  // a new name is a change too
    EXPECT_TRUE(form.HasUnsavedChanges());
    prompt.saveAnswers = {TSaveAnswer::Discard};
    form.close();
    EXPECT_EQ(prompt.saveQuestions, QStringList{"柜体“衣柜2”已修改，是否保存？"});
    EXPECT_FALSE(form.isVisible());
}
