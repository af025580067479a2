// The layout viewer on a temp database: the stored layouts of an order by material, the
// panel behind a part, zoom and pan, the diagrams' PDF and the labels from the window, and
// an order without layouts.

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "documents/UnitFileOpt.h"
#include "optimizer/UnitD2Rect.h"
#include "output/OutputTestSupport.h"
#include "ui/UiTestSupport.h"
#include "ui/optimize/ULayoutView.h"

namespace {

const QString kOrder = QStringLiteral("240101000002");

class LayoutViewTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        AddOrder(kOrder, "K-17", "厨房");
        Exec("INSERT INTO FProWins(winID,proID,winPath,winCode,winCount,Width,Height,Depth,Maked,custID,custName,FengB) "
             "VALUES('w1',:p,'','W03',1,600,720,560,0,'','','四边封')",
             {{"p", kOrder}});
    }

    QString AddMaterial(const QString& name) {
        Exec("INSERT INTO FCl(cateID,ylCode,ylName,length,width,houdu,color,bz) VALUES(1,'',:n,2440,1220,18,'','')",
             {{"n", name}});
        auto q = data->OpenQuery("SELECT max(ylID) FROM FCl");
        return q->next() ? q->value(0).toString() : QString();
    }

    void AddPanel(const QString& clID, const QString& name, double l, double w, int count) {
        Exec("INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount,wl,flag,shape) "
             "VALUES(:p,'w1','地柜',:c,:n,:l,:w,18,:k,'0','','')",
             {{"p", kOrder},
              {"c", clID},
              {"n", name},
              {"l", QString::number(l)},
              {"w", QString::number(w)},
              {"k", QString::number(count)}});
    }

    // Optimises the material's panels as the dialog gathers them and stores the result.
    void StoreLayout(const QString& clID, const std::vector<std::tuple<QString, double, double, int>>& parts) {
        TD2RRaw raw;
        raw.XH = 1;
        raw.DbID = clID;
        raw.Length = 2440;
        raw.Width = 1220;
        raw.Count = 99999999;
        raw.Price = 1;
        TD2REleArr eles;
        for (const auto& [name, l, w, n] : parts) {
            TD2REle e;
            e.XH = static_cast<int>(eles.size()) + 1;
            e.Name = name;
            e.Length = l;
            e.Width = w;
            e.Count = n;
            e.Rotation = 1;  // grain code "0": the part may turn, as the optimization job lists it
            eles.push_back(e);
            AddPanel(clID, name, l, w, n);
        }
        TD2RPrm prm;
        prm.OptTime = 2;
        prm.BladeWidth = 4;
        TD2Rect rect({raw}, prm, eles, 5, 1);
        rect.Run();
        ASSERT_TRUE(TD2File().SaveToFile({raw}, eles, prm, rect.BestSchame, kOrder, clID));
    }
};

TEST_F(LayoutViewTest, ShowsEveryMaterialAndThePanelBehindAPart) {
    const QString white = AddMaterial("白色颗粒板");
    const QString oak = AddMaterial("橡木饰面板");
    StoreLayout(white, {{"侧板", 720, 560, 8}, {"顶板", 1164, 560, 3}});
    StoreLayout(oak, {{"门板", 716, 396, 5}});
    TfrmLayoutView view(kOrder);
    ASSERT_EQ(view.layouts.size(), 2u);
    ASSERT_EQ(view.tvLayouts->topLevelItemCount(), 2);
    EXPECT_EQ(view.tvLayouts->topLevelItem(0)->text(0), "白色颗粒板");
    EXPECT_EQ(view.tvLayouts->topLevelItem(1)->text(0), "橡木饰面板");
    int children = 0;
    for (int i = 0; i < 2; ++i) children += view.tvLayouts->topLevelItem(i)->childCount();
    EXPECT_EQ(children, static_cast<int>(view.pages.size()));
    EXPECT_TRUE(view.lblSummary->text().contains("K-17")) << view.lblSummary->text().toStdString();
    EXPECT_FALSE(view.lblSummary->text().contains("已开料"));
    // Once the cut is confirmed the summary says so.
    Exec("UPDATE FProBCCut SET cutOK=1 WHERE proID=:p", {{":p", kOrder}});
    view.LoadLayouts();
    EXPECT_TRUE(view.lblSummary->text().contains("已开料")) << view.lblSummary->text().toStdString();

    // The last material's first layout; hovering its first part names cabinet, position, banding.
    view.tvLayouts->setCurrentItem(view.tvLayouts->topLevelItem(1)->child(0));
    ASSERT_EQ(view.CurrentPage(), view.tvLayouts->topLevelItem(0)->childCount());
    view.PartHovered(0);
    const QString text = view.lblPart->text();
    EXPECT_TRUE(text.contains("门板")) << text.toStdString();
    EXPECT_TRUE(text.contains("地柜") && text.contains("W03") && text.contains("四边封")) << text.toStdString();

    // Zoom keeps the point under the cursor; 0 fits again.
    view.pbLayout->resize(700, 500);
    QImage frame(view.pbLayout->size(), QImage::Format_RGB32);
    view.pbLayout->render(&frame);  // paints, so the part map follows the picture
    // A point well inside a part: the same part 5 pixels around it.
    QPoint at;
    int before = -1;
    for (int y = 20; y < 480 && before < 0; y += 7)
        for (int x = 20; x < 680 && before < 0; x += 7) {
            const int p = view.pbLayout->PartAt({x, y});
            if (p >= 0 && view.pbLayout->PartAt({x - 5, y - 5}) == p && view.pbLayout->PartAt({x + 5, y + 5}) == p)
                before = p, at = QPoint(x, y);
        }
    ASSERT_GE(before, 0);
    view.pbLayout->ZoomBy(2, at);
    EXPECT_DOUBLE_EQ(view.pbLayout->Zoom(), 2);
    view.pbLayout->render(&frame);
    EXPECT_EQ(view.pbLayout->PartAt(at), before);
    view.pbLayout->PanBy(QPointF(-10000, 0));  // the sheet panned out of sight: nothing under the point
    view.pbLayout->render(&frame);
    EXPECT_EQ(view.pbLayout->PartAt(at), -1);
    view.pbLayout->Fit();
    EXPECT_DOUBLE_EQ(view.pbLayout->Zoom(), 1);
}

TEST_F(LayoutViewTest, PdfAndLabelsComeFromTheWindow) {
    const QString white = AddMaterial("白色颗粒板");
    StoreLayout(white, {{"侧板", 720, 560, 8}, {"顶板", 1164, 560, 3}});
    TfrmLayoutView view(kOrder);
    ASSERT_FALSE(view.pages.empty());
    saveAnswer = dir.filePath("k17.pdf");
    view.cbPaper->setCurrentIndex(1);  // A3
    view.btnPdfClick();
    EXPECT_EQ(outputtest::PdfPages(saveAnswer), static_cast<int>(view.pages.size()));
    EXPECT_TRUE(outputtest::Run("pdfinfo", {saveAnswer}).contains("A3"));
    ASSERT_EQ(prompt.infos.size(), 1);
    EXPECT_TRUE(prompt.infos[0].contains(saveAnswer));

    saveAnswer = dir.filePath("labels.pdf");
    view.cbLabelSize->setCurrentIndex(3);  // A4 3 × 8
    view.btnLabelsClick();
    QStringList codes;
    for (const QString& png : outputtest::PdfToPngs(saveAnswer, dir.path(), 300)) codes << outputtest::Decode(png);
    EXPECT_EQ(codes.size(), 11);
    EXPECT_EQ(codes.removeDuplicates(), 0);
    for (const QString& code : codes) EXPECT_TRUE(code.startsWith(kOrder + "-")) << code.toStdString();

    // The panel list on paper: every row, the 条码 column first.
    prompt.infos.clear();
    saveAnswer = dir.filePath("panels.pdf");
    view.btnPanelPdfClick();
    EXPECT_EQ(outputtest::PdfPages(saveAnswer), 1);
    const QString text = outputtest::Run("pdftotext", {"-layout", saveAnswer, "-"});
    EXPECT_TRUE(text.contains("条码") && text.contains("顶板") && text.contains("1164")) << text.toStdString();

    // A path that cannot be written: the user is told, nothing is left behind.
    prompt.infos.clear();
    saveAnswer = dir.filePath("no-such-folder/k17.pdf");
    view.btnPdfClick();
    ASSERT_EQ(prompt.infos.size(), 1);
    EXPECT_TRUE(prompt.infos[0].startsWith("开料图未能保存为：")) << prompt.infos[0].toStdString();
    EXPECT_FALSE(QFile::exists(saveAnswer));
}

TEST_F(LayoutViewTest, LayoutThePanelsNoLongerMatchIsMarkedOutdated) {
    const QString white = AddMaterial("白色颗粒板");
    const QString oak = AddMaterial("橡木饰面板");
    StoreLayout(white, {{"侧板", 720, 560, 8}});
    StoreLayout(oak, {{"门板", 716, 396, 5}});
    Exec("UPDATE FProCl SET clCount=9 WHERE clName='侧板'");  // one more side panel since
    TfrmLayoutView view(kOrder);
    ASSERT_EQ(view.tvLayouts->topLevelItemCount(), 2);
    const QTreeWidgetItem* first = view.tvLayouts->topLevelItem(0)->child(0);
    const QTreeWidgetItem* second = view.tvLayouts->topLevelItem(1)->child(0);
    EXPECT_TRUE(first->text(0).endsWith("（已过期）")) << first->text(0).toStdString();
    EXPECT_FALSE(second->text(0).contains("过期")) << second->text(0).toStdString();
    for (const auto& page : view.pages) EXPECT_EQ(page.Outdated, page.Material == "白色颗粒板");
}

TEST_F(LayoutViewTest, OrderWithoutLayoutsSaysSoAndOffersNoOutput) {
    TfrmLayoutView view(kOrder);
    EXPECT_TRUE(view.layouts.empty());
    EXPECT_EQ(view.tvLayouts->topLevelItemCount(), 0);
    EXPECT_TRUE(view.lblSummary->text().contains("还没有排样方案"));
    for (QPushButton* b : {view.btnPrint, view.btnPreview, view.btnPdf, view.btnLabels, view.btnXls})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

TEST_F(LayoutViewTest, UnreadableStoredLayoutIsReportedAndSkipped) {
    const QString white = AddMaterial("白色颗粒板");
    StoreLayout(white, {{"侧板", 720, 560, 4}});
    Exec("INSERT INTO FProBCCut(proID,bcID,uli,cutC,cutFA) VALUES(:p,99,50,1,'not a layout')", {{"p", kOrder}});
    TfrmLayoutView view(kOrder);
    EXPECT_EQ(view.layouts.size(), 1u);
    ASSERT_EQ(prompt.infos.size(), 1);
    EXPECT_TRUE(prompt.infos[0].contains("无法读取")) << prompt.infos[0].toStdString();
}

}  // namespace
