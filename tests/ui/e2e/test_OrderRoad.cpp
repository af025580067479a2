// One order from start to finish through the main window, as a new user walks it on a
// fresh database: two raw materials, a new order, a position designed in the combination
// designer with a cabinet of boards, a door and a drawer from the single-cabinet
// designer, the order's list and fees, the optimization run to its end, and every
// report of the main window written to a file.
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <map>
#include <utility>

#include "../UiTestSupport.h"
#include "data/PartBarcode.h"
#include "spreadsheet/XlsReadBack.h"
#include "output/OutputTestSupport.h"
#include "reports/UReports.h"
#include "ui/design/UBCR.h"
#include "ui/design/UBeiBan.h"
#include "ui/design/UCeBan.h"
#include "ui/design/UChouTi.h"
#include "ui/design/UClSel.h"
#include "ui/design/UDKM.h"
#include "ui/design/UDesCbs.h"
#include "ui/design/UDesign.h"
#include "ui/design/UDiBan.h"
#include "ui/design/UDingBan.h"
#include "ui/optimize/ULayoutView.h"
#include "ui/optimize/UOptBl.h"
#include "ui/optimize/UnitCulcControler.h"
#include "ui/orders/UCustAdd.h"
#include "ui/orders/UCustomer.h"
#include "ui/orders/UProAdd.h"
#include "ui/orders/UnitCateAdd.h"
#include "ui/orders/UnitMain.h"
#include "ui/orders/UnitWuLiao.h"
#include "ui/orders/UnitYlAdd.h"

namespace {
const QString kCarcass = QStringLiteral("白色颗粒板");
const QString kBackBoard = QStringLiteral("白色背板");

// Tags of the single-cabinet designer's add tools.
enum : int {
    kBack = 801,
    kTop = 802,
    kSide = 803,
    kShelf = 805,
    kDoor = 807,
    kDrawer = 808,
    kBottom = 809
};

// An Excel 97-2003 workbook is a compound document: it starts with this signature.
bool IsCompoundDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return file.read(8) == QByteArray::fromHex("d0cf11e0a1b11ae1");
}
}  // namespace

class OrderRoadTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        SetReportProgramDir(dir.path());  // "Temp.bmp" goes into the test's folder
        main = std::make_unique<TfrmMain>();
    }
    void TearDown() override {
        main.reset();
        SetReportProgramDir(QString());
        UiTest::TearDown();
    }

    // The material chooser: the user picks the material whose text holds name.
    void ExpectMaterial(const QString& name = kCarcass) {
        ExpectModal<TfrmClSel>([name](TfrmClSel& chooser) {
            const int index = chooser.cbClName->findText(name, Qt::MatchContains);
            ASSERT_GE(index, 0) << name.toStdString();
            chooser.cbClName->setCurrentIndex(index);
            chooser.cbClNameChange();
            chooser.btnOKClick();
        });
    }

    // A board dialog confirmed with the named material.
    template <typename T>
    void ExpectBoard(std::function<void(T&)> setUp = {}, const QString& material = kCarcass) {
        ExpectModal<T>([setUp](T& d) {
            if (setUp) setUp(d);
            d.btnSelClick();
            d.btnOKClick();
        });
        ExpectMaterial(material);
    }

    // Picks the last region of the designer's cabinet and adds with the tool there.
    static void AddInLastRegion(TfrmDesign& form, int tag) {
        form.lstRegSelect(int(form.Cabinet->Regions().size()) - 1);
        form.ToolClick(tag);
        form.imgPnlMouseUp(300, 300);
    }

    // Adds with the tool in the region the designer has selected.
    static void AddInSelectedRegion(TfrmDesign& form, int tag) {
        form.ToolClick(tag);
        form.imgPnlMouseUp(300, 300);
    }

    // The user's part in the single-cabinet designer: a carcass with back and shelf, a
    // drawer above the shelf and a door below it.
    void DesignCabinet(TfrmDesign& form) {
        ASSERT_NE(form.Cabinet, nullptr);
        ExpectBoard<TfrmCeBan>([](TfrmCeBan& d) { d.optLeftClick(); });
        AddInLastRegion(form, kSide);
        ExpectBoard<TfrmCeBan>([](TfrmCeBan& d) { d.optRightClick(); });
        AddInLastRegion(form, kSide);
        ExpectBoard<TfrmDingBan>();
        AddInLastRegion(form, kTop);
        ExpectBoard<TfrmDiBan>();
        AddInLastRegion(form, kBottom);
        // The bottom leaves the inner region selected (not the strip under it, which
        // has no height): back and shelf go there with a tool and a click.
        ExpectBoard<TfrmBeiBan>({}, kBackBoard);  // the back of thinner material
        AddInSelectedRegion(form, kBack);
        ExpectBoard<TfrmBCR>([](TfrmBCR& d) { d.txtY->setText("300"); });
        AddInSelectedRegion(form, kShelf);
        ASSERT_TRUE(modalScript.empty());
        ASSERT_EQ(form.Cabinet->BCS().size(), 6u) << prompt.infos.join("|").toStdString();

        // The shelf split its region in two, the newest regions: the drawer goes into
        // the upper part, the door into the lower one.
        const int regions = int(form.Cabinet->Regions().size());
        ASSERT_GE(regions, 2);
        int upper = regions - 2, lower = regions - 1;
        if (form.Cabinet->GetRegion(upper).Top > form.Cabinet->GetRegion(lower).Top)
            std::swap(upper, lower);
        ExpectModal<TfrmChouTi>([](TfrmChouTi& d) {
            d.btnSelClick();
            d.Button1Click();
            d.btnOKClick();
        });
        ExpectMaterial();
        ExpectMaterial();
        form.lstRegSelect(upper);
        form.ToolClick(kDrawer);
        form.imgPnlMouseUp(300, 300);
        ASSERT_EQ(form.Cabinet->CTS().size(), 1u);
        ASSERT_TRUE(modalScript.empty());

        ExpectModal<TfrmDkM>([](TfrmDkM& d) {
            d.btnSelClick();
            d.btnOKClick();
        });
        ExpectMaterial();
        form.lstRegSelect(lower);
        form.ToolClick(kDoor);
        form.imgPnlMouseUp(300, 300);
        ASSERT_EQ(form.Cabinet->MBS().size(), 1u);
        ASSERT_TRUE(modalScript.empty());
        form.tlSaveClick();
        EXPECT_TRUE(form.IsOK);
    }

    // Writes a report through the main window's command into name.xls in the test's
    // folder and returns the file's path.
    QString Report(void (TfrmMain::*command)(), const QString& name) {
        saveRequests.clear();
        saveAnswer = dir.filePath(name + ".xls");
        // 开料图 shows the layouts first; the spreadsheet report is written from there.
        if (command == &TfrmMain::tlCutRptClick)
            ExpectModal<TfrmLayoutView>([](TfrmLayoutView& view) { view.btnXlsClick(); });
        (main.get()->*command)();
        EXPECT_EQ(saveRequests.size(), 1u) << name.toStdString();
        return saveAnswer;
    }

    std::unique_ptr<TfrmMain> main;
};

TEST_F(OrderRoadTest, MaterialOrderPositionOptimizationAndReports) {
    // 1. A raw material in a new category through 材料管理.
    ExpectModal<TfrmWuLiao>([this](TfrmWuLiao& window) {
        ExpectModal<TfrmCateAdd>([](TfrmCateAdd& add) {
            add.txtCateName->setText("板材");
            add.btnOKClick();
        });
        window.tlCateAddClick();
        ASSERT_EQ(window.RootNode()->childCount(), 1);
        window.treeCate->clearSelection();
        window.RootNode()->child(0)->setSelected(true);
        ExpectModal<TfrmYlAdd>([](TfrmYlAdd& add) {
            add.txtYlCode->setText("M18");
            add.txtYlName->setText("白色颗粒板");
            add.txtLength->setText("2440");
            add.txtWidth->setText("1220");
            add.txtHoudu->setText("18");
            add.txtColor->setText("白");
            add.btnOKClick();
            // The dialog stays open for the next one: a thinner sheet for backs.
            add.txtYlCode->setText("M5");
            add.txtYlName->setText("白色背板");
            add.txtLength->setText("2440");
            add.txtHoudu->setText("5");
            add.btnOKClick();
        });
        window.tlYlAddClick();
    });
    main->tlWuLiaoClick();
    ASSERT_TRUE(modalScript.empty());
    ASSERT_EQ(Count("SELECT count(*) FROM FCl"), 2);

    // 2. A new order becomes the open one.
    ExpectModal<TfrmProAdd>([](TfrmProAdd& add) {
        add.txtProCode->setText("D-001");
        add.txtProName->setText("厨房");
        add.btnOKClick();
    });
    main->tlNewProClick();
    ASSERT_TRUE(modalScript.empty());
    ASSERT_EQ(main->proID.size(), 12);

    // 3. A position: outline, one cabinet designed in the single-cabinet designer.
    ExpectModal<TfrmDesCbs>([this](TfrmDesCbs& w) {
        EXPECT_EQ(w.proID, main->proID);
        w.SetCell(0, "A01");
        w.SetCell(1, "800");
        w.SetCell(2, "550");
        w.SetCell(3, "720");
        ASSERT_TRUE(w.CBS);
        w.Redraw();
        const QPoint p(w.pos.x() + int(400 / w.dv), w.pos.y() + int(360 / w.dv));
        w.imgPnlMouseDown(p.x(), p.y());
        w.ToolClick(TfrmDesCbs::kAddCabinet);
        ExpectModal<TfrmDesign>([this](TfrmDesign& form) { DesignCabinet(form); });
        w.imgPnlMouseUp(p.x(), p.y());
        ASSERT_EQ(w.CBS->CBS().size(), 1u);
        // A position belongs to a customer: the new user adds one from the chooser.
        ExpectModal<TfrmCustomer>([this](TfrmCustomer& list) {
            ExpectModal<TfrmCustAdd>([](TfrmCustAdd& add) {
                add.txtCustName->setText("张三");
                add.btnOKClick();
            });
            list.tlAddClick();
            ASSERT_EQ(list.sgCustomer->rowCount(), 1);
            list.sgCustomer->setCurrentCell(0, 0);
            list.tlSelClick();
        });
        w.btnCustSelClick();
        EXPECT_EQ(w.txtCustName->text(), "张三");
        w.tlSaveClick();
        EXPECT_TRUE(w.IsOk);
    });
    prompt.infos.clear();
    main->tlDesignClick();
    ASSERT_TRUE(modalScript.empty());
    EXPECT_EQ(prompt.infos, QStringList{"保存成功！"});

    // The main window lists the position with a thumbnail and its area and fees.
    ASSERT_EQ(main->lstWins->count(), 1);
    EXPECT_FALSE(main->lstWins->item(0)->icon().isNull());
    EXPECT_EQ(main->lstWins->item(0)->text(), "A01-800×550×720×1");
    EXPECT_EQ(main->StatusText(2), "当前共： 1 个柜体！");
    EXPECT_EQ(main->sgProperty->item(1, 1)->text(), "0.6㎡");
    const int panels = Count("SELECT count(*) FROM FProCl WHERE proID='" + main->proID + "'");
    EXPECT_GE(panels, 6);
    EXPECT_EQ(Count("SELECT count(*) FROM FProCl WHERE proID='" + main->proID +
                    "' AND thick=5 AND clName='背板'"),
              1);

    // 4. The optimization of the order runs to its end and stores the layout.
    ExpectModal<TfrmOptBl>([this](TfrmOptBl& dialog) {
        dialog.Seed = 7;
        dialog.FormShow();
        ASSERT_EQ(dialog.lstBlYp->topLevelItemCount(), 2);
        for (int run = 0; run < 2; ++run)  // one search per material
            ExpectModal<TfrmCulcControler>([](TfrmCulcControler& window) {
                bool closed = false;
                QObject::connect(&window, &QDialog::finished, &window,
                                 [&closed] { closed = true; });
                while (!closed)
                    QCoreApplication::processEvents(QEventLoop::AllEvents |
                                                    QEventLoop::WaitForMoreEvents);
            });
        dialog.btnOKClick();
    });
    prompt.infos.clear();
    main->tlOptClick();
    ASSERT_TRUE(modalScript.empty());
    EXPECT_EQ(prompt.infos, QStringList{"板材切割优化排样方案计算完毕！"});
    // Both materials keep their layout: the workshop cuts both.
    EXPECT_EQ(Count("SELECT count(*) FROM FProBCCut WHERE proID='" + main->proID + "'"), 2);

    // 5. Every report of the main window is written as a workbook.
    main->lstWins->item(0)->setSelected(true);
    prompt.infos.clear();
    const QString panelList = Report(&TfrmMain::mnuPanelRptClick, "panels");
    // One workbook under the chosen name, one sheet per material.
    const QString cutting = Report(&TfrmMain::tlCutRptClick, "cut");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("cut_1.xls")));
    QString readError;
    const QJsonObject cutBook = kelm::test::ReadXlsFile(cutting, &readError);
    EXPECT_TRUE(readError.isEmpty()) << readError.toStdString();
    EXPECT_EQ(cutBook["sheets"].toArray().size(), 2);
    const QString sizes = Report(&TfrmMain::tlSizeRptClick, "size");
    const QString drawing = Report(&TfrmMain::mnuDrawRptClick, "drawing");
    EXPECT_EQ(prompt.infos.size(), 4) << prompt.infos.join("|").toStdString();
    for (const QString& path : {panelList, cutting, sizes, drawing}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_GT(QFileInfo(path).size(), 0);
        EXPECT_TRUE(IsCompoundDocument(path));
        bool named = false;
        for (const QString& info : prompt.infos) named = named || info.contains(path);
        EXPECT_TRUE(named) << prompt.infos.join("|").toStdString();
    }

    // 6. The layout viewer: both materials; the diagrams' PDF has a page per layout; the
    // labels' barcodes, read back by a real reader, name every piece of every panel row once.
    TfrmLayoutView view(main->proID);
    ASSERT_EQ(view.layouts.size(), 2u);
    EXPECT_EQ(view.tvLayouts->topLevelItemCount(), 2);
    ASSERT_FALSE(view.pages.empty());
    saveAnswer = dir.filePath("layouts.pdf");
    view.btnPdfClick();
    EXPECT_EQ(outputtest::PdfPages(saveAnswer), static_cast<int>(view.pages.size()));
    saveAnswer = dir.filePath("labels.pdf");
    view.cbLabelSize->setCurrentIndex(3);  // A4 sheets of 3 × 8
    view.btnLabelsClick();
    QStringList codes;
    for (const QString& png : outputtest::PdfToPngs(saveAnswer, dir.path(), 300)) codes << outputtest::Decode(png);
    int pieces = 0;
    for (const auto& page : view.pages) pieces += static_cast<int>(page.Layout.EleList.size()) * page.Layout.RawCount;
    EXPECT_EQ(codes.size(), pieces);
    EXPECT_EQ(codes.removeDuplicates(), 0);
    // Each label: the panel list's 条码 identifier of its row, "-", the piece's number.
    std::map<QString, int> perRow;
    for (const QString& code : codes) {
        const int dash = code.lastIndexOf('-');
        ASSERT_GT(dash, 0) << code.toStdString();
        EXPECT_TRUE(code.startsWith(main->proID + "-")) << code.toStdString();
        ++perRow[code.left(dash)];
    }
    const std::map<QString, QString> identifiers = kelm::OrderPartBarcodes(main->proID);
    auto rows = data->OpenQuery("SELECT ID, clCount FROM FProCl WHERE proID='" + main->proID + "'");
    int rowCount = 0;
    while (rows->next()) {
        ++rowCount;
        const QString id = identifiers.at(rows->value(0).toString());
        EXPECT_EQ(perRow[id], rows->value(1).toInt()) << "row " << id.toStdString();
    }
    EXPECT_GT(rowCount, 0);
}
