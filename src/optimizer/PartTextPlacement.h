#pragma once
// Where the texts of one part of a cutting diagram go so that they stay inside the part
// and never cover another's: the part's name with its length and width, in smaller
// type down to a readable minimum, turned along the long side of a tall part, and when
// even that does not fit, a short number ("3#") that a legend under the diagram
// explains. Placement is a pure function of the part's pixel rectangle, the texts and
// the font metrics, so every drawing of a layout (diagram pictures, report pictures,
// pages, the viewer) places the texts alike and tests can check the result.

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace kelm {

class Canvas;

// Width and height in pixels of a text set at a font size in points.
using TextMeasure = std::function<QSize(const QString& text, int points)>;

// Measures on a canvas; its font size is set for each measurement and put back after.
TextMeasure MeasureOn(Canvas& canvas);

// Font sizes the placement may use (points) and the room kept free inside the part's
// outline on every side (pixels).
struct PartTextSizes {
    int largest = 9;
    int smallest = 6;  // below this a printed diagram cannot be read at the bench
    int padding = 0;
};

// One text of a part with the box it occupies. For a turned text the box is the turned
// one (taller than wide) and its top-left corner is where TextOutTurned puts it.
struct PartTextItem {
    QString text;
    QRect box;
    bool turned = false;
};

struct PartTextPlacement {
    enum class Style {
        Labels,    // length at the top, width at the left, name in the middle
        Centred,   // name with "length×width" below it, in the middle
        NameOnly,  // the name alone
        Number,    // the legend number alone
        None,      // nothing fits; the legend still lists the part
    };
    Style style = Style::None;
    int fontSize = 0;  // points
    std::vector<PartTextItem> items;

    // True when the part needs a line in the legend under the diagram.
    bool NeedsLegend() const { return style == Style::Number || style == Style::None; }
};

// The area a part's texts may use: inside the outline drawn as Rectangle(x1, y1, x2,
// y2) with a 1-pixel pen (x1 + 1 … x2 − 2, y1 + 1 … y2 − 2), less the padding.
QRect PartTextArea(int x1, int y1, int x2, int y2, int padding = 0);

// Places the texts of a part whose outline is Rectangle(x1, y1, x2, y2). The candidates,
// first fit wins, each tried from the largest font size down to the smallest:
// the three labels as a large part has them; name above size in the middle (turned for
// a tall part when it does not fit upright at that size); the name alone; the number
// alone. Every box lies inside PartTextArea and no two boxes overlap.
PartTextPlacement PlacePartText(int x1, int y1, int x2, int y2, const QString& name,
                                const QString& lengthText, const QString& widthText,
                                const QString& numberText, const TextMeasure& measure,
                                const PartTextSizes& sizes = {});

// Draws a placement: each text at its box with its font size, turned ones with
// TextOutTurned. The canvas keeps the last font size set.
void DrawPartText(Canvas& canvas, const PartTextPlacement& placement);

// The number a part carries when its texts do not fit: "3#".
QString PartLegendNumber(int number);

}  // namespace kelm
