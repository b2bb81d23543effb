// Value panes that components paint into their tiles.
#pragma once

#include "core/Signal.h"

// The pane geometry: (x, y, w, h) scaled by sf and centred.
void shrink(float sf, int x, int y, int w, int h, int &xs, int &ys, int &ws, int &hs);
// One value; probes fill with the value colour, other panes use line patterns.
void drawPane(int x, int y, int w, int h, SignalValue sv, bool is_probe, float shrinkFactor);
// How an eight-value pane lays out its values.
enum class PaneOrientation {
    sideBySide, // sv[0] leftmost
    stacked,    // sv[0] at the top
};
// Eight values as bars in the given layout; with the value readout on
// (Control-v), their hexadecimal digits beside the pane.
void drawPane_bytes(int x, int y, int w, int h, const SignalValue *sv, PaneOrientation orientation,
                    float shrinkFactor);
// The two eight-value panes under the names the netlist interface gives them,
// for a circuit's own panes; the probes draw through drawPane_bytes.
// Eight values side by side, sv[0] leftmost.
void drawPane_byte_h(int x, int y, int w, int h, SignalValue *sv, bool is_probe, float shrinkFactor);
// Eight values stacked, sv[0] at the top.
void drawPane_byte(int x, int y, int w, int h, SignalValue *sv, bool is_probe, float shrinkFactor);
