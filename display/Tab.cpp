// Connection points registered while icons are drawn.
#include "display/Tab.h"

TabList::~TabList() {
    clear();
}

void TabList::addTab(int cmp, int signalIndex, int xc, int yc) {
    start = new Tab{start, cmp, signalIndex, xc, yc};
}

void TabList::clear() {
    while (start) {
        Tab *const next = start->link;
        delete start;
        start = next;
    }
}
