#include "spreadsheet/XlsDrawing.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cmath>

#include "spreadsheet/XlsRecords.h"

namespace kelm::xls {

namespace {

// Record types of the Office drawing format.
constexpr quint16 kDggContainer = 0xF000;
constexpr quint16 kBStoreContainer = 0xF001;
constexpr quint16 kDgContainer = 0xF002;
constexpr quint16 kSpgrContainer = 0xF003;
constexpr quint16 kSpContainer = 0xF004;
constexpr quint16 kFdgg = 0xF006;
constexpr quint16 kFbse = 0xF007;
constexpr quint16 kFdg = 0xF008;
constexpr quint16 kFspgr = 0xF009;
constexpr quint16 kFsp = 0xF00A;
constexpr quint16 kFopt = 0xF00B;
constexpr quint16 kClientAnchor = 0xF010;
constexpr quint16 kClientData = 0xF011;
constexpr quint16 kBlipPng = 0xF01E;

constexpr int kBlipTypePng = 6;
constexpr int kPictureFrameShape = 75;
constexpr quint16 kMsoDrawing = 0x00EC;
constexpr quint16 kObj = 0x005D;

constexpr int kShapesPerCluster = 1024;

// Walks from a cell across sizes until length is used up; returns the cell and the
// offset into it in units of 1/scale of its size.
void Walk(const std::vector<double>& sizes, int start, double length, int scale, int& cell,
          int& offset) {
    cell = start;
    const int last = int(sizes.size()) - 1;
    while (cell < last && (sizes[cell] <= 0 || length >= sizes[cell])) {
        length -= std::max(0.0, sizes[cell]);
        ++cell;
    }
    offset = sizes[cell] > 0 ? int(std::lround(length / sizes[cell] * scale)) : 0;
    offset = std::clamp(offset, 0, scale - 1);
}

QByteArray Md4(const QByteArray& data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Md4);
}

QByteArray PngBlip(const XlsPicture& p) {
    Bytes b;
    b.Raw(ArtHeader(0, 0x6E0, kBlipPng, quint32(17 + p.png.size())));
    b.Raw(Md4(p.png)).U8(0xFF).Raw(p.png);
    return b.data;
}

QByteArray StoreEntry(const XlsPicture& p) {
    const QByteArray blip = PngBlip(p);
    Bytes b;
    b.Raw(ArtHeader(2, kBlipTypePng, kFbse, quint32(36 + blip.size())));
    b.U8(kBlipTypePng).U8(kBlipTypePng).Raw(Md4(p.png)).U16(0xFF);
    b.U32(quint32(blip.size())).U32(1).U32(0);  // size, one reference, no delay stream
    b.U8(0).U8(0).U8(0).U8(0);                  // no name
    b.Raw(blip);
    return b.data;
}

QByteArray GroupShape(int drawingId) {
    Bytes b;
    b.Raw(ArtHeader(15, 0, kSpContainer, 40));
    b.Raw(ArtHeader(1, 0, kFspgr, 16)).Zeros(16);
    b.Raw(ArtHeader(2, 0, kFsp, 8)).U32(quint32(drawingId * kShapesPerCluster));
    b.U32(0x0005);  // group shape, patriarch
    return b.data;
}

QByteArray PictureShape(int shapeId, int storeIndex, const PictureAnchor& a) {
    // Only the picture reference: every other property keeps its default (printed,
    // no fill, no line).
    Bytes props;
    props.U16(0x4104).U32(quint32(storeIndex));  // the store entry, counted from 1
    Bytes b;
    b.Raw(ArtHeader(2, kPictureFrameShape, kFsp, 8)).U32(quint32(shapeId));
    b.U32(0x0A00);  // has an anchor, has a shape type
    b.Raw(ArtHeader(3, 1, kFopt, quint32(props.data.size()))).Raw(props.data);
    b.Raw(ArtHeader(0, 0, kClientAnchor, 18)).U16(0);  // moves and sizes with cells
    b.U16(quint32(a.colLeft)).U16(quint32(a.dxLeft)).U16(quint32(a.rowTop)).U16(quint32(a.dyTop));
    b.U16(quint32(a.colRight)).U16(quint32(a.dxRight));
    b.U16(quint32(a.rowBottom)).U16(quint32(a.dyBottom));
    b.Raw(ArtHeader(0, 0, kClientData, 0));
    Bytes c;
    c.Raw(ArtHeader(15, 0, kSpContainer, quint32(b.data.size()))).Raw(b.data);
    return c.data;
}

// The OBJ record of a picture: common object data, clipboard format, picture flags.
QByteArray PictureObject(int objectId) {
    Bytes b;
    b.U16(0x15).U16(0x12).U16(8).U16(quint32(objectId)).U16(0x6011).Zeros(12);
    b.U16(0x07).U16(0x02).U16(0xFFFF);
    b.U16(0x08).U16(0x02).U16(0x0001);
    b.U16(0x00).U16(0x00);
    return b.data;
}

}  // namespace

PictureAnchor AnchorPicture(const XlsPicture& picture, const SheetGeometry& g) {
    PictureAnchor a;
    a.colLeft = picture.col;
    a.rowTop = picture.row;
    Walk(g.columnPixels, picture.col, picture.width, 1024, a.colRight, a.dxRight);
    Walk(g.rowPixels, picture.row, picture.height, 256, a.rowBottom, a.dyBottom);
    return a;
}

QByteArray DrawingGroupData(const std::vector<const XlsPicture*>& pictures,
                            const std::vector<int>& pictureCounts) {
    // Shape ids: drawing d owns the cluster d * 1024 ..; its group shape takes the first.
    int shapes = 0;
    Bytes clusters;
    for (size_t d = 0; d < pictureCounts.size(); ++d) {
        clusters.U32(quint32(d + 1)).U32(quint32(pictureCounts[d] + 1));
        shapes += pictureCounts[d] + 1;
    }
    const int drawings = int(pictureCounts.size());
    const quint32 lastShape =
        drawings ? quint32(drawings * kShapesPerCluster + pictureCounts.back()) : 0;
    Bytes fdgg;
    fdgg.U32(lastShape + 1).U32(quint32(drawings + 1)).U32(quint32(shapes));
    fdgg.U32(quint32(drawings)).Raw(clusters.data);

    Bytes store;
    for (const XlsPicture* p : pictures) store.Raw(StoreEntry(*p));

    Bytes body;
    body.Raw(ArtHeader(0, 0, kFdgg, quint32(fdgg.data.size()))).Raw(fdgg.data);
    body.Raw(ArtHeader(15, int(pictures.size()), kBStoreContainer, quint32(store.data.size())));
    body.Raw(store.data);
    Bytes all;
    all.Raw(ArtHeader(15, 0, kDggContainer, quint32(body.data.size()))).Raw(body.data);
    return all.data;
}

void AppendSheetDrawing(QByteArray& out, const std::vector<XlsPicture>& pictures,
                        const std::vector<PictureAnchor>& anchors, int drawingId,
                        int firstPicture) {
    if (pictures.empty()) return;
    std::vector<QByteArray> shapes;
    qsizetype shapeBytes = 0;
    for (size_t i = 0; i < pictures.size(); ++i) {
        shapes.push_back(PictureShape(drawingId * kShapesPerCluster + int(i) + 1,
                                      firstPicture + int(i), anchors[i]));
        shapeBytes += shapes.back().size();
    }
    const QByteArray group = GroupShape(drawingId);
    const quint32 groupLength = quint32(group.size() + shapeBytes);

    // The containers' lengths count all their shapes, although each picture's shape
    // data goes in its own MSODRAWING record followed by its OBJ record.
    Bytes first;
    first.Raw(ArtHeader(15, 0, kDgContainer, quint32(16 + 8 + groupLength)));
    first.Raw(ArtHeader(0, drawingId, kFdg, 8));
    first.U32(quint32(pictures.size() + 1));
    first.U32(quint32(drawingId * kShapesPerCluster + int(pictures.size())));
    first.Raw(ArtHeader(15, 0, kSpgrContainer, groupLength)).Raw(group);
    for (size_t i = 0; i < shapes.size(); ++i) {
        const QByteArray data = i == 0 ? first.data + shapes[0] : shapes[i];
        AppendSplitRecord(out, kMsoDrawing, data);
        AppendRecord(out, kObj, PictureObject(int(i) + 1));
    }
}

}  // namespace kelm::xls
