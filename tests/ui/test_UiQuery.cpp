// SELECTs with bound values: any character in a value, and the designed message when a
// statement cannot run.
#include <QSqlQuery>

#include "UiTestSupport.h"
#include "ui/UiQuery.h"

using UiQueryTest = UiTest;

TEST_F(UiQueryTest, ValuesAreBoundNotSpliced) {
    AddOrder("1", "A", "it's");
    auto query =
        OpenBoundQuery("SELECT proName FROM FProject WHERE proName=:name", {{":name", "it's"}});
    ASSERT_TRUE(query->next());
    EXPECT_EQ(query->value(0).toString(), "it's");
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(UiQueryTest, FailingStatementShowsTheConnectionMessage) {
    auto query = OpenBoundQuery("SELECT nothing FROM NoSuchTable WHERE a=:a", {{"a", "1"}});
    EXPECT_FALSE(query->isActive());
    EXPECT_FALSE(query->next());
    EXPECT_EQ(prompt.infos, QStringList{"连接数据库出现异常情况！"});
}

TEST_F(UiQueryTest, DatabaseThatCannotOpenShowsTheConnectionMessage) {
    TsysData unreachable(dir.filePath("no such folder/KelmDB.db"));
    unreachable.SetPrompt(&prompt);
    SetSysData(&unreachable);
    auto query = OpenBoundQuery("SELECT proName FROM FProject WHERE proID=:id", {{"id", "1"}});
    SetSysData(data.get());
    EXPECT_FALSE(query->next());
    EXPECT_EQ(prompt.infos, QStringList{"连接数据库出现异常情况！"});
}
