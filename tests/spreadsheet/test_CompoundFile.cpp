// The compound file container: streams of every size class read back byte for byte by
// xlrd's independent compound-document reader, which also reports inconsistencies.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include "XlsReadBack.h"
#include "spreadsheet/CompoundFile.h"

using namespace kelm;

namespace {

QByteArray RandomBytes(qsizetype size, quint32 seed) {
    QByteArray data(size, '\0');
    QRandomGenerator random(seed);
    for (char& c : data) c = char(random.bounded(256));
    return data;
}

quint32 U32At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

TEST(CompoundFile, StreamsOfEverySizeReadBackUnchanged) {
    // Sizes around the 4096-byte mini stream limit and the sector size, one needing
    // several FAT sectors and one large enough for DIFAT sectors (more than 109 FAT
    // sectors, beyond 7 MB).
    const qsizetype sizes[] = {0, 1, 4095, 4096, 4097, 512 * 300 + 7, 7800000};
    QTemporaryDir dir;
    for (qsizetype size : sizes) {
        SCOPED_TRACE(size);
        const QByteArray stream = RandomBytes(size, quint32(size));
        MemoryByteSink sink;
        ASSERT_TRUE(WriteCompoundFile(QStringLiteral("Workbook"), stream, sink));
        const QByteArray& file = sink.Bytes();
        ASSERT_EQ(file.size() % 512, 0);
        EXPECT_EQ(file.left(8), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
        const quint32 fatSectors = U32At(file, 0x2C);
        const quint32 difatSectors = U32At(file, 0x48);
        EXPECT_EQ(difatSectors > 0, size == 7800000);
        // Every sector after the header is accounted for by the allocation table.
        const qsizetype sectors = file.size() / 512 - 1;
        EXPECT_LE(sectors, qsizetype(fatSectors) * 128);
        EXPECT_GT(sectors, qsizetype(fatSectors - 1) * 128);

        const QString path = dir.filePath(QStringLiteral("c%1.bin").arg(size));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        QString error;
        const QByteArray json = test::RunPython(
            {test::SpreadsheetTestDir() + "/read_compound.py", path, "Workbook"}, &error);
        ASSERT_FALSE(json.isEmpty()) << error.toStdString();
        const QJsonObject result = QJsonDocument::fromJson(json).object();
        EXPECT_TRUE(result["warnings"].toString().isEmpty())
            << result["warnings"].toString().toStdString();
        // Short streams are stored padded with zero bytes to 4096.
        QByteArray expected = stream;
        if (expected.size() < kMiniStreamCutoff) expected.append(kMiniStreamCutoff - size, '\0');
        EXPECT_EQ(result["size"].toInt(), expected.size());
        EXPECT_EQ(result["md5"].toString(),
                  QString::fromLatin1(
                      QCryptographicHash::hash(expected, QCryptographicHash::Md5).toHex()));
    }
}

// A sink that takes a number of bytes and then refuses, as a full disk would.
class FailingSink : public ByteSink {
  public:
    explicit FailingSink(qsizetype room) : room_(room) {}
    bool Write(const QByteArray& bytes) override {
        if (bytes.size() > room_) return false;
        room_ -= bytes.size();
        return true;
    }
    QString ErrorString() const override { return QStringLiteral("disk full"); }

  private:
    qsizetype room_;
};

TEST(CompoundFile, ARefusingSinkIsReported) {
    for (qsizetype room : {qsizetype(0), qsizetype(512), qsizetype(5000)}) {
        FailingSink sink(room);
        EXPECT_FALSE(WriteCompoundFile(QStringLiteral("Workbook"), QByteArray(6000, 'x'), sink));
    }
}

}  // namespace
