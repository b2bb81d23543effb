// The panel circuit the window tests look at (the same circuit as the
// run_panel program), and where its parts appear in a 1025 x 825 window
// showing the whole schematic.
//
//   aa: switch on A (key 'a', starts at ZERO)   ac: probe "top" on A
//   bb: probe "centre" on A
//   ca-cc: module box A -> B at level 1; inside, one level deeper, an
//          inverter (.aa) and a probe "inner" on B (.ab)
#pragma once

#include <cstdint>

#include "circuits/PanelCircuit.h"

namespace panelView {

constexpr int width = 1025;
constexpr int height = 825;

struct Point {
    int x, y;
};
struct Area {
    int x, y, width, height;
};

// A schematic point in window pixels (the full view), as the window scales it.
Point pixelOf(int sx, int sy);

Point switchPane();       // middle of the switch's pane
Point topProbePane();     // middle of the probe "top"
Point centreProbePane();  // middle of the probe "centre"
Point lineToTopProbe();   // halfway along the line from the switch to "top"
Point boxTopEdge();       // on the module box's top edge (level 1 only)
Point inverterLeftEdge(); // on the inverter's left edge (level 2 only)
Point switchOutputTab();  // inside the switch's output tab box, clear of its lines
Area lineToBoxMiddle();   // around the middle of the line from the switch to the box input
Area switchLabel();       // where the decal "a:A" is written
Area switchLeadName();    // where the signal name "A" is written on the switch's lead

// The value colours and the default foreground and background.
constexpr uint32_t black = 0x000000, white = 0xFFFFFF;
constexpr uint32_t oneColour = 0x008000, zeroColour = 0xF0FFF0, xxxColour = 0xFF8C00;
constexpr uint32_t red = 0xFF0000; // the zoom rectangle over the background

} // namespace panelView
