// The window's side of explanations: which pane was asked about, and the
// marks on the roots.
#include "display/ExplainPane.h"

#include <iostream>
#include <string_view>
#include <vector>

#include "components/Explain.h"
#include "core/Ph2.h"
#include "display/Pane.h"
#include "display/Ph5.h"
#include "display/Window.h"

namespace {

bool marksShown = false;

// The share of its tile, across and down, that a component's pane takes.
constexpr float paneShare = 0.25f;

Windex &window() {
    return *phaseFive->windexPointer;
}

// The schematic point of a window pixel.
long schematicX(const Windex &w, int x) {
    return w.xPixels > 0 ? w.viewXs + static_cast<long>(x) * (w.viewXe - w.viewXs) / w.xPixels : 0;
}
long schematicY(const Windex &w, int y) {
    return w.yPixels > 0 ? w.viewYs + static_cast<long>(y) * (w.viewYe - w.viewYs) / w.yPixels : 0;
}

bool inside(const ScreenTile &t, long x, long y) {
    return x >= t.x && x < static_cast<long>(t.x) + t.w && y >= t.y && y < static_cast<long>(t.y) + t.h;
}

// The visible component with a pane at the point: the one whose pane (the
// middle of its tile, as the painters draw it) holds the point, else the
// one whose tile holds it with the nearest middle (tiles may overlap); -1 if
// none.
int paneComponentAt(long x, long y) {
    const int level = phaseFive->currentGraphicDisplayLevel;
    int best = -1;
    long bestDistance = 0;
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c) {
        const ScreenTile &t = phaseTwo->tile[c];
        if (!componentVisible(c, level) || !inside(t, x, y) || paneGroup(c).bits.empty())
            continue;
        int xs, ys, ws, hs;
        shrink(paneShare, t.x, t.y, t.w, t.h, xs, ys, ws, hs);
        if (inside({xs, ys, ws, hs}, x, y))
            return c;
        const long dx = x - (t.x + t.w / 2), dy = y - (t.y + t.h / 2);
        const long distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance) {
            best = c;
            bestDistance = distance;
        }
    }
    return best;
}

// The component that shows root c at the present level: c itself, or the
// visible module box it lies in.
int shownFor(int c) {
    const int level = phaseFive->currentGraphicDisplayLevel;
    if (componentVisible(c, level))
        return c;
    const std::string_view position = phaseTwo->rcpos[c];
    for (int box = 0; box < phaseTwo->numberOfComponents; ++box) {
        const std::string_view boxPosition = phaseTwo->rcpos[box];
        if (box != c && componentVisible(box, level) && position.size() > boxPosition.size() &&
            position.compare(0, boxPosition.size(), boxPosition) == 0 && position[boxPosition.size()] == '.')
            return box;
    }
    return -1;
}

// A bold frame around a component's tile.
void mark(int c) {
    const ScreenTile &t = phaseTwo->tile[c];
    Windex &w = window();
    w.drawLine_BOLD(t.x, t.y, t.x + t.w, t.y);
    w.drawLine_BOLD(t.x + t.w, t.y, t.x + t.w, t.y + t.h);
    w.drawLine_BOLD(t.x + t.w, t.y + t.h, t.x, t.y + t.h);
    w.drawLine_BOLD(t.x, t.y + t.h, t.x, t.y);
}

} // namespace

void explainPaneAt(int x, int y) {
    if (phaseFive == nullptr || phaseFive->windexPointer == nullptr)
        return;
    const Windex &w = window();
    const int c = paneComponentAt(schematicX(w, x), schematicY(w, y));
    if (c < 0)
        return;
    std::vector<int> roots;
    explainGroup(std::cout, paneGroup(c), roots);
    std::cout.flush();
    for (const int root : roots) {
        const int shown = shownFor(root);
        if (shown >= 0) {
            mark(shown);
            marksShown = true;
        }
    }
}

void explainPaneUnderPointer() {
    if (phaseFive == nullptr || phaseFive->windexPointer == nullptr || window().display == nullptr)
        return;
    Windex &w = window();
    Window root, child;
    int rootX, rootY, x, y;
    unsigned mask;
    if (XQueryPointer(w.display, w.window, &root, &child, &rootX, &rootY, &x, &y, &mask))
        explainPaneAt(x, y);
}

void clearExplanationMarks() {
    if (!marksShown)
        return;
    marksShown = false;
    window().repaint();
}
