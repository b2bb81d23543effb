// The schematic display: window, display settings and the drawing passes.
#pragma once

#include "display/SupProbe.h"
#include "display/Tab.h"

class Windex;
struct SchematicCell;

class PhaseFive {
public:
    Windex *windexPointer = nullptr;
    TabList inTab;
    TabList outTab;
    SuperProbeList superProbeList;
    int superProbeCollect = 1;
    int superProbeSelect = 0;
    int newWindowingMode = 1;
    int currentGraphicDisplayLevel = 1;
    int interconnectFlag = 1;
    int labelGateFlag = 1;
    int drawComponentLeadsFlag = 1;
    int labelLinesFlag = 0;

    // Opens the window (unless the display is off) labelled "Norvale v20190205".
    PhaseFive();
    ~PhaseFive();

    // Computes every component's tile from its position string.
    void componentTiling(SchematicCell *schematic);
    void drawSchematic();
    void iconDraw(int cind, const int *icon);
    void connect();
    void drawPanes();
    void displaySuperProbes();
};

extern PhaseFive *phaseFive;

// The visibility rule: overloadable components (modules, tri-state drivers)
// show only at exactly their level, the others at their level and deeper.
bool componentVisible(int cind, int displayLevel);
