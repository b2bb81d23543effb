// The screen rectangle of one component, in schematic coordinates.
#pragma once

struct ScreenTile {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int numberOfPanes = 0;
    ScreenTile *panes = nullptr;
};
