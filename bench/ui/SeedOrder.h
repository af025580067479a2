#pragma once
// Sample data for the window benchmark and for looking at the windows: an order with
// many cabinet entries whose stored documents are real combinations, a few more
// orders, customers and dictionary items.

#include <QString>
#include <memory>

#include "cabinet/UCabinet.h"
#include "cabinet/UCabs.h"
#include "data/UnitData.h"
#include "documents/UXmlSave.h"

namespace seed {

// A carcass with sides, top, bottom, back, a shelf and two doors.
inline std::unique_ptr<FCabinet> SampleCabinet(double w, double d, double h, bool doors) {
    auto cab = std::make_unique<FCabinet>(w, d, h, QStringLiteral("地柜"));
    const FCl board{QStringLiteral("1"), QString(), 18};
    const FCl back{QStringLiteral("1"), QString(), 5};
    const FEdge none;
    const FFengB fb;
    auto last = [&] { return int(cab->Regions().size()) - 1; };
    cab->AddCeBan(last(), FShape::R, none, board, QStringLiteral("Left"), fb, QStringLiteral("2"));
    cab->AddCeBan(last(), FShape::R, none, board, QStringLiteral("Right"), fb, QStringLiteral("2"));
    cab->AddDingBan(last(), FShape::R, none, board, fb, QStringLiteral("1"));
    cab->AddDiBan(last(), FShape::R, none, board, fb, QStringLiteral("1"));
    const int inner = last();
    cab->AddBackBC(inner, none, back, fb, QStringLiteral("0"));
    cab->AddBc(inner, FShape::R, none, board, 0, h / 2, QStringLiteral("1"), fb,
               QStringLiteral("1"));
    if (doors) {
        FEdge gaps;
        gaps.L = gaps.R = gaps.T = gaps.B = 2;
        cab->AddDKM(0, gaps, board, 2, QStringLiteral("1"));
        cab->AddDKM(0, gaps, board, 2, QStringLiteral("2"));
    }
    return cab;
}

// Entry i of the sample order: alternately one cabinet, or two side by side.
inline QString SampleDocument(int i, double w, double d, double h) {
    FCabs cabs(w, d, h);
    if (i % 2 == 1) {
        cabs.AddSplit(0, w / 2, 0, QStringLiteral("2"));
        cabs.AddCabinet(0, SampleCabinet(w / 2, d, h, true));
        cabs.AddCabinet(1, SampleCabinet(w / 2, d, h, i % 3 == 0));
    } else {
        cabs.AddCabinet(0, SampleCabinet(w, d, h, i % 4 != 2));
    }
    return FXmlSave::BuildStoredXml(cabs);
}

inline void Run(const QString& sql, const QVector<QPair<QString, QString>>& params = {}) {
    SetCommonSQL(sql);
    for (const auto& [name, value] : params) SetCommonParam(name, value);
    ExecCommon();
}

// The order "250101080000" with `entries` cabinet entries, and some other data.
inline QString SeedSampleData(int entries) {
    const QString proID = QStringLiteral("250101080000");
    Run(QStringLiteral("INSERT INTO FProject(proID,proCode,proName,custName,begDt,endDt,bz) "
                       "VALUES(:a,:b,:c,'',:d,:e,:f)"),
        {{"a", proID},
         {"b", "KL-2025-001"},
         {"c", "阳光小区 3栋 厨房"},
         {"d", "2025-01-01"},
         {"e", "2025-01-11"},
         {"f", "橱柜与吊柜"}});
    const char* const names[] = {"王先生 衣柜", "李女士 书柜", "办公室 文件柜"};
    for (int k = 0; k < 3; ++k)
        Run(QStringLiteral("INSERT INTO FProject(proID,proCode,proName,begDt,endDt,bz) "
                           "VALUES(:a,:b,:c,:d,:e,'')"),
            {{"a", QStringLiteral("24120%1090000").arg(k + 1)},
             {"b", QStringLiteral("KL-2024-%1").arg(120 + k)},
             {"c", QString::fromUtf8(names[k])},
             {"d", QStringLiteral("2024-12-0%1").arg(k + 1)},
             {"e", QStringLiteral("2024-12-1%1").arg(k + 1)}});
    const char* const customers[][4] = {
        {"张三", "13800000001", "北京市朝阳区", "2025-01-02"},
        {"李四", "13900000002", "上海市浦东新区", "2024-11-20"},
        {"王五家具店", "0571-8888888", "杭州市西湖区", "2024-12-15"}};
    for (const auto& c : customers)
        Run(QStringLiteral("INSERT INTO FCustomers(custName,phone,address,pursDate,bz) "
                           "VALUES(:a,:b,:c,:d,'')"),
            {{"a", QString::fromUtf8(c[0])},
             {"b", c[1]},
             {"c", QString::fromUtf8(c[2])},
             {"d", c[3]}});
    for (const char* item : {"0.5mm 白色PVC", "1mm 木纹PVC", "2mm ABS"})
        Run(QStringLiteral("INSERT INTO ysdItem(itmName,cateName) VALUES(:a,'封边')"),
            {{"a", QString::fromUtf8(item)}});
    Run(QStringLiteral("UPDATE FProFei SET JGF=35,AZF=20,JXF=8,SDF=2,YSF=6,GLF=5,QTF=3"));

    const double widths[] = {600, 800, 1200, 450, 900};
    const double heights[] = {720, 2100, 800, 720, 1800};
    for (int i = 0; i < entries; ++i) {
        const double w = widths[i % 5], h = heights[i % 5], d = i % 5 == 1 ? 580 : 550;
        Run(QStringLiteral("INSERT INTO FProWins(winID,proID,winPath,winCode,winCount,Width,"
                           "Height,Depth,Maked,custID,custName,FengB) VALUES(:winID,:proID,"
                           ":winPath,:winCode,:winCount,:Width,:Height,:Depth,0,'1','张三',"
                           "'1mm 木纹PVC')"),
            {{"winID", proID + QString::number(i + 1)},
             {"proID", proID},
             {"winPath", SampleDocument(i, w, d, h)},
             {"winCode", QStringLiteral("G%1").arg(i + 1)},
             {"winCount", QString::number(1 + i % 3)},
             {"Width", QString::number(w)},
             {"Height", QString::number(h)},
             {"Depth", QString::number(d)}});
    }
    return proID;
}

}  // namespace seed
