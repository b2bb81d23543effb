// Super probes: a value pane over every lead tab of the first drawing.
#include "display/SupProbe.h"

SuperProbeList::~SuperProbeList() {
    clear();
}

void SuperProbeList::addSuperProbe(int signalIndex, int x, int y, int w, int h) {
    start = new SuperProbe{start, signalIndex, x, y, w, h};
}

void SuperProbeList::clear() {
    while (start) {
        SuperProbe *const next = start->link;
        delete start;
        start = next;
    }
}
