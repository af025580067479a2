// The main window: start-up state, commands without an order or a selection, opening
// and creating orders, the cabinet list, deleting entries, and the fee statistics.
#include <algorithm>
#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <stdexcept>

#include "UiTestSupport.h"
#include "cabinet/UCabinet.h"
#include "cabinet/UCabs.h"
#include "common/RecordingCanvas.h"
#include "documents/ULayoutParts.h"
#include "documents/UXmlSave.h"
#include "documents/UnitFileOpt.h"
#include "reports/UReports.h"
#include "ui/UiApplication.h"
#include "ui/optimize/ULayoutView.h"
#include "ui/orders/CabinetThumbnail.h"
#include "ui/orders/UCustomer.h"
#include "ui/orders/UDataDct.h"
#include "ui/orders/UProAdd.h"
#include "ui/orders/UProjects.h"
#include "ui/orders/UnitAbout.h"
#include "ui/orders/UnitMain.h"
#include "ui/orders/UnitRestoreData.h"
#include "ui/orders/UnitMainLinks.h"
#include "ui/optimize/UOptBl.h"

namespace {
std::unique_ptr<FCabs> OneCabinet(double w, double d, double h) {
    auto cabs = std::make_unique<FCabs>(w, d, h);
    auto cab = std::make_unique<FCabinet>(w, d, h, "柜");
    const FCl board{"1", "", 18};
    auto last = [&] { return int(cab->Regions().size()) - 1; };
    cab->AddCeBan(last(), FShape::R, FEdge{}, board, "Left", FFengB{}, "0");
    cab->AddCeBan(last(), FShape::R, FEdge{}, board, "Right", FFengB{}, "0");
    cab->AddDingBan(last(), FShape::R, FEdge{}, board, FFengB{}, "0");
    cab->AddDiBan(last(), FShape::R, FEdge{}, board, FFengB{}, "0");
    cabs->AddCabinet(0, std::move(cab));
    return cabs;
}

// Bounding box of every point the drawing used.
QRect DrawnBox(const kelm::RecordingCanvas& canvas) {
    QRect box;
    for (const kelm::CanvasCall& call : canvas.Calls())
        for (const QPoint& p : call.points) box = box.united(QRect(p, QSize(1, 1)));
    return box;
}
}  // namespace

class MainTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        main = std::make_unique<TfrmMain>();
    }
    void TearDown() override {
        main.reset();
        UiTest::TearDown();
    }
    QString Cell(int row, int column) {
        auto* item = main->sgProperty->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList TreeTexts() {
        QStringList texts;
        for (int i = 0; i < main->trvProject->topLevelItemCount(); ++i) {
            QTreeWidgetItem* root = main->trvProject->topLevelItem(i);
            texts << root->text(0);
            for (int c = 0; c < root->childCount(); ++c) texts << root->child(c)->text(0);
        }
        return texts;
    }
    void OpenOrderByList(int row) {
        ExpectModal<TfrmProjects>([row](TfrmProjects& list) {
            list.FormShow();
            list.sgProject->setCurrentCell(row, 0);
            list.tlOpenClick();
        });
        main->tlOpenProClick();
        ASSERT_TRUE(modalScript.empty());
    }
    void SetRates(double jgf, double others) {
        const QString o = QString::number(others);
        Exec("UPDATE FProFei SET JGF=" + QString::number(jgf) + ",AZF=" + o + ",JXF=" + o +
             ",SDF=" + o + ",YSF=" + o + ",GLF=" + o + ",QTF=" + o);
    }
    std::unique_ptr<TfrmMain> main;
};

TEST_F(MainTest, StartsWithLabelsSettingsAndNoOrder) {
    const QStringList labels = {"加工费", "安装费", "机械费", "水电费",
                                "运输费", "管理费", "其他费", "总费用"};
    EXPECT_EQ(Cell(0, 0), "属性");
    EXPECT_EQ(Cell(0, 1), "值");
    for (int i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(Cell(i + 1, 0), labels[i]);
        EXPECT_EQ(Cell(i + 1, 1), "0");
    }
    EXPECT_EQ(Cell(9, 0), "");
    EXPECT_EQ(main->StatusText(0), "单位名称：[Veldstrom]");
    EXPECT_EQ(main->StatusText(2),
              "操作日期：[" + QDate::currentDate().toString("yyyy-MM-dd") + "]");
    EXPECT_TRUE(main->proID.isEmpty());
    EXPECT_EQ(main->trvProject->topLevelItemCount(), 0);
    EXPECT_EQ(main->lstWins->count(), 0);
}

TEST_F(MainTest, BannerAppearsWhenFirstShown) {
    EXPECT_TRUE(main->StatusText(3).isEmpty());
    main->show();
    EXPECT_EQ(main->StatusText(3), "Kelm 板式家具生产管理系统 —— 设计、拆单、开料一体化");
}

TEST_F(MainTest, DatabaseOpenedForReadingIsNamedInTheStatusBar) {
    auto* notice = main->findChild<QLabel*>("lblDataNotice");
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isHidden());
    // The workshop's file where the user may not write: shown, and said so.
    data->Close();
    data->SetReadOnly(true);
    TfrmMain window;
    auto* shown = window.findChild<QLabel*>("lblDataNotice");
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->isHidden());
    EXPECT_TRUE(shown->text().startsWith("数据库为只读")) << shown->text().toStdString();
    EXPECT_EQ(window.StatusText(0), "单位名称：[Veldstrom]");
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(MainTest, ExceptionLeavingAnEventHandlerIsShownAndTheProgramGoesOn) {
    EXPECT_FALSE(HandleGuarded([]() -> bool { throw std::runtime_error("invalid text"); }));
    EXPECT_EQ(prompt.infos, QStringList{"程序内部错误，当前操作未完成：invalid text"});
    EXPECT_TRUE(HandleGuarded([] { return true; }));
    EXPECT_EQ(prompt.infos.size(), 1);
}

TEST_F(MainTest, CompanyNameComesFromSettings) {
    Exec("UPDATE FSysSet SET cmpName='木作坊'");
    TfrmMain window;
    EXPECT_EQ(window.StatusText(0), "单位名称：[木作坊]");
}

TEST_F(MainTest, CommandsNeedingAnOrderOrSelectionShowTheirMessages) {
    struct Case {
        void (TfrmMain::*command)();
        QString message;
    };
    const Case cases[] = {
        {&TfrmMain::tlDesignClick, "请先打开或创建新订单后，再添加柜体！"},
        {&TfrmMain::tlWinSelClick, "请先打开或创建新订单后，再添加柜体！"},
        {&TfrmMain::tlOptClick, "请打开订单后，再进行板材切割优化计算！"},
        {&TfrmMain::tlCutRptClick, "请打开或创建订单后，再查看报表！"},
        {&TfrmMain::mnuPanelRptClick, "请先打开或创建订单！"},
        {&TfrmMain::tlEditClick, "请选择要修改的柜体！"},
        {&TfrmMain::tlDelClick, "请选择柜体后，再删除！"},
        {&TfrmMain::tlSizeRptClick, "请选择要查看的柜体！"},
        {&TfrmMain::mnuDrawRptClick, "请选择要查看的柜体！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        prompt.infos.clear();
        (main.get()->*c.command)();
        EXPECT_EQ(prompt.infos, QStringList{c.message});
    }
    EXPECT_TRUE(prompt.confirms.isEmpty());
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(saveRequests.empty());
}

TEST_F(MainTest, NewOrderBecomesOpenWithItsTree) {
    ExpectModal<TfrmProAdd>([](TfrmProAdd& add) {
        add.txtProCode->setText("P-01");
        add.txtProName->setText(" 厨房柜 ");
        add.dt1->setDate(QDate(2024, 4, 1));
        add.dt2->setDate(QDate(2024, 4, 11));
        add.btnOKClick();
    });
    main->tlNewProClick();
    ASSERT_TRUE(modalScript.empty());
    EXPECT_EQ(main->proID.size(), 12);
    EXPECT_EQ(main->proName, "厨房柜");
    EXPECT_EQ(TreeTexts(), (QStringList{"厨房柜", "P-01", "2024-04-01", "2024-04-11"}));
    EXPECT_TRUE(main->trvProject->topLevelItem(0)->isExpanded());
    EXPECT_EQ(main->StatusText(2), "当前共： 0 个柜体！");
    EXPECT_EQ(Cell(1, 0), "总面积");
    EXPECT_EQ(Cell(1, 1), "0.0㎡");
    for (int r = 2; r <= 9; ++r) EXPECT_EQ(Cell(r, 1), "￥0.0") << r;
}

TEST_F(MainTest, CancelledDialogsLeaveTheOpenOrder) {
    AddOrder("240101000001", "A", "甲");
    OpenOrderByList(0);
    ExpectModal<TfrmProAdd>([](TfrmProAdd& add) { add.btnCloseClick(); });
    main->tlNewProClick();
    ExpectModal<TfrmProjects>([](TfrmProjects& list) { list.reject(); });
    main->tlOpenProClick();
    EXPECT_EQ(main->proID, "240101000001");
    EXPECT_EQ(TreeTexts().value(0), "甲");
}

TEST_F(MainTest, OpenedOrderListsEntriesCountingEntriesNotQuantities) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 5, "G1");
    AddEntry("2401010000012", "240101000001", 1200.5, 720, 550, 1, "G2");
    AddEntry("2401010000021", "other", 600, 800, 500, 1, "X");
    OpenOrderByList(0);
    EXPECT_EQ(main->proName, "甲");
    ASSERT_EQ(main->lstWins->count(), 2);
    QStringList captions;
    for (int i = 0; i < main->lstWins->count(); ++i) captions << main->lstWins->item(i)->text();
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"G1-600×500×800×5", "G2-1200.5×550×720×1"}));
    EXPECT_EQ(main->StatusText(2), "当前共： 2 个柜体！");
    EXPECT_EQ(main->lstWins->iconSize(), QSize(230, 230));
    const QList<QSize> sizes = main->lstWins->item(0)->icon().availableSizes();
    ASSERT_FALSE(sizes.isEmpty());
    EXPECT_EQ(sizes.first(), QSize(230, 230));
}

TEST_F(MainTest, AfterARestoreTheWindowShowsTheRestoredDatabase) {
    AddOrder("240101000001", "A", "甲");
    AddOrder("240101000002", "B", "乙");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 5, "G1");
    AddEntry("2401010000021", "240101000002", 600, 800, 500, 1, "X");
    OpenOrderByList(0);
    ASSERT_EQ(main->proID, "240101000001");
    ASSERT_EQ(main->lstWins->count(), 1);

    // The restored database holds the order with other entries and another company.
    ExpectModal<TfrmRestoreData>([this](TfrmRestoreData&) {
        Exec("UPDATE FProject SET proName='甲改' WHERE proID='240101000001'");
        AddEntry("2401010000012", "240101000001", 900, 700, 500, 1, "G2");
        Exec("UPDATE FSysSet SET cmpName='新木业'");
    });
    main->mnuRestoreClick();
    EXPECT_EQ(main->proID, "240101000001");
    EXPECT_EQ(TreeTexts().value(0), "甲改");
    EXPECT_EQ(main->lstWins->count(), 2);
    EXPECT_EQ(main->StatusText(2), "当前共： 2 个柜体！");
    EXPECT_EQ(main->StatusText(0), "单位名称：[新木业]");

    // One without the open order: nothing of the old order stays on the screen.
    ExpectModal<TfrmRestoreData>([this](TfrmRestoreData&) {
        Exec("DELETE FROM FProWins WHERE proID='240101000001'");
        Exec("DELETE FROM FProject WHERE proID='240101000001'");
    });
    main->mnuRestoreClick();
    EXPECT_TRUE(main->proID.isEmpty());
    EXPECT_EQ(main->trvProject->topLevelItemCount(), 0);
    EXPECT_EQ(main->lstWins->count(), 0);
    EXPECT_EQ(Cell(1, 1), "0");
    EXPECT_TRUE(main->StatusText(2).isEmpty());
    prompt.infos.clear();
    main->tlCutRptClick();  // commands again ask for an order first
    EXPECT_EQ(prompt.infos, QStringList{"请打开或创建订单后，再查看报表！"});
}

TEST_F(MainTest, OrderKeyWithoutRowKeepsTreeAndShowsNoEntries) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 1);
    OpenOrderByList(0);
    ASSERT_EQ(main->lstWins->count(), 1);
    main->proID = "999999999999";
    main->LoadOrderTree();
    main->LoadCabinetList();
    EXPECT_EQ(TreeTexts().value(0), "甲");
    EXPECT_EQ(main->lstWins->count(), 0);
    EXPECT_EQ(main->StatusText(2), "当前共： 0 个柜体！");
}

TEST_F(MainTest, LoadStartedWhileLoadingReplacesTheRunningOne) {
    AddOrder("240101000001", "A", "甲");
    AddOrder("240101000002", "B", "乙");
    for (int i = 1; i <= 4; ++i)
        AddEntry("240101000001" + QString::number(i), "240101000001", 600, 800, 500, 1);
    AddEntry("2401010000029", "240101000002", 600, 800, 500, 1, "B1");
    main->EventIntervalMs = 0;  // hand control to the event loop after every item
    main->proID = "240101000001";
    QTimer::singleShot(0, main.get(), [this] {
        main->proID = "240101000002";
        main->LoadCabinetList();
    });
    main->LoadCabinetList();
    ASSERT_EQ(main->lstWins->count(), 1);
    EXPECT_EQ(main->lstWins->item(0)->text(), "B1-600×500×800×1");
    EXPECT_EQ(main->StatusText(2), "当前共： 1 个柜体！");
}

TEST_F(MainTest, FeesFromAreaAndRates) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 2);
    SetRates(50, 0.05);
    OpenOrderByList(0);
    EXPECT_EQ(Cell(1, 0), "总面积");
    EXPECT_EQ(Cell(1, 1), "1.0㎡");  // 0.96 m²
    const QStringList labels = {"加工费", "安装费", "机械费", "水电费",
                                "运输费", "管理费", "其他费"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(Cell(i + 2, 0), labels[i]);
    EXPECT_EQ(Cell(2, 1), "￥48.0");
    EXPECT_EQ(Cell(3, 1), "￥0.0");  // 0.048 each
    EXPECT_EQ(Cell(9, 0), "总费用");
    // 48 + 6 × 0.048 = 48.288: summed unrounded, not 48.0 from rounded amounts.
    EXPECT_EQ(Cell(9, 1), "￥48.3");
}

TEST_F(MainTest, NoFeeRowMeansZeroRates) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 2000, 2000, 500, 1);
    Exec("DELETE FROM FProFei");
    OpenOrderByList(0);
    EXPECT_EQ(Cell(1, 1), "4.0㎡");
    for (int r = 2; r <= 9; ++r) EXPECT_EQ(Cell(r, 1), "￥0.0") << r;
}

TEST_F(MainTest, RatesChangedLaterShowAtNextLoad) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 1000, 1000, 500, 1);
    OpenOrderByList(0);
    EXPECT_EQ(Cell(2, 1), "￥0.0");
    SetRates(12.5, 0);
    EXPECT_EQ(Cell(2, 1), "￥0.0");
    main->LoadCabinetList();
    EXPECT_EQ(Cell(2, 1), "￥12.5");
}

TEST_F(MainTest, DeleteRemovesEntryAndItsPanelsAfterConfirmation) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 1, "G1");
    AddEntry("2401010000012", "240101000001", 600, 800, 500, 1, "G2");
    for (const char* win : {"2401010000011", "2401010000011", "2401010000012"})
        Exec("INSERT INTO FProCl(proID,winID,clName) VALUES('240101000001',:w,'侧板')",
             {{"w", win}});
    OpenOrderByList(0);
    QListWidgetItem* g1 = nullptr;
    for (int i = 0; i < main->lstWins->count(); ++i)
        if (main->lstWins->item(i)->text().startsWith("G1")) g1 = main->lstWins->item(i);
    ASSERT_NE(g1, nullptr);
    g1->setSelected(true);
    ASSERT_EQ(main->SelectedWinID(), "2401010000011");

    prompt.answers = {false};
    main->tlDelClick();
    EXPECT_EQ(Count("SELECT count(*) FROM FProWins"), 2);
    // The question names the entry by code and size (width, depth, height).
    EXPECT_EQ(prompt.confirms, QStringList{"确定要删除柜体“G1”（宽600×深500×高800）吗？"});

    prompt.answers = {true};
    main->tlDelClick();
    EXPECT_EQ(Count("SELECT count(*) FROM FProWins WHERE winID='2401010000011'"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl WHERE winID='2401010000011'"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl WHERE winID='2401010000012'"), 1);
    EXPECT_EQ(main->lstWins->count(), 1);
    EXPECT_EQ(main->StatusText(2), "当前共： 1 个柜体！");
}

TEST_F(MainTest, DeleteOfVanishedEntryKeepsItsPanelsAndTheList) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 1);
    Exec("INSERT INTO FProCl(proID,winID,clName) VALUES('240101000001','2401010000011','x')");
    OpenOrderByList(0);
    main->lstWins->item(0)->setSelected(true);
    Exec("DELETE FROM FProWins");  // gone behind the window's back
    prompt.answers = {true};
    main->tlDelClick();
    EXPECT_EQ(prompt.confirms, QStringList{"确定要删除选择的柜体吗？"});
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl"), 1);
    EXPECT_EQ(main->lstWins->count(), 1);  // not reloaded
}

TEST_F(MainTest, EditOfVanishedEntryStopsQuietly) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 1);
    OpenOrderByList(0);
    main->lstWins->item(0)->setSelected(true);
    Exec("DELETE FROM FProWins");
    main->tlEditClick();
    EXPECT_TRUE(prompt.infos.isEmpty());
    EXPECT_EQ(opened, QStringList{"TfrmProjects"});
}

TEST_F(MainTest, ReportCommandsAskForAFileThenWriteTheReport) {
    SetReportProgramDir(dir.path());  // "Temp.bmp" goes into the test's folder
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 2);
    Exec("UPDATE FProWins SET winPath=:p",
         {{"p", FXmlSave::BuildStoredXml(*OneCabinet(600, 500, 800))}});
    Exec(
        "INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount,wl,flag) "
        "VALUES('240101000001','2401010000011','柜','1','侧板',800,500,18,2,'0','R')");
    OpenOrderByList(0);
    main->lstWins->item(0)->setSelected(true);
    struct Case {
        void (TfrmMain::*command)();
        const char* file;
        bool written;  // the cutting layout report writes nothing without a stored layout
    };
    const Case cases[] = {{&TfrmMain::mnuPanelRptClick, "panels", true},
                          {&TfrmMain::tlSizeRptClick, "size", true},
                          {&TfrmMain::mnuDrawRptClick, "drawing", true},
                          {&TfrmMain::tlCutRptClick, "cut", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        saveRequests.clear();
        prompt.infos.clear();
        saveAnswer = dir.filePath(c.file);
        // 开料图 shows the layouts first; the spreadsheet report is written from there.
        if (c.command == &TfrmMain::tlCutRptClick)
            ExpectModal<TfrmLayoutView>([](TfrmLayoutView& view) { view.btnXlsClick(); });
        (main.get()->*c.command)();
        ASSERT_EQ(saveRequests.size(), 1u);
        EXPECT_EQ(saveRequests[0].title, "[Kelm]报表导出");
        EXPECT_EQ(saveRequests[0].filter, "xls|*.xls");
        const QString path = dir.filePath(QString(c.file) + ".xls");
        EXPECT_EQ(QFileInfo::exists(path), c.written);
        if (c.written) {
            EXPECT_EQ(prompt.infos.size(), 1) << prompt.infos.join("|").toStdString();
        }
        for (const QString& info : prompt.infos)
            EXPECT_TRUE(info.contains(path)) << info.toStdString();
    }
    SetReportProgramDir(QString());
}

TEST_F(MainTest, CancelledSaveDialogWritesNothing) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 1);
    OpenOrderByList(0);
    main->lstWins->item(0)->setSelected(true);
    saveAnswer.clear();
    main->tlSizeRptClick();
    main->mnuPanelRptClick();
    EXPECT_EQ(saveRequests.size(), 2u);
    EXPECT_TRUE(prompt.infos.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.xls"}).isEmpty());
}

TEST_F(MainTest, SaveDialogIsSetUpForSpreadsheets) {
    EXPECT_EQ(main->SaveDia->Title, "[Kelm]报表导出");
    EXPECT_EQ(main->SaveDia->Filter, "xls|*.xls");
    EXPECT_EQ(main->SaveDia->DefaultExt, "xls");
    EXPECT_EQ(main->ColorDialog1->Color, QColor(Qt::black));
    saveAnswer = dir.filePath("report");
    ASSERT_TRUE(main->SaveDia->Execute());
    EXPECT_EQ(main->SaveDia->FileName, dir.filePath("report.xls"));
    saveAnswer.clear();
    EXPECT_FALSE(main->SaveDia->Execute());
}

TEST_F(MainTest, MasterDataWindowsOpenModally) {
    ExpectModal<TfrmCustomer>(
        [](TfrmCustomer& customers) { EXPECT_FALSE(customers.tlSel->isEnabled()); });
    main->mnuCustomerClick();
    ExpectModal<TfrmDataDct>([](TfrmDataDct&) {});
    main->mnuDataDctClick();
    ExpectModal<TfrmAbout>(
        [](TfrmAbout& about) { EXPECT_EQ(about.windowTitle(), "《Kelm》系列软件"); });
    main->mnuAboutClick();
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(opened, (QStringList{"TfrmCustomer", "TfrmDataDct", "TfrmAbout"}));
}

TEST_F(MainTest, EveryOtherCommandOpensItsWindow) {
    AddOrder("240101000001", "A", "甲");
    OpenOrderByList(0);
    const std::pair<void (TfrmMain::*)(), const char*> commands[] = {
        {&TfrmMain::tlDesignClick, "TfrmDesCbs"},      {&TfrmMain::tlWinSelClick, "TfrmWinSel"},
        {&TfrmMain::tlOptClick, "TfrmOptBl"},          {&TfrmMain::tlWuLiaoClick, "TfrmWuLiao"},
        {&TfrmMain::tlWinKuClick, "TfrmWinKu"},        {&TfrmMain::tlSettingsClick, "TfrmSettings"},
        {&TfrmMain::mnuPZBZClick, "TfrmPZBZ"},         {&TfrmMain::mnuRestoreClick, "TfrmRestoreData"},
        {&TfrmMain::mnuBackupClick, "TfrmBackData"},   {&TfrmMain::mnuYuLiaoClick, "TfrmYuLiao"}};
    for (const auto& [command, window] : commands) {
        opened.clear();
        prompt.infos.clear();
        (main.get()->*command)();
        EXPECT_EQ(opened, QStringList{window});
        EXPECT_TRUE(prompt.infos.isEmpty()) << window;
    }
}

TEST_F(MainTest, MenusCarryTheirCaptions) {
    const std::pair<const char*, const char*> captions[] = {{"mnuNewPro", "新建订单"},
                                                            {"mnuOpenPro", "打开订单"},
                                                            {"mnuWuLiao", "材料管理"},
                                                            {"mnuYuLiao", "余料库存"},
                                                            {"mnuCustomer", "客户管理(&C)"},
                                                            {"mnuSettings", "系统设置(&T)"},
                                                            {"mnuDataDct", "数据字典(&D)"},
                                                            {"mnuRestore", "数据还原"},
                                                            {"mnuBackup", "数据备份"},
                                                            {"mnuAbout", "关于(&A)"},
                                                            {"tlSizeRpt", "尺寸报表"},
                                                            {"tlOpt", "板材开料"},
                                                            {"tlCutRpt", "开料图"},
                                                            {"tlWuLiao", "板材管理"},
                                                            {"tlWinKu", "柜体图库"},
                                                            {"tlSettings", "系统设置"},
                                                            {"tlNewPro", "新建单据"},
                                                            {"tlOpenPro", "打开单据"},
                                                            {"tlDesign", "柜体设计"},
                                                            {"tlWinSel", "单柜设计"},
                                                            {"tlEdit", "编辑"},
                                                            {"tlDel", "删除"},
                                                            {"mnuPanelRpt", "板件清单报表(&L)"},
                                                            {"mnuSizeRpt", "柜体尺寸报表(&S)"},
                                                            {"mnuDrawRpt", "柜体图纸(&G)"},
                                                            {"mnuPZBZ", "打孔标准(&K)"}};
    for (const auto& [name, caption] : captions) {
        auto* action = main->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromUtf8(caption)) << name;
    }
    EXPECT_EQ(main->tlNewPro->toolTip(), "新建工程");
    EXPECT_EQ(main->tlDesign->toolTip(), "添加窗型");
    EXPECT_EQ(main->tlDel->toolTip(), "删除窗型");
}

TEST(ThumbnailTest, ScaleFitsTheLargerDimensionInto200Pixels) {
    struct Case {
        double w, h, scale;
    };
    const Case cases[] = {{1200, 720, 6}, {600, 800, 4}, {500, 500, 2.5}, {2400, 2400.0, 12}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(ThumbnailScale(c.w, c.h), c.scale);
}

TEST(ThumbnailTest, WholeCabinetDepthAndTopIncludedFillsThePictureInsideTheMargin) {
    struct Case {
        double w, d, h;
    };
    // Deep cabinets draw their depth far above the front's top edge.
    const Case cases[] = {{1200, 550, 720}, {600, 550, 2000}, {800, 550, 800},
                          {600, 900, 800},  {400, 1200, 400}, {2400, 600, 300}};
    const QRect inside(kThumbnailMargin, kThumbnailMargin, kThumbnailSize - 2 * kThumbnailMargin,
                       kThumbnailSize - 2 * kThumbnailMargin);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.d << " x " << c.h);
        kelm::RecordingCanvas canvas(QRect(0, 0, 230, 230));
        DrawThumbnailOn(canvas, *OneCabinet(c.w, c.d, c.h));
        ASSERT_FALSE(canvas.Calls().empty());
        const QRect box = DrawnBox(canvas);
        EXPECT_TRUE(inside.contains(box))
            << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
        // As large as the picture allows: it reaches across in one direction.
        EXPECT_GE(std::max(box.width(), box.height()), inside.width() - 4);
        // Centred.
        EXPECT_NEAR(box.center().x(), inside.center().x(), 2);
        EXPECT_NEAR(box.center().y(), inside.center().y(), 2);
    }
}

TEST(ThumbnailTest, StoredDocumentIsDrawnAndDamagedOneGetsAnOutline) {
    const QImage drawn =
        DrawCabinetThumbnail(FXmlSave::BuildStoredXml(*OneCabinet(600, 550, 800)), 600, 800);
    const QImage damaged = DrawCabinetThumbnail("not a document", 600, 800);
    const QImage blank = DrawCabinetThumbnail("not a document", 0, 0);
    for (const QImage* image : {&drawn, &damaged, &blank}) {
        EXPECT_EQ(image->size(), QSize(230, 230));
        EXPECT_EQ(image->depth(), 24);
    }
    EXPECT_NE(drawn, blank);
    EXPECT_NE(damaged, blank);
    EXPECT_NE(drawn, damaged);
    EXPECT_EQ(blank.pixelColor(100, 100), QColor(Qt::white));
    EXPECT_EQ(damaged.pixelColor(90, 120), QColor(248, 240, 227));  // inside 150 × 200
    EXPECT_EQ(damaged.pixelColor(180, 120), QColor(Qt::white));     // right of it
}

TEST_F(MainTest, DamagedDocumentDoesNotStopTheList) {
    AddOrder("240101000001", "A", "甲");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 1);  // empty document
    AddEntry("2401010000012", "240101000001", 600, 800, 500, 1);
    Exec("UPDATE FProWins SET winPath=:p WHERE winID='2401010000012'",
         {{"p", FXmlSave::BuildStoredXml(*OneCabinet(600, 500, 800))}});
    OpenOrderByList(0);
    EXPECT_EQ(main->lstWins->count(), 2);
    EXPECT_EQ(main->StatusText(2), "当前共： 2 个柜体！");
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST(ThumbnailTest, PictureIs230Square24Bit) {
    const QImage image = DrawCabinetThumbnail(QString(), 600, 800);
    EXPECT_EQ(image.size(), QSize(230, 230));
    EXPECT_EQ(image.depth(), 24);
}

TEST_F(MainTest, StaleLayoutsAreNamedBeforeTheCuttingReport) {
    SetReportProgramDir(dir.path());
    AddOrder("240101000001", "A", "甲");
    Exec("INSERT INTO FCl(cateID,ylCode,ylName,length,width,houdu) "
         "VALUES(1,'','白橡',2440,1220,18)");
    AddEntry("2401010000011", "240101000001", 600, 800, 500, 1);
    auto addPanel = [this](const char* winID, const char* name, const char* length) {
        Exec("INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount,wl,"
             "flag) VALUES('240101000001',:w,'柜','1',:n,:l,500,18,2,'1','R')",
             {{"w", winID}, {"n", name}, {"l", length}});
    };
    addPanel("2401010000011", "侧板", "800");
    // The stored layout of the panels as they are now.
    TD2REleArr eles;
    ASSERT_TRUE(PartsFromPanels(ReadMaterialPanels("240101000001", "1"), eles));
    TD2RGene g;
    g.RawDbID = "1";
    g.RawLength = 2440;
    g.RawWidth = 1220;
    g.RawCount = 1;
    g.EleList.push_back({0, 1, "侧板", "", 0, 0, 800, 500});
    g.EleList.push_back({0, 1, "侧板", "", 0, 510, 800, 500});
    ASSERT_TRUE(TD2File().SaveToFile({{1, "", "1", "", 1, 2440, 1220, 99999999, 0, ""}}, eles,
                                     TD2RPrm(), {g}, "240101000001", "1"));
    OpenOrderByList(0);

    // Current layouts: straight to the save dialog.
    saveAnswer = dir.filePath("cut.xls");
    ExpectModal<TfrmLayoutView>([](TfrmLayoutView& view) { view.btnXlsClick(); });
    main->tlCutRptClick();
    EXPECT_TRUE(prompt.confirms.isEmpty());
    EXPECT_EQ(saveRequests.size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("cut.xls")));

    // A second cabinet entry adds a part: the user hears it before the layouts are shown
    // and chooses to go on with the stored layout.
    addPanel("2401010000012", "顶板", "564");
    saveRequests.clear();
    prompt.answers = {false};
    saveAnswer = dir.filePath("old.xls");
    ExpectModal<TfrmLayoutView>([](TfrmLayoutView& view) { view.btnXlsClick(); });
    main->tlCutRptClick();
    ASSERT_EQ(prompt.confirms.size(), 1);
    EXPECT_TRUE(prompt.confirms[0].startsWith("排料结果已过期：白橡\n    新增：顶板 564×500×2块"))
        << prompt.confirms[0].toStdString();
    EXPECT_TRUE(prompt.confirms[0].contains("重新优化"));
    EXPECT_EQ(saveRequests.size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("old.xls")));

    // Choosing to optimise again opens the optimization; left without a run, the layout
    // is still out of date and the user may stop: nothing is written.
    prompt.confirms.clear();
    saveRequests.clear();
    prompt.answers = {true, false};
    ExpectModal<TfrmOptBl>([](TfrmOptBl& window) { EXPECT_EQ(window.proID, "240101000001"); });
    saveAnswer = dir.filePath("stopped.xls");
    main->tlCutRptClick();
    EXPECT_TRUE(modalScript.empty());
    ASSERT_EQ(prompt.confirms.size(), 2);
    EXPECT_TRUE(prompt.confirms[1].endsWith("仍按旧的排料结果继续吗？"));
    EXPECT_TRUE(saveRequests.empty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("stopped.xls")));
    SetReportProgramDir(QString());
}
