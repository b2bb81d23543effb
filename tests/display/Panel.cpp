#include "Panel.h"

#include "display/IconDraw.h"

namespace panelView {

namespace {

constexpr int extent = 16777215;
constexpr int cell = extent / 3; // the grid is three by three

int scaled(int c, int pixels) {
    return static_cast<int>(static_cast<float>(pixels) *
                            (static_cast<float>(c) / static_cast<float>(extent)));
}

IconFrame switchFrame() {
    return iconFrame(0, 0, cell, cell);
}
IconFrame boxFrame() {
    return iconFrame(0, 2 * cell, extent, cell);
}
IconFrame inverterFrame() {
    return iconFrame(0, 2 * cell, extent / 2, cell);
}

Point tileMiddle(int column, int row) {
    return pixelOf(column * cell + cell / 2, row * cell + cell / 2);
}

// The centres of a one-lead component's tabs, where its lines end.
Point outputTabCentre(const IconFrame &f) {
    return pixelOf(static_cast<int>(f.x + f.dxBlank + f.dxTab + f.dxLine + f.dxComp + f.dxLine + f.dxTab / 2),
                   leadRow(f, 1, 0).yl);
}
Point inputTabCentre(const IconFrame &f) {
    return pixelOf(static_cast<int>(f.x + f.dxBlank + f.dxTab / 2), leadRow(f, 1, 0).yl);
}

} // namespace

Point pixelOf(int sx, int sy) {
    return {scaled(sx, width), scaled(sy, height)};
}

Point switchPane() {
    return tileMiddle(0, 0);
}
Point topProbePane() {
    return tileMiddle(2, 0);
}
Point centreProbePane() {
    return tileMiddle(1, 1);
}

Point lineToTopProbe() {
    return pixelOf(extent / 2, leadRow(switchFrame(), 1, 0).yl);
}

Point boxTopEdge() {
    return pixelOf(extent / 2, boxFrame().ys);
}

Point inverterLeftEdge() {
    const IconFrame f = inverterFrame();
    return pixelOf(f.xs, f.ys + f.hs / 4);
}

Point switchOutputTab() {
    const Point centre = outputTabCentre(switchFrame());
    return {centre.x - 3, centre.y - 5};
}

Area lineToBoxMiddle() {
    const Point from = outputTabCentre(switchFrame()), to = inputTabCentre(boxFrame());
    return {(from.x + to.x) / 2 - 2, (from.y + to.y) / 2, 5, 1};
}

Area switchLabel() {
    const IconFrame f = switchFrame();
    const Point corner = pixelOf(f.xs, f.ys);
    return {corner.x, corner.y - 9, 18, 9};
}

Area switchLeadName() {
    const IconFrame f = switchFrame();
    const Point start =
        pixelOf(static_cast<int>(f.x + f.dxBlank + f.dxTab + f.dxLine + f.dxComp), leadRow(f, 1, 0).yl);
    // Right of the body's edge, above the lead line.
    return {start.x + 2, start.y - 9, 5, 8};
}

} // namespace panelView
