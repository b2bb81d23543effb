// The schematic display: window, display settings and the drawing passes.
#pragma once

#include "display/Display.h"
#include "display/SupProbe.h"
#include "display/Tab.h"

class Windex;
struct SchematicCell;

class PhaseFive {
public:
    Windex *windexPointer = nullptr;
    TabList inTab;  // input tabs of the icon drawings since the last connect
    TabList outTab; // output tabs likewise
    SuperProbeList superProbeList;
    int superProbeCollect = 1; // icon drawing also records super probes
    int superProbeSelect = 0;  // super-probe panes shown (F8)
    int newWindowingMode = 1;  // mouse zooms through the zoom rectangle (F9)
    int currentGraphicDisplayLevel = 1;
    int interconnectFlag = 1;       // connection lines drawn (F2)
    int labelGateFlag = 1;          // decals drawn (F3)
    int drawComponentLeadsFlag = 1; // leads and tabs drawn and registered (F4)
    int labelLinesFlag = 0;         // signal names on the leads (F5)
    int valueReadoutFlag = 0;       // hexadecimal digits beside eight-value panes (Control-v)
    int legendFlag = 0;             // legend of the value colours in the top band (Control-k)
    // Set by the main loop once every component has its tile.  Redraws asked
    // for before that (by the -F replay) draw nothing: there is nothing to
    // place the icons in yet.
    int schematicTiled = 0;

    // Opens the window labelled "Norvale v20190205" (an unconnected one
    // with -X or when the display cannot be opened).  Ignores SIGPIPE, so
    // that losing the X server ends the run through the X error handling
    // with the output flushed, not by a signal.
    PhaseFive();
    // Closes the window and frees the tab and super-probe lists.
    ~PhaseFive();
    PhaseFive(const PhaseFive &) = delete;
    PhaseFive &operator=(const PhaseFive &) = delete;

    // Computes every component's tile from its position string.
    void componentTiling(SchematicCell *schematic);
    // Draws the icon of every visible component that has one, in index order.
    void drawSchematic();
    // Draws one component's outline, label, leads and tabs, registering its
    // tabs (and, while superProbeCollect is set, its super probes).
    void iconDraw(int cind, const int *icon);
    // Draws a line from each registered output tab to every registered input
    // tab on the same signal (with connectMuxOnlyFlag only those ending at a
    // multiplexer), then forgets all tabs.
    void connect();
    // Lets every visible component with a pane drawing function draw it.
    void drawPanes();
    // Paints the present value of each super probe's signal over its tab.
    void displaySuperProbes();
    // Clears the window and draws the schematic, its connection lines (when
    // shown), the panes and the zoom rectangle; nothing without a window or
    // before the components have their tiles.
    void repaint();
    // Shows the schematic rectangle (xa, ya)-(xb, yb) in the window, if there is one.
    void zoomTo(int xa, int ya, int xb, int yb);
};

// The fifth phase: the display, with or without a window.
extern PhaseFive *phaseFive;

// The visibility rule: overloadable components (modules, tri-state drivers)
// show only at exactly their level, the others at their level and deeper.
bool componentVisible(int cind, int displayLevel);
