#include "output/Label.h"

#include <algorithm>
#include <cmath>

#include "common/Canvas.h"

namespace kelm::output {

namespace {

int Mm(double mm, int dpi) { return static_cast<int>(std::lround(mm * dpi / 25.4)); }

// Largest font from `points` down to 4 at which every text fits width and all of them fit
// height together.
int FitLines(Canvas& canvas, const QStringList& lines, int width, int height, int points) {
    for (; points > 4; --points) {
        canvas.SetFontSize(points);
        int widest = 0;
        for (const QString& l : lines) widest = std::max(widest, canvas.TextWidth(l));
        if (widest <= width && canvas.TextHeight(QStringLiteral("国")) * lines.size() <= height) break;
    }
    canvas.SetFontSize(points);
    return points;
}

void DrawSketch(Canvas& canvas, const EdgeSketch& s, const QRect& box, int dpi) {
    if (!(s.Length > 0 && s.Width > 0) || box.width() < 8 || box.height() < 8) return;
    const double scale = std::min(box.width() / s.Length, box.height() / s.Width);
    const int w = std::max(6, static_cast<int>(s.Length * scale));
    const int h = std::max(6, static_cast<int>(s.Width * scale));
    const int x = box.left() + (box.width() - w) / 2;
    const int y = box.top() + (box.height() - h) / 2;
    canvas.SetPenColor(Colors::Black);
    canvas.SetPenWidth(std::max(1, Mm(0.15, dpi)));
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.Rectangle(x, y, x + w, y + h);
    // Banded edges: a thick bar just inside the edge.
    const int t = std::max(2, Mm(0.8, dpi));
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(Colors::Black);
    if (s.Top) canvas.Rectangle(x, y, x + w, y + t);
    if (s.Bottom) canvas.Rectangle(x, y + h - t, x + w, y + h);
    if (s.Left) canvas.Rectangle(x, y, x + t, y + h);
    if (s.Right) canvas.Rectangle(x + w - t, y, x + w, y + h);
    if (s.Grain && w > 4 * t) {
        const int cy = y + h / 2;
        const int x1 = x + w / 5;
        const int x2 = x + w - w / 5;
        const int head = std::max(2, std::min(h / 4, Mm(1.5, dpi)));
        canvas.MoveTo(x1, cy);
        canvas.LineTo(x2, cy);
        canvas.Polygon({QPoint(x2, cy), QPoint(x2 - head * 2, cy - head), QPoint(x2 - head * 2, cy + head)});
    }
    canvas.SetBrushColor(Colors::White);
    canvas.SetPenWidth(1);
}

}  // namespace

std::optional<LabelStock> LabelStockByName(const QString& name) {
    const QString n = name.trimmed().toLower();
    auto roll = [&n](double w, double h) {
        return LabelStock{n, w, h, 1, 1, w, h, 0, 0};
    };
    if (n == "100x60") return roll(100, 60);
    if (n == "80x50") return roll(80, 50);
    if (n == "60x40") return roll(60, 40);
    if (n == "a4") return LabelStock{n, 210, 297, 3, 8, 70, 37, 0, 0.5};
    return std::nullopt;
}

QStringList LabelStockNames() { return {"100x60", "80x50", "60x40", "a4"}; }

void DrawLabel(Canvas& canvas, const Label& label, const QRect& box, int dpi, BarcodeKind kind) {
    const int pad = std::max(2, std::min(Mm(2.5, dpi), box.height() / 16));
    const QRect inner = box.adjusted(pad, pad, -pad, -pad);
    canvas.SetTransparentText(true);
    canvas.SetFontColor(Colors::Black);

    BarcodeModules code;
    QString error;
    const bool hasCode = !label.Barcode.isEmpty() && EncodeBarcode(label.Barcode, kind, code, &error);

    // Code 128 runs along the bottom; QR stands at the right.
    QRect textArea = inner;
    QRect codeArea;
    QRect payloadLine;
    canvas.SetFontSize(8);
    const int small = canvas.TextHeight(QStringLiteral("0"));
    if (!label.Barcode.isEmpty()) {
        if (kind == BarcodeKind::QR) {
            const int side = std::min(inner.height() - small, inner.width() * 2 / 5);
            codeArea = QRect(inner.right() - side + 1, inner.top(), side, side);
            payloadLine = QRect(codeArea.left(), codeArea.bottom() + 1, side, small);
            textArea.setRight(codeArea.left() - pad);
        } else {
            const int h = inner.height() * 3 / 10;
            codeArea = QRect(inner.left(), inner.bottom() - small - h + 1, inner.width(), h);
            payloadLine = QRect(inner.left(), codeArea.bottom() + 1, inner.width(), small);
            textArea.setBottom(codeArea.top() - pad / 2);
        }
    }
    if (!label.Barcode.isEmpty()) {
        QRect drawn;
        if (hasCode) drawn = DrawBarcode(canvas, code, kind, codeArea);
        canvas.SetFontSize(8);
        if (drawn.isEmpty()) canvas.SetFontColor(Colors::Red);
        canvas.TextOut(payloadLine.center().x() - canvas.TextWidth(label.Barcode) / 2, payloadLine.top(),
                       label.Barcode);
        canvas.SetFontColor(Colors::Black);
    }

    // The sketch takes the right quarter of the text area, the lines the rest.
    QRect linesArea = textArea;
    if (label.Sketch) {
        const int sw = textArea.width() / 4;
        DrawSketch(canvas, *label.Sketch, QRect(textArea.right() - sw + 1, textArea.top() + textArea.height() / 4, sw,
                                                textArea.height() / 2), dpi);
        linesArea.setRight(textArea.right() - sw - pad);
    }
    int y = linesArea.top();
    if (!label.Heading.isEmpty()) {
        FitLines(canvas, {label.Heading}, linesArea.width(), linesArea.height() / 3, 12);
        canvas.TextOut(linesArea.left(), y, label.Heading);
        y += canvas.TextHeight(label.Heading) * 11 / 10;
    }
    FitLines(canvas, label.Lines, linesArea.width(), linesArea.bottom() - y, 9);
    const int lh = canvas.TextHeight(QStringLiteral("国"));
    for (const QString& line : label.Lines) {
        if (y + lh > linesArea.bottom() + 1) break;
        canvas.TextOut(linesArea.left(), y, line);
        y += lh;
    }
    canvas.SetTransparentText(false);
}

}  // namespace kelm::output
