// Backup and restore of the database file: the copy with progress, the backup window
// with its folder chooser, and the restore window.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "../UiTestSupport.h"
#include "EngineTestSupport.h"
#include "ui/orders/UnitBackData.h"
#include "ui/orders/UnitDirectory.h"
#include "ui/orders/UnitMainLinks.h"
#include "ui/orders/UnitRestoreData.h"

namespace {
QByteArray Bytes(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = char(i * 7 + 3);
    return bytes;
}
void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
QStringList Leftovers(const QString& folder) {
    return QDir(folder).entryList({"*.part"}, QDir::Files | QDir::Hidden);
}
}  // namespace

TEST(BackupTimeStampTest, NumbersFollowEachOtherWithoutLeadingZeros) {
    EXPECT_EQ(BackupTimeStamp(QDateTime(QDate(2015, 3, 7), QTime(9, 5))), "20153795");
    EXPECT_EQ(BackupTimeStamp(QDateTime(QDate(2015, 12, 17), QTime(14, 30))), "201512171430");
    EXPECT_EQ(BackupTimeStamp(QDateTime(QDate(2024, 1, 1), QTime(0, 0))), "20241100");
}

class CopyTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString Path(const QString& name) { return dir.filePath(name); }
};

TEST_F(CopyTest, CopiesInAHundredStepsWithProgressBelowAHundred) {
    struct Case {
        int size;
        int steps;
    };
    const Case cases[] = {{1000, 100}, {1050, 105}, {99, 1}, {1, 1}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const QByteArray bytes = Bytes(c.size);
        Write(Path("src"), bytes);
        QVector<int> values;
        EXPECT_EQ(CopyWithProgress(Path("src"), Path("dst"), [&](int v) { values << v; }),
                  TCopyResult::Copied);
        EXPECT_EQ(Read(Path("dst")), bytes);
        // Reset at the start, one value per step, reset at the end.
        ASSERT_EQ(values.size(), c.steps + 2);
        EXPECT_EQ(values.front(), 0);
        EXPECT_EQ(values.back(), 0);
        for (int i = 1; i <= c.steps; ++i) {
            EXPECT_GE(values[i], values[i - 1]);
            EXPECT_LE(values[i], 99);
        }
        if (c.size == 1000) {
            EXPECT_EQ(values[c.steps], 99);  // never 100
            EXPECT_EQ(values[51], 50);       // 500 bytes copied before step 51
        }
        EXPECT_TRUE(Leftovers(dir.path()).isEmpty());
    }
}

TEST_F(CopyTest, FailureOrRefusalLeavesTheTargetAsItWas) {
    Write(Path("src"), Bytes(500));
    Write(Path("dst"), "old");
    // Missing source, target in a missing folder, target that is a folder.
    EXPECT_EQ(CopyWithProgress(Path("nosuch"), Path("dst"), {}), TCopyResult::Failed);
    EXPECT_EQ(CopyWithProgress(Path("src"), Path("nodir/dst"), {}), TCopyResult::Failed);
    QDir(dir.path()).mkdir("sub");
    EXPECT_EQ(CopyWithProgress(Path("src"), Path("sub"), {}), TCopyResult::Failed);
    // A complete copy that the check refuses.
    QString checked;
    EXPECT_EQ(CopyWithProgress(Path("src"), Path("dst"), {},
                               [&](const QString& copy) {
                                   checked = Read(copy) == Bytes(500) ? "complete" : "partial";
                                   return false;
                               }),
              TCopyResult::Refused);
    EXPECT_EQ(checked, "complete");
    EXPECT_EQ(Read(Path("dst")), "old");
    EXPECT_FALSE(QFileInfo::exists(Path("nodir/dst")));
    EXPECT_TRUE(Leftovers(dir.path()).isEmpty());
}

class BackupTest : public UiTest {
  protected:
    void TearDown() override {
        SetOpenFileHandler({});
        UiTest::TearDown();
    }
    QString DbPath() { return data->DatabasePath(); }
    int Categories() { return Count("SELECT COUNT(*) FROM FClCls"); }
};

TEST_F(BackupTest, BackupWindowOffersATimeStampedFileNextToTheDatabase) {
    TfrmBackData window;
    EXPECT_EQ(window.windowTitle(), "数据备份");
    const QString path = QDir::fromNativeSeparators(window.txtPath->text());
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(DbPath()).absolutePath());
    EXPECT_TRUE(path.endsWith(".bak"));
    EXPECT_TRUE(QFileInfo(path).completeBaseName().startsWith(
        QString::number(QDate::currentDate().year())));
    EXPECT_EQ(window.prsBar->minimum(), 0);
    EXPECT_EQ(window.prsBar->maximum(), 100);
    // Showing the window frees the database file.
    ASSERT_TRUE(data->IsOpen());
    window.show();
    EXPECT_FALSE(data->IsOpen());
    window.hide();
}

TEST_F(BackupTest, FolderChooserSetsOrEmptiesThePath) {
    TfrmBackData window;
    ExpectModal<TfrmFile>([&](TfrmFile& chooser) {
        EXPECT_EQ(chooser.windowTitle(), "备份文件位置");
        chooser.SetFolder(dir.path());
        chooser.btnSelClick();
    });
    window.btnBrowseClick();
    const QString path = QDir::fromNativeSeparators(window.txtPath->text());
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(dir.path()).absolutePath());
    EXPECT_TRUE(path.endsWith(".bak"));

    ExpectModal<TfrmFile>([](TfrmFile& chooser) { chooser.reject(); });
    window.btnBrowseClick();
    EXPECT_TRUE(window.txtPath->text().isEmpty());
    window.btnBackClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择备份位置!"});
}

TEST_F(BackupTest, BackupCopiesTheDatabaseAndReopensIt) {
    Exec("INSERT INTO FClCls(cateName) VALUES('板材')");
    // A second Kelm on the same file saves a category: it stays in the log file while
    // that program runs, and the backup must hold it all the same.
    const QString other = "second-kelm";
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", other);
        db.setDatabaseName(DbPath());
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec("INSERT INTO FClCls(cateName) VALUES('背板')"));
    }
    TfrmBackData window;
    window.show();  // frees the program's own connection
    const QString target = dir.filePath("copy.bak");
    window.txtPath->setText(" " + QDir::toNativeSeparators(target) + " ");
    window.btnBackClick();
    window.hide();
    EXPECT_EQ(prompt.infos, QStringList{"数据备份成功!"});
    EXPECT_EQ(window.prsBar->value(), 0);
    EXPECT_TRUE(window.btnBack->isEnabled());
    QSqlDatabase::database(other, false).close();
    QSqlDatabase::removeDatabase(other);
    EXPECT_TRUE(IsKelmDatabaseFile(target));
    {
        TsysData backup(target);
        auto q = backup.OpenQuery("SELECT cateName FROM FClCls ORDER BY cateID");
        QStringList names;
        while (q->next()) names << q->value(0).toString();
        EXPECT_EQ(names, (QStringList{"板材", "背板"}));
    }
    EXPECT_EQ(Categories(), 2);  // the program goes on with its data

    prompt.infos.clear();
    window.txtPath->setText(dir.filePath("nosuch/x.bak"));
    window.btnBackClick();
    EXPECT_EQ(prompt.infos, QStringList{"备份失败，请检查备份路径是否存在？"});
}

TEST_F(BackupTest, RestoreBringsBackTheBackedUpData) {
    Exec("INSERT INTO FClCls(cateName) VALUES('板材')");
    const QString backup = dir.filePath("b.bak");
    {
        TfrmBackData window;
        window.txtPath->setText(backup);
        window.btnBackClick();
    }
    Exec("INSERT INTO FClCls(cateName) VALUES('背板')");
    ASSERT_EQ(Categories(), 2);

    TfrmRestoreData window;
    EXPECT_EQ(window.windowTitle(), "数据还原");
    QString filter;
    SetOpenFileHandler([&](QWidget*, const QString&, const QString& f) {
        filter = f;
        return backup;
    });
    window.btnBrowseClick();
    EXPECT_EQ(filter, "备份文件|*.bak");
    EXPECT_EQ(QDir::fromNativeSeparators(window.txtPath->text()), backup);
    prompt.infos.clear();
    window.btnRestoreClick();
    EXPECT_EQ(prompt.infos, QStringList{"数据还原成功!"});
    EXPECT_EQ(Categories(), 1);  // the next query reads the restored file
    EXPECT_TRUE(Leftovers(dir.path()).isEmpty());

    // A cancelled file dialog keeps the path.
    SetOpenFileHandler([](QWidget*, const QString&, const QString&) { return QString(); });
    window.btnBrowseClick();
    EXPECT_EQ(QDir::fromNativeSeparators(window.txtPath->text()), backup);
}

TEST_F(BackupTest, RestoreRefusesWhatIsNotAKelmDatabaseAndKeepsTheData) {
    Exec("INSERT INTO FClCls(cateName) VALUES('板材')");
    // A text file, an SQLite file without the Kelm tables, a truncated Kelm file.
    Write(dir.filePath("text.bak"), "just some text, not a database at all");
    {
        const QString name = "foreign-db";
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(dir.filePath("other.bak"));
            ASSERT_TRUE(db.open());
            QSqlQuery(db).exec("CREATE TABLE t(x)");
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    data->Close();
    const QByteArray whole = Read(DbPath());
    Write(dir.filePath("cut.bak"), whole.left(whole.size() / 2));
    const QByteArray before = whole;

    TfrmRestoreData window;
    for (const char* name : {"text.bak", "other.bak", "cut.bak"}) {
        SCOPED_TRACE(name);
        prompt.infos.clear();
        window.txtPath->setText(dir.filePath(QString::fromLatin1(name)));
        window.btnRestoreClick();
        ASSERT_EQ(prompt.infos.size(), 1);
        EXPECT_EQ(prompt.infos[0], "所选文件不是有效的Kelm数据文件，数据未还原！");
        EXPECT_EQ(Categories(), 1);
        data->Close();
        EXPECT_EQ(Read(DbPath()), before);
    }
    EXPECT_TRUE(Leftovers(dir.path()).isEmpty());

    prompt.infos.clear();
    window.txtPath->setText(dir.filePath("missing.bak"));
    window.btnRestoreClick();
    EXPECT_EQ(prompt.infos, QStringList{"数据还原失败，请检查路径是否存在？"});
    EXPECT_EQ(Categories(), 1);

    prompt.infos.clear();
    window.txtPath->setText("  ");
    window.btnRestoreClick();
    EXPECT_EQ(prompt.infos, QStringList{"请选择数据文件!"});
}

TEST_F(BackupTest, MainWindowCommandsOpenBackupAndRestore) {
    ExpectModal<TfrmRestoreData>([](TfrmRestoreData&) {});
    OpenRestore(nullptr);
    ExpectModal<TfrmBackData>([](TfrmBackData&) {});
    OpenBackup(nullptr);
    EXPECT_EQ(opened, (QStringList{"TfrmRestoreData", "TfrmBackData"}));
    EXPECT_TRUE(prompt.infos.isEmpty());
}

// The same windows when the program runs on a server: the backup is a file the restore
// window takes, and the restore replaces the server's rows with the file's.
TEST(ServerBackupWindowTest, BackupAndRestoreOnAServer) {
    KELM_REQUIRE_ENGINE(TDbEngine::Server);
    TTestDatabase place(TDbEngine::Server);
    ASSERT_FALSE(place.Spec().isEmpty()) << place.Problem().toStdString();
    TTestDatabase folder(TDbEngine::File);
    TsysData server(place.Spec());
    TPromptRecorder prompt;
    server.SetPrompt(&prompt);
    SetSysData(&server);
    auto exec = [&](const char* sql) {
        server.SetCommonSQL(QString::fromUtf8(sql));
        ASSERT_TRUE(server.ExecCommon()) << sql << server.LastError().toStdString();
    };
    auto categories = [&] {
        auto q = server.OpenQuery("SELECT COUNT(*) FROM FClCls");
        return q->next() ? q->value(0).toInt() : -1;
    };
    exec("INSERT INTO FClCls(cateName) VALUES('板材')");
    const QString backup = folder.Folder() + "/s.bak";
    {
        TfrmBackData window;
        window.txtPath->setText(backup);
        window.btnBackClick();
    }
    EXPECT_EQ(prompt.infos, QStringList{"数据备份成功!"});
    exec("INSERT INTO FClCls(cateName) VALUES('背板')");
    ASSERT_EQ(categories(), 2);

    TfrmRestoreData window;
    prompt.infos.clear();
    window.txtPath->setText(backup);
    window.btnRestoreClick();
    EXPECT_EQ(prompt.infos, QStringList{"数据还原成功!"});
    EXPECT_EQ(categories(), 1);
    EXPECT_TRUE(window.btnRestore->isEnabled());

    // Not a Kelm file: refused, the server keeps its rows.
    Write(folder.Folder() + "/text.bak", "just some text");
    prompt.infos.clear();
    window.txtPath->setText(folder.Folder() + "/text.bak");
    window.btnRestoreClick();
    EXPECT_EQ(prompt.infos, QStringList{"所选文件不是有效的Kelm数据文件，数据未还原！"});
    EXPECT_EQ(categories(), 1);
    SetSysData(nullptr);
}
