#include "spreadsheet/CompoundFile.h"

#include <vector>

#include "spreadsheet/XlsRecords.h"

namespace kelm {

namespace {

constexpr int kSector = 512;
constexpr quint32 kFreeSect = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr int kHeaderDifatEntries = 109;
constexpr int kEntriesPerSector = kSector / 4;

// One 128-byte directory entry.
QByteArray DirectoryEntry(const QString& name, int type, quint32 child, quint32 start,
                          quint32 size) {
    xls::Bytes e;
    if (type != 0) {
        e.Utf16(name).U16(0);
        e.Zeros(64 - int(e.data.size()));
        e.U16(quint32((name.size() + 1) * 2));
    } else {
        e.Zeros(64).U16(0);
    }
    e.U8(quint32(type)).U8(type != 0 ? 1 : 0);  // black node
    e.U32(kNoStream).U32(kNoStream).U32(child);
    e.Zeros(16 + 4 + 8 + 8);  // class id, state bits, creation and modification times
    e.U32(start).U32(size).U32(0);
    return e.data;
}

}  // namespace

bool WriteCompoundFile(const QString& streamName, const QByteArray& stream, ByteSink& sink) {
    QByteArray data = stream;
    if (data.size() < kMiniStreamCutoff) data.append(kMiniStreamCutoff - data.size(), '\0');
    const quint32 streamSectors = quint32((data.size() + kSector - 1) / kSector);
    data.append(int(streamSectors * kSector - data.size()), '\0');

    // Sector layout: stream, one directory sector, FAT sectors, DIFAT sectors. The FAT
    // must also cover its own sectors and the DIFAT's, so size them until stable.
    quint32 fatSectors = 1, difatSectors = 0;
    for (;;) {
        const quint32 total = streamSectors + 1 + fatSectors + difatSectors;
        const quint32 needFat = (total + kEntriesPerSector - 1) / kEntriesPerSector;
        const quint32 needDifat =
            needFat > kHeaderDifatEntries
                ? (needFat - kHeaderDifatEntries + kEntriesPerSector - 2) / (kEntriesPerSector - 1)
                : 0;
        if (needFat == fatSectors && needDifat == difatSectors) break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const quint32 dirSector = streamSectors;
    const quint32 firstFat = dirSector + 1;
    const quint32 firstDifat = firstFat + fatSectors;

    std::vector<quint32> fat(size_t(fatSectors) * kEntriesPerSector, kFreeSect);
    for (quint32 i = 0; i < streamSectors; ++i)
        fat[i] = i + 1 < streamSectors ? i + 1 : kEndOfChain;
    fat[dirSector] = kEndOfChain;
    for (quint32 i = 0; i < fatSectors; ++i) fat[firstFat + i] = kFatSect;
    for (quint32 i = 0; i < difatSectors; ++i) fat[firstDifat + i] = kDifSect;

    xls::Bytes header;
    header.Raw(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)).Zeros(16);
    header.U16(0x003E).U16(0x0003).U16(0xFFFE).U16(9).U16(6).Zeros(6);
    header.U32(0).U32(fatSectors).U32(dirSector).U32(0).U32(kMiniStreamCutoff);
    header.U32(kEndOfChain).U32(0);  // no mini FAT
    header.U32(difatSectors ? firstDifat : kEndOfChain).U32(difatSectors);
    for (quint32 i = 0; i < kHeaderDifatEntries; ++i)
        header.U32(i < fatSectors ? firstFat + i : kFreeSect);

    xls::Bytes directory;
    directory.Raw(DirectoryEntry(QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0));
    directory.Raw(DirectoryEntry(
        streamName, 2, kNoStream, 0,
        quint32(stream.size() < kMiniStreamCutoff ? kMiniStreamCutoff : stream.size())));
    directory.Raw(DirectoryEntry({}, 0, kNoStream, 0, 0));
    directory.Raw(DirectoryEntry({}, 0, kNoStream, 0, 0));

    xls::Bytes fatBytes;
    for (quint32 v : fat) fatBytes.U32(v);

    // DIFAT sectors: 127 further FAT sector numbers each, then the next DIFAT sector.
    xls::Bytes difat;
    quint32 listed = kHeaderDifatEntries;
    for (quint32 d = 0; d < difatSectors; ++d) {
        for (int k = 0; k < kEntriesPerSector - 1; ++k, ++listed)
            difat.U32(listed < fatSectors ? firstFat + listed : kFreeSect);
        difat.U32(d + 1 < difatSectors ? firstDifat + d + 1 : kEndOfChain);
    }

    return sink.Write(header.data) && sink.Write(data) && sink.Write(directory.data) &&
           sink.Write(fatBytes.data) && sink.Write(difat.data);
}

}  // namespace kelm
