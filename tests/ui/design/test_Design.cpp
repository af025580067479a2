// The single-cabinet designer driven through its handlers: sizes, adding every kind of
// board, a door and a drawer through scripted dialogs, selecting by clicks, undo,
// nudging, zoom and view, saving and the library commands.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeWidget>
#include <cmath>

#include "../UiTestSupport.h"
#include "cabinet/UCabs.h"
#include "documents/UXmlSave.h"
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
#include "ui/design/USetEdge.h"
#include "ui/design/UShuBan.h"

class DesignTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        Exec("INSERT INTO FClCls(cateID,cateName) VALUES(1,'板材')");
        Exec(
            "INSERT INTO FCl(ylID,cateID,ylCode,ylName,length,width,houdu,color,bz) "
            "VALUES(7,1,'M18','颗粒板',2440,1220,18,'白','')");
    }
    void TearDown() override {
        SetDesignLibraryBrowser({});
        SetDesignLibraryCategoryChooser({});
        UiTest::TearDown();
    }

    // A designer holding a new cabinet of 600 x 550 x 720 (2 mm per pixel).
    void MakeCabinet(TfrmDesign& form) {
        form.txtGTName->setText("地柜");
        form.txtW->setText("600");
        form.txtD->setText("550");
        form.txtH->setText("720");
        ASSERT_NE(form.Cabinet, nullptr);
    }

    // The next modal window is the material chooser; the user confirms its first material.
    void ExpectMaterialConfirmed() {
        ExpectModal<TfrmClSel>([](TfrmClSel& chooser) { chooser.btnOKClick(); });
    }

    // Selects region index, picks the tool and releases the mouse at (x, y).
    void AddWithTool(TfrmDesign& form, int region, int tag, int x = 300, int y = 300) {
        form.lstRegSelect(region);
        form.ToolClick(tag);
        form.imgPnlMouseUp(x, y);
    }
};

TEST_F(DesignTest, SizeFieldsMakeCabinetOnlyWhenAllReachHundred) {
    TfrmDesign form;
    form.txtGTName->setText(" 高柜 ");
    form.txtW->setText("600");
    // Every empty size field shows "0" at once.
    EXPECT_EQ(form.txtD->text(), "0");
    EXPECT_EQ(form.txtH->text(), "0");
    form.txtD->setText("550");
    form.txtH->setText("99");
    EXPECT_EQ(form.Cabinet, nullptr);
    form.txtH->setText("100");
    ASSERT_NE(form.Cabinet, nullptr);
    EXPECT_EQ(form.Cabinet->W(), 600);
    EXPECT_EQ(form.Cabinet->D(), 550);
    EXPECT_EQ(form.Cabinet->H(), 100);
    EXPECT_EQ(form.Cabinet->Name(), "高柜");
    form.txtGTName->setText("吊柜 ");
    EXPECT_EQ(form.Cabinet->Name(), "吊柜");

    form.txtW->setText("6x");
    EXPECT_EQ(prompt.infos, QStringList{"数字非法！"});
    EXPECT_EQ(form.txtW->text(), "0");
}

TEST_F(DesignTest, NewCabinetEmptiesTheBoardListAtOnce) {
    TfrmDesign form;
    form.txtGTName->setText("地柜");
    form.txtW->setText("600");
    form.txtD->setText("550");
    form.txtH->setText("720");
    ASSERT_NE(form.Cabinet, nullptr);
    form.Cabinet->AddCeBan(0, FShape::R, FEdge{}, FCl{"1", "侧板", 18}, "Left", FFengB{}, "0");
    form.FillLists();
    ASSERT_EQ(form.lstBC->topLevelItemCount(), 1);
    prompt.answers = {true};
    form.tlNewClick();
    EXPECT_TRUE(form.Cabinet->BCS().empty());
    EXPECT_EQ(form.lstBC->topLevelItemCount(), 0) << "no board of the old cabinet listed";
    EXPECT_EQ(form.lstReg->topLevelItemCount(), int(form.Cabinet->Regions().size()));
}

TEST_F(DesignTest, EditModeKeepsHandedInCabinetAgainstSizeChanges) {
    FCabinet given(800, 500, 900, "衣柜");
    TfrmDesign form;
    form.IsEdit = true;
    form.SetCabinet(&given);
    form.txtW->setText("300");
    form.txtD->setText("300");
    form.txtH->setText("300");
    EXPECT_EQ(form.Cabinet, &given);
    // 新建 rebuilds from the fields after the question, also in edit mode.
    prompt.answers = {false};
    form.tlNewClick();
    EXPECT_EQ(form.Cabinet, &given);
    prompt.answers = {true};
    form.tlNewClick();
    ASSERT_NE(form.Cabinet, &given);
    EXPECT_EQ(form.Cabinet->W(), 300);
    EXPECT_EQ(given.W(), 800);
    EXPECT_EQ(prompt.confirms, (QStringList{"确定要重新创建柜体吗？", "确定要重新创建柜体吗？"}));
}

// Each board tool: the dialog it opens, the name it proposes, and the board it adds.
TEST_F(DesignTest, EveryBoardToolAddsItsBoardWithDialogResults) {
    struct Case {
        int tag;
        const char* dialogClass;
        QString proposedName;
        FBCType type;
        QString boardName;
    };
    const Case cases[] = {
        {801, "TfrmBeiBan", "背板", FBCType::BeiBan, "背板"},
        {802, "TfrmDingBan", "顶板", FBCType::DingBan, "顶板"},
        {803, "TfrmCeBan", "侧板", FBCType::CeBanLeft, "左侧板"},
        {804, "TfrmShuBan", "竖板", FBCType::ShuBan, "竖板"},
        {805, "TfrmBCR", "层板", FBCType::CengBan, "层板"},
        {806, "TfrmGeBan", "隔板", FBCType::GeBan, "隔板"},
        {809, "TfrmDiBan", "底板", FBCType::DiBan, "底板"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialogClass);
        TfrmDesign form;
        MakeCabinet(form);
        QString seenName, seenW, seenH, seenD, seenZ;
        modalScript.push_back([&](QDialog& dialog) {
            auto* board = qobject_cast<TBoardDlgBase*>(&dialog);
            ASSERT_NE(board, nullptr);
            seenName = board->txtName->text();
            seenW = board->txtRegW->text();
            seenD = board->txtRegD->text();
            seenH = board->txtRegH->text();
            seenZ = board->txtRegZ->text();
            if (auto* side = qobject_cast<TfrmCeBan*>(board)) side->optLeftClick();
            board->cbWL->setCurrentIndex(2);
            board->btnSelClick();
            board->btnOKClick();
        });
        ExpectMaterialConfirmed();
        opened.clear();
        AddWithTool(form, 0, c.tag);
        ASSERT_EQ(opened.value(0), c.dialogClass);
        EXPECT_EQ(seenName, c.proposedName);
        EXPECT_EQ(seenW, "600");
        EXPECT_EQ(seenD, "550");
        EXPECT_EQ(seenH, "720");
        EXPECT_EQ(seenZ, "0");
        ASSERT_EQ(form.Cabinet->BCS().size(), 1u);
        const FBC& bc = form.Cabinet->BCS()[0];
        EXPECT_EQ(bc.BCType, c.type);
        EXPECT_EQ(bc.Cl.Name, c.boardName);
        EXPECT_EQ(bc.Cl.DbID, "7");
        EXPECT_EQ(bc.Cl.Thick, 18);
        EXPECT_EQ(bc.WL, "2");
        EXPECT_EQ(form.optFlag, 100);
        ASSERT_EQ(form.lstBC->topLevelItemCount(), 1);
        EXPECT_EQ(form.lstBC->topLevelItem(0)->text(1), c.boardName);
        EXPECT_EQ(form.lstReg->topLevelItemCount(), int(form.Cabinet->Regions().size()));
        EXPECT_TRUE(modalScript.empty());
    }
}

TEST_F(DesignTest, SecondBackBoardIsProposedWithNumberTwo) {
    TfrmDesign form;
    MakeCabinet(form);
    QStringList names;
    std::vector<TfrmClSel*> choosers;
    for (int i = 0; i < 2; ++i) {
        ExpectModal<TfrmBeiBan>([&](TfrmBeiBan& d) {
            names << d.txtName->text();
            d.btnSelClick();
            d.btnOKClick();
        });
        ExpectModal<TfrmClSel>([&](TfrmClSel& chooser) {
            choosers.push_back(&chooser);
            chooser.btnOKClick();
        });
        AddWithTool(form, 0, 801);
    }
    EXPECT_EQ(names, (QStringList{"背板", "背板2"}));
    // Both dialogs used the designer's one material chooser.
    ASSERT_EQ(choosers.size(), 2u);
    EXPECT_EQ(choosers[0], choosers[1]);
    EXPECT_EQ(choosers[0], form.ClSel.Existing());
}

TEST_F(DesignTest, DoorAndDrawerAreAddedWithDialogResults) {
    TfrmDesign form;
    MakeCabinet(form);
    ExpectModal<TfrmChouTi>([](TfrmChouTi& d) {
        EXPECT_EQ(d.txtName->text(), "抽屉1");
        d.cbHVal->setCurrentIndex(2);
        d.btnSelClick();
        d.Button1Click();
        d.btnOKClick();
    });
    ExpectMaterialConfirmed();
    ExpectMaterialConfirmed();
    AddWithTool(form, 0, 808);
    ASSERT_EQ(form.Cabinet->CTS().size(), 1u);
    const FChTi& ct = form.Cabinet->CTS()[0];
    EXPECT_EQ(ct.Name, "抽屉1");
    EXPECT_EQ(ct.H, 3);
    EXPECT_EQ(ct.W, 36);
    EXPECT_EQ(ct.D, 350);
    EXPECT_EQ(ct.ACl.DbID, "7");
    EXPECT_EQ(ct.BCl.Thick, 18);

    // The drawer left the region below its face; put a right half door there.
    const int below = int(form.Cabinet->Regions().size()) - 1;
    ExpectModal<TfrmDkM>([](TfrmDkM& d) {
        EXPECT_EQ(d.txtName->text(), "门");
        d.RadioButton1Click();
        d.btnSelClick();
        d.btnOKClick();
    });
    ExpectMaterialConfirmed();
    AddWithTool(form, below, 807);
    ASSERT_EQ(form.Cabinet->MBS().size(), 1u);
    EXPECT_EQ(form.Cabinet->MBS()[0].fm, 2);
    EXPECT_EQ(form.Cabinet->MBS()[0].LOrR, "2");
    EXPECT_EQ(form.Cabinet->MBS()[0].Cl.Name, "右门扇");
    // Doors and drawers are not boards: the list stays empty and saving is refused.
    EXPECT_EQ(form.lstBC->topLevelItemCount(), 0);
    form.tlSaveClick();
    EXPECT_EQ(prompt.infos.value(0), "请设计柜体后，再保存！");
    EXPECT_FALSE(form.IsOK);
}

TEST_F(DesignTest, ShelfPositionIsPresetFromReleasePointAndCancelAddsNothing) {
    TfrmDesign form;
    MakeCabinet(form);
    form.Redraw();
    ASSERT_EQ(form.dv, 2);
    QString preset;
    FRegion copied;
    ExpectModal<TfrmBCR>([&](TfrmBCR& d) {
        preset = d.txtY->text();
        copied = d.tmpReg;
    });
    // Released outside the region: the dialog is still for the selected region.
    AddWithTool(form, 0, 805, 2000, 260);
    EXPECT_EQ(preset, "400.0");
    EXPECT_EQ(copied, form.Cabinet->GetRegion(0));
    EXPECT_TRUE(form.Cabinet->BCS().empty());
    EXPECT_EQ(form.optFlag, 100);
}

TEST_F(DesignTest, ClicksSelectRegionsAndBoards) {
    TfrmDesign form;
    MakeCabinet(form);
    form.Redraw();
    ExpectModal<TfrmBCR>([](TfrmBCR& d) {
        d.txtY->setText("360");
        d.btnSelClick();
        d.Button1Click();
    });
    ExpectMaterialConfirmed();
    AddWithTool(form, 0, 805);
    ASSERT_EQ(form.Cabinet->BCS().size(), 1u);

    // Below the shelf (y 500 mm): the newest region containing the point.
    form.imgPnlMouseDown(100 + 150, 60 + 250);
    const int reg = form.Cabinet->SelRegIndex();
    ASSERT_GT(reg, 0);
    EXPECT_GT(form.Cabinet->GetRegion(reg).Top, 360);
    EXPECT_EQ(form.Cabinet->SelBCIndex(), -1);

    // On the shelf: the board and its row are selected, the grid shows its spacings.
    form.imgPnlMouseDown(100 + 150, 60 + 180);
    EXPECT_EQ(form.Cabinet->SelBCIndex(), 0);
    EXPECT_EQ(form.Cabinet->SelRegIndex(), -1);
    EXPECT_EQ(form.lstBC->indexOfTopLevelItem(form.lstBC->currentItem()), 0);
    EXPECT_EQ(form.sgProperty->item(1, 1)->text(), "0");
    form.ToolClick(801);
    EXPECT_EQ(prompt.infos, QStringList{"请选择要添加板件的位置！"});
    EXPECT_EQ(form.optFlag, 100);

    // A press in an add mode changes nothing.
    form.lstRegSelect(0);
    form.ToolClick(806);
    form.imgPnlMouseDown(100 + 150, 60 + 180);
    EXPECT_EQ(form.Cabinet->SelRegIndex(), 0);
}

TEST_F(DesignTest, UndoAndNudgeReplaceTheCabinetAndKeepTheOpenersObject) {
    FCabinet given(600, 550, 720, "柜");
    TfrmDesign form;
    form.IsEdit = true;
    form.SetCabinet(&given);
    ExpectModal<TfrmBCR>([](TfrmBCR& d) {
        d.txtY->setText("360");
        d.btnSelClick();
        d.Button1Click();
    });
    ExpectMaterialConfirmed();
    AddWithTool(form, 0, 805);
    // Adding works on the handed-in object.
    ASSERT_EQ(given.BCS().size(), 1u);
    const double y1 = given.BCS()[0].Pos.Y1;

    form.lstBCSelect(0);
    form.spVal->setValue(10);
    form.NudgeClick(4);
    ASSERT_NE(form.Cabinet, &given);
    EXPECT_EQ(form.Cabinet->SelBCIndex(), 0);
    EXPECT_DOUBLE_EQ(form.Cabinet->BCS()[0].Pos.Y1, y1 + 10);
    EXPECT_DOUBLE_EQ(given.BCS()[0].Pos.Y1, y1);

    form.tlDelClick();
    EXPECT_TRUE(form.Cabinet->BCS().empty());
    EXPECT_EQ(form.Cabinet->Regions().size(), 1u);
    EXPECT_EQ(given.BCS().size(), 1u);
    auto taken = form.TakeCabinet();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken.get(), form.Cabinet);
    EXPECT_TRUE(taken->BCS().empty());
}

TEST_F(DesignTest, UndoAndNudgeWithoutCabinetOrBoardDoNothing) {
    TfrmDesign form;
    form.tlDelClick();
    form.NudgeClick(1);
    form.tlNewClick();
    EXPECT_EQ(form.Cabinet, nullptr);
    MakeCabinet(form);
    FCabinet* cab = form.Cabinet;
    form.NudgeClick(2);
    EXPECT_EQ(form.Cabinet, cab);
    form.tlDelClick();  // no objects: an equal empty cabinet
    EXPECT_EQ(form.Cabinet->W(), 600);
    EXPECT_TRUE(form.Cabinet->OBJS().empty());
    EXPECT_TRUE(prompt.infos.isEmpty());
    EXPECT_TRUE(prompt.confirms.isEmpty());
}

TEST_F(DesignTest, ZoomAndViewAngles) {
    TfrmDesign form;
    const QSize start = form.imgPnl->size();
    form.tlMaxClick();
    form.tlMaxClick();
    form.tlMaxClick();
    EXPECT_EQ(form.ChiCun, 621);
    EXPECT_EQ(form.imgPnl->width(), int(int(int(start.width() * 1.2) * 1.2) * 1.2));
    form.ChiCun = 3700;
    const QSize before = form.imgPnl->size();
    form.tlMaxClick();
    EXPECT_EQ(form.ChiCun, 3600);
    EXPECT_EQ(form.imgPnl->size(), before);
    form.ChiCun = 300;
    form.tlMinClick();
    EXPECT_EQ(form.ChiCun, 360);

    form.chkZST->setChecked(true);
    form.chkZSTClick();
    EXPECT_EQ(form.Angle, 90);
    EXPECT_EQ(form.Angle2, 0);
    form.chkZST->setChecked(false);
    form.chkZSTClick();
    EXPECT_EQ(form.Angle, 80);
    EXPECT_EQ(form.Angle2, 10);
}

TEST_F(DesignTest, SaveHandsBackTheCabinet) {
    TfrmDesign form;
    form.tlSaveClick();
    MakeCabinet(form);
    ExpectModal<TfrmDingBan>([](TfrmDingBan& d) {
        d.btnSelClick();
        d.btnOKClick();
    });
    ExpectMaterialConfirmed();
    AddWithTool(form, 0, 802);
    form.tlSaveClick();
    EXPECT_EQ(prompt.infos, QStringList{"请设计柜体后，再保存！"});
    EXPECT_TRUE(form.IsOK);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    auto cab = form.TakeCabinet();
    ASSERT_NE(cab, nullptr);
    EXPECT_EQ(cab->BCS().size(), 1u);
}

TEST_F(DesignTest, LibraryStoreNeedsCategoryAndLeavesCabinetInPlace) {
    FCabinet given(600, 550, 720, "柜");
    given.SetParRegIndex(3);
    given.AddDingBan(0, FShape::R, {}, GetCl("7"), {}, "0");
    TfrmDesign form;
    form.IsEdit = true;
    form.SetCabinet(&given);
    form.txtGTName->setText(" 柜 ");
    QString proposed;
    SetDesignLibraryCategoryChooser([&](QWidget*, QString& name) {
        proposed = name;
        return QString();
    });
    form.tlSaveTKClick();
    EXPECT_EQ(proposed, "柜");
    EXPECT_EQ(Count("SELECT count(*) FROM TkWins"), 0);

    SetDesignLibraryCategoryChooser([](QWidget*, QString& name) {
        name = "标准柜";
        return QString("0");
    });
    form.tlSaveTKClick();
    EXPECT_EQ(Count("SELECT count(*) FROM TkWins WHERE TkName='标准柜' AND cateID=0"), 1);
    EXPECT_EQ(given.ParRegIndex(), 3);
    EXPECT_FALSE(form.IsOK);
    EXPECT_FALSE(form.isHidden() && form.result() == QDialog::Accepted);
}

TEST_F(DesignTest, CabinetFromLibraryIsRebuiltAtTheFieldSizes) {
    FCabs stored(400, 300, 500);
    auto cab = std::make_unique<FCabinet>(400, 300, 500, "小柜");
    cab->AddBc(0, FShape::R, {}, GetCl("7"), 0, 250, "1", {}, "0");
    stored.AddCabinet(0, std::move(cab));
    const QString xml = FXmlSave::BuildStoredXml(stored);
    SetDesignLibraryBrowser([&](QWidget*) { return xml; });

    TfrmDesign form;
    MakeCabinet(form);
    form.tlSelGtClick();
    ASSERT_NE(form.Cabinet, nullptr);
    EXPECT_EQ(form.Cabinet->W(), 600);
    EXPECT_EQ(form.Cabinet->H(), 720);
    EXPECT_EQ(form.Cabinet->Name(), "小柜");
    ASSERT_EQ(form.Cabinet->BCS().size(), 1u);
    EXPECT_EQ(form.txtGTName->text(), "地柜");

    // Sizes that are not numbers: the library cabinet stays at its own size.
    form.IsEdit = true;
    form.txtH->setText("7o0");
    prompt.infos.clear();
    form.tlSelGtClick();
    EXPECT_EQ(prompt.infos.size(), 1);
    EXPECT_EQ(form.Cabinet->H(), 500);

    // A document that cannot be read is reported and changes nothing.
    FCabinet* kept = form.Cabinet;
    SetDesignLibraryBrowser([](QWidget*) { return QString("not a document"); });
    form.tlSelGtClick();
    EXPECT_EQ(prompt.infos.size(), 2);
    EXPECT_EQ(form.Cabinet, kept);

    // Nothing chosen: the cabinet stays.
    FCabinet* before = form.Cabinet;
    SetDesignLibraryBrowser([](QWidget*) { return QString(); });
    form.tlSelGtClick();
    EXPECT_EQ(form.Cabinet, before);
}

TEST_F(DesignTest, PictureShowsCabinetAndCrosshair) {
    TfrmDesign form;
    MakeCabinet(form);
    const FCl cl = GetCl("7");
    form.Cabinet->AddCeBan(0, FShape::R, {}, cl, "Left", {}, "0");
    form.Cabinet->AddCeBan(0, FShape::R, {}, cl, "Right", {}, "0");
    form.Cabinet->AddDingBan(0, FShape::R, {}, cl, {}, "0");
    form.Cabinet->AddDiBan(0, FShape::R, {0, 0, 0, 80, 0, 0}, cl, {}, "0");
    form.Cabinet->AddBc(0, FShape::R, {}, cl, 0, 360, "1", {}, "0");
    form.Cabinet->AddDKM(1, {}, cl, 2, "1");
    form.FillLists();
    form.imgPnlMouseMove(250, 200);
    const QImage image = form.RenderPicture();
    // The crosshair row is blue away from the cabinet, the cabinet's face is filled.
    EXPECT_EQ(image.pixelColor(20, 200), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(250, 470), QColor(0, 0, 255));
    int face = 0;
    for (int y = 60; y < 420; y += 4)
        for (int x = 100; x < 400; x += 4)
            if (image.pixelColor(x, y) == QColor(248, 240, 227)) ++face;
    EXPECT_GT(face, 100);
    if (!qEnvironmentVariableIsEmpty("KELM_DESIGN_PIC"))
        image.save(qEnvironmentVariable("KELM_DESIGN_PIC"));
    if (!qEnvironmentVariableIsEmpty("KELM_DESIGN_SHOT")) {
        form.show();
        const QString shot = qEnvironmentVariable("KELM_DESIGN_SHOT");
        form.grab().save(shot);
        // The dialogs too, next to the window's picture.
        auto save = [&](QWidget& w, const char* name) {
            w.show();
            w.adjustSize();
            w.grab().save(shot + "." + name + ".png");
        };
        TfrmCeBan side;
        save(side, "ceban");
        TfrmBCR shelf;
        save(shelf, "bcr");
        TfrmDkM door;
        save(door, "dkm");
        TfrmChouTi drawer;
        save(drawer, "chouti");
        TfrmSetEdge edge;
        save(edge, "setedge");
        TfrmClSel chooser;
        save(chooser, "clsel");
    }
}

TEST_F(DesignTest, MouseEventsOnThePictureReachTheHandlers) {
    TfrmDesign form;
    MakeCabinet(form);
    auto send = [&](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, QPointF(at), QPointF(form.imgPnl->mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(form.imgPnl, &event);
    };
    send(QEvent::MouseButtonPress, QPoint(250, 200));
    EXPECT_EQ(form.Cabinet->SelRegIndex(), 0);
    send(QEvent::MouseButtonRelease, QPoint(250, 200));
    EXPECT_EQ(form.lstReg->topLevelItemCount(), 1);
    form.ToolClick(805);
    ExpectModal<TfrmBCR>([](TfrmBCR& d) { EXPECT_EQ(d.txtY->text(), "280.0"); });
    send(QEvent::MouseButtonPress, QPoint(250, 200));
    send(QEvent::MouseButtonRelease, QPoint(250, 200));
    EXPECT_EQ(opened, QStringList{"TfrmBCR"});
    EXPECT_EQ(form.optFlag, 100);
}
