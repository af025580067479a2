// Value records of the cabinet model and the two lookups that read the database.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "cabinet/UDataType.h"
#include "data/UnitData.h"

namespace {

// Installs a data module on a fresh database file for the test's lifetime.
class TempDatabase : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        data = std::make_unique<TsysData>(dir.filePath(QStringLiteral("KelmDB.db")));
        ASSERT_TRUE(data->Open());
        SetSysData(data.get());
    }
    void TearDown() override {
        SetSysData(nullptr);
        data.reset();
    }
    void Exec(const QString& sql) {
        data->SetCommonSQL(sql);
        ASSERT_TRUE(data->ExecCommon()) << sql.toStdString();
    }

    QTemporaryDir dir;
    std::unique_ptr<TsysData> data;
};

}  // namespace

TEST_F(TempDatabase, SysSetReadsTheFirstRow) {
    Exec(QStringLiteral("UPDATE FSysSet SET cmpName='木作坊',blade=4.5,JQD=2,OptT1=1"));
    const TSysSet set = GetSysSet();
    EXPECT_EQ(set.cmpName, QStringLiteral("木作坊"));
    EXPECT_DOUBLE_EQ(set.Blade, 4.5);
    EXPECT_EQ(set.JQD, 2);
    EXPECT_EQ(set.OptT1, 1);
}

TEST_F(TempDatabase, SysSetWithoutRowGivesDefaults) {
    Exec(QStringLiteral("UPDATE FSysSet SET cmpName='X',blade=3,JQD=1,OptT1=2"));
    Exec(QStringLiteral("DELETE FROM FSysSet"));
    const TSysSet set = GetSysSet();
    EXPECT_EQ(set.cmpName, QStringLiteral("Veldstrom"));
    EXPECT_DOUBLE_EQ(set.Blade, 5);
    EXPECT_EQ(set.JQD, 0);
    EXPECT_EQ(set.OptT1, 0);
}

TEST_F(TempDatabase, MaterialReferenceFromIdentifier) {
    Exec(
        QStringLiteral("INSERT INTO FCl(cateID,ylCode,ylName,length,width,houdu) "
                       "VALUES(1,'M1','白色颗粒板',2440,1220,16)"));
    auto q = data->OpenQuery(QStringLiteral("SELECT ylID FROM FCl"));
    ASSERT_TRUE(q->next());
    const QString id = q->value(0).toString();
    q.reset();

    const FCl found = GetCl(id);
    EXPECT_EQ(found.DbID, id);
    EXPECT_DOUBLE_EQ(found.Thick, 16);
    EXPECT_TRUE(found.Name.isEmpty());

    // Unknown identifiers, and texts that are no identifier at all, give the
    // "no material" reference without touching the database.
    for (const QString& bad : {QStringLiteral("999"), QStringLiteral("-5"), QString(),
                               QStringLiteral("1 OR 1=1"), QStringLiteral("1;DROP TABLE FCl")}) {
        const FCl none = GetCl(bad);
        EXPECT_EQ(none.DbID, QStringLiteral("-1")) << bad.toStdString();
        EXPECT_DOUBLE_EQ(none.Thick, 18) << bad.toStdString();
        EXPECT_TRUE(none.Name.isEmpty());
    }
    auto still = data->OpenQuery(QStringLiteral("SELECT COUNT(*) FROM FCl"));
    ASSERT_TRUE(still->next());
    EXPECT_EQ(still->value(0).toInt(), 1);
}

TEST(UDataType, CopiesAreIndependent) {
    FBC bc;
    bc.Cl.Name = QStringLiteral("侧板");
    FBC bcCopy = bc;
    bcCopy.Cl.Name = QStringLiteral("顶板");
    EXPECT_EQ(bc.Cl.Name, QStringLiteral("侧板"));

    FMB mb;
    mb.Cl.Name = QStringLiteral("左门扇");
    FMB mbCopy = mb;
    mbCopy.Cl.Name += QStringLiteral("2");
    EXPECT_EQ(mb.Cl.Name, QStringLiteral("左门扇"));

    FChTi ct;
    ct.ACl.Name = QStringLiteral("抽屉1");
    FChTi ctCopy = ct;
    ctCopy.ACl.Name.clear();
    ctCopy.BCl.Name = QStringLiteral("底");
    EXPECT_EQ(ct.ACl.Name, QStringLiteral("抽屉1"));
    EXPECT_TRUE(ct.BCl.Name.isEmpty());
}

TEST(UDataType, EnumerationNames) {
    const struct {
        FBCType type;
        const char* name;
    } types[] = {{FBCType::BeiBan, "BeiBan"},         {FBCType::CeBanLeft, "CeBanLeft"},
                 {FBCType::CeBanRight, "CeBanRight"}, {FBCType::DingBan, "DingBan"},
                 {FBCType::CengBan, "CengBan"},       {FBCType::GeBan, "GeBan"},
                 {FBCType::ShuBan, "ShuBan"},         {FBCType::DiBan, "DiBan"}};
    for (const auto& t : types) {
        EXPECT_EQ(FBCTypeName(t.type), QString::fromLatin1(t.name));
        EXPECT_EQ(FBCTypeFromName(QString::fromLatin1(t.name)), t.type);
    }
    EXPECT_TRUE(FBCTypeName(FBCType::MenBan).isEmpty());
    EXPECT_FALSE(FBCTypeFromName(QStringLiteral("MenBan")).has_value());
    EXPECT_FALSE(FBCTypeFromName(QStringLiteral("beiban")).has_value());

    EXPECT_EQ(FShapeName(FShape::R), QStringLiteral("R"));
    EXPECT_EQ(FShapeName(FShape::A4L), QStringLiteral("A4L"));
    EXPECT_EQ(FShapeName(FShape::A4R), QStringLiteral("A4R"));
    EXPECT_EQ(FShapeFromName(QStringLiteral("A4R")), FShape::A4R);
    EXPECT_FALSE(FShapeFromName(QString()).has_value());
}
