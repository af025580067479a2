#pragma once
// Checks of a placement before the designer commits it, and the region the next
// element most naturally goes into afterwards. The designer places the element on a
// copy of the cabinet and hands both here; the placing operations themselves stay
// unchecked, so replaying a stored cabinet's log rebuilds it exactly as it was saved.
//
// A board is buildable when its box has a size in every direction, lies inside the box
// of the region it was placed in (front rectangle and depth) and shares no volume with
// a board already in the cabinet (touching faces are fine). A door leaf must lie inside
// its region's front rectangle; a drawer's box (face width less E and F, depth D) must
// fit the region's width and depth and leave room inside its box boards.

#include "cabinet/UCabinet.h"

enum class FPlaceFault {
    None,
    NoSize,         // a board or box that is zero or negative in some direction
    OutsideRegion,  // a board or door leaf that leaves the region it was placed in
    Overlap,        // a board sharing volume with a board already in the cabinet
    TooWide,        // a drawer box wider than its region
    TooDeep,        // a drawer box deeper than its region
};

struct FPlaceCheck {
    FPlaceFault fault = FPlaceFault::None;
    int objType = 0;     // what was placed: ObjBoard, ObjDrawer or ObjDoor (0: nothing)
    int index = -1;      // its index in its own list of _after
    int clashWith = -1;  // Overlap: index of the board already in the cabinet
    int regIndex = -1;   // the region it was placed in
    bool Ok() const { return fault == FPlaceFault::None; }
};

// _after is _before with exactly one more element placed (one more log entry). When
// the log did not grow (the operation placed nothing) the result is Ok with objType 0.
FPlaceCheck CheckPlacement(const FCabinet& _before, const FCabinet& _after);

// The region to select after the placement that turned _before into _after, made in
// region _placedIn: the inner region a side, top or bottom board leaves; the larger
// half a shelf or partition leaves (the upper or left one when equal); the space under
// a drawer face; otherwise (back or upright board, door leaf, nothing placed) _placedIn.
int NaturalNextRegion(const FCabinet& _before, const FCabinet& _after, int _placedIn);
