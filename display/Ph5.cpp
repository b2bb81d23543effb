// The schematic display object: window, drawing passes over all
// components, and the connection lines.
#include "display/Ph5.h"

#include <csignal>
#include <numeric>
#include <vector>

#include "core/Ph2.h"
#include "core/cmdLine.h"
#include "display/SchCell.h"
#include "display/Window.h"

PhaseFive *phaseFive = nullptr;

void openDisplay() {
    phaseFive = new PhaseFive;
    if (zFlagSet)
        phaseFive->zoomTo(zSetXa, zSetYa, zSetXb, zSetYb);
}

void closeDisplay() {
    delete phaseFive;
    phaseFive = nullptr;
}

void drawFirstTime() {
    SchematicCell schematic;
    phaseFive->componentTiling(&schematic);
    phaseFive->schematicTiled = 1;
    phaseFive->drawSchematic();
    phaseFive->superProbeCollect = 0;
    if (phaseFive->interconnectFlag)
        phaseFive->connect();
    phaseFive->drawPanes();
    if (phaseFive->superProbeSelect)
        phaseFive->displaySuperProbes();
    drawZoomRectangle();
}

bool drawComponentPanes(int cind) {
    const int level = phaseFive ? phaseFive->currentGraphicDisplayLevel : 1;
    if (!componentVisible(cind, level))
        return false;
    phaseTwo->drawDynamic[cind](cind);
    return true;
}

bool superProbesShown() {
    return phaseFive != nullptr && phaseFive->superProbeSelect && windowOpen();
}

void displaySuperProbes() {
    phaseFive->displaySuperProbes();
}

PhaseFive::PhaseFive() {
    // A write to a lost X server must end in the X I/O error path (status 1,
    // streams flushed), not kill the process by a signal.
    std::signal(SIGPIPE, SIG_IGN);
    windexPointer = new Windex("Norvale v20190205");
}

PhaseFive::~PhaseFive() {
    delete windexPointer;
}

void PhaseFive::repaint() {
    if (windexPointer)
        windexPointer->repaint();
}

void PhaseFive::zoomTo(int xa, int ya, int xb, int yb) {
    if (windexPointer)
        windexPointer->reviseView(xa, ya, xb, yb);
}

bool componentVisible(int cind, int displayLevel) {
    const int level = phaseTwo->graphicLevel[cind];
    return phaseTwo->outputOverloadable[cind] ? displayLevel == level : displayLevel >= level;
}

void PhaseFive::drawSchematic() {
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        if (const int *icon = phaseTwo->iconArrays[c];
            icon && componentVisible(c, currentGraphicDisplayLevel))
            iconDraw(c, icon);
}

void PhaseFive::drawPanes() {
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        if (const ComponentFunction draw = phaseTwo->drawDynamic[c];
            draw && componentVisible(c, currentGraphicDisplayLevel))
            draw(c);
}

namespace {

bool isMultiplexer(int cind) {
    return phaseTwo->records[cind].kind == ComponentKind::mux;
}

// The input tabs grouped by signal, each group in list order: the tabs of
// signal s are tabs[first[s]] ... tabs[first[s + 1] - 1].  Grouping keeps a
// connection pass linear in the number of leads.
struct TabsBySignal {
    std::vector<int> first;
    std::vector<const Tab *> tabs;

    explicit TabsBySignal(const TabList &list) : first(phaseTwo->numberOfSignals + 1, 0) {
        for (const Tab *q = list.start; q != nullptr; q = q->link)
            ++first[q->signalIndex + 1];
        std::partial_sum(first.begin(), first.end(), first.begin());
        tabs.resize(first.back());
        std::vector<int> next(first.begin(), first.end() - 1);
        for (const Tab *q = list.start; q != nullptr; q = q->link)
            tabs[next[q->signalIndex]++] = q;
    }
};

} // namespace

void PhaseFive::connect() {
    const TabsBySignal inputs(inTab);
    for (const Tab *p = outTab.start; p != nullptr; p = p->link) {
        const int s = p->signalIndex;
        for (int k = inputs.first[s]; k < inputs.first[s + 1]; ++k) {
            const Tab *q = inputs.tabs[k];
            if (!connectMuxOnlyFlag || isMultiplexer(q->cmp))
                windexPointer->drawLine(p->xc, p->yc, q->xc, q->yc);
        }
    }
    inTab.clear();
    outTab.clear();
}
