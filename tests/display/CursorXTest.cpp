// The window's cursors: dragging the zoom rectangle switches between cursors
// made once with the window, and closing the window frees them.  The cursors
// are counted at the Xlib calls that make and free them: this program's own
// definitions stand in front of Xlib's and pass every call on.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <X11/Xlib.h>

#include "LiveDisplay.h"
#include "Panel.h"
#include "XHarness.h"
#include "display/Ph5.h"
#include "display/Window.h"
#include "display/WindowEv.h"

namespace {

int cursorsMade = 0;
int cursorsFreed = 0;

template <typename Function> Function xlibsOwn(const char *name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

Cursor XCreateFontCursor(Display *display, unsigned int shape) {
    static const auto real = xlibsOwn<Cursor (*)(Display *, unsigned int)>("XCreateFontCursor");
    ++cursorsMade;
    return real(display, shape);
}

int XFreeCursor(Display *display, Cursor cursor) {
    static const auto real = xlibsOwn<int (*)(Display *, Cursor)>("XFreeCursor");
    ++cursorsFreed;
    return real(display, cursor);
}

namespace {

using namespace panelView;

TEST(Cursors, AThousandClicksOnTheZoomRectangleMakeNoNewCursor) {
    REQUIRE_X_DISPLAY();
    xtest::Connection x;
    ASSERT_NE(x.get(), nullptr);
    captureCircuit(panel);
    const int madeBefore = cursorsMade, freedBefore = cursorsFreed;
    openDisplay(true, "cursors");
    ASSERT_TRUE(windowOpen());
    const int madeWithTheWindow = cursorsMade - madeBefore;
    EXPECT_GT(madeWithTheWindow, 0);
    startRun();
    const Window window = phaseFive->windexPointer->window;

    // The middle of the full view is inside the zoom rectangle: each press
    // shows the move cursor, each release the arrow again.
    for (int click = 0; click < 1000; ++click) {
        xtest::click(x, window, 1, width / 2, height / 2);
        ASSERT_TRUE(handleNextEvent()) << "press " << click;
        ASSERT_TRUE(handleNextEvent()) << "release " << click;
    }
    EXPECT_EQ(cursorsMade - madeBefore, madeWithTheWindow);

    closeDisplay();
    EXPECT_EQ(cursorsFreed - freedBefore, madeWithTheWindow);
}

} // namespace
