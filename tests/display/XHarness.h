// Helpers for tests that drive a real X server: the one named by DISPLAY,
// which ./test.sh starts (an Xvfb of its own) for the test run.  Tests open
// their own connection here, find the program's window, send keys and
// buttons through the XTest extension and read pixels back with XGetImage.
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <string>
#include <vector>

// Skips the calling test when no X server is named; under ./test.sh one always is.
#define REQUIRE_X_DISPLAY()                                                                                  \
    do {                                                                                                     \
        if (!xtest::displayNamed())                                                                          \
            GTEST_SKIP() << "DISPLAY is not set";                                                            \
    } while (0)

namespace xtest {

// True when DISPLAY names a server.
bool displayNamed();

// Opens the server named by DISPLAY, waiting up to five seconds for a
// server that is resetting; null when it cannot be reached.
Display *openDisplay();

// A connection of the test's own to the server named by DISPLAY, closed at
// the end of its scope.  get() is null when the server cannot be reached.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    Display *get() const { return display_; }
    operator Display *() const { return display_; }

private:
    Display *display_;
};

// The top-level window whose title (WM_NAME) is name, waiting up to
// timeoutMs for it to appear; 0 when it does not.
Window findWindowByName(Display *display, const std::string &name, int timeoutMs = 5000);

// The window's title and icon name ("" when unset).
std::string windowTitle(Display *display, Window window);
std::string iconName(Display *display, Window window);

// The window's position (of its outer border corner, relative to its
// parent), size and border width.
struct Geometry {
    int x, y;
    unsigned width, height, border;
};
Geometry geometryOf(Display *display, Window window);

// The flags of the window's size hints (WM_NORMAL_HINTS).
long sizeHintFlags(Display *display, Window window);

// A rectangle of a window's pixels as 0xRRGGBB values, row by row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;
    uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Image &o) const { return width == o.width && height == o.height && rgb == o.rgb; }
};
// Waits until the server has handled everything sent on drawnThrough (the
// connection that drew), then reads the rectangle.
Image capture(Display *display, Drawable drawable, int x, int y, int width, int height,
              Display *drawnThrough = nullptr);
// One pixel as 0xRRGGBB.
uint32_t pixelAt(Display *display, Drawable drawable, int x, int y, Display *drawnThrough = nullptr);

// Input through XTest, delivered to wherever the pointer and focus are.
// Keys are named by keysym; modifiers (for example XK_Control_L) are held
// around the key.
void pressKey(Display *display, KeySym key, const std::vector<KeySym> &modifiers = {});
// Moves the pointer to pixel (x, y) of the window.
void movePointer(Display *display, Window window, int x, int y);
void buttonDown(Display *display, int button);
void buttonUp(Display *display, int button);
// Moves to (x, y) of the window and presses and releases the button there.
void click(Display *display, Window window, int button, int x, int y);

// Formats a pixel for failure messages: "#RRGGBB".
std::string hex(uint32_t rgb);

} // namespace xtest
