// Load test: two seats (two processes) save 200 positions each into two orders of the
// same database at the same moment; afterwards every position and every panel row is
// there exactly once and in its own order. On the file and on a server.
#include <gtest/gtest.h>

#include <QProcess>

#include "EngineTestSupport.h"
#include "data/UnitData.h"

namespace {

class TwoSeats : public ::testing::TestWithParam<TDbEngine> {};

INSTANTIATE_TEST_SUITE_P(Engines, TwoSeats, KelmEngines(), KelmEngineName);

qint64 Number(TsysData& data, const QString& sql) {
    auto q = data.OpenQuery(sql);
    return q->next() ? q->value(0).toLongLong() : -1;
}

TEST_P(TwoSeats, EveryRowThereExactlyOnceInItsOwnOrder) {
    KELM_REQUIRE_ENGINE(GetParam());
    TTestDatabase place(GetParam());
    ASSERT_FALSE(place.Spec().isEmpty()) << place.Problem().toStdString();
    {
        TsysData data(place.Spec());
        ASSERT_TRUE(data.Open()) << data.LastError().toStdString();
        data.SetCommonSQL("INSERT INTO FPKBZ(minVal,maxVal,kwstr) VALUES(0,300,'32')");
        ASSERT_TRUE(data.ExecCommon());
        data.SetCommonSQL("INSERT INTO FPKBZ(minVal,maxVal,kwstr) VALUES(300,600,'32,288')");
        ASSERT_TRUE(data.ExecCommon());
    }
    constexpr int kPositions = 200;
    constexpr int kRowsEach = 4;
    QProcess seats[2];
    const QString orders[2] = {"P1", "P2"};
    for (int i = 0; i < 2; ++i)
        seats[i].start(KELM_SEAT_PROGRAM,
                       {place.Spec(), orders[i], QString::number(kPositions)});
    for (QProcess& seat : seats) {
        ASSERT_TRUE(seat.waitForFinished(600000));
        EXPECT_EQ(seat.exitCode(), 0) << seat.readAllStandardError().toStdString();
        EXPECT_EQ(seat.readAllStandardOutput().trimmed(), "saved 200");
    }
    TsysData data(place.Spec());
    EXPECT_EQ(Number(data, "SELECT COUNT(*) FROM FProWins"), 2 * kPositions);
    EXPECT_EQ(Number(data, "SELECT COUNT(DISTINCT winID) FROM FProWins"), 2 * kPositions);
    for (const QString& order : orders) {
        EXPECT_EQ(Number(data, "SELECT COUNT(*) FROM FProWins WHERE proID='" + order + "'"),
                  kPositions);
        // Each seat's codes 0..199 once each in its own order.
        EXPECT_EQ(Number(data, "SELECT COUNT(DISTINCT winCode) FROM FProWins WHERE proID='" +
                                   order + "'"),
                  kPositions);
    }
    EXPECT_EQ(Number(data, "SELECT COUNT(*) FROM FProCl"), 2 * kPositions * kRowsEach);
    // No panel row in another order than its position, none without a position.
    EXPECT_EQ(Number(data, "SELECT COUNT(*) FROM FProCl p LEFT JOIN FProWins w ON "
                           "w.winID = p.winID WHERE w.winID IS NULL OR w.proID <> p.proID "
                           "OR w.custName <> p.proID OR p.gtName <> 'G' || p.proID"),
              0);
    // Every position holds exactly its own rows.
    EXPECT_EQ(Number(data, QStringLiteral("SELECT COUNT(*) FROM (SELECT winID FROM FProCl "
                                          "GROUP BY winID HAVING COUNT(*) <> %1) AS odd")
                               .arg(kRowsEach)),
              0);
}

}  // namespace
