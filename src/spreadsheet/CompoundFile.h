#pragma once
// Writes a compound file (the OLE2 container of Office 97-2003 documents, version 3
// with 512-byte sectors) that holds one stream under the root storage.

#include <QByteArray>
#include <QString>

#include "spreadsheet/ByteSink.h"

namespace kelm {

// Streams shorter than 4096 bytes would belong in the mini stream; this writer pads
// them with zero bytes to 4096 instead, which keeps the container to the plain sector
// layout: header, stream sectors, directory sector, allocation table (and its
// extension sectors for files beyond about 7 MB). False when the sink refused bytes.
bool WriteCompoundFile(const QString& streamName, const QByteArray& stream, ByteSink& sink);

// Size below which a stream would belong in the mini stream; shorter streams are stored
// padded to this size.
constexpr int kMiniStreamCutoff = 4096;

}  // namespace kelm
