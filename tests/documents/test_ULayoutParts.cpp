// How panels enter the optimizer (the grain table) and whether a stored layout still
// matches the order's panels: comparison of part lists, and stale layouts found after a
// cabinet entry is edited, deleted or joined by a second one, on a temp database.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "documents/ULayoutParts.h"
#include "documents/UnitFileOpt.h"

namespace {

TEST(GrainTable, CodeDecidesExtentsAndRotation) {
    struct Case {
        const char* wl;
        double length, width;  // as listed
        double enterLength, enterWidth;
        int rotation;
    };
    const Case cases[] = {
        {"0", 720, 560, 720, 560, 1},   // no grain: may turn
        {"0", 560, 720, 560, 720, 1},
        {"1", 720, 560, 720, 560, 0},   // grain along the length: along the sheet, fixed
        {"1", 560, 720, 560, 720, 0},
        {"2", 720, 560, 560, 720, 0},   // grain along the width: exchanged, fixed
        {"2", 560, 720, 720, 560, 0},
        {" 2 ", 720, 560, 560, 720, 0},
        {"9", 720, 560, 720, 560, 0},   // unknown code: fixed, as listed
        {"", 720, 560, 720, 560, 0},
        {"01", 720, 560, 720, 560, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.wl) + " " + std::to_string(c.length));
        TD2REle ele;
        ele.Rotation = 7;
        SetPartGrain(ele, c.length, c.width, c.wl);
        EXPECT_EQ(ele.Length, c.enterLength);
        EXPECT_EQ(ele.Width, c.enterWidth);
        EXPECT_EQ(ele.Rotation, c.rotation);
    }
}

TEST(PanelParts, GroupsBecomePartTypesOrTheBadOneIsNamed) {
    TD2REleArr eles;
    QString bad;
    ASSERT_TRUE(PartsFromPanels({{"侧板", "720", "560", "4", "1"}, {"层板", "764.5", "540", "3", "2"}},
                                eles, &bad));
    ASSERT_EQ(eles.size(), 2u);
    EXPECT_EQ(eles[0].XH, 1);
    EXPECT_EQ(eles[0].Name, "侧板");
    EXPECT_EQ(eles[0].Count, 4);
    EXPECT_EQ(eles[1].XH, 2);
    EXPECT_EQ(eles[1].Length, 540);
    EXPECT_EQ(eles[1].Width, 764.5);

    for (const TPanelGroup& broken : {TPanelGroup{"门", "720", "560", "2.5", "0"},
                                      TPanelGroup{"门", "abc", "560", "2", "0"},
                                      TPanelGroup{"门", "720", "inf", "2", "0"},
                                      TPanelGroup{"门", "720", "560", "-1", "0"}}) {
        bad.clear();
        EXPECT_FALSE(PartsFromPanels({{"侧板", "720", "560", "4", "1"}, broken}, eles, &bad));
        EXPECT_EQ(bad, "门");
        EXPECT_TRUE(eles.empty());
    }
}

TD2REle Part(const QString& name, double length, double width, int count, int rotation = 0) {
    TD2REle e;
    e.Name = name;
    e.Length = length;
    e.Width = width;
    e.Count = count;
    e.Rotation = rotation;
    return e;
}

TEST(CompareParts, SaysWhatChanged) {
    const TD2REleArr before = {Part("侧板", 720, 560, 2), Part("顶板", 564, 560, 1),
                               Part("门", 716, 396, 2, 1)};
    struct Case {
        const char* what;
        TD2REleArr now;
        QStringList changes;
    };
    const Case cases[] = {
        {"same parts in another order",
         {Part("门", 716, 396, 2, 1), Part("侧板", 720, 560, 2), Part("顶板", 564, 560, 1)},
         {}},
        {"count changed",
         {Part("侧板", 720, 560, 4), Part("顶板", 564, 560, 1), Part("门", 716, 396, 2, 1)},
         {"变化：侧板 720×560×2块 → 720×560×4块"}},
        {"size changed",
         {Part("侧板", 720, 560, 2), Part("顶板", 764, 560, 1), Part("门", 716, 396, 2, 1)},
         {"变化：顶板 564×560×1块 → 764×560×1块"}},
        {"part removed", {Part("侧板", 720, 560, 2), Part("顶板", 564, 560, 1)},
         {"删除：门 716×396×2块"}},
        {"part added",
         {Part("侧板", 720, 560, 2), Part("顶板", 564, 560, 1), Part("门", 716, 396, 2, 1),
          Part("层板", 564, 540, 3)},
         {"新增：层板 564×540×3块"}},
        {"grain changed only",
         {Part("侧板", 720, 560, 2, 1), Part("顶板", 564, 560, 1), Part("门", 716, 396, 2, 1)},
         {"变化：侧板 720×560×2块 → 720×560×2块（纹理方向）"}},
        {"a part type without pieces is no part",
         {Part("侧板", 720, 560, 2), Part("顶板", 564, 560, 1), Part("门", 716, 396, 2, 1),
          Part("层板", 564, 540, 0)},
         {}},
        {"everything gone",
         {},
         {"删除：侧板 720×560×2块", "删除：顶板 564×560×1块", "删除：门 716×396×2块"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CompareLayoutParts(before, c.now), c.changes);
    }
}

const QString kOrder = QStringLiteral("240101000001");

class StaleLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        data = std::make_unique<TsysData>(dir.filePath("KelmDB.db"));
        data->SetPrompt(&prompt);
        SetSysData(data.get());
        oak = AddMaterial("白橡", 18);
        back = AddMaterial("背板", 5);
        // The first cabinet entry: two sides, a top, a back and two doors.
        AddPanel("w1", oak, "侧板", 720, 560, 2, "1");
        AddPanel("w1", oak, "顶板", 564, 560, 1, "1");
        AddPanel("w1", oak, "门", 716, 396, 2, "2");
        AddPanel("w1", back, "背板", 684, 562, 1, "0");
    }
    void TearDown() override { SetSysData(nullptr); }

    bool Exec(const QString& sql, const QList<QPair<QString, QString>>& params = {}) {
        data->SetCommonSQL(sql);
        for (const auto& p : params) data->SetCommonParam(p.first, p.second);
        return data->ExecCommon();
    }

    QString AddMaterial(const QString& name, double thick) {
        Exec("INSERT INTO FCl(cateID,ylCode,ylName,length,width,houdu) VALUES(1,'',:n,2440,1220,:h)",
             {{"n", name}, {"h", QString::number(thick)}});
        auto q = data->OpenQuery("SELECT max(ylID) FROM FCl");
        return q->next() ? q->value(0).toString() : QString();
    }

    void AddPanel(const QString& winID, const QString& clID, const QString& name, double length,
                  double width, int count, const QString& wl) {
        ASSERT_TRUE(Exec("INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,"
                         "clCount,wl,flag,shape) VALUES(:p,:w,'G',:c,:n,:l,:wd,18,:k,:wl,'R','')",
                         {{"p", kOrder},
                          {"w", winID},
                          {"c", clID},
                          {"n", name},
                          {"l", QString::number(length)},
                          {"wd", QString::number(width)},
                          {"k", QString::number(count)},
                          {"wl", wl}}));
    }

    // A batch of the optimization job: the order's layouts are dropped, then each
    // material's current panels are laid out and stored.
    void OptimiseAll(const QStringList& materials) {
        data->SetCommonSQL("DELETE FROM FProBCCut");
        data->ExecCommon();
        for (const QString& ylID : materials) Optimise(ylID);
    }

    void Optimise(const QString& ylID) {
        TD2REleArr eles;
        ASSERT_TRUE(PartsFromPanels(ReadMaterialPanels(kOrder, ylID), eles));
        TD2RRawArr raws = {{1, "", ylID, "", 1, 2440, 1220, 99999999, 0}};
        TD2RGene g;
        g.RawDbID = ylID;
        g.RawLength = 2440;
        g.RawWidth = 1220;
        g.RawCount = 1;
        for (const TD2REle& e : eles) g.EleList.push_back({e.XH - 1, e.XH, e.Name, "", 0, 0, e.Length, e.Width});
        ASSERT_TRUE(TD2File().SaveToFile(raws, eles, TD2RPrm(), {g}, kOrder, ylID));
    }

    QStringList Materials(const std::vector<TStaleLayout>& stale) {
        QStringList names;
        for (const TStaleLayout& s : stale) names << s.materialName;
        return names;
    }

    QTemporaryDir dir;
    TPromptRecorder prompt;
    std::unique_ptr<TsysData> data;
    QString oak, back;
};

TEST_F(StaleLayoutTest, FreshLayoutsAreCurrentAndNoLayoutsAreNothingToWarnAbout) {
    EXPECT_TRUE(FindStaleLayouts(kOrder).empty());  // nothing stored yet
    OptimiseAll({oak, back});
    EXPECT_TRUE(FindStaleLayouts(kOrder).empty());
    EXPECT_TRUE(FindStaleLayouts("240101000099").empty());  // another order
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(StaleLayoutTest, EditedEntryMakesItsMaterialsLayoutStale) {
    Optimise(oak);
    Optimise(back);
    // The entry is saved again at another height: its rows are written anew.
    ASSERT_TRUE(Exec("DELETE FROM FProCl WHERE winID='w1'"));
    AddPanel("w1", oak, "侧板", 820, 560, 2, "1");
    AddPanel("w1", oak, "顶板", 564, 560, 1, "1");
    AddPanel("w1", oak, "门", 816, 396, 2, "2");
    AddPanel("w1", back, "背板", 684, 562, 1, "0");

    const auto stale = FindStaleLayouts(kOrder);
    ASSERT_EQ(stale.size(), 1u);
    EXPECT_EQ(stale[0].ylID, oak);
    EXPECT_EQ(stale[0].materialName, "白橡");
    EXPECT_FALSE(stale[0].pyID.isEmpty());
    EXPECT_EQ(stale[0].changes, (QStringList{"变化：侧板 720×560×2块 → 820×560×2块",
                                             "变化：门 396×716×2块 → 396×816×2块"}));
    EXPECT_EQ(StaleLayoutsText(stale),
              "排料结果已过期：白橡\n"
              "    变化：侧板 720×560×2块 → 820×560×2块\n"
              "    变化：门 396×716×2块 → 396×816×2块");
}

TEST_F(StaleLayoutTest, DeletedEntryLeavesEveryLayoutOfItStale) {
    Optimise(oak);
    Optimise(back);
    ASSERT_TRUE(Exec("DELETE FROM FProCl WHERE winID='w1'"));
    const auto stale = FindStaleLayouts(kOrder);
    EXPECT_EQ(Materials(stale), (QStringList{"白橡", "背板"}));
    ASSERT_EQ(stale.size(), 2u);
    EXPECT_EQ(stale[0].changes, (QStringList{"删除：侧板 720×560×2块", "删除：门 396×716×2块",
                                             "删除：顶板 564×560×1块"}));
    EXPECT_EQ(stale[1].changes, QStringList{"删除：背板 684×562×1块"});
}

TEST_F(StaleLayoutTest, SecondEntryAddsPiecesPartsAndMaterials) {
    Optimise(oak);
    Optimise(back);
    const QString walnut = AddMaterial("胡桃", 25);
    AddPanel("w2", oak, "侧板", 720, 560, 2, "1");   // same part: more pieces
    AddPanel("w2", oak, "层板", 564, 540, 3, "0");   // a new part
    AddPanel("w2", walnut, "台面", 1200, 600, 1, "1");  // a material without a layout
    const auto stale = FindStaleLayouts(kOrder);
    ASSERT_EQ(stale.size(), 2u);
    EXPECT_EQ(stale[0].materialName, "白橡");
    EXPECT_EQ(stale[0].changes, (QStringList{"变化：侧板 720×560×2块 → 720×560×4块",
                                             "新增：层板 564×540×3块"}));
    EXPECT_EQ(stale[1].materialName, "胡桃");
    EXPECT_EQ(stale[1].ylID, walnut);
    EXPECT_TRUE(stale[1].pyID.isEmpty());
    EXPECT_EQ(stale[1].changes, QStringList{"新增材料，尚无排料结果"});

    // Optimising again brings every layout up to date.
    OptimiseAll({oak, back, walnut});
    EXPECT_TRUE(FindStaleLayouts(kOrder).empty());
}

TEST_F(StaleLayoutTest, LongListsAreCutShortAndGoneMaterialsKeepTheirKey) {
    Optimise(oak);
    ASSERT_TRUE(Exec("DELETE FROM FProCl"));
    for (int i = 0; i < 11; ++i) AddPanel("w2", oak, QString("板%1").arg(i + 10), 100 + i, 100, 1, "0");
    auto stale = FindStaleLayouts(kOrder);
    ASSERT_EQ(stale.size(), 1u);
    EXPECT_EQ(stale[0].changes.size(), 14);  // three parts removed, eleven added
    const QStringList lines = StaleLayoutsText(stale).split('\n');
    ASSERT_EQ(lines.size(), 10);  // heading, 8 changes, the rest counted
    EXPECT_EQ(lines.first(), "排料结果已过期：白橡");
    EXPECT_EQ(lines.last(), "    ……另有6项变化");

    // The material itself deleted since: the layout is named by its key.
    ASSERT_TRUE(Exec("DELETE FROM FCl WHERE ylID=" + oak));
    stale = FindStaleLayouts(kOrder);
    ASSERT_EQ(stale.size(), 1u);
    EXPECT_EQ(stale[0].materialName, "材料 " + oak);
}

TEST_F(StaleLayoutTest, UnreadableLayoutIsLeftToItsReader) {
    Optimise(oak);
    ASSERT_TRUE(Exec("UPDATE FProBCCut SET cutFA='damaged'"));
    // Only the material without a layout is named; the damaged one is not called stale.
    const auto stale = FindStaleLayouts(kOrder);
    ASSERT_EQ(stale.size(), 1u);
    EXPECT_EQ(stale[0].ylID, back);
    EXPECT_TRUE(prompt.infos.isEmpty());
}

}  // namespace
