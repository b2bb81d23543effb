// The schematic display.  Placeholder until the display lands: no window,
// nothing drawn.
#include "display/Ph5.h"

#include "core/Ph2.h"

PhaseFive *phaseFive = nullptr;

PhaseFive::PhaseFive() = default;
PhaseFive::~PhaseFive() = default;

void PhaseFive::componentTiling(SchematicCell *) {}
void PhaseFive::drawSchematic() {}
void PhaseFive::iconDraw(int, const int *) {}
void PhaseFive::connect() {}
void PhaseFive::drawPanes() {}
void PhaseFive::displaySuperProbes() {}

bool componentVisible(int cind, int displayLevel) {
    const int level = phaseTwo->graphicLevel[cind];
    return phaseTwo->outputOverloadable[cind] ? displayLevel == level : displayLevel >= level;
}

TabList::~TabList() { clear(); }
void TabList::addTab(int cmp, int signalIndex, int xc, int yc) { start = new Tab{start, cmp, signalIndex, xc, yc}; }
void TabList::clear() {
    while (start) {
        Tab *next = start->link;
        delete start;
        start = next;
    }
}
SuperProbeList::~SuperProbeList() { clear(); }
void SuperProbeList::addSuperProbe(int signalIndex, int x, int y, int w, int h) {
    start = new SuperProbe{start, signalIndex, x, y, w, h};
}
void SuperProbeList::clear() {
    while (start) {
        SuperProbe *next = start->link;
        delete start;
        start = next;
    }
}
