// One seat of the load test: saves COUNT positions of a small cabinet into order PROID
// of the database SPEC (file path or postgresql:// URL), one after the other, as fast
// as it can. Prints "saved N" and exits 0 only when every save succeeded.
//   kelm-test-seat SPEC PROID COUNT
#include <QCoreApplication>
#include <cstdio>

#include "cabinet/CabinetTestUtil.h"
#include "data/UnitData.h"
#include "documents/UXmlSave.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: kelm-test-seat SPEC PROID COUNT\n");
        return 2;
    }
    TsysData data(args[1]);
    SetSysData(&data);
    FCabs cabs(600, 550, 720);
    auto cab = std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("G") + args[2]);
    const FEdge back = MakeEdge(0, 0, 0, 0, 0, 18);
    cab->AddCeBan(0, FShape::R, back, MakeCl(18, QStringLiteral("左侧板")),
                  QStringLiteral("Left"), FFengB{}, QStringLiteral("2"));
    cab->AddCeBan(1, FShape::R, back, MakeCl(18, QStringLiteral("右侧板")),
                  QStringLiteral("Right"), FFengB{}, QStringLiteral("2"));
    cab->AddDingBan(2, FShape::R, back, MakeCl(18, QStringLiteral("顶板")), FFengB{},
                    QStringLiteral("1"));
    cab->AddDiBan(3, FShape::R, back, MakeCl(18, QStringLiteral("底板")), FFengB{},
                  QStringLiteral("1"));
    cabs.AddCabinet(0, std::move(cab));
    const int count = args[3].toInt();
    int saved = 0;
    for (int i = 0; i < count; ++i) {
        // Every seat numbers its positions alike, as the designers do: only the
        // database keeps them apart.
        if (FXmlSave::SaveToDB(args[2], QString::number(i), QStringLiteral("1"),
                               QStringLiteral("1"), args[2], QString(), cabs, 0))
            ++saved;
        else
            std::fprintf(stderr, "save %d failed: %s\n", i,
                         data.LastError().toLocal8Bit().constData());
    }
    std::printf("saved %d\n", saved);
    SetSysData(nullptr);
    return saved == count ? 0 : 1;
}
