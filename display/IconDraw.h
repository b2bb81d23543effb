// The proportions of a component's drawing inside its tile.  Across the tile,
// from the left: margin 0.1, input tabs 0.05, input leads 0.1, body 0.5,
// output leads 0.1, output tabs 0.05, margin 0.1 of the width.  Down the
// tile: a quarter above the body, the body half the height, a quarter below.
// Everything is single precision and truncated where a coordinate is needed,
// so drawings line up exactly at every zoom.
#pragma once

struct IconFrame {
    float x, y;                           // the tile's corner
    float dxBlank, dxTab, dxLine, dxComp; // widths of margin, tab, lead, body
    float dyBlank, dyComp, dySpace;       // heights of margin, body, gap
    int xs, ys;                           // the body's top-left corner
    int ws, hs;                           // the body's size
};

// The frame of the tile (x, y, w, h).
IconFrame iconFrame(int x, int y, int w, int h);

// A point of an icon array (0..1000 across the body) in schematic units.
int iconX(const IconFrame &f, int v);
int iconY(const IconFrame &f, int v);

// The rows of n leads on the body's height: row k's centre line lies at
// ys + delta * (k + 0.5), with delta = hs / n, and its tab box is
// delta * 0.2 high.
struct LeadRow {
    double yc;     // centre line, unrounded
    int yl;        // centre line, truncated
    float tabHigh; // height of the tab box
};
LeadRow leadRow(const IconFrame &f, int n, int k);
