// The one X11 window of the schematic display: connection, colours, view
// transform from schematic coordinates to pixels, and the drawing primitives
// every other display unit draws through.  Without a display connection the
// object still exists and every primitive returns at once.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "display/SchExtent.h"

class Windex {
public:
    Display *display = nullptr; // null: no display wanted or it could not be opened
    Window window = 0;
    GC gc = nullptr; // lines, outlines, text and the zoom rectangle
    XSizeHints hint{};
    int screen = 0;
    unsigned long foreground = 0;
    unsigned long background = 0;
    unsigned long subwin = 0;    // zoom-rectangle pixel XOR background, drawn with GXxor
    XEvent event{};              // the last event read
    static int cursor_shape[10]; // cursor-font glyph per zoom-rectangle grab zone
    Cursor cursor = 0;           // the cursor last defined on the window
    Cursor zoneCursors[10]{};    // one per grab zone, made with the window and freed with it
    int xPixels = 0;
    int yPixels = 0;
    int viewXs = 0;
    int viewYs = 0;
    int viewXe = schematicExtent;
    int viewYe = schematicExtent;
    int subWinXs = 0;
    int subWinYs = 0;
    int subWinXe = 0;
    int subWinYe = 0;
    XRectangle clips[16]{}; // exposed areas gathered for one clipped redraw
    int numClips = 0;

    // Opens the display (unless -X), creates the window titled labelString
    // followed by the -W label, its colours, cursors and contexts, maps it and
    // waits for its first Expose: at most two seconds, and not after an X
    // error has ended the run (a window off the screen is never exposed).  If
    // the display cannot be opened the run continues as with -X (useXDisplay
    // becomes 0).  A failed allocation of the background, foreground or
    // zoom-rectangle colour ends the process with status 255.
    explicit Windex(const char *labelString);
    // Frees the contexts and cursors, destroys the window and closes the connection.
    ~Windex();
    Windex(const Windex &) = delete;
    Windex &operator=(const Windex &) = delete;

    // --- View (no drawing) ---
    void setView(int xs, int ys, int xe, int ye);
    void getView(int *xs, int *ys, int *xe, int *ye) const;
    // The whole schematic square.
    void resetView();
    // Zooms to the rectangle with the window-pixel corners (xa, ya), (xb, yb);
    // reversed corners give a mirrored view.
    void reviseView(int xa, int ya, int xb, int yb);
    // Writes "View: xs ys xe ye" to standard error.
    void showView() const;
    // Schematic coordinate or extent to window pixels; 0 for a view of zero
    // width or height.
    int xScale(int x) const;
    int yScale(int y) const;
    int wScale(int w) const;
    int hScale(int h) const;

    // --- Drawing primitives: schematic coordinates, no-ops without a display ---
    void clear();
    void clearArea(int xs, int ys, int w, int h);
    void drawLine(int xs, int ys, int xe, int ye);
    void drawLine_BOLD(int xs, int ys, int xe, int ye);
    void drawRectangle(int xs, int ys, int w, int h);
    // Angles in X units of 1/64 degree, passed unscaled.
    void drawCircle(int xs, int ys, int w, int h, int angle1, int angle2);
    void drawFilledRectangle(int xs, int ys, int w, int h);
    void drawFilledRectangle_ONE(int xs, int ys, int w, int h);
    void drawFilledRectangle_ZERO(int xs, int ys, int w, int h);
    void drawFilledRectangle_UNINITIALIZED(int xs, int ys, int w, int h);
    void drawFilledRectangle_XXX(int xs, int ys, int w, int h);
    void drawFilledRectangle_HIZ(int xs, int ys, int w, int h);
    // Filled with the ZERO colour.
    void drawFilledCircle(int xs, int ys, int w, int h, int angle1, int angle2);
    // (x, y) is the start of the baseline; the text cell background is painted.
    void drawText(int x, int y, const char *s);
    // An "X" at window pixel (x, y), unscaled.
    void buttonPoint(int x, int y);
    // The status line "T=t Q=q S=s" and eight blanks near the top-left corner.
    void drawTimeAndQueue(unsigned long t, int q, int s);

    // --- Events and the zoom rectangle (window events unit) ---
    // Reads one event without blocking and encodes it; handles Expose inside.
    void checkEvent(int &eventType, int &keyChar);
    // Full redraw of the schematic in this window.
    void repaint();
    // Draws the zoom rectangle by XOR: drawing it twice removes it.
    void drawSubWindow();
    // The grab zone (0-9) of a window pixel; also sets the cursor for it.
    int pointInSubWindow(int x, int y);
    // Shows the cursor of grab zone which (0-9) on the window; other values
    // change nothing.
    void setCursor(int which);
    // The view becomes the zoom rectangle.
    void subWinToViewWin();
    // Centres the zoom rectangle on the view, a quarter of it wide and high.
    void setSubWin();
    // Moves or resizes the zoom rectangle by a pointer movement in grab zone state.
    void adjustSubWindow(int state, int xn, int yn, int xo, int yo);
};

// Installed as Xlib's error and I/O error handlers: end the run quietly.
int catchError(Display *, XErrorEvent *);
int catchIOError(Display *);

// Window-wide drawing state shared by the one window.
extern GC gc_ONE, gc_ZERO, gc_UNINITIALIZED, gc_XXX, gc_HIZ; // value fills
extern GC gc_BOLD;                                           // foreground, line width 2
extern Colormap colormap1;
extern XColor color_ONE, color_ZERO, color_UNINITIALIZED, color_XXX, color_HIZ;
extern char bar_color_ONE[8], bar_color_ZERO[8], bar_color_UNINITIALIZED[8], bar_color_XXX[8],
    bar_color_HIZ[8];

// Allocates the colour with the given 16-bit channels in map and returns its
// pixel; on failure writes "Can't Alloc <role> Pixel" and a blank line to
// standard error and ends the process with status 255.
unsigned long allocPixelOrExit(Display *display, Colormap map, unsigned short red, unsigned short green,
                               unsigned short blue, const char *role);
