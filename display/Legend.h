// The legend of the value colours and the readout of eight-value panes:
// what the window writes beside the schematic so that values can be read
// without decoding colours.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Signal.h"

class Windex;

// One value of the legend: its colour swatch (a square of swatchSize pixels
// whose top-left corner is at swatchX, swatchY) and its name, written from
// textX on the baseline.
struct LegendEntry {
    SignalValue value;
    std::string_view name;
    int swatchX, swatchY, swatchSize;
    int textX, baseline;
};

// The legend's entries, left to right, ending at the right edge of a window
// windowWidth pixels wide, for text of the given character width and ascent:
// the two levels first (ZERO, ONE), then UNINITIALIZED, XXX and HIZ.
std::vector<LegendEntry> legendLayout(int windowWidth, int charWidth, int ascent);

// Draws the five value colours, each a swatch and the value's name, at the
// right end of the band above the schematic (legendLayout).
void drawLegend(Windex &w);

// The readout of bits (most significant first, n of them, n a multiple of
// four): one hexadecimal digit per nibble whose bits are all 0 or 1, else the
// letter of its most telling other value: "X" for any XXX, else "U" for any
// UNINITIALIZED, else "Z".
std::string hexReadout(const SignalValue *bits, int n);

// The pixel rectangle the readout of a pane occupies: right of the pane
// (x, y, w, h, window pixels) when the pane is wide, below it when it is
// tall, for text of the given character width and height.
struct ReadoutPlace {
    int x, y; // start of the baseline
    int w, h; // the text's box, whose top-left is (x, y - ascent)
};
ReadoutPlace readoutPlace(int x, int y, int w, int h, bool wide, int characters, int charWidth, int ascent,
                          int descent);
