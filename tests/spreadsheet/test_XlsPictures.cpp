// Pictures: bitmaps turned into PNG store entries, and the drawing records that place
// them on their sheets, read back from the Workbook stream of the saved file.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include "XlsReadBack.h"
#include "spreadsheet/XlsBitmap.h"
#include "spreadsheet/XlsWorkbook.h"

using namespace kelm;
using kelm::test::ReadBack;

namespace {

// A small drawing with distinct colours in each corner so flips and channel swaps show.
QImage TestImage(int w, int h, QColor fill = Qt::white) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    QPainter p(&image);
    p.fillRect(0, 0, w / 4, h / 4, QColor(200, 30, 40));
    p.fillRect(w - w / 4, h - h / 4, w / 4, h / 4, QColor(20, 60, 220));
    p.setPen(QColor(10, 150, 20));
    p.drawLine(0, h - 1, w - 1, 0);
    p.drawRect(0, 0, w - 1, h - 1);
    return image;
}

QByteArray BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A 32-bit bitmap written by hand (Qt writes 24 bits), bottom-up or top-down.
QByteArray Bmp32(const QImage& image, bool topDown) {
    const int w = image.width(), h = image.height();
    QByteArray b(54 + w * h * 4, '\0');
    char* d = b.data();
    d[0] = 'B';
    d[1] = 'M';
    qToLittleEndian<quint32>(quint32(b.size()), d + 2);
    qToLittleEndian<quint32>(54, d + 10);
    qToLittleEndian<quint32>(40, d + 14);
    qToLittleEndian<qint32>(w, d + 18);
    qToLittleEndian<qint32>(topDown ? -h : h, d + 22);
    qToLittleEndian<quint16>(1, d + 26);
    qToLittleEndian<quint16>(32, d + 28);
    for (int y = 0; y < h; ++y) {
        const int fileRow = topDown ? y : h - 1 - y;
        for (int x = 0; x < w; ++x)
            qToLittleEndian<quint32>(image.pixel(x, y), d + 54 + (fileRow * w + x) * 4);
    }
    return b;
}

bool SamePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

TEST(XlsBitmap, EveryBitmapLayoutGivesThePixelsBack) {
    const QImage image = TestImage(37, 21);  // odd width: rows are padded in the file
    QImage mono = image.convertToFormat(QImage::Format_Mono);
    struct Case {
        const char* name;
        QByteArray bmp;
        QImage expected;
    } cases[] = {
        {"24-bit from Qt", BmpBytes(image), image},
        {"8-bit palette", BmpBytes(image.convertToFormat(QImage::Format_Indexed8)),
         image.convertToFormat(QImage::Format_Indexed8)},
        {"1-bit palette", BmpBytes(mono), mono},
        {"32-bit bottom-up", Bmp32(image, false), image},
        {"32-bit top-down", Bmp32(image, true), image},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray png;
        int w = 0, h = 0;
        QString error;
        ASSERT_TRUE(BmpToPng(c.bmp, png, w, h, &error)) << error.toStdString();
        EXPECT_EQ(w, 37);
        EXPECT_EQ(h, 21);
        const QImage decoded = QImage::fromData(png, "PNG");
        ASSERT_FALSE(decoded.isNull());
        EXPECT_TRUE(SamePixels(decoded, c.expected));
    }
}

TEST(XlsBitmap, DataThatIsNoUsableBitmapIsRefusedWithAReason) {
    const QByteArray good = BmpBytes(TestImage(8, 8));
    QByteArray rle = good;
    qToLittleEndian<quint32>(1, rle.data() + 30);  // compressed
    QByteArray bits16 = good;
    qToLittleEndian<quint16>(16, bits16.data() + 28);
    struct Case {
        const char* name;
        QByteArray bmp;
    } cases[] = {
        {"empty", {}},
        {"a PNG",
         [] {
             QByteArray b;
             QBuffer buf(&b);
             buf.open(QIODevice::WriteOnly);
             TestImage(8, 8).save(&buf, "PNG");
             return b;
         }()},
        {"cut short", good.left(good.size() - 10)},
        {"compressed", rle},
        {"16 bits", bits16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray png;
        int w = 0, h = 0;
        QString error;
        EXPECT_FALSE(BmpToPng(c.bmp, png, w, h, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    XlsWorkbook book;
    QString error;
    EXPECT_FALSE(book.AddSheet("s").InsertPicture("A1", QByteArray("BMnonsense"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(book.Sheet(0).Pictures().empty());
    EXPECT_FALSE(book.Sheet(0).InsertPictureFile("A1", "/nonexistent/Temp.bmp", &error));
    EXPECT_TRUE(error.contains("Temp.bmp"));
    EXPECT_FALSE(book.Sheet(0).InsertPicture("A0", BmpBytes(TestImage(4, 4)), &error));
}

QString Md5Hex(const QByteArray& data) {
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
}

class XlsPictureReadBack : public ::testing::Test {
  protected:
    void SetUp() override {
        // Sheet 1: a 300 x 300 picture at A1 in a row exactly as high (225 points).
        XlsSheet& a = book_.AddSheet(QStringLiteral("尺寸图"));
        a.SetRowHeight(0, 225);
        ASSERT_TRUE(a.InsertPicture("A1", BmpBytes(TestImage(300, 300))));
        a.SetText("A2", QStringLiteral("代号"));
        // Sheet 2: a picture at B3 over default-sized cells.
        XlsSheet& b = book_.AddSheet(QStringLiteral("图纸"));
        b.SetText("A1", QStringLiteral("宽(W)"));
        ASSERT_TRUE(b.InsertPicture("B3", BmpBytes(TestImage(100, 40, Qt::yellow))));
        // Sheet 3: two pictures, the second below the first, over 18-character columns.
        XlsSheet& c = book_.AddSheet(QStringLiteral("[Kelm]报表"));
        for (int col = 0; col < 4; ++col) c.SetColumnWidth(col, 18);
        c.SetRowHeight(7, 200);
        ASSERT_TRUE(c.InsertPicture("A8", BmpBytes(TestImage(529, 300, Qt::cyan))));
        ASSERT_TRUE(c.InsertPicture("A9", BmpBytes(TestImage(64, 17, Qt::gray))));
        QString error;
        result_ = ReadBack(book_, &error, QStringLiteral("pictures.xls"));
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }
    QJsonObject Drawing(int sheet) const {
        return result_["sheets"].toArray()[sheet].toObject()["drawing"].toObject();
    }
    XlsWorkbook book_;
    QJsonObject result_;
};

TEST_F(XlsPictureReadBack, StoreHoldsEachPictureAsPng) {
    const QJsonObject group = result_["drawing_group"].toObject();
    const QJsonArray store = group["store"].toArray();
    ASSERT_EQ(store.size(), 4);
    std::vector<const XlsPicture*> pictures;
    for (int s = 0; s < book_.SheetCount(); ++s)
        for (const XlsPicture& p : book_.Sheet(s).Pictures()) pictures.push_back(&p);
    for (int i = 0; i < 4; ++i) {
        const QJsonObject entry = store[i].toObject();
        EXPECT_EQ(entry["blip_type"].toInt(), 6) << "PNG";
        EXPECT_EQ(entry["record"].toInt(), 0xF01E);
        EXPECT_EQ(entry["refs"].toInt(), 1);
        EXPECT_EQ(entry["size"].toInt(), entry["blip_len"].toInt());
        EXPECT_EQ(entry["md5"].toString(), Md5Hex(pictures[i]->png));
    }
    const QImage first = QImage::fromData(
        QByteArray::fromBase64(store[0].toObject()["png"].toString().toLatin1()), "PNG");
    EXPECT_TRUE(SamePixels(first, TestImage(300, 300)));
    // Shape id clusters: one per drawing, counting its group shape.
    EXPECT_EQ(group["clusters"].toArray(),
              QJsonArray({QJsonArray({1, 2}), QJsonArray({2, 2}), QJsonArray({3, 3})}));
    EXPECT_EQ(group["drawings_saved"].toInt(), 3);
    EXPECT_EQ(group["shapes_saved"].toInt(), 7);
    EXPECT_EQ(group["spid_max"].toInt(), 3 * 1024 + 3);
}

TEST_F(XlsPictureReadBack, EachSheetPlacesItsOwnPictures) {
    struct Expected {
        int sheet;
        int drawingId;
        std::vector<int> storeIndexes;
    } expected[] = {{0, 1, {1}}, {1, 2, {2}}, {2, 3, {3, 4}}};
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.sheet);
        const QJsonObject d = Drawing(e.sheet);
        EXPECT_EQ(d["drawing_id"].toInt(), e.drawingId);
        const QJsonArray shapes = d["shapes"].toArray();
        ASSERT_EQ(shapes.size(), int(e.storeIndexes.size()) + 1);
        EXPECT_EQ(d["shape_count"].toInt(), shapes.size());
        EXPECT_EQ(shapes[0].toObject()["flags"].toInt(), 5) << "group shape first";
        EXPECT_EQ(shapes[0].toObject()["spid"].toInt(), e.drawingId * 1024);
        EXPECT_EQ(d["last_spid"].toInt(), e.drawingId * 1024 + int(e.storeIndexes.size()));
        const QJsonArray objects = d["objects"].toArray();
        ASSERT_EQ(objects.size(), int(e.storeIndexes.size()));
        for (size_t i = 0; i < e.storeIndexes.size(); ++i) {
            const QJsonObject shape = shapes[int(i) + 1].toObject();
            EXPECT_EQ(shape["shape_type"].toInt(), 75) << "picture frame";
            EXPECT_EQ(shape["pib"].toInt(), e.storeIndexes[i]);
            EXPECT_EQ(shape["spid"].toInt(), e.drawingId * 1024 + int(i) + 1);
            const QJsonObject obj = objects[int(i)].toObject();
            EXPECT_EQ(obj["ot"].toInt(), 8) << "picture object";
            EXPECT_EQ(obj["subrecords"].toArray(), QJsonArray({0x15, 0x07, 0x08, 0x00}));
        }
    }
}

TEST_F(XlsPictureReadBack, AnchorsStartAtTheCellAndSpanThePictureSize) {
    // colL, dxL, rwT, dyT, colR, dxR, rwB, dyB; columns of 64 pixels by default and
    // 131 pixels at 18 characters, rows of 17 pixels by default.
    struct Case {
        int sheet, shape;
        QJsonArray anchor;
    } cases[] = {
        // 300 px = 4 columns of 64 + 44 px; 300 px high row 0 ends exactly at row 1.
        {0, 1, {0, 0, 0, 0, 4, 704, 1, 0}},
        // From B3: 100 px = 64 + 36 px; 40 px = 2 rows of 17 + 6 px.
        {1, 1, {1, 0, 2, 0, 2, 576, 4, 90}},
        // 529 px = 4 columns of 131 + 5 px of the default column E; row 7 is 200 pt = 266.67 px,
        // then 33.33 px
        // = 1 row of 17 + 16.33 px.
        {2, 1, {0, 0, 7, 0, 4, 80, 9, 246}},
        {2, 2, {0, 0, 8, 0, 0, 500, 9, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "sheet " << c.sheet << " shape " << c.shape);
        const QJsonArray anchor =
            Drawing(c.sheet)["shapes"].toArray()[c.shape].toObject()["anchor"].toArray();
        EXPECT_EQ(QJsonDocument(anchor).toJson(QJsonDocument::Compact).toStdString(),
                  QJsonDocument(c.anchor).toJson(QJsonDocument::Compact).toStdString());
    }
}

// A picture store larger than one record goes on in CONTINUE records; noise does not
// compress, so this one needs about thirty of them.
TEST(XlsPictureFiles, LargePicturesSpanSeveralRecords) {
    QImage noise(160, 160, QImage::Format_RGB32);
    QRandomGenerator random(11);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate() | 0xFF000000u);
    XlsWorkbook book;
    XlsSheet& sheet = book.AddSheet(QStringLiteral("噪点"));
    ASSERT_TRUE(sheet.InsertPicture("C2", BmpBytes(noise)));
    ASSERT_GT(sheet.Pictures()[0].png.size(), 8 * 8224);
    sheet.SetText("A1", QStringLiteral("后面的单元格"));
    QString error;
    const QJsonObject result = ReadBack(book, &error, QStringLiteral("noise.xls"));
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const QJsonArray store = result["drawing_group"].toObject()["store"].toArray();
    ASSERT_EQ(store.size(), 1);
    const QImage back = QImage::fromData(
        QByteArray::fromBase64(store[0].toObject()["png"].toString().toLatin1()), "PNG");
    EXPECT_TRUE(SamePixels(back, noise));
    EXPECT_EQ(test::CellAt(result["sheets"].toArray()[0].toObject(), 0, 0)["value"].toString(),
              QStringLiteral("后面的单元格"));
}

// The reports write each picture to the same "Temp.bmp" and insert it from there; a
// workbook keeps the picture it was given even when the file is replaced afterwards.
TEST(XlsPictureFiles, WorkbookKeepsItsPictureWhenTheFileIsReplaced) {
    QTemporaryDir dir;
    const QString temp = dir.filePath("Temp.bmp");
    const QImage first = TestImage(50, 30, Qt::green), second = TestImage(60, 20, Qt::magenta);
    ASSERT_TRUE(first.save(temp, "BMP"));
    XlsWorkbook one;
    ASSERT_TRUE(one.AddSheet("one").InsertPictureFile("A1", temp));
    ASSERT_TRUE(second.save(temp, "BMP"));
    XlsWorkbook two;
    ASSERT_TRUE(two.AddSheet("two").InsertPictureFile("B3", temp));
    for (auto [book, image] : {std::pair{&one, &first}, std::pair{&two, &second}}) {
        QString error;
        const QJsonObject result = ReadBack(*book, &error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        const QJsonArray store = result["drawing_group"].toObject()["store"].toArray();
        ASSERT_EQ(store.size(), 1);
        const QImage back = QImage::fromData(
            QByteArray::fromBase64(store[0].toObject()["png"].toString().toLatin1()), "PNG");
        EXPECT_TRUE(SamePixels(back, *image));
    }
}

}  // namespace
