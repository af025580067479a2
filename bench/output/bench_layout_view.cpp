// bench_layout_view [seconds] [shot.png] [folder]: the layout viewer on the order500 instance. The
// 500 pieces go into a temp database as one order of one material, are optimised and
// stored as the optimization dialog stores them; then the viewer window opens on that
// order (time to open), pans the busiest sheet 300 times and zooms 100 times with a
// repaint each (frames per second), hovers a part, optionally saves a picture of the
// window, writes the order's diagrams, labels and panel list as PDF into `folder` when one
// is given (through the window's own buttons), and stays shown for `seconds` (default 0) so
// it can be photographed.
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>

#include "data/UnitData.h"
#include "documents/UnitFileOpt.h"
#include "optimizer/UnitD2Rect.h"
#include "tools/CutListCsv.h"
#include "ui/UiPlatform.h"
#include "ui/UiPrompt.h"
#include "ui/optimize/ULayoutView.h"

using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

void Exec(TsysData& data, const QString& sql, const QVector<QPair<QString, QString>>& params) {
    data.SetCommonSQL(sql);
    for (const auto& [name, value] : params) data.SetCommonParam(name, value);
    if (!data.ExecCommon()) std::fprintf(stderr, "failed: %s\n", qPrintable(sql));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? atoi(argv[1]) : 0;
    const QString shot = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();

    QTemporaryDir dir;
    TsysData data(dir.filePath("KelmDB.db"));
    // Messages (file saved, and so on) are printed rather than shown in a box.
    struct PrintPrompt : TPrompt {
        void Info(const QString& text) override { std::printf("%s\n", qPrintable(text)); }
        bool Confirm(const QString&) override { return false; }
    } prompt;
    data.SetPrompt(&prompt);
    SetSysData(&data);
    const QString proID = "240501090000";
    Exec(data, "INSERT INTO FProject(proID,proCode,proName,begDt,endDt,bz) VALUES(:p,'O-500','五百件','2024-05-01','2024-05-11','')",
         {{"p", proID}});
    Exec(data, "INSERT INTO FProWins(winID,proID,winPath,winCode,winCount,Width,Height,Depth,Maked,custID,custName,FengB) "
               "VALUES('w1',:p,'','A01',1,600,720,560,0,'','','四边封')",
         {{"p", proID}});
    Exec(data, "INSERT INTO FCl(cateID,ylCode,ylName,length,width,houdu,color,bz) VALUES(1,'','白色颗粒板18',2440,1220,18,'','')",
         {});
    const TD2REleArr eles = ReadPartsCsv(KELM_BENCH_INSTANCES "/order500_parts.csv");
    for (const TD2REle& e : eles)
        Exec(data, "INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount,wl,flag,shape) "
                   "VALUES(:p,'w1','地柜','1',:n,:l,:w,18,:k,:wl,'','')",
             {{"p", proID},
              {"n", e.Name},
              {"l", QString::number(e.Length)},
              {"w", QString::number(e.Width)},
              {"k", QString::number(e.Count)},
              {"wl", e.Rotation == 1 ? "1" : "0"}});
    TD2RRaw raw;
    raw.XH = 1;
    raw.DbID = "1";
    raw.Length = 2440;
    raw.Width = 1220;
    raw.Count = 99999999;
    raw.Price = 1;
    TD2RPrm prm;
    prm.OptTime = 10;
    prm.BladeWidth = 4;
    TD2Rect rect({raw}, prm, eles, 1, 2);
    rect.Run();
    TD2File().SaveToFile({raw}, eles, prm, rect.BestSchame, proID, "1");

    auto t = Clock::now();
    TfrmLayoutView view(proID);
    view.resize(1280, 800);
    view.show();
    app.processEvents();
    const double open = Ms(t);
    // The sheet with the most parts.
    int busiest = 0;
    for (size_t i = 0; i < view.pages.size(); ++i)
        if (view.pages[i].Layout.EleList.size() > view.pages[busiest].Layout.EleList.size()) busiest = static_cast<int>(i);
    view.tvLayouts->setCurrentItem(view.tvLayouts->topLevelItem(0)->child(busiest));
    app.processEvents();

    t = Clock::now();
    for (int i = 0; i < 300; ++i) {
        view.pbLayout->PanBy(QPointF(i % 60 < 30 ? 4 : -4, 1));
        view.pbLayout->repaint();
    }
    const double pan = Ms(t) / 300;
    t = Clock::now();
    for (int i = 0; i < 100; ++i) {
        view.pbLayout->ZoomBy(i % 20 < 10 ? 1.1 : 1 / 1.1, QPointF(300, 200));
        view.pbLayout->repaint();
    }
    const double zoom = Ms(t) / 100;
    view.pbLayout->Fit();
    view.pbLayout->ZoomBy(1.6, QPointF(250, 200));
    view.PartHovered(view.pbLayout->PartAt(QPoint(250, 200)) >= 0 ? view.pbLayout->PartAt(QPoint(250, 200)) : 0);
    app.processEvents();
    std::printf("order500: %zu layouts, busiest sheet %zu parts\n", view.pages.size(),
                view.pages[busiest].Layout.EleList.size());
    std::printf("open viewer: %.0f ms; pan frame: %.2f ms (%.0f frames/s); zoom frame: %.2f ms (%.0f frames/s)\n", open,
                pan, 1000 / pan, zoom, 1000 / zoom);
    if (!shot.isEmpty()) view.grab().save(shot);
    if (!folder.isEmpty()) {
        QString next;
        SetSaveFileHandler([&next](const TSaveFileRequest&) { return next; });
        next = folder + "/O-500_开料图.pdf";
        view.btnPdfClick();
        next = folder + "/O-500_标签.pdf";
        view.btnLabelsClick();
        next = folder + "/O-500_板件清单.pdf";
        view.btnPanelPdfClick();
        SetSaveFileHandler({});
    }
    if (seconds > 0) {
        QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
        return app.exec();
    }
    return 0;
}
