// Where the program may keep its own files: next to a private copy, never in the
// program folders of an installation (where root could write but must not).

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/ProgramFolder.h"
#include "common/Version.h"

TEST(InstalledProgramFolder, SystemProgramFoldersAndUnpackedInstallationsCount) {
    const struct {
        const char* folder;
        bool installed;
    } cases[] = {
        {"/usr/bin", true},
        {"/usr/bin/", true},
        {"/usr/local/bin", true},
        {"/usr/games", true},
        {"/usr/sbin", true},
        {"/bin", true},
        {"/sbin", true},
        {"/opt/kelm/bin", true},
        {"/opt/kelm", true},
        {"/tmp/unpacked/usr/bin", true},  // dpkg-deb -x of the package
        {"/tmp/unpacked/usr/local/bin", true},
        {"/usr/bin/../lib/kelm/../../bin", true},
        {"/home/joe/kelm/build/src/app", false},
        {"/home/joe/bin", false},
        {"/usr/src/kelm/build/src/app", false},
        {"/usr/src/kelm/bin", false},
        {"/local/bin", false},
        {"/optional/bin", false},
        {"/usr", false},
        {"/", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kelm::IsInstalledProgramFolder(c.folder), c.installed) << c.folder;
}

TEST(ProgramFolderTakesFiles, OnlyAWritableFolderOutsideAnInstallation) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString own = dir.filePath("kelm");
    const QString unpacked = dir.filePath("root/usr/bin");
    ASSERT_TRUE(QDir().mkpath(own));
    ASSERT_TRUE(QDir().mkpath(unpacked));
    EXPECT_TRUE(kelm::ProgramFolderTakesFiles(own));
    EXPECT_FALSE(kelm::ProgramFolderTakesFiles(unpacked)) << "writable, but an installation";
    EXPECT_FALSE(kelm::ProgramFolderTakesFiles(dir.filePath("missing")));
    EXPECT_FALSE(kelm::ProgramFolderTakesFiles(QString()));

    // A link named like an ordinary folder that leads into an installed tree.
    const QString link = dir.filePath("shortcut");
    ASSERT_TRUE(QFile::link(unpacked, link));
    EXPECT_FALSE(kelm::ProgramFolderTakesFiles(link));

    // Not writable (root writes anywhere, so only a non-root run can see this case).
    if (geteuid() != 0) {
        const QString locked = dir.filePath("locked");
        ASSERT_TRUE(QDir().mkpath(locked));
        ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        EXPECT_FALSE(kelm::ProgramFolderTakesFiles(locked));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

TEST(Version, LineAndOption) {
    EXPECT_FALSE(kelm::VersionNumber().isEmpty());
    EXPECT_TRUE(kelm::VersionNumber().front().isDigit());
    EXPECT_EQ(kelm::VersionLine("kelm-cut"), "kelm-cut " + kelm::VersionNumber());
    const char* asks[] = {"kelm", "-platform", "offscreen", "--version"};
    const char* ignores[] = {"kelm", "--versions", "version", "-version"};
    EXPECT_TRUE(kelm::AsksForVersion(4, asks));
    EXPECT_FALSE(kelm::AsksForVersion(4, ignores));
    EXPECT_FALSE(kelm::AsksForVersion(1, asks)) << "the program's own name is no argument";
}
