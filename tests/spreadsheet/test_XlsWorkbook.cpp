// The workbook model: sheet names, values, merged blocks, formats and limits, and
// saving under a path (failures reported with their reason, never as success).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <limits>

#include "XlsReadBack.h"
#include "spreadsheet/XlsWorkbook.h"

using namespace kelm;

namespace {

TEST(XlsWorkbookModel, SheetNamesAreKeptUniqueAndWithinTheLimit) {
    XlsWorkbook book;
    // Brackets are not allowed in sheet names: the closest allowed name is written.
    EXPECT_EQ(book.AddSheet(QStringLiteral("[Kelm]报表")).Name(), QStringLiteral("(Kelm)报表"));
    EXPECT_EQ(book.AddSheet(QStringLiteral("[kelm]报表")).Name(), QStringLiteral("(kelm)报表 (2)"));
    EXPECT_EQ(book.AddSheet(QString()).Name(), "Sheet3");
    const QString longName(40, QChar(0x677F));
    EXPECT_EQ(book.AddSheet(longName).Name(), longName.left(31));
    EXPECT_EQ(book.AddSheet(longName).Name(), longName.left(27) + " (2)");
    EXPECT_EQ(book.SheetCount(), 5);
}

TEST(XlsWorkbookModel, PortableSheetNames) {
    for (const char* name :
         {"报表", "Sheet1", "原材 列表 (2)", "a'b", "1234567890123456789012345678901"})
        EXPECT_TRUE(XlsSheetNameIsPortable(QString::fromUtf8(name))) << name;
    for (const char* name : {"", "[Kelm]报表", "a:b", "a/b", "a\\b", "a?", "a*", "'ab", "ab'",
                             "12345678901234567890123456789012"})
        EXPECT_FALSE(XlsSheetNameIsPortable(QString::fromUtf8(name))) << name;
}

TEST(XlsWorkbookModel, SheetNamesGetTheClosestAllowedName) {
    const struct {
        const char* given;
        const char* written;
    } cases[] = {
        {"[Kelm]软件报表", "(Kelm)软件报表"},
        {"a:b/c\\d?e*f", "a_b_c_d_e_f"},
        {"'ab'", "_ab_"},
        {"a'b", "a'b"},
        {"原材 列表 (2)", "原材 列表 (2)"},
        // Cut to 31 characters before the apostrophe check.
        {"123456789012345678901234567890'x", "123456789012345678901234567890_"},
    };
    for (const auto& c : cases) {
        XlsWorkbook book;
        const QString name = book.AddSheet(QString::fromUtf8(c.given)).Name();
        EXPECT_EQ(name, QString::fromUtf8(c.written)) << c.given;
        EXPECT_TRUE(XlsSheetNameIsPortable(name)) << c.given;
    }
}

TEST(XlsWorkbookModel, ReferencesToSheetsStayValidWhenMoreAreAdded) {
    XlsWorkbook book;
    XlsSheet& first = book.AddSheet("a");
    for (int i = 0; i < 50; ++i) book.AddSheet(QString::number(i));
    EXPECT_TRUE(first.SetText("A1", "still here"));
    EXPECT_EQ(book.Sheet(0).Cell(0, 0)->text, "still here");
}

TEST(XlsWorkbookModel, ValuesKeepTheirFormatAndFormatsKeepTheirValues) {
    XlsWorkbook book;
    XlsSheet& s = book.AddSheet("s");
    ASSERT_TRUE(s.SetBorders("A1:B2"));
    ASSERT_TRUE(s.SetText("A1", "x"));
    ASSERT_TRUE(s.SetFont("A1", 16, true));
    ASSERT_TRUE(s.SetHorizontalAlignment("A1:B1", XlsHAlign::Center));
    ASSERT_TRUE(s.SetNumber("A1", 3.5));
    const XlsCell* a1 = s.Cell(0, 0);
    ASSERT_TRUE(a1);
    EXPECT_EQ(a1->kind, XlsCell::Kind::Number);
    EXPECT_EQ(a1->number, 3.5);
    EXPECT_EQ(a1->format, (XlsCellFormat{16, true, XlsHAlign::Center, XlsVAlign::Bottom, true}));
    // Formatting a block creates empty formatted cells and changes only what it names.
    const XlsCell* b2 = s.Cell(1, 1);
    ASSERT_TRUE(b2);
    EXPECT_EQ(b2->kind, XlsCell::Kind::Empty);
    EXPECT_TRUE(b2->format.borders);
    EXPECT_EQ(b2->format.hAlign, XlsHAlign::General);
    EXPECT_EQ(s.Cell(2, 2), nullptr);
    ASSERT_TRUE(s.SetBold("A1", false));
    EXPECT_EQ(s.Cell(0, 0)->format.fontSize, 16);
}

TEST(XlsWorkbookModel, MergedBlocksMayNotOverlap) {
    XlsWorkbook book;
    XlsSheet& s = book.AddSheet("s");
    EXPECT_TRUE(s.Merge("A1:L1"));
    EXPECT_TRUE(s.Merge("A1:L1")) << "the same block again changes nothing";
    EXPECT_FALSE(s.Merge("L1:M2")) << "overlaps A1:L1";
    EXPECT_TRUE(s.Merge("A2:D2"));
    EXPECT_TRUE(s.Merge("C5")) << "a single cell needs no merging";
    EXPECT_FALSE(s.Merge("A1:IW1"));
    EXPECT_EQ(s.Merges(), (std::vector<XlsRange>{{0, 0, 0, 11}, {1, 0, 1, 3}}));
}

TEST(XlsWorkbookModel, OutOfRangeAndBadInputIsRefused) {
    XlsWorkbook book;
    XlsSheet& s = book.AddSheet("s");
    EXPECT_FALSE(s.SetText(65536, 0, "x"));
    EXPECT_FALSE(s.SetText(0, 256, "x"));
    EXPECT_FALSE(s.SetText(-1, 0, "x"));
    EXPECT_FALSE(s.SetText("not a cell", "x"));
    EXPECT_FALSE(s.SetNumber("A1", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(s.SetNumber("A1", std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(s.SetFont("A1", 0, false));
    EXPECT_FALSE(s.SetBorders("B2:"));
    EXPECT_FALSE(s.SetBorders("A1:IV65536")) << "a whole-sheet block would fill memory";
    EXPECT_FALSE(s.SetColumnWidth(256, 10));
    EXPECT_FALSE(s.SetRowHeight(-1, 10));
    EXPECT_TRUE(s.Cells().empty()) << "nothing was created by refused calls";
    ASSERT_TRUE(s.SetText("A1", QString(40000, 'y')));
    EXPECT_EQ(s.Cell(0, 0)->text.size(), 32767) << "the format's longest text";
    ASSERT_TRUE(s.SetColumnWidth("C", 300));
    EXPECT_EQ(s.ColumnWidth(2), 255);
    EXPECT_EQ(s.ColumnWidth(3), XlsSheet::kDefaultColumnWidth);
    ASSERT_TRUE(s.SetRowHeight(1, 1000));
    EXPECT_EQ(s.RowHeight(1), 409);
}

XlsWorkbook SmallBook() {
    XlsWorkbook book;
    book.AddSheet(QStringLiteral("[Kelm]报表")).SetText("A1", QStringLiteral("原材列表"));
    return book;
}

TEST(XlsWorkbookSave, SavesTheBytesWrittenToMemoryUnderAnyName) {
    QTemporaryDir dir;
    const XlsWorkbook book = SmallBook();
    MemoryByteSink memory;
    ASSERT_TRUE(book.Write(memory));
    // Any extension; a file name with two dots is kept as it is.
    for (const char* name : {"report.xls", "cut.old.xls", "list.xlsx", "空格 名称.xls"}) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QString error;
        ASSERT_TRUE(book.Save(path, &error)) << error.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), memory.Bytes()) << name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4) << "no temporary files left";
}

TEST(XlsWorkbookSave, ReplacesAnExistingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.xls");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'z'));
    old.close();
    QString error;
    ASSERT_TRUE(SmallBook().Save(path, &error)) << error.toStdString();
    const QJsonObject back = test::ReadXlsFile(path, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(test::CellAt(back["sheets"].toArray()[0].toObject(), 0, 0)["value"].toString(),
              QStringLiteral("原材列表"));
}

TEST(XlsWorkbookSave, UnwritablePathsFailWithAReason) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QString path;
        const char* reasonMentions;
    } cases[] = {
        {"missing folder", dir.filePath("no/such/folder/report.xls"), "不存在"},
        {"a folder", dir.path(), "是一个文件夹"},
        {"empty path", QString(), "未指定文件名"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(SmallBook().Save(c.path, &error));
        EXPECT_TRUE(error.contains(c.reasonMentions)) << error.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/report.xls")));
}

}  // namespace
