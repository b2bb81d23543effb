#include "display/XHarness.h"

#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace xtest {

namespace {

// The share of a channel mask that a pixel holds, as 0..255.
uint32_t channelOf(unsigned long pixel, unsigned long mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long maximum = mask >> shift;
    return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / maximum);
}

// Errors on a test's own connection (a window gone meanwhile) are answers,
// not failures; errors on any other connection (the program's window in the
// same process) go to the handler that was installed before.
XErrorHandler previousHandler = nullptr;
std::vector<Display *> testConnections;

int ignoreTestErrors(Display *display, XErrorEvent *error) {
    for (Display *d : testConnections)
        if (d == display)
            return 0;
    return previousHandler ? previousHandler(display, error) : 0;
}

Window searchByName(Display *display, Window parent, const std::string &name) {
    Window root, parentOut, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i)
        if (windowTitle(display, children[i]) == name)
            found = children[i];
    for (unsigned i = 0; i < count && !found; ++i)
        found = searchByName(display, children[i], name);
    if (children)
        XFree(children);
    return found;
}

void settle(Display *display, Display *drawnThrough) {
    if (drawnThrough)
        XSync(drawnThrough, False);
    XSync(display, False);
}

} // namespace

bool displayNamed() {
    const char *name = std::getenv("DISPLAY");
    return name && *name;
}

Display *openDisplay() {
    // A server resets when its last client leaves and refuses connections
    // meanwhile, which happens between one test program and the next.
    for (int attempt = 0; attempt < 250; ++attempt) {
        if (Display *display = XOpenDisplay(nullptr))
            return display;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

Connection::Connection() : display_(displayNamed() ? openDisplay() : nullptr) {
    if (!display_)
        return;
    testConnections.push_back(display_);
    XErrorHandler previous = XSetErrorHandler(ignoreTestErrors);
    if (previous != ignoreTestErrors)
        previousHandler = previous;
}

Connection::~Connection() {
    if (!display_)
        return;
    XCloseDisplay(display_);
    testConnections.erase(std::remove(testConnections.begin(), testConnections.end(), display_),
                          testConnections.end());
}

Window findWindowByName(Display *display, const std::string &name, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (Window w = searchByName(display, DefaultRootWindow(display), name))
            return w;
        if (std::chrono::steady_clock::now() > deadline)
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string windowTitle(Display *display, Window window) {
    char *name = nullptr;
    std::string result;
    if (XFetchName(display, window, &name) && name)
        result = name;
    if (name)
        XFree(name);
    return result;
}

std::string iconName(Display *display, Window window) {
    char *name = nullptr;
    std::string result;
    if (XGetIconName(display, window, &name) && name)
        result = name;
    if (name)
        XFree(name);
    return result;
}

Geometry geometryOf(Display *display, Window window) {
    Window root;
    Geometry g{};
    unsigned depth;
    XGetGeometry(display, window, &root, &g.x, &g.y, &g.width, &g.height, &g.border, &depth);
    return g;
}

long sizeHintFlags(Display *display, Window window) {
    XSizeHints hints{};
    long supplied = 0;
    if (!XGetWMNormalHints(display, window, &hints, &supplied))
        return -1;
    return hints.flags;
}

Image capture(Display *display, Drawable drawable, int x, int y, int width, int height,
              Display *drawnThrough) {
    settle(display, drawnThrough);
    Image image;
    XImage *xi = XGetImage(display, drawable, x, y, width, height, AllPlanes, ZPixmap);
    if (!xi)
        return image;
    image.width = width;
    image.height = height;
    image.rgb.reserve(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            const unsigned long p = XGetPixel(xi, col, row);
            image.rgb.push_back(channelOf(p, xi->red_mask) << 16 | channelOf(p, xi->green_mask) << 8 |
                                channelOf(p, xi->blue_mask));
        }
    XDestroyImage(xi);
    return image;
}

uint32_t pixelAt(Display *display, Drawable drawable, int x, int y, Display *drawnThrough) {
    const Image image = capture(display, drawable, x, y, 1, 1, drawnThrough);
    return image.rgb.empty() ? 0xFFFFFFFFu : image.rgb[0];
}

void pressKey(Display *display, KeySym key, const std::vector<KeySym> &modifiers) {
    for (KeySym m : modifiers)
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, m), True, CurrentTime);
    const KeyCode code = XKeysymToKeycode(display, key);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, *m), False, CurrentTime);
    XSync(display, False);
}

void movePointer(Display *display, Window window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XSync(display, False);
}

void buttonDown(Display *display, int button) {
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XSync(display, False);
}

void buttonUp(Display *display, int button) {
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XSync(display, False);
}

void click(Display *display, Window window, int button, int x, int y) {
    movePointer(display, window, x, y);
    buttonDown(display, button);
    buttonUp(display, button);
}

std::string hex(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFF);
    return text;
}

} // namespace xtest
