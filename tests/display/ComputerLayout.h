// The computer laid out in the test's own process the way the program's
// window lays it out, so that a test driving the program through XTest knows
// where its panes are.
#pragma once

class Windex;

// Builds the computer on a fresh netlist without a window, tiles it and sets
// the (unconnected) view to the whole schematic in a window of the given
// size; returns that view, whose scale functions map schematic coordinates to
// the program's window pixels.
Windex &layOutComputer(int width, int height);
