// The optimization dialog and its progress window on a temp database: which materials
// and panels a batch gathers, runs to completion that store the order's best layout,
// accept and cancel during a run, and what the progress window shows.

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "documents/UnitFileOpt.h"
#include "optimizer/UnitD2RectOffcuts.h"
#include "ui/UiTestSupport.h"
#include "ui/optimize/ULayoutView.h"
#include "ui/optimize/UOptBl.h"
#include "ui/optimize/UnitCulcControler.h"
#include "ui/orders/UnitMainLinks.h"

namespace {
const QString kOrder = QStringLiteral("240101000001");

// Runs the progress window's events until it closes; poll is called after each batch of
// events and may play the user's part (accept, cancel).
void RunUntilClosed(TfrmCulcControler& window, const std::function<void()>& poll = {}) {
    bool closed = false;
    QObject::connect(&window, &QDialog::finished, &window, [&closed] { closed = true; });
    while (!closed) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        if (poll && !closed) poll();
    }
}
}  // namespace

class OptBlTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        AddOrder(kOrder, "A", "甲");
        SetSettings(0, 0);
    }

    void SetSettings(int optT1, double blade) {
        Exec("UPDATE FSysSet SET OptT1=:o,blade=:b",
             {{"o", QString::number(optT1)}, {"b", QString::number(blade)}});
    }

    QString AddMaterial(const QString& name, double length, double width, double thick) {
        Exec(
            "INSERT INTO FCl(cateID,ylCode,ylName,length,width,houdu,color,bz) "
            "VALUES(1,'',:n,:l,:w,:h,'','')",
            {{"n", name},
             {"l", QString::number(length)},
             {"w", QString::number(width)},
             {"h", QString::number(thick)}});
        auto query = data->OpenQuery("SELECT max(ylID) FROM FCl");
        return query->next() ? query->value(0).toString() : QString();
    }

    void AddPanel(const QString& clID, const QString& name, double length, double width,
                  double count, const QString& wl, const QString& proID = kOrder) {
        Exec(
            "INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount,wl,"
            "flag,shape) VALUES(:p,'w1','G1',:c,:n,:l,:w,18,:k,:wl,'','')",
            {{"p", proID},
             {"c", clID},
             {"n", name},
             {"l", QString::number(length)},
             {"w", QString::number(width)},
             {"k", QString::number(count)},
             {"wl", wl}});
    }

    std::unique_ptr<TfrmOptBl> NewDialog(const QString& proID = kOrder) {
        auto dialog = std::make_unique<TfrmOptBl>();
        dialog->proID = proID;
        dialog->Seed = 7;
        dialog->FormShow();
        return dialog;
    }

    // The next progress window runs until the search hands over its result.
    void ExpectRunToEnd(std::function<void(TfrmCulcControler&)> check = {}) {
        ExpectModal<TfrmCulcControler>([check](TfrmCulcControler& window) {
            RunUntilClosed(window);
            if (check) check(window);
        });
    }

    struct Stored {
        int rows = 0;
        QString bcID;
        double uli = 0;
        int cutC = 0;
        QString pyID;
    };
    Stored StoredLayout() {
        Stored s;
        auto query = data->OpenQuery("SELECT pyID,bcID,uli,cutC FROM FProBCCut WHERE proID='" +
                                     kOrder + "'");
        while (query->next()) {
            ++s.rows;
            s.pyID = query->value(0).toString();
            s.bcID = query->value(1).toString();
            s.uli = query->value(2).toDouble();
            s.cutC = query->value(3).toInt();
        }
        return s;
    }

    static QStringList Row(const QTreeWidgetItem* item) {
        QStringList texts;
        for (int c = 0; c < item->columnCount(); ++c) texts << item->text(c);
        return texts;
    }

    static void SelectMaterial(TfrmOptBl& dialog, int row) {
        dialog.lstBlYp->setCurrentItem(dialog.lstBlYp->topLevelItem(row));
    }
};

TEST_F(OptBlTest, ListsTheOrdersMaterialsByThicknessAllChecked) {
    const QString thick = AddMaterial("白橡", 2440, 1220, 18);
    const QString thin = AddMaterial("背板", 2440, 1220, 5);
    const QString unused = AddMaterial("胡桃", 2440, 1220, 25);
    AddPanel(thick, "侧板", 720, 560, 2, "1");
    AddPanel(thick, "顶板", 800, 560, 1, "1");
    AddPanel(thin, "背板", 780, 700, 1, "0");
    AddPanel(unused, "侧板", 720, 560, 2, "1", "240101000099");  // another order

    auto dialog = NewDialog();
    EXPECT_EQ(dialog->windowTitle(), "板材切割排样优化");
    ASSERT_EQ(dialog->lstBlYp->topLevelItemCount(), 2);
    EXPECT_EQ(Row(dialog->lstBlYp->topLevelItem(0)),
              (QStringList{"", thin, "背板", "2440", "1220", "5"}));
    EXPECT_EQ(Row(dialog->lstBlYp->topLevelItem(1)),
              (QStringList{"", thick, "白橡", "2440", "1220", "18"}));
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(dialog->lstBlYp->topLevelItem(i)->checkState(0), Qt::Checked);
    EXPECT_EQ(dialog->lstBlList->topLevelItemCount(), 0);
}

TEST_F(OptBlTest, SelectingAMaterialListsItsPanelsSummedPerSizeAndGrain) {
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    const QString other = AddMaterial("背板", 2440, 1220, 5);
    AddPanel(board, "侧板", 720, 560, 2, "1");
    AddPanel(board, "侧板", 720, 560, 3, "1");  // same size from another cabinet
    AddPanel(board, "侧板", 720, 560, 1, "0");  // other grain: its own row
    AddPanel(board, "层板", 764.5, 540, 4, "2");
    AddPanel(other, "背板", 780, 700, 1, "0");

    auto dialog = NewDialog();
    SelectMaterial(*dialog, 1);  // 18 mm
    ASSERT_EQ(dialog->lstBlList->topLevelItemCount(), 3);
    EXPECT_EQ(Row(dialog->lstBlList->topLevelItem(0)),
              (QStringList{"1", "侧板", "720", "560", "1", "0"}));
    EXPECT_EQ(Row(dialog->lstBlList->topLevelItem(1)),
              (QStringList{"2", "侧板", "720", "560", "5", "1"}));
    EXPECT_EQ(Row(dialog->lstBlList->topLevelItem(2)),
              (QStringList{"3", "层板", "764.5", "540", "4", "2"}));
    EXPECT_TRUE(dialog->lstBlList->isColumnHidden(TfrmOptBl::colBlGrain));

    SelectMaterial(*dialog, 0);
    ASSERT_EQ(dialog->lstBlList->topLevelItemCount(), 1);
    EXPECT_EQ(dialog->lstBlList->topLevelItem(0)->text(1), "背板");
}

TEST_F(OptBlTest, OrderKeyWithAQuoteIsBoundNotSpliced) {
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    const QString order = "24'01";
    AddOrder(order, "B", "乙");
    AddPanel(board, "侧板", 720, 560, 2, "1", order);
    auto dialog = NewDialog(order);
    ASSERT_EQ(dialog->lstBlYp->topLevelItemCount(), 1);
    SelectMaterial(*dialog, 0);
    EXPECT_EQ(dialog->lstBlList->topLevelItemCount(), 1);
    EXPECT_TRUE(prompt.infos.isEmpty()) << prompt.infos.join("|").toStdString();
}

TEST_F(OptBlTest, PartListFollowsTheGrainCode) {
    struct Case {
        const char* wl;
        double listedLength, listedWidth;
        int rotation;
        double length, width;
    };
    // A sheet's grain runs along its length: a plain part may turn, a grained one
    // enters with its grain along the sheet and never turns; a code we do not know
    // is taken as grained.
    const Case cases[] = {{"0", 720, 560, 1, 720, 560}, {"0", 560, 720, 1, 560, 720},
                          {"1", 720, 560, 0, 720, 560}, {"1", 560, 720, 0, 560, 720},
                          {"2", 720, 560, 0, 560, 720}, {"2", 560, 720, 0, 720, 560},
                          {"9", 720, 560, 0, 720, 560}, {"", 720, 560, 0, 720, 560}};
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    int n = 0;
    for (const Case& c : cases)
        AddPanel(board, QString("P%1").arg(++n), c.listedLength, c.listedWidth, 3, c.wl);

    auto dialog = NewDialog();
    SelectMaterial(*dialog, 0);
    ASSERT_TRUE(dialog->SetEleArr());
    ASSERT_EQ(dialog->eleArr.size(), std::size(cases));
    for (size_t i = 0; i < dialog->eleArr.size(); ++i) {
        const TD2REle& e = dialog->eleArr[i];
        const QString name = dialog->lstBlList->topLevelItem(int(i))->text(1);
        const Case& c = cases[name.mid(1).toInt() - 1];
        SCOPED_TRACE(name.toStdString() + " wl " + c.wl);
        EXPECT_EQ(e.XH, int(i) + 1);
        EXPECT_EQ(e.Count, 3);
        EXPECT_EQ(e.Rotation, c.rotation);
        EXPECT_EQ(e.Length, c.length);
        EXPECT_EQ(e.Width, c.width);
        EXPECT_TRUE(e.Demo.isEmpty());
    }
}

TEST_F(OptBlTest, GrainedPartsNeverTurnInTheStoredLayout) {
    // Parts that would fill the sheet better turned: the grained ones stay as their
    // grain says, the plain ones are free. The tall grained door cannot lie on the
    // sheet with its grain along it, so it stays uncut rather than turn.
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    AddPanel(board, "横纹", 300, 1100, 6, "1");  // grain along 300: lies 300 along the sheet
    AddPanel(board, "竖纹", 1100, 300, 6, "2");  // grain along 300 as well
    AddPanel(board, "无纹", 300, 1100, 4, "0");
    AddPanel(board, "高门", 1000, 2000, 1, "1");
    auto dialog = NewDialog();
    ExpectRunToEnd();
    dialog->btnOKClick();
    const Stored s = StoredLayout();
    ASSERT_EQ(s.rows, 1);
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ASSERT_TRUE(TD2File().OpenFile(s.pyID, raws, eles, schame, prm));
    QMap<QString, int> pieces;
    for (const TD2RGene& g : schame) {
        for (const TRectEle& e : g.EleList) {
            pieces[e.Name] += g.RawCount;
            if (e.Name == "无纹") continue;
            SCOPED_TRACE(e.Name.toStdString());
            EXPECT_EQ(e.Length, 300);  // along the sheet's length, as the grain runs
            EXPECT_EQ(e.Width, 1100);
        }
    }
    EXPECT_EQ(pieces["横纹"], 6);
    EXPECT_EQ(pieces["竖纹"], 6);
    EXPECT_EQ(pieces["无纹"], 4);
    EXPECT_EQ(pieces["高门"], 0);
    for (const TD2REle& e : eles) EXPECT_EQ(e.Rotation, e.Name == "无纹" ? 1 : 0) << e.Name.toStdString();
}

TEST_F(OptBlTest, RawListIsTheSelectedCheckedMaterialOnly) {
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    AddPanel(board, "侧板", 720, 560, 2, "1");
    auto dialog = NewDialog();
    SelectMaterial(*dialog, 0);
    dialog->SetRawArr();
    ASSERT_EQ(dialog->rawArr.size(), 1u);
    const TD2RRaw& raw = dialog->rawArr[0];
    EXPECT_EQ(raw.XH, 1);
    EXPECT_EQ(raw.DbID, board);
    EXPECT_EQ(raw.Length, 2440);
    EXPECT_EQ(raw.Width, 1220);
    EXPECT_EQ(raw.Count, 99999999);
    EXPECT_EQ(raw.Price, 1.0);
    EXPECT_EQ(raw.Prio, 0);
    EXPECT_TRUE(raw.Name.isEmpty());

    dialog->mnuUnSelAllClick();
    EXPECT_EQ(dialog->lstBlYp->topLevelItem(0)->checkState(0), Qt::Unchecked);
    dialog->SetRawArr();
    EXPECT_TRUE(dialog->rawArr.empty());
    dialog->mnuSelAllClick();
    EXPECT_EQ(dialog->lstBlYp->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(dialog->mnuSelAll->text(), "全选(&A)");
    EXPECT_EQ(dialog->mnuUnSelAll->text(), "全反选");
}

TEST_F(OptBlTest, ParametersTakeGenerationsAndKerfFromTheSettings) {
    struct Case {
        int optT1;
        int generations;
    };
    const Case cases[] = {{0, 15}, {1, 30}, {2, 60}, {5, 30}, {-1, 30}};
    for (const Case& c : cases) {
        SetSettings(c.optT1, 4.5);
        auto dialog = NewDialog();
        dialog->SetPrm();
        EXPECT_EQ(dialog->prm.OptTime, c.generations) << c.optT1;
        EXPECT_EQ(dialog->prm.BladeWidth, 4.5);
        EXPECT_EQ(dialog->prm.Priority, TD2RPriority::Uti);
        EXPECT_EQ(dialog->prm.FirstCut, TD2RFirstCut::HV);
        EXPECT_EQ(dialog->prm.LayStyle, TD2RLayStyle::regular);
        EXPECT_EQ(dialog->prm.Bin.Length, 100);
        EXPECT_EQ(dialog->prm.Bin.Width, 100);
        EXPECT_EQ(dialog->prm.Edg.Top + dialog->prm.Edg.Left + dialog->prm.Edg.Bottom +
                      dialog->prm.Edg.Right,
                  0);
        EXPECT_EQ(dialog->prm.lingyin, 1);
        EXPECT_EQ(dialog->prm.wucha, 0);
    }
    SetSettings(0, -3);
    auto dialog = NewDialog();
    dialog->SetPrm();
    EXPECT_EQ(dialog->prm.BladeWidth, 0);

    // The trim margins of the settings; a negative one (only a damaged file holds one)
    // keeps nothing free.
    Exec("UPDATE FSysSet SET trimT=10,trimB=20,trimL=30,trimR=-5");
    dialog = NewDialog();
    dialog->SetPrm();
    EXPECT_EQ(dialog->prm.Edg.Top, 10);
    EXPECT_EQ(dialog->prm.Edg.Bottom, 20);
    EXPECT_EQ(dialog->prm.Edg.Left, 30);
    EXPECT_EQ(dialog->prm.Edg.Right, 0);
}

TEST_F(OptBlTest, TrimMarginsStayFreeOnEverySheet) {
    Exec("UPDATE FSysSet SET trimT=15,trimB=25,trimL=35,trimR=45");
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    AddPanel(board, "侧板", 720, 560, 5, "0");
    AddPanel(board, "层板", 600, 380, 6, "1");
    auto dialog = NewDialog();
    ExpectRunToEnd();
    dialog->btnOKClick();
    const Stored s = StoredLayout();
    ASSERT_EQ(s.rows, 1);
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ASSERT_TRUE(TD2File().OpenFile(s.pyID, raws, eles, schame, prm));
    EXPECT_EQ(prm.Edg.Top, 15);
    EXPECT_EQ(prm.Edg.Right, 45);
    int placed = 0;
    for (const TD2RGene& g : schame) {
        for (const TRectEle& e : g.EleList) {
            placed += g.RawCount;
            EXPECT_GE(e.px, 35 - 1e-9);
            EXPECT_GE(e.py, 15 - 1e-9);
            EXPECT_LE(e.px + e.Length, g.RawLength - 45 + 1e-9);
            EXPECT_LE(e.py + e.Width, g.RawWidth - 25 + 1e-9);
        }
    }
    EXPECT_EQ(placed, 11);
}

TEST_F(OptBlTest, RunToCompletionStoresTheLayoutWithItsKerf) {
    SetSettings(0, 5);
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    AddPanel(board, "侧板", 720, 560, 4, "1");
    AddPanel(board, "层板", 764, 540, 3, "2");
    auto dialog = NewDialog();
    ExpectRunToEnd([](TfrmCulcControler& window) {
        EXPECT_EQ(window.ProgressBar1->maximum(), 15);
        EXPECT_EQ(window.ProgressBar1->value(), 15);
        EXPECT_EQ(window.ProgressBar2->value(), 30);
        EXPECT_TRUE(window.Label5->text().contains("%:")) << window.Label5->text().toStdString();
    });
    dialog->btnOKClick();
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(opened, QStringList{"TfrmCulcControler"});
    EXPECT_EQ(prompt.infos, QStringList{"板材切割优化排样方案计算完毕！"});
    EXPECT_EQ(dialog->ProgressBar1->value(), 1);
    EXPECT_EQ(dialog->ProgressBar1->maximum(), 1);
    EXPECT_EQ(dialog->d2Ga, nullptr);

    const Stored s = StoredLayout();
    ASSERT_EQ(s.rows, 1);
    EXPECT_EQ(s.bcID, board);
    EXPECT_GT(s.uli, 0);
    EXPECT_GE(s.cutC, 1);

    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ASSERT_TRUE(TD2File().OpenFile(s.pyID, raws, eles, schame, prm));
    EXPECT_EQ(prm.BladeWidth, 5);
    int placed = 0;
    for (const TD2RGene& g : schame) {
        placed += int(g.EleList.size()) * g.RawCount;
        for (const TRectEle& e : g.EleList) {
            EXPECT_LE(e.px + e.Length, g.RawLength + 1e-9);
            EXPECT_LE(e.py + e.Width, g.RawWidth + 1e-9);
        }
        // Parts side by side keep at least a kerf between them.
        for (size_t i = 0; i < g.EleList.size(); ++i)
            for (size_t j = i + 1; j < g.EleList.size(); ++j) {
                const TRectEle& a = g.EleList[i];
                const TRectEle& b = g.EleList[j];
                const bool apart =
                    a.px + a.Length + 5 <= b.px + 1e-9 || b.px + b.Length + 5 <= a.px + 1e-9 ||
                    a.py + a.Width + 5 <= b.py + 1e-9 || b.py + b.Width + 5 <= a.py + 1e-9;
                EXPECT_TRUE(apart) << i << " " << j;
            }
    }
    EXPECT_EQ(placed, 7);
}

TEST_F(OptBlTest, UncheckedMaterialIsSkippedAndEachCheckedOneKeepsItsLayout) {
    // A sheet filled exactly by four parts is better than a sheet holding one small
    // part, but both materials need cutting: each keeps its own layout.
    const QString poor = AddMaterial("白橡", 2440, 1220, 5);
    const QString skipped = AddMaterial("胡桃", 2440, 1220, 9);
    const QString exact = AddMaterial("背板", 1000, 1000, 18);
    AddPanel(poor, "侧板", 300, 200, 1, "1");
    AddPanel(skipped, "侧板", 300, 200, 1, "1");
    AddPanel(exact, "背板", 500, 500, 4, "0");
    auto dialog = NewDialog();
    dialog->lstBlYp->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    ExpectRunToEnd();
    ExpectRunToEnd();
    dialog->btnOKClick();
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(opened, (QStringList{"TfrmCulcControler", "TfrmCulcControler"}));
    EXPECT_EQ(dialog->ProgressBar1->value(), 2);
    EXPECT_EQ(dialog->ProgressBar1->maximum(), 3);
    const Stored s = StoredLayout();
    ASSERT_EQ(s.rows, 2);
    EXPECT_EQ(s.bcID, exact);  // the last row written
    EXPECT_DOUBLE_EQ(s.uli, 100);
    EXPECT_EQ(s.cutC, 1);
    EXPECT_EQ(Count("SELECT count(*) FROM FProBCCut WHERE bcID=" + poor), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM FProBCCut WHERE bcID=" + skipped), 0);
}

TEST_F(OptBlTest, StartingABatchForgetsTheOrdersEarlierLayout) {
    const QString board = AddMaterial("背板", 1000, 1000, 18);
    AddPanel(board, "背板", 300, 200, 1, "0");
    Exec("INSERT INTO FProBCCut(proID,bcID,uli,cutC,cutFA) VALUES(:p,1,99,1,'')", {{"p", kOrder}});
    auto dialog = NewDialog();
    ExpectRunToEnd();
    dialog->btnOKClick();
    const Stored s = StoredLayout();
    ASSERT_EQ(s.rows, 1);
    EXPECT_EQ(s.bcID, board);
    EXPECT_LT(s.uli, 99);
}

TEST_F(OptBlTest, CancelDuringTheFirstMaterialStoresNothingAndEndsTheBatch) {
    SetSettings(2, 0);
    QString ids[3];
    for (int i = 0; i < 3; ++i) {
        ids[i] = AddMaterial(QString("M%1").arg(i), 2440, 1220, 10 + i);
        AddPanel(ids[i], "侧板", 720, 560, 6, "1");
    }
    auto dialog = NewDialog();
    ExpectModal<TfrmCulcControler>([&](TfrmCulcControler& window) {
        RunUntilClosed(window, [&] {
            if (window.ProgressBar2->value() >= 1) window.Label3Click();
        });
        EXPECT_LT(window.ProgressBar1->value(), window.ProgressBar1->maximum());
        // While the cancelled search is still awaited the dialog neither closes nor
        // starts a second batch.
        EXPECT_TRUE(dialog->IsRunning());
        EXPECT_FALSE(dialog->btnOK->isEnabled());
        dialog->reject();
        dialog->btnOKClick();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(opened.size(), 1);
    });
    dialog->show();
    dialog->btnOKClick();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->IsRunning());
    EXPECT_TRUE(dialog->btnOK->isEnabled());
    EXPECT_TRUE(dialog->isStop);
    EXPECT_EQ(opened, QStringList{"TfrmCulcControler"});
    EXPECT_EQ(prompt.infos, QStringList{"板材切割优化排样方案计算完毕！"});
    EXPECT_EQ(dialog->ProgressBar1->value(), 1);
    EXPECT_EQ(StoredLayout().rows, 0);
    EXPECT_EQ(dialog->d2Ga, nullptr);
}

TEST_F(OptBlTest, AcceptEndsTheRunWithItsBestResultAndTheBatchGoesOn) {
    SetSettings(2, 0);
    const QString first = AddMaterial("白橡", 2440, 1220, 18);
    const QString second = AddMaterial("背板", 2440, 1220, 25);
    AddPanel(first, "侧板", 720, 560, 6, "1");
    AddPanel(second, "侧板", 720, 560, 6, "1");
    auto dialog = NewDialog();
    bool accepted = false;
    ExpectModal<TfrmCulcControler>([&](TfrmCulcControler& window) {
        RunUntilClosed(window, [&] {
            if (!accepted && window.ProgressBar1->value() >= 1) {
                accepted = true;
                window.Image2Click();
            }
        });
        // The run stopped early: far fewer than the 60 generations were done.
        EXPECT_EQ(window.ProgressBar1->maximum(), 60);
        EXPECT_LE(window.ProgressBar1->value(), 3);
    });
    ExpectModal<TfrmCulcControler>([&](TfrmCulcControler& window) {
        RunUntilClosed(window, [&] {
            if (window.ProgressBar1->value() >= 1) window.Label2Click();
        });
    });
    dialog->btnOKClick();
    EXPECT_TRUE(accepted);
    EXPECT_FALSE(dialog->isStop);
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(dialog->ProgressBar1->value(), 2);
    const Stored s = StoredLayout();
    ASSERT_EQ(s.rows, 2);  // both materials' results are kept
    EXPECT_GT(s.uli, 0);
    EXPECT_EQ(prompt.infos, QStringList{"板材切割优化排样方案计算完毕！"});
}

TEST_F(OptBlTest, DeepClassShowsSheetsAndBoundAndAcceptKeepsTheBestSoFar) {
    // 深度计算 runs the deep search. Three 700 × 700 parts each need a sheet of their own
    // and leave strips of 300 beside them, so the five 400 × 400 parts need two more
    // sheets; the bound says one more, so the search runs on until it is accepted. The
    // window shows the best count and the bound; accept keeps the best scheme so far.
    SetSettings(2, 0);
    Exec("UPDATE FSysSet SET deepSec=30");  // the settings' time per material
    const QString board = AddMaterial("白橡", 1000, 1000, 18);
    AddPanel(board, "门板", 700, 700, 3, "0");
    AddPanel(board, "抽面", 400, 400, 5, "0");
    auto dialog = NewDialog();
    QString shown;
    bool accepted = false;
    ExpectModal<TfrmCulcControler>([&](TfrmCulcControler& window) {
        RunUntilClosed(window, [&] {
            if (!accepted && !window.lblDeep->isHidden()) {
                shown = window.lblDeep->text();
                ASSERT_NE(dialog->d2Deep, nullptr);
                EXPECT_EQ(dialog->d2Deep->Options().TimeLimit, 30);
                accepted = true;
                window.Image2Click();
            }
        });
    });
    dialog->btnOKClick();
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(shown.contains(QStringLiteral("下界："))) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("当前最优："))) << shown.toStdString();
    EXPECT_EQ(dialog->d2Deep, nullptr);
    const Stored s = StoredLayout();
    ASSERT_EQ(s.rows, 1);
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ASSERT_TRUE(TD2File().OpenFile(s.pyID, raws, eles, schame, prm));
    int placed = 0;
    for (const TD2RGene& g : schame) placed += int(g.EleList.size()) * g.RawCount;
    EXPECT_EQ(placed, 8);  // a complete scheme, whenever the run was stopped
}

TEST_F(OptBlTest, DeepTimeOutsideWhatTheSettingsAcceptFallsBackToTenSeconds) {
    // A file edited by hand may hold any time; 0 would let the search run without end
    // (it is the search's "no limit"), so whatever the settings window would refuse
    // runs for the default 10 s.
    SetSettings(2, 0);
    const QString board = AddMaterial("白橡", 1000, 1000, 18);
    AddPanel(board, "门板", 700, 700, 3, "0");
    AddPanel(board, "抽面", 400, 400, 5, "0");
    for (const char* stored : {"0", "-5", "100000", "NULL"}) {
        SCOPED_TRACE(stored);
        Exec(QStringLiteral("UPDATE FSysSet SET deepSec=") + stored);
        auto dialog = NewDialog();
        double limit = -1;
        ExpectModal<TfrmCulcControler>([&](TfrmCulcControler& window) {
            RunUntilClosed(window, [&] {
                if (limit < 0 && dialog->d2Deep) {
                    limit = dialog->d2Deep->Options().TimeLimit;
                    window.Image2Click();
                }
            });
        });
        dialog->btnOKClick();
        EXPECT_EQ(limit, 10);
    }
}

TEST_F(OptBlTest, UnreadableSizeOrQuantityStopsTheBatchWithAMessage) {
    struct Case {
        const char* what;
        const char* fix;   // statement that spoils the data
        const char* name;  // named in the message
    };
    const Case cases[] = {
        {"quantity 2.5", "UPDATE FProCl SET clCount=2.5", "侧板"},
        {"panel without length", "UPDATE FProCl SET length=NULL", "侧板"},
        {"sheet without width", "UPDATE FCl SET width=NULL", "白橡"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* clear : {"DELETE FROM FProCl", "DELETE FROM FCl"}) {
            data->SetCommonSQL(clear);
            data->ExecCommon();  // nothing to delete the first time
        }
        const QString board = AddMaterial("白橡", 2440, 1220, 18);
        AddPanel(board, "侧板", 720, 560, 2, "1");
        Exec(c.fix);
        opened.clear();
        prompt.infos.clear();
        auto dialog = NewDialog();
        dialog->btnOKClick();
        EXPECT_TRUE(opened.isEmpty());
        ASSERT_EQ(prompt.infos.size(), 1);
        EXPECT_TRUE(prompt.infos[0].contains(c.name)) << prompt.infos[0].toStdString();
        EXPECT_FALSE(prompt.infos[0].contains("计算完毕"));
        EXPECT_EQ(StoredLayout().rows, 0);
        EXPECT_TRUE(dialog->btnOK->isEnabled());
    }
}

TEST_F(OptBlTest, MorePiecesThanOneRunTakesStopsTheBatchNamingTheLimit) {
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    AddPanel(board, "层板", 10, 10, 60000, "1");
    AddPanel(board, "背板", 20, 10, 40001, "1");
    auto dialog = NewDialog();
    dialog->btnOKClick();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(prompt.infos.size(), 1);
    EXPECT_EQ(prompt.infos[0], "“白橡”的板件共100001件，超过单次优化的上限100000件，优化计算已停止！");
    EXPECT_EQ(StoredLayout().rows, 0);
    EXPECT_TRUE(dialog->btnOK->isEnabled());
}

TEST_F(OptBlTest, RunThatPlacesNothingStoresNoLayout) {
    // The only part is larger than the sheet either way round.
    const QString board = AddMaterial("白橡", 1000, 500, 18);
    AddPanel(board, "侧板", 1200, 600, 1, "1");
    auto dialog = NewDialog();
    ExpectRunToEnd();
    dialog->btnOKClick();
    EXPECT_EQ(opened, QStringList{"TfrmCulcControler"});
    EXPECT_EQ(prompt.infos, QStringList{"板材切割优化排样方案计算完毕！"});
    EXPECT_EQ(StoredLayout().rows, 0);
}

TEST_F(OptBlTest, MainWindowOpensTheDialogForTheOrder) {
    ExpectModal<TfrmOptBl>([](TfrmOptBl& dialog) { EXPECT_EQ(dialog.proID, kOrder); });
    OpenOptimization(nullptr, kOrder);
    EXPECT_EQ(opened, QStringList{"TfrmOptBl"});
    EXPECT_TRUE(modalScript.empty());
}

TEST(CulcControlerTest, ShowsTimeProgressAndUtilisation) {
    TfrmCulcControler window;
    EXPECT_EQ(window.windowTitle(), "计算控制器");
    EXPECT_EQ(window.Label4->text(), "0.00");
    EXPECT_EQ(window.Label5->text(), "00.00%");
    EXPECT_EQ(window.ProgressBar2->maximum(), 30);
    EXPECT_EQ(window.Label2->text(), "接受方案，继续 ");
    EXPECT_EQ(window.Label3->text(), "取消本次计算");
    EXPECT_EQ(window.Timer1->interval(), 1000);
    EXPECT_TRUE(window.Timer1->isActive());

    struct Tick {
        int before;
        const char* shown;
    };
    const Tick ticks[] = {{0, "0:1"}, {58, "0:59"}, {59, "1:0"}, {64, "1:5"}, {3599, "60:0"}};
    for (const Tick& t : ticks) {
        window.tm = t.before;
        window.Timer1Timer();
        EXPECT_EQ(window.Label4->text(), t.shown) << t.before;
    }

    window.ProgressBar1->setRange(0, 15);
    SendD2RMessage(&window, WM_D2R_STEP, 7);
    EXPECT_EQ(window.ProgressBar2->value(), 7);
    SendD2RMessage(&window, WM_D2R_GEN, 0, "87.53%:4");
    SendD2RMessage(&window, WM_D2R_GEN, 0, "88.10%:4");
    EXPECT_EQ(window.ProgressBar1->value(), 2);
    EXPECT_EQ(window.Label5->text(), "88.10%:4");
}

TEST(CulcControlerTest, AcceptAndCancelReachTheDialogAndEscapeDoesNotClose) {
    TfrmOptBl dialog;
    TfrmCulcControler window;
    window.hd = &dialog;
    window.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &escape);
    EXPECT_TRUE(window.isVisible());

    window.Label2Click();  // accept: no run, nothing stops, the window stays
    EXPECT_FALSE(dialog.isStop);
    EXPECT_TRUE(window.isVisible());
    window.imgCancelClick();
    EXPECT_TRUE(dialog.isStop);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(OptBlTest, AfterARunTheStoredLayoutsOpenInTheViewer) {
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    AddPanel(board, "侧板", 720, 560, 4, "1");
    auto dialog = NewDialog();
    EXPECT_FALSE(dialog->btnView->isEnabled());  // nothing to show before a run
    ExpectRunToEnd([](TfrmCulcControler&) {});
    dialog->btnOKClick();
    ASSERT_TRUE(dialog->btnView->isEnabled());
    int layouts = -1;
    ExpectModal<TfrmLayoutView>([&layouts](TfrmLayoutView& view) { layouts = static_cast<int>(view.layouts.size()); });
    dialog->btnViewClick();
    EXPECT_TRUE(modalScript.empty());
    EXPECT_EQ(layouts, 1);
}

TEST_F(OptBlTest, ConfirmedCutKeepsItsOffcutsAndIsReplacedOnlyWhenTheUserSaysSo) {
    SetSettings(0, 4);
    const QString board = AddMaterial("白橡", 2440, 1220, 18);
    AddPanel(board, "侧板", 720, 560, 6, "1");
    AddPanel(board, "层板", 500, 300, 5, "0");
    auto dialog = NewDialog();
    EXPECT_FALSE(dialog->btnCutOK->isEnabled());  // nothing stored yet
    EXPECT_EQ(dialog->btnCutOK->text(), "确认开料");
    ExpectRunToEnd();
    dialog->btnOKClick();
    EXPECT_TRUE(dialog->btnCutOK->isEnabled());

    // The user thinks again: nothing is confirmed.
    prompt.answers = {false};
    dialog->btnCutOKClick();
    EXPECT_EQ(Count("SELECT count(*) FROM FProBCCut WHERE cutOK=1"), 0);
    prompt.answers = {true};
    prompt.infos.clear();
    dialog->btnCutOKClick();
    ASSERT_EQ(prompt.infos.size(), 1);
    EXPECT_TRUE(prompt.infos[0].startsWith("确认开料成功！")) << prompt.infos[0].toStdString();
    EXPECT_EQ(Count("SELECT count(*) FROM FProBCCut WHERE cutOK=1"), 1);
    const int kept = Count("SELECT count(*) FROM FYuLiao WHERE state=0 AND ylID=" + board);
    EXPECT_GT(kept, 0);
    EXPECT_FALSE(dialog->btnCutOK->isEnabled());

    // A new run asks first; on Cancel the cut layout stays.
    opened.clear();
    prompt.confirms.clear();
    prompt.answers = {false};
    dialog->btnOKClick();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(prompt.confirms.size(), 1);
    EXPECT_TRUE(prompt.confirms[0].contains("已确认开料")) << prompt.confirms[0].toStdString();
    EXPECT_EQ(Count("SELECT count(*) FROM FProBCCut WHERE cutOK=1"), 1);

    // The next order of the same material is offered the offcuts first.
    const QString next = "240101000002";
    AddOrder(next, "B", "乙");
    AddPanel(board, "抽屉面", 400, 250, 6, "0", next);
    auto second = NewDialog(next);
    SelectMaterial(*second, 0);
    second->SetRawArr();
    ASSERT_EQ(static_cast<int>(second->rawArr.size()), 1 + kept);
    EXPECT_EQ(second->rawArr[0].Prio, 0);
    for (size_t i = 1; i < second->rawArr.size(); ++i) {
        EXPECT_EQ(second->rawArr[i].Prio, 1);
        EXPECT_EQ(second->rawArr[i].DbID, board);
        EXPECT_FALSE(second->rawArr[i].Offcut.isEmpty());
    }
    ExpectRunToEnd();
    second->btnOKClick();
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    auto q = data->OpenQuery("SELECT pyID FROM FProBCCut WHERE proID='" + next + "'");
    ASSERT_TRUE(q->next());
    ASSERT_TRUE(TD2File().OpenFile(q->value(0).toString(), raws, eles, schame, prm));
    EXPECT_EQ(NewSheetCount(schame), 0);  // six small parts fit the first order's offcuts
    // The viewer names the offcut each layout lies on.
    TfrmLayoutView view(next);
    ASSERT_EQ(view.tvLayouts->topLevelItemCount(), 1);
    const QTreeWidgetItem* material = view.tvLayouts->topLevelItem(0);
    ASSERT_EQ(material->childCount(), static_cast<int>(schame.size()));
    for (int i = 0; i < material->childCount(); ++i)
        EXPECT_TRUE(material->child(i)->text(0).contains("余料" + schame[i].Offcut))
            << material->child(i)->text(0).toStdString();
}
