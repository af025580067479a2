#include "optimizer/PartTextPlacement.h"

#include "common/Canvas.h"

#include <algorithm>

namespace kelm {

namespace {

using Style = PartTextPlacement::Style;

bool Inside(const QRect& area, const QRect& box) { return area.contains(box); }

bool AllFit(const QRect& area, const std::vector<PartTextItem>& items) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].box.isEmpty() || !Inside(area, items[i].box)) return false;
        for (size_t j = 0; j < i; ++j)
            if (items[i].box.intersects(items[j].box)) return false;
    }
    return true;
}

// The classic arrangement: length centred under the top edge, width at the left
// middle, name in the middle, as the outline's corners place them.
std::vector<PartTextItem> Labels(int x1, int y1, int x2, int y2, const QString& name,
                                 const QString& lengthText, const QString& widthText,
                                 const TextMeasure& measure, int points) {
    const QSize l = measure(lengthText, points);
    const QSize w = measure(widthText, points);
    const QSize n = measure(name, points);
    return {{lengthText, QRect(QPoint((x1 + x2 - l.width()) / 2, y1 + 1), l), false},
            {widthText, QRect(QPoint(x1 + 1, (y1 + y2 - w.height()) / 2), w), false},
            {name, QRect(QPoint((x1 + x2 - n.width()) / 2, (y1 + y2 - n.height()) / 2), n),
             false}};
}

// Lines stacked as a block in the middle of the area, upright or turned (then the lines
// are columns, the first on the left, each reading upwards).
std::vector<PartTextItem> Block(const QRect& area, const QStringList& lines, bool turned,
                                const TextMeasure& measure, int points) {
    std::vector<QSize> sizes;
    int along = 0, across = 0;
    for (const QString& line : lines) {
        sizes.push_back(measure(line, points));
        along = std::max(along, sizes.back().width());
        across += sizes.back().height();
    }
    std::vector<PartTextItem> items;
    const QPoint c = area.center();
    if (!turned) {
        int y = c.y() - (across - 1) / 2;
        for (size_t i = 0; i < sizes.size(); ++i) {
            const int x = c.x() - (sizes[i].width() - 1) / 2;
            items.push_back({lines[int(i)], QRect(QPoint(x, y), sizes[i]), false});
            y += sizes[i].height();
        }
    } else {
        int x = c.x() - (across - 1) / 2;
        for (size_t i = 0; i < sizes.size(); ++i) {
            const int y = c.y() - (sizes[i].width() - 1) / 2;
            items.push_back({lines[int(i)],
                             QRect(x, y, sizes[i].height(), sizes[i].width()), true});
            x += sizes[i].height();
        }
    }
    return items;
}

}  // namespace

TextMeasure MeasureOn(Canvas& canvas) {
    return [&canvas](const QString& text, int points) {
        const int before = canvas.FontSize();
        canvas.SetFontSize(points);
        const QSize size(canvas.TextWidth(text), canvas.TextHeight(text));
        canvas.SetFontSize(before);
        return size;
    };
}

QRect PartTextArea(int x1, int y1, int x2, int y2, int padding) {
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    return QRect(QPoint(left + 1 + padding, top + 1 + padding),
                 QPoint(right - 2 - padding, bottom - 2 - padding));
}

PartTextPlacement PlacePartText(int x1, int y1, int x2, int y2, const QString& name,
                                const QString& lengthText, const QString& widthText,
                                const QString& numberText, const TextMeasure& measure,
                                const PartTextSizes& sizes) {
    PartTextPlacement placement;
    const QRect area = PartTextArea(x1, y1, x2, y2, sizes.padding);
    if (area.isEmpty()) return placement;
    const bool tall = area.height() > area.width();
    const int largest = std::max(sizes.largest, sizes.smallest);

    auto accept = [&](Style style, int points, std::vector<PartTextItem> items) {
        if (!AllFit(area, items)) return false;
        placement.style = style;
        placement.fontSize = points;
        placement.items = std::move(items);
        return true;
    };

    if (sizes.padding == 0 && !name.isEmpty()) {
        for (int p = largest; p >= sizes.smallest; --p)
            if (accept(Style::Labels, p,
                       Labels(x1, y1, x2, y2, name, lengthText, widthText, measure, p)))
                return placement;
    }
    const QString sizeText = lengthText + QStringLiteral("×") + widthText;
    const struct {
        Style style;
        QStringList lines;
    } candidates[] = {
        {Style::Centred, QStringList{name, sizeText}},
        {Style::NameOnly, QStringList{name}},
        {Style::Number, QStringList{numberText}},
    };
    for (const auto& c : candidates) {
        if (c.lines.first().isEmpty()) continue;
        for (int p = largest; p >= sizes.smallest; --p) {
            if (accept(c.style, p, Block(area, c.lines, false, measure, p))) return placement;
            if (tall && accept(c.style, p, Block(area, c.lines, true, measure, p)))
                return placement;
        }
    }
    return placement;
}

void DrawPartText(Canvas& canvas, const PartTextPlacement& placement) {
    if (placement.items.empty()) return;
    canvas.SetFontSize(placement.fontSize);
    for (const PartTextItem& item : placement.items) {
        if (item.turned)
            canvas.TextOutTurned(item.box.left(), item.box.top(), item.text);
        else
            canvas.TextOut(item.box.left(), item.box.top(), item.text);
    }
}

QString PartLegendNumber(int number) { return QString::number(number) + QStringLiteral("#"); }

}  // namespace kelm
