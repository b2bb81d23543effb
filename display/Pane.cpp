// Value panes: small rectangles, centred in a component's tile, that show
// the present value of a signal.  They draw only through the window's
// primitives, so they follow the view and do nothing without a window.
#include "display/Pane.h"

#include <cmath>

#include "display/Legend.h"
#include "display/Ph5.h"
#include "display/Window.h"

namespace {

Windex *window() {
    return phaseFive ? phaseFive->windexPointer : nullptr;
}

// A bar of the value's colour with an outline.
void valueBar(Windex &w, SignalValue sv, int x, int y, int width, int height) {
    w.drawValueFill(sv, x, y, width, height);
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

// The pane's value in hexadecimal beside it, in window pixels so that it is
// legible at any zoom; nothing when the pane is too small to be seen.
void drawReadout(Windex &w, int xs, int ys, int ws, int hs, const SignalValue *sv, bool wide) {
    const int px = w.xScale(xs), py = w.yScale(ys), pw = w.wScale(ws), ph = w.hScale(hs);
    if (pw < 2 || ph < 2)
        return;
    const std::string digits = hexReadout(sv, 8);
    const ReadoutPlace place = readoutPlace(px, py, pw, ph, wide, static_cast<int>(digits.size()),
                                            w.charWidth(), w.fontAscent(), w.fontDescent());
    w.drawPixelText(place.x, place.y, digits);
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

void drawPane_bytes(int x, int y, int w, int h, const SignalValue *sv, PaneOrientation orientation,
                    float shrinkFactor) {
    Windex *win = window();
    if (!win)
        return;
    int xs, ys, ws, hs;
    shrink(shrinkFactor, x, y, w, h, xs, ys, ws, hs);
    const bool sideBySide = orientation == PaneOrientation::sideBySide;
    // Each value has a cell of an eighth of the pane; the last 0.3 of the
    // cell stays background as a gap.
    const int cell = (sideBySide ? ws : hs) / 8;
    const int bar = static_cast<int>(cell * 0.7);
    for (int i = 0; i < 8; ++i) {
        if (!isSignalValue(sv[i]))
            continue;
        if (sideBySide) {
            win->clearArea(xs + i * cell, ys, cell, hs);
            valueBar(*win, sv[i], xs + i * cell, ys, bar, hs);
        } else {
            win->clearArea(xs, ys + i * cell, ws, bar);
            valueBar(*win, sv[i], xs, ys + i * cell, ws, bar);
        }
    }
    if (phaseFive->valueReadoutFlag)
        drawReadout(*win, xs, ys, ws, hs, sv, sideBySide);
}

void drawPane_byte_h(int x, int y, int w, int h, SignalValue *sv, bool, float shrinkFactor) {
    drawPane_bytes(x, y, w, h, sv, PaneOrientation::sideBySide, shrinkFactor);
}

void drawPane_byte(int x, int y, int w, int h, SignalValue *sv, bool, float shrinkFactor) {
    drawPane_bytes(x, y, w, h, sv, PaneOrientation::stacked, shrinkFactor);
}
