// The zoom rectangle (sub-window): its grab zones and how a drag moves it.
// The operations themselves are Windex members; these are the pure rules
// they follow, in window pixels and schematic units.
#pragma once

// Grab zones of the zoom rectangle: 0 outside, 1 inside, 2-9 the corner and
// edge bands (2 top-left, 3 top, 4 top-right, 5 left, 6 right, 7 bottom-left,
// 8 bottom, 9 bottom-right).  Each band is an eighth of the rectangle.
int grabZone(int x, int y, int xs, int ys, int xe, int ye);

// Which edges of the zoom rectangle a drag in a grab zone moves.
struct MovingEdges {
    bool xs, ys, xe, ye;
};
// Zone 1 moves all four edges; the bands move their own edges; zone 0 and
// unknown zones move nothing.
MovingEdges movingEdges(int zone);

// An edge moved by a pointer movement of d pixels on a window of the given
// size showing span schematic units: old + span * d / pixels, truncated.
// A window of no pixels moves nothing.
int movedEdge(int old, int span, int d, int pixels);
