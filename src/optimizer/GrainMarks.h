#pragma once
// Grain marks of a cutting diagram: a part that may not turn carries three thin lines
// along its grain, in the lower part of its rectangle where they stay clear of the size
// and name texts. Every drawing of a layout (diagram pictures, printed pages, the
// viewer) marks the grain through these functions, so the saw sees the same marks on
// paper and on screen.

#include "optimizer/UnitD2RectTypes.h"

namespace kelm {

class Canvas;

enum class GrainMark { None, Along, Across };

// The part types of a cut list that may not turn, with their listed sizes.
TEleGrainArr FixedGrainTypes(const TD2REleArr& eles);

// How a placed part shows its grain: none when its type may turn; along its drawn length
// when placed as listed; across when placed turned (only a foreign or damaged layout
// holds a fixed part turned).
GrainMark GrainMarkOf(const TRectEle& part, const TEleGrainArr& fixed);

// The lines inside the outline Rectangle(x1, y1, x2, y2); nothing when the outline has no
// room for them. Pen colour and width are as they were afterwards.
void DrawGrainMarks(Canvas& canvas, int x1, int y1, int x2, int y2, GrainMark mark);

}  // namespace kelm
