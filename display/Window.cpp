// The X11 window: construction, teardown, view transform and drawing primitives.
#include "display/Window.h"

#include <X11/cursorfont.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "core/RunTime.h"
#include "core/cmdLine.h"

GC gc_ONE, gc_ZERO, gc_UNINITIALIZED, gc_XXX, gc_HIZ;
GC gc_BOLD;
Colormap colormap1;
XColor color_ONE, color_ZERO, color_UNINITIALIZED, color_XXX, color_HIZ;
char bar_color_ONE[8] = "#008000";
char bar_color_ZERO[8] = "#F0FFF0";
char bar_color_UNINITIALIZED[8] = "#FFFFFF";
char bar_color_XXX[8] = "#FF8C00";
char bar_color_HIZ[8] = "#FFEBCD";

int Windex::cursor_shape[10] = {
    XC_arrow,               // 0 outside the zoom rectangle
    XC_fleur,               // 1 interior
    XC_top_left_corner,     // 2
    XC_sb_v_double_arrow,   // 3 top edge
    XC_top_right_corner,    // 4
    XC_sb_h_double_arrow,   // 5 left edge
    XC_sb_h_double_arrow,   // 6 right edge
    XC_bottom_left_corner,  // 7
    XC_sb_v_double_arrow,   // 8 bottom edge
    XC_bottom_right_corner, // 9
};

namespace {

const char *const defaultGeometry = "1025x825+100+25";
const int borderWidth = 5;
const long inputMask = KeyPressMask | ButtonPressMask | ButtonReleaseMask | Button1MotionMask | ExposureMask |
                       StructureNotifyMask;

// The X protocol carries coordinates in 16 bits.  Geometry is limited to
// this range before it is sent, so that deep zooms do not wrap distant
// shapes around into the window; the range is far wider than any window.
const int protocolLimit = 30000;

// The value fills: context, colour string and the colour allocated for it.
struct ValueColour {
    GC *context;
    const char *colourString;
    XColor *colour;
};
const ValueColour valueColours[] = {
    {&gc_ONE, bar_color_ONE, &color_ONE},
    {&gc_ZERO, bar_color_ZERO, &color_ZERO},
    {&gc_UNINITIALIZED, bar_color_UNINITIALIZED, &color_UNINITIALIZED},
    {&gc_XXX, bar_color_XXX, &color_XXX},
    {&gc_HIZ, bar_color_HIZ, &color_HIZ},
};

// Truncates toward zero; values beyond int (deep zooms) saturate and NaN gives 0.
int truncToInt(float v) {
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<float>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<float>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

// pixels * (offset / span) in single precision; 0 for an empty span.
int scaled(int64_t offset, int64_t span, int pixels) {
    if (span == 0)
        return 0;
    return truncToInt(static_cast<float>(pixels) * (static_cast<float>(offset) / static_cast<float>(span)));
}

// A rectangle in window pixels, made ready for the protocol.  Mirrored views
// give negative sizes, which are turned into the same rectangle with a
// positive size.  Returns false when nothing of it can be seen.
bool protocolRect(int64_t x, int64_t y, int64_t w, int64_t h, int *px, int *py, int *pw, int *ph) {
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    const int64_t x0 = std::max<int64_t>(x, -protocolLimit), x1 = std::min<int64_t>(x + w, protocolLimit);
    const int64_t y0 = std::max<int64_t>(y, -protocolLimit), y1 = std::min<int64_t>(y + h, protocolLimit);
    if (x1 < x0 || y1 < y0)
        return false;
    *px = static_cast<int>(x0);
    *py = static_cast<int>(y0);
    *pw = static_cast<int>(x1 - x0);
    *ph = static_cast<int>(y1 - y0);
    return true;
}

// Clips the segment to the protocol range (Liang-Barsky).  Returns false
// when no part of it lies inside.
bool protocolLine(int *xa, int *ya, int *xb, int *yb) {
    const double x0 = *xa, y0 = *ya, dx = static_cast<double>(*xb) - x0, dy = static_cast<double>(*yb) - y0;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 + protocolLimit, protocolLimit - x0, y0 + protocolLimit, protocolLimit - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    *xa = static_cast<int>(std::lround(x0 + t0 * dx));
    *ya = static_cast<int>(std::lround(y0 + t0 * dy));
    *xb = static_cast<int>(std::lround(x0 + t1 * dx));
    *yb = static_cast<int>(std::lround(y0 + t1 * dy));
    return true;
}

bool inProtocolRange(int x, int y) {
    return std::abs(x) <= protocolLimit && std::abs(y) <= protocolLimit;
}

// How long start-up waits for the window to be shown.  A window placed off
// the screen, or one the server refused, is never exposed at all.
const std::chrono::milliseconds firstExposeLimit(2000);

// Waits for the window's first Expose and takes it off the queue.  Gives up
// when the X error handler ends the run (done) or after firstExposeLimit;
// later Exposes are then handled as usual.  Returns true when it came.
bool awaitFirstExpose(Display *display, Window window, XEvent *event) {
    const auto deadline = std::chrono::steady_clock::now() + firstExposeLimit;
    while (!done) {
        if (XCheckWindowEvent(display, window, ExposureMask, event))
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()));
    }
    return false;
}

// The 16-bit X colour channel of a 0..255 option value.
unsigned short channel(int v) {
    return static_cast<unsigned short>(v << 8);
}

} // namespace

unsigned long allocPixelOrExit(Display *display, Colormap map, unsigned short red, unsigned short green,
                               unsigned short blue, const char *role) {
    XColor colour{};
    colour.red = red;
    colour.green = green;
    colour.blue = blue;
    colour.flags = DoRed | DoGreen | DoBlue;
    if (!XAllocColor(display, map, &colour)) {
        std::cerr << "Can't Alloc " << role << " Pixel\n" << std::endl;
        std::exit(-1);
    }
    return colour.pixel;
}

int catchError(Display *, XErrorEvent *) {
    done = 1;
    return 0;
}

int catchIOError(Display *) {
    done = 1;
    return 0;
}

Windex::Windex(const char *labelString) {
    const std::string title = std::string(labelString) + WindowLabelString;
    XSetErrorHandler(catchError);
    XSetIOErrorHandler(catchIOError);
    if (!useXDisplay)
        return;
    display = XOpenDisplay("");
    if (!display) {
        std::cerr << "Unable to open X Window" << std::endl;
        // Run as with -X from here on, so that probes report as text.
        useXDisplay = 0;
        return;
    }
    screen = DefaultScreen(display);
    const Colormap baseColours = DefaultColormap(display, screen);
    background = (red_bg || green_bg || blue_bg)
                     ? allocPixelOrExit(display, baseColours, channel(red_bg), channel(green_bg),
                                        channel(blue_bg), "background")
                     : WhitePixel(display, screen);
    foreground = (red_fg || green_fg || blue_fg)
                     ? allocPixelOrExit(display, baseColours, channel(red_fg), channel(green_fg),
                                        channel(blue_fg), "foreground")
                     : BlackPixel(display, screen);
    // The zoom rectangle defaults to pure red; it is XOR-ed into the background.
    const bool defaultZoomColour = !(red_sw || green_sw || blue_sw);
    subwin = (defaultZoomColour ? allocPixelOrExit(display, baseColours, 0xFFFF, 0, 0, "subwindow")
                                : allocPixelOrExit(display, baseColours, channel(red_sw), channel(green_sw),
                                                   channel(blue_sw), "subwindow")) ^
             background;

    const int mask = XGeometry(display, screen, XW_geometry, defaultGeometry, borderWidth, 1, 1, 0, 0,
                               &hint.x, &hint.y, &hint.width, &hint.height);
    // The mask's bits for offsets from the right or bottom edge coincide with
    // the minimum- and maximum-size hints, which would ask for a window of no size.
    hint.flags = mask ? mask & (XValue | YValue | WidthValue | HeightValue) : PPosition | PSize;

    window = XCreateSimpleWindow(display, RootWindow(display, screen), hint.x, hint.y, hint.width,
                                 hint.height, borderWidth, foreground, background);
    // Every zone's cursor is made once here: dragging the zoom rectangle
    // switches between them without asking the server for new ones.
    for (int zone = 0; zone < 10; ++zone)
        zoneCursors[zone] = XCreateFontCursor(display, cursor_shape[zone]);
    cursor = zoneCursors[0];
    XDefineCursor(display, window, cursor);
    XSetStandardProperties(display, window, title.c_str(), labelString, None, nullptr, 0, &hint);

    gc = XCreateGC(display, window, 0, nullptr);
    numClips = 0;
    XSetBackground(display, gc, background);
    XSetForeground(display, gc, foreground);
    XSetFunction(display, gc, GXcopy);
    for (const ValueColour &v : valueColours)
        *v.context = XCreateGC(display, window, 0, nullptr);
    gc_BOLD = XCreateGC(display, window, 0, nullptr);
    XSetBackground(display, gc_BOLD, background);
    XSetForeground(display, gc_BOLD, foreground);
    XSetFunction(display, gc_BOLD, GXcopy);
    XSetLineAttributes(display, gc_BOLD, 2, LineSolid, CapButt, JoinBevel);

    colormap1 = DefaultColormap(display, screen);
    for (const ValueColour &v : valueColours) {
        // A failed value colour is not fatal: the fill gets whatever pixel the colour holds.
        XParseColor(display, colormap1, v.colourString, v.colour);
        XAllocColor(display, colormap1, v.colour);
        XSetBackground(display, *v.context, background);
        XSetForeground(display, *v.context, v.colour->pixel);
        XSetFunction(display, *v.context, GXcopy);
    }

    XSelectInput(display, window, inputMask);
    XMapRaised(display, window);
    resetView();
    setSubWin();
    // Nothing may be drawn before the window is on the screen.
    awaitFirstExpose(display, window, &event);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    xPixels = attributes.width;
    yPixels = attributes.height;
}

Windex::~Windex() {
    if (!display)
        return;
    XFreeGC(display, gc);
    // The value and bold contexts are shared globals; free them with the window
    // that made them so that a second window starts from fresh ones.
    for (const ValueColour &v : valueColours) {
        XFreeGC(display, *v.context);
        *v.context = nullptr;
    }
    XFreeGC(display, gc_BOLD);
    gc_BOLD = nullptr;
    XDestroyWindow(display, window);
    for (Cursor &zoneCursor : zoneCursors) {
        XFreeCursor(display, zoneCursor);
        zoneCursor = 0;
    }
    XCloseDisplay(display);
    display = nullptr;
}

void Windex::setView(int xs, int ys, int xe, int ye) {
    viewXs = xs;
    viewYs = ys;
    viewXe = xe;
    viewYe = ye;
}

void Windex::getView(int *xs, int *ys, int *xe, int *ye) const {
    *xs = viewXs;
    *ys = viewYs;
    *xe = viewXe;
    *ye = viewYe;
}

void Windex::resetView() {
    setView(0, 0, schematicExtent, schematicExtent);
}

void Windex::reviseView(int xa, int ya, int xb, int yb) {
    // Without a window (or with one of no size) there are no pixels to map from.
    if (xPixels == 0 || yPixels == 0)
        return;
    const float spanX = static_cast<float>(int64_t{viewXe} - viewXs);
    const float spanY = static_cast<float>(int64_t{viewYe} - viewYs);
    const auto corner = [](int start, float span, int pixel, int pixels) {
        return truncToInt(static_cast<float>(start) +
                          span * static_cast<float>(pixel) / static_cast<float>(pixels));
    };
    setView(corner(viewXs, spanX, xa, xPixels), corner(viewYs, spanY, ya, yPixels),
            corner(viewXs, spanX, xb, xPixels), corner(viewYs, spanY, yb, yPixels));
}

void Windex::showView() const {
    std::cerr << "View: " << viewXs << " " << viewYs << " " << viewXe << " " << viewYe << std::endl;
}

int Windex::xScale(int x) const {
    return scaled(int64_t{x} - viewXs, int64_t{viewXe} - viewXs, xPixels);
}
int Windex::yScale(int y) const {
    return scaled(int64_t{y} - viewYs, int64_t{viewYe} - viewYs, yPixels);
}
int Windex::wScale(int w) const {
    return scaled(w, int64_t{viewXe} - viewXs, xPixels);
}
int Windex::hScale(int h) const {
    return scaled(h, int64_t{viewYe} - viewYs, yPixels);
}

void Windex::clear() {
    if (!display)
        return;
    XClearArea(display, window, 0, 0, 0, 0, False);
}

void Windex::clearArea(int xs, int ys, int w, int h) {
    if (!display)
        return;
    int x, y, pw, ph;
    // A size of 0 would clear to the window's edge: a pane too small to show clears nothing.
    if (protocolRect(xScale(xs), yScale(ys), wScale(w), hScale(h), &x, &y, &pw, &ph) && pw > 0 && ph > 0)
        XClearArea(display, window, x, y, pw, ph, False);
}

namespace {

void lineWith(Windex &w, GC context, int xs, int ys, int xe, int ye) {
    int xa = w.xScale(xs), ya = w.yScale(ys), xb = w.xScale(xe), yb = w.yScale(ye);
    if (protocolLine(&xa, &ya, &xb, &yb))
        XDrawLine(w.display, w.window, context, xa, ya, xb, yb);
}

// Rectangles are drawn when some part of them can be seen.
template <typename Request> void rectWith(Windex &w, int xs, int ys, int width, int height, Request request) {
    int x, y, pw, ph;
    if (protocolRect(w.xScale(xs), w.yScale(ys), w.wScale(width), w.hScale(height), &x, &y, &pw, &ph))
        request(x, y, pw, ph);
}

void fillWith(Windex &w, GC context, int xs, int ys, int width, int height) {
    rectWith(w, xs, ys, width, height, [&](int x, int y, int pw, int ph) {
        XFillRectangle(w.display, w.window, context, x, y, pw, ph);
    });
}

} // namespace

void Windex::drawLine(int xs, int ys, int xe, int ye) {
    if (display)
        lineWith(*this, gc, xs, ys, xe, ye);
}

void Windex::drawLine_BOLD(int xs, int ys, int xe, int ye) {
    if (display)
        lineWith(*this, gc_BOLD, xs, ys, xe, ye);
}

void Windex::drawRectangle(int xs, int ys, int w, int h) {
    if (!display)
        return;
    rectWith(*this, xs, ys, w, h,
             [&](int x, int y, int pw, int ph) { XDrawRectangle(display, window, gc, x, y, pw, ph); });
}

void Windex::drawCircle(int xs, int ys, int w, int h, int angle1, int angle2) {
    if (!display)
        return;
    rectWith(*this, xs, ys, w, h, [&](int x, int y, int pw, int ph) {
        XDrawArc(display, window, gc, x, y, pw, ph, angle1, angle2);
    });
}

void Windex::drawFilledRectangle(int xs, int ys, int w, int h) {
    if (display)
        fillWith(*this, gc, xs, ys, w, h);
}
void Windex::drawFilledRectangle_ONE(int xs, int ys, int w, int h) {
    if (display)
        fillWith(*this, gc_ONE, xs, ys, w, h);
}
void Windex::drawFilledRectangle_ZERO(int xs, int ys, int w, int h) {
    if (display)
        fillWith(*this, gc_ZERO, xs, ys, w, h);
}
void Windex::drawFilledRectangle_UNINITIALIZED(int xs, int ys, int w, int h) {
    if (display)
        fillWith(*this, gc_UNINITIALIZED, xs, ys, w, h);
}
void Windex::drawFilledRectangle_XXX(int xs, int ys, int w, int h) {
    if (display)
        fillWith(*this, gc_XXX, xs, ys, w, h);
}
void Windex::drawFilledRectangle_HIZ(int xs, int ys, int w, int h) {
    if (display)
        fillWith(*this, gc_HIZ, xs, ys, w, h);
}

void Windex::drawFilledCircle(int xs, int ys, int w, int h, int angle1, int angle2) {
    if (!display)
        return;
    rectWith(*this, xs, ys, w, h, [&](int x, int y, int pw, int ph) {
        XFillArc(display, window, gc_ZERO, x, y, pw, ph, angle1, angle2);
    });
}

void Windex::drawText(int x, int y, const char *s) {
    if (!display || !s)
        return;
    const int px = xScale(x), py = yScale(y);
    if (inProtocolRange(px, py))
        XDrawImageString(display, window, gc, px, py, s, static_cast<int>(std::strlen(s)));
}

void Windex::buttonPoint(int x, int y) {
    if (display && inProtocolRange(x, y))
        XDrawImageString(display, window, gc, x, y, "X", 1);
}

void Windex::drawTimeAndQueue(unsigned long t, int q, int s) {
    if (!display)
        return;
    // The trailing blanks overwrite the tail of a longer previous line.
    const std::string line =
        "T=" + std::to_string(t) + " Q=" + std::to_string(q) + " S=" + std::to_string(s) + "        ";
    const int x = static_cast<int>(viewXs + (int64_t{viewXe} - viewXs) / 32);
    const int y = static_cast<int>(viewYs + (int64_t{viewYe} - viewYs) / 32);
    drawText(x, y, line.c_str());
}
