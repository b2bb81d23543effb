// The zoom rectangle: placing, drawing, grabbing and dragging it, and
// zooming the view into it.
#include "display/WindowIn.h"

#include "display/Window.h"

int grabZone(int x, int y, int xs, int ys, int xe, int ye) {
    if (x < xs || x > xe || y < ys || y > ye)
        return 0;
    // Rows top, middle, bottom; columns left, centre, right.
    static const int zones[3][3] = {{2, 3, 4}, {5, 1, 6}, {7, 8, 9}};
    const int dX = (xe - xs) >> 3;
    const int dY = (ye - ys) >> 3;
    const int row = y < ys + dY ? 0 : y < ye - dY ? 1 : 2;
    const int column = x < xs + dX ? 0 : x > xe - dX ? 2 : 1;
    return zones[row][column];
}

MovingEdges movingEdges(int zone) {
    //                                  xs     ys     xe     ye
    static const MovingEdges byZone[10] = {{false, false, false, false}, // 0 no drag
                                           {true, true, true, true},     // 1 interior: move
                                           {true, true, false, false},   // 2 top-left
                                           {false, true, false, false},  // 3 top
                                           {false, true, true, false},   // 4 top-right
                                           {true, false, false, false},  // 5 left
                                           {false, false, true, false},  // 6 right
                                           {true, false, false, true},   // 7 bottom-left
                                           {false, false, false, true},  // 8 bottom
                                           {false, false, true, true}};  // 9 bottom-right
    return zone >= 0 && zone <= 9 ? byZone[zone] : byZone[0];
}

int movedEdge(int old, int span, int d, int pixels) {
    if (pixels == 0)
        return old;
    return static_cast<int>(static_cast<float>(old) +
                            static_cast<float>(span) * static_cast<float>(d) / static_cast<float>(pixels));
}

void Windex::setSubWin() {
    const int a = (viewXe - viewXs) >> 3;
    const int b = (viewYe - viewYs) >> 3;
    subWinXs = viewXs + 3 * a;
    subWinXe = viewXs + 5 * a;
    subWinYs = viewYs + 3 * b;
    subWinYe = viewYs + 5 * b;
}

void Windex::subWinToViewWin() {
    setView(subWinXs, subWinYs, subWinXe, subWinYe);
}

void Windex::drawSubWindow() {
    if (display == nullptr)
        return;
    // XOR with the rectangle colour: a second drawing restores the pixels.
    XSetLineAttributes(display, gc, 0, LineOnOffDash, CapRound, JoinRound);
    XSetFunction(display, gc, GXxor);
    XSetForeground(display, gc, subwin);
    XDrawRectangle(display, window, gc, xScale(subWinXs), yScale(subWinYs), wScale(subWinXe - subWinXs),
                   hScale(subWinYe - subWinYs));
    XSetLineAttributes(display, gc, 0, LineSolid, CapRound, JoinRound);
    XSetFunction(display, gc, GXcopy);
    XSetForeground(display, gc, foreground);
}

int Windex::pointInSubWindow(int x, int y) {
    const int zone = grabZone(x, y, xScale(subWinXs), yScale(subWinYs), xScale(subWinXe), yScale(subWinYe));
    setCursor(zone);
    return zone;
}

void Windex::setCursor(int which) {
    if (display == nullptr || which < 0 || which >= 10)
        return;
    cursor = zoneCursors[which];
    XDefineCursor(display, window, cursor);
}

void Windex::adjustSubWindow(int state, int xn, int yn, int xo, int yo) {
    const MovingEdges moving = movingEdges(state);
    if (!moving.xs && !moving.ys && !moving.xe && !moving.ye)
        return;
    const int dx = xn - xo;
    const int dy = yn - yo;
    const int xSpan = viewXe - viewXs;
    const int ySpan = viewYe - viewYs;
    drawSubWindow(); // removes the old rectangle
    if (moving.xs)
        subWinXs = movedEdge(subWinXs, xSpan, dx, xPixels);
    if (moving.ys)
        subWinYs = movedEdge(subWinYs, ySpan, dy, viewPixelsY());
    if (moving.xe)
        subWinXe = movedEdge(subWinXe, xSpan, dx, xPixels);
    if (moving.ye)
        subWinYe = movedEdge(subWinYe, ySpan, dy, viewPixelsY());
    drawSubWindow();
}
