#include "output/Barcode.h"

#include <zint.h>

#include <cmath>
#include <memory>

#include "common/Canvas.h"

namespace kelm::output {

bool EncodeBarcode(const QString& text, BarcodeKind kind, BarcodeModules& out, QString* error) {
    out = BarcodeModules{};
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    if (!symbol) {
        if (error) *error = QStringLiteral("条码库无法使用");
        return false;
    }
    symbol->symbology = kind == BarcodeKind::QR ? BARCODE_QRCODE : BARCODE_CODE128;
    symbol->input_mode = UNICODE_MODE;
    symbol->show_hrt = 0;
    symbol->whitespace_width = 0;
    symbol->border_width = 0;
    symbol->scale = 1;
    const QByteArray bytes = text.toUtf8();
    int rc = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                             static_cast<int>(bytes.size()));
    if (rc < ZINT_ERROR) rc = ZBarcode_Buffer_Vector(symbol.get(), 0);
    if (rc >= ZINT_ERROR || !symbol->vector || symbol->width <= 0) {
        if (error) *error = QStringLiteral("无法生成条码“%1”：%2").arg(text, QString::fromUtf8(symbol->errtxt));
        return false;
    }
    out.Columns = symbol->width;
    out.Rows = std::max(1, symbol->rows);
    // The vector output is in its own units; one module is the symbol's width over its
    // module count.
    const double unit = symbol->vector->width / symbol->width;
    for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next) {
        const int x = static_cast<int>(std::lround(r->x / unit));
        const int w = static_cast<int>(std::lround(r->width / unit));
        int y = 0, h = out.Rows;
        if (out.Rows > 1) {
            y = static_cast<int>(std::lround(r->y / unit));
            h = static_cast<int>(std::lround(r->height / unit));
        }
        if (w > 0 && h > 0) out.Bars.emplace_back(x, y, w, h);
    }
    return true;
}

QRect DrawBarcode(Canvas& canvas, const BarcodeModules& code, BarcodeKind kind, const QRect& box) {
    if (code.Columns <= 0 || code.Rows <= 0) return QRect();
    const int quiet = kind == BarcodeKind::QR ? 4 : 10;
    const int across = code.Columns + 2 * quiet;
    int module = box.width() / across;
    int moduleH = module;
    if (code.Rows > 1) {
        module = std::min(module, box.height() / (code.Rows + 2 * quiet));
        moduleH = module;
    } else {
        moduleH = box.height();
    }
    if (module < 1 || moduleH < 1) return QRect();
    const int width = code.Columns * module;
    const int height = code.Rows > 1 ? code.Rows * module : box.height();
    const int x0 = box.left() + (box.width() - width) / 2;
    const int y0 = box.top() + (box.height() - height) / 2;
    const Color pen = canvas.PenColor();
    const Color brush = canvas.BrushColor();
    const BrushStyle style = canvas.GetBrushStyle();
    const int penWidth = canvas.PenWidth();
    canvas.SetPenColor(Colors::Black);
    canvas.SetPenWidth(1);
    canvas.SetBrushColor(Colors::Black);
    canvas.SetBrushStyle(BrushStyle::Solid);
    for (const QRect& bar : code.Bars) {
        const int x = x0 + bar.x() * module;
        const int y = code.Rows > 1 ? y0 + bar.y() * module : y0;
        const int h = code.Rows > 1 ? bar.height() * module : height;
        canvas.Rectangle(x, y, x + bar.width() * module, y + h);
    }
    canvas.SetPenColor(pen);
    canvas.SetPenWidth(penWidth);
    canvas.SetBrushColor(brush);
    canvas.SetBrushStyle(style);
    return QRect(x0, y0, width, height);
}

}  // namespace kelm::output
