#pragma once
// Turns the bytes of a Windows bitmap file into PNG data, the compact picture form the
// workbook stores. Uses only Qt Core (zlib through qCompress).

#include <QByteArray>
#include <QString>

namespace kelm {

// Uncompressed bitmaps of 24 or 32 bits per pixel, or 1, 4 or 8 bits with a palette,
// stored bottom-up or top-down. False with a reason for anything else or for data cut
// short.
bool BmpToPng(const QByteArray& bmp, QByteArray& png, int& width, int& height,
              QString* error = nullptr);

// CRC-32 as PNG chunks use it.
quint32 PngCrc32(const QByteArray& data);

}  // namespace kelm
