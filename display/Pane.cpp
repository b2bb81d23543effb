// Value panes: small rectangles, centred in a component's tile, that show
// the present value of a signal.  They draw only through the window's
// primitives, so they follow the view and do nothing without a window.
#include "display/Pane.h"

#include <cmath>

#include "display/Ph5.h"
#include "display/Window.h"

namespace {

using Fill = void (Windex::*)(int, int, int, int);

// The fill of each value, indexed by its number.
const Fill valueFill[] = {
    &Windex::drawFilledRectangle_ZERO,          // ZERO
    &Windex::drawFilledRectangle_UNINITIALIZED, // UNINITIALIZED
    &Windex::drawFilledRectangle_XXX,           // XXX
    &Windex::drawFilledRectangle_HIZ,           // HIZ
    &Windex::drawFilledRectangle_ONE,           // ONE
};

Windex *window() {
    return phaseFive ? phaseFive->windexPointer : nullptr;
}

// A bar of the value's colour with an outline.
void valueBar(Windex &w, SignalValue sv, int x, int y, int width, int height) {
    // Fetched, then called: one expression doing both is miscompiled by sanitizer builds.
    const Fill fill = valueFill[static_cast<int>(sv)];
    (w.*fill)(x, y, width, height);
    w.drawRectangle(x, y, width, height);
}

// The line patterns that mark values on panes that are not probes.
void patternPane(Windex &w, SignalValue sv, int xs, int ys, int ws, int hs) {
    if (sv == ONE) {
        w.drawFilledRectangle(xs, ys, ws, hs);
        return;
    }
    w.drawRectangle(xs, ys, ws, hs);
    if (sv == UNINITIALIZED || sv == XXX)
        w.drawLine(xs, ys + hs, xs + ws, ys); // bottom-left to top-right
    if (sv == XXX)
        w.drawLine(xs, ys, xs + ws, ys + hs);
    if (sv == HIZ)
        w.drawLine(xs, ys + hs / 2, xs + ws, ys + hs / 2);
}

} // namespace

void shrink(float sf, int x, int y, int w, int h, int &xs, int &ys, int &ws, int &hs) {
    hs = static_cast<int>(std::trunc(static_cast<float>(h) * sf));
    ws = static_cast<int>(std::trunc(static_cast<float>(w) * sf));
    xs = static_cast<int>(std::trunc(static_cast<float>((w - ws) / 2) + static_cast<float>(x)));
    ys = static_cast<int>(std::trunc(static_cast<float>((h - hs) / 2) + static_cast<float>(y)));
}

void drawPane(int x, int y, int w, int h, SignalValue sv, bool is_probe, float shrinkFactor) {
    Windex *win = window();
    if (!win || !isSignalValue(sv))
        return;
    int xs, ys, ws, hs;
    shrink(shrinkFactor, x, y, w, h, xs, ys, ws, hs);
    win->clearArea(xs, ys, ws, hs);
    if (is_probe)
        valueBar(*win, sv, xs, ys, ws, hs);
    else
        patternPane(*win, sv, xs, ys, ws, hs);
}

void drawPane_byte_h(int x, int y, int w, int h, SignalValue *sv, bool, float shrinkFactor) {
    Windex *win = window();
    if (!win)
        return;
    int xs, ys, ws, hs;
    shrink(shrinkFactor, x, y, w, h, xs, ys, ws, hs);
    const int cw = ws / 8;
    // The last 0.3 of each cell stays background as a gap.
    const int bw = static_cast<int>(cw * 0.7);
    for (int i = 0; i < 8; ++i) {
        if (!isSignalValue(sv[i]))
            continue;
        win->clearArea(xs + i * cw, ys, cw, hs);
        valueBar(*win, sv[i], xs + i * cw, ys, bw, hs);
    }
}

void drawPane_byte(int x, int y, int w, int h, SignalValue *sv, bool, float shrinkFactor) {
    Windex *win = window();
    if (!win)
        return;
    int xs, ys, ws, hs;
    shrink(shrinkFactor, x, y, w, h, xs, ys, ws, hs);
    const int ch = hs / 8;
    const int bh = static_cast<int>(ch * 0.7);
    for (int i = 0; i < 8; ++i) {
        if (!isSignalValue(sv[i]))
            continue;
        win->clearArea(xs, ys + i * ch, ws, bh);
        valueBar(*win, sv[i], xs, ys + i * ch, ws, bh);
    }
}
