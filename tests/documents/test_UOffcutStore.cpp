// The offcut loop on a temp database: a confirmed cut keeps its leftovers and uses up the
// offcuts its layouts lie on, in one transaction; the next order's small parts land on
// the offcuts in stock before a new sheet is started.

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>

#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "documents/UOffcutStore.h"
#include "documents/UnitEncrypTo.h"
#include "documents/UnitFileOpt.h"
#include "optimizer/UnitD2Rect.h"

namespace {

TD2REle Part(int xh, const char* name, double l, double w, int count) {
    return TD2REle{xh, name, "", l, w, count, 1};
}

class OffcutStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        data = std::make_unique<TsysData>(dir.filePath("KelmDB.db"));
        data->SetPrompt(&prompt);
        SetSysData(data.get());
        prm.OptTime = 6;
        prm.BladeWidth = 4;
    }
    void TearDown() override { SetSysData(nullptr); }

    // The job's raw list of material ylID: a new sheet, then the offcuts in stock.
    TD2RRawArr Raws(const QString& ylID, bool offcuts) {
        TD2RRawArr raws{{1, "", ylID, "", 1.0, 2440, 1220, 99999999, 0, ""}};
        if (offcuts) AddOffcutRaws(raws, TOffcutStore().InStock(ylID), ylID);
        return raws;
    }
    TD2RSchame Optimise(const TD2RRawArr& raws, const TD2REleArr& eles, TD2RRawArr* sorted = nullptr) {
        TD2Rect rect(raws, prm, eles, 11, 1);
        rect.Run();
        if (sorted) *sorted = rect.rawArr;
        return rect.BestSchame;
    }
    void Store(const QString& proID, const QString& ylID, const TD2RRawArr& raws,
               const TD2REleArr& eles, const TD2RSchame& s) {
        ASSERT_TRUE(TD2File().SaveToFile(raws, eles, prm, s, proID, ylID));
    }
    // Every offcut row and every layout's cut mark, as text, to compare states.
    QStringList Snapshot() {
        QStringList out;
        auto q = data->OpenQuery("SELECT ofID,ofCode,ylID,length,width,proID,pyID,fpbNo,state,"
                                 "useProID FROM FYuLiao ORDER BY ofID");
        while (q->next()) {
            QStringList f;
            for (int i = 0; i < 10; ++i) f << q->value(i).toString();
            out << f.join('|');
        }
        auto b = data->OpenQuery("SELECT pyID,proID,cutOK,cutFA FROM FProBCCut ORDER BY pyID");
        while (b->next())
            out << b->value(0).toString() + "|" + b->value(1).toString() + "|" +
                       b->value(2).toString() + "|" + QString::number(b->value(3).toString().size());
        return out;
    }

    QTemporaryDir dir;
    TPromptRecorder prompt;
    std::unique_ptr<TsysData> data;
    TD2RPrm prm;
    const TBin min{300, 100};
};

TEST_F(OffcutStoreTest, TwoOrdersLoop) {
    // Order A: six sides and five shelves leave most of a second sheet.
    const TD2REleArr a{Part(1, "侧板", 720, 560, 6), Part(2, "层板", 500, 300, 5)};
    TD2RRawArr sorted;
    const TD2RSchame sa = Optimise(Raws("1", true), a, &sorted);
    EXPECT_EQ(NewSheetCount(sa), 2);
    Store("A", "1", sorted, a, sa);
    TOffcutStore store;
    EXPECT_FALSE(store.IsCut("A"));
    EXPECT_TRUE(store.HasUncut("A"));
    TCutConfirmation done;
    QString error;
    ASSERT_TRUE(store.ConfirmCut("A", min, &done, &error)) << error.toStdString();
    EXPECT_EQ(done.layouts, 1);
    EXPECT_EQ(done.consumed, 0);
    EXPECT_EQ(done.kept, static_cast<int>(KeptLeftovers(sa, min).size()));
    EXPECT_TRUE(store.IsCut("A"));
    EXPECT_FALSE(store.HasUncut("A"));
    const TD2ROffcutArr rack = store.InStock("1");
    ASSERT_EQ(static_cast<int>(rack.size()), done.kept);
    for (const TD2ROffcut& o : rack) EXPECT_TRUE(IsKeptOffcutSize(o.Length, o.Width, min));
    EXPECT_TRUE(store.InStock("2").empty());  // offcuts belong to their material
    const std::vector<TOffcutRow> rows = store.List("1", true);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].proID, "A");
    EXPECT_GE(rows[0].fpbNo, 1);
    EXPECT_FALSE(rows[0].ofDate.isEmpty());
    // Confirming twice finds nothing left to confirm and changes nothing.
    const QStringList afterA = Snapshot();
    EXPECT_FALSE(store.ConfirmCut("A", min, &done, &error));
    EXPECT_TRUE(error.contains("没有尚未确认开料")) << error.toStdString();
    EXPECT_EQ(Snapshot(), afterA);

    // Order B: small parts. On the offcuts they need fewer new sheets than without.
    const TD2REleArr b{Part(1, "抽屉面", 400, 250, 6), Part(2, "踢脚", 600, 300, 2)};
    const int without = NewSheetCount(Optimise(Raws("1", false), b));
    const TD2RSchame sb = Optimise(Raws("1", true), b, &sorted);
    EXPECT_LT(NewSheetCount(sb), without);
    const auto used = UsedOffcuts(sb);
    ASSERT_FALSE(used.empty());
    Store("B", "1", sorted, b, sb);
    ASSERT_TRUE(store.ConfirmCut("B", min, &done, &error)) << error.toStdString();
    EXPECT_EQ(done.consumed, static_cast<int>(used.size()));
    // The offcuts B was cut from are gone from the stock, marked as used by B.
    const TD2ROffcutArr rackAfter = store.InStock("1");
    for (const auto& [code, n] : used) {
        for (const TD2ROffcut& o : rackAfter) EXPECT_NE(o.ID, code);
        bool found = false;
        for (const TOffcutRow& r : store.List("1", false))
            if (r.ofCode == code) {
                found = true;
                EXPECT_EQ(r.state, kOffcutUsed);
                EXPECT_EQ(r.useProID, "B");
            }
        EXPECT_TRUE(found);
    }
    EXPECT_EQ(static_cast<int>(rackAfter.size()),
              static_cast<int>(rack.size()) - done.consumed + done.kept);
}

TEST_F(OffcutStoreTest, OffcutsBelowTheMinimumAreNotKept) {
    TD2RSchame s(1);
    s[0].RawDbID = "1";
    s[0].RawLength = 2440;
    s[0].RawWidth = 1220;
    s[0].RawCount = 2;  // two sheets: two pieces of each kept leftover
    s[0].EleList.push_back({0, 1, "侧板", "", 0, 0, 720, 560});
    s[0].EleArea = 720 * 560;
    for (auto [l, w] : {std::pair{299.0, 100.0}, {300.0, 99.0}, {300.0, 100.0}, {100.0, 300.0},
                        {1000.0, 50.0}})
        s[0].RectArr.push_back({0, 600, l, w});
    const TD2RRawArr raws = Raws("1", false);
    Store("A", "1", raws, {Part(1, "侧板", 720, 560, 2)}, s);
    TCutConfirmation done;
    QString error;
    ASSERT_TRUE(TOffcutStore().ConfirmCut("A", min, &done, &error)) << error.toStdString();
    EXPECT_EQ(done.kept, 4);
    QStringList sizes;
    for (const TOffcutRow& r : TOffcutStore().List("1", true))
        sizes << QString("%1x%2").arg(r.length).arg(r.width);
    sizes.sort();
    EXPECT_EQ(sizes, QStringList({"100x300", "100x300", "300x100", "300x100"}));
    // Identifiers are distinct: each is a label of its own.
    QStringList codes;
    for (const TOffcutRow& r : TOffcutStore().List("", false)) codes << r.ofCode;
    codes.removeDuplicates();
    EXPECT_EQ(codes.size(), 4);
}

// A confirmation that fails half-way: the first material's layout has kept its
// leftovers and used its offcut when the second one fails.
class FailedConfirmation : public OffcutStoreTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(FailedConfirmation, LeavesOffcutsAndLayoutsAsTheyWere) {
    // Two offcuts in stock from an earlier cut of material 1 and of material 2.
    TD2RSchame first(1);
    first[0].RawDbID = "1";
    first[0].RawLength = first[0].RawWidth = 1000;
    first[0].RawCount = 1;
    first[0].EleList.push_back({0, 1, "x", "", 0, 0, 100, 100});
    first[0].RectArr.push_back({0, 104, 1000, 800});
    Store("OLD", "1", Raws("1", false), {Part(1, "x", 100, 100, 1)}, first);
    first[0].RawDbID = "2";
    Store("OLD", "2", Raws("2", false), {Part(1, "x", 100, 100, 1)}, first);
    TOffcutStore store;
    QString error;
    ASSERT_TRUE(store.ConfirmCut("OLD", min, nullptr, &error)) << error.toStdString();
    ASSERT_EQ(store.InStock("1").size(), 1u);
    ASSERT_EQ(store.InStock("2").size(), 1u);

    // The new order: material 1 is laid on its offcut, material 2 on its own.
    const TD2REleArr parts{Part(1, "小板", 400, 250, 4)};
    TD2RRawArr sorted1, sorted2;
    const TD2RSchame s1 = Optimise(Raws("1", true), parts, &sorted1);
    const TD2RSchame s2 = Optimise(Raws("2", true), parts, &sorted2);
    ASSERT_EQ(UsedOffcuts(s1).size(), 1u);
    ASSERT_EQ(UsedOffcuts(s2).size(), 1u);
    Store("NEW", "1", sorted1, parts, s1);
    Store("NEW", "2", sorted2, parts, s2);

    const QString how = GetParam();
    if (how == QString("scrapped")) {
        // Material 2's offcut was scrapped after the optimization.
        ASSERT_TRUE(store.Scrap(store.List("2", true)[0].ofID));
    } else if (how == QString("used")) {
        // ... or another order's cut used it first.
        data->SetCommonSQL("UPDATE FYuLiao SET state=1,useProID='OTHER' WHERE ylID=2");
        ASSERT_TRUE(data->ExecCommon());
    } else {
        // ... or the second stored layout is damaged.
        data->SetCommonSQL("UPDATE FProBCCut SET cutFA=:t WHERE proID='NEW' AND bcID=2");
        data->SetCommonParam("t", TEncrypXML::EncrypStr("<KELM", TD2File::kScrambleKey));
        ASSERT_TRUE(data->ExecCommon());
    }
    const QStringList before = Snapshot();
    TCutConfirmation done;
    EXPECT_FALSE(store.ConfirmCut("NEW", min, &done, &error));
    EXPECT_TRUE(error.contains("未做任何更改")) << error.toStdString();
    if (how != QString("damaged")) {
        EXPECT_TRUE(error.contains("已不在库存中")) << error.toStdString();
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(store.IsCut("NEW"));
    EXPECT_EQ(store.InStock("1").size(), 1u);  // material 1's offcut was not used up
}

INSTANTIATE_TEST_SUITE_P(Offcuts, FailedConfirmation,
                         ::testing::Values("scrapped", "used", "damaged"));

TEST_F(OffcutStoreTest, EditAndScrapOnlyTouchOffcutsInStock) {
    TD2RSchame s(1);
    s[0].RawDbID = "1";
    s[0].RawLength = s[0].RawWidth = 1000;
    s[0].RawCount = 1;
    s[0].EleList.push_back({0, 1, "x", "", 0, 0, 100, 100});
    s[0].RectArr.push_back({0, 104, 1000, 800});
    Store("A", "1", Raws("1", false), {Part(1, "x", 100, 100, 1)}, s);
    TOffcutStore store;
    ASSERT_TRUE(store.ConfirmCut("A", min, nullptr, nullptr));
    const QString id = store.List("1", true).at(0).ofID;
    EXPECT_TRUE(store.Update(id, 990, 780, "边有破损"));
    EXPECT_EQ(store.InStock("1").at(0).Length, 990);
    EXPECT_EQ(store.List("1", true).at(0).bz, "边有破损");
    EXPECT_FALSE(store.Update(id, 0, 780, ""));
    EXPECT_FALSE(store.Update(id, std::nan(""), 780, ""));
    EXPECT_FALSE(store.Update("1 OR 1=1", 10, 10, ""));
    EXPECT_TRUE(store.Scrap(id));
    EXPECT_TRUE(store.InStock("1").empty());
    EXPECT_EQ(store.List("1", false).at(0).state, kOffcutScrapped);
    EXPECT_FALSE(store.Scrap(id));  // already gone
    EXPECT_FALSE(store.Update(id, 500, 500, ""));
}

}  // namespace
