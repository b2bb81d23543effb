// The one X11 window of the schematic display: connection, colours, view
// transform from schematic coordinates to pixels, and the drawing primitives
// every other display unit draws through.  Without a display connection the
// object still exists and every primitive returns at once.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

#include "core/Signal.h"
#include "display/Palette.h"
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
    int numClips = 0; // Expose events of the present series, repainted at its end
    // Pixels at the top of the window kept for the status line and the
    // legend while either is shown; the schematic is mapped below them.
    int bandPixels = 0;

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
    // Filled with the colour of value v (nothing for a value out of range).
    void drawValueFill(SignalValue v, int xs, int ys, int w, int h);
    // The fill of one value each, under the names the netlist interface gives
    // them for a circuit's own panes; the library draws through drawValueFill.
    void drawFilledRectangle_ONE(int xs, int ys, int w, int h);
    void drawFilledRectangle_ZERO(int xs, int ys, int w, int h);
    void drawFilledRectangle_UNINITIALIZED(int xs, int ys, int w, int h);
    void drawFilledRectangle_XXX(int xs, int ys, int w, int h);
    void drawFilledRectangle_HIZ(int xs, int ys, int w, int h);
    // Filled with the ZERO colour.
    void drawFilledCircle(int xs, int ys, int w, int h, int angle1, int angle2);
    // (x, y) is the start of the baseline; the text cell background is painted.
    void drawText(int x, int y, const char *s);
    // As drawText, but only the characters that end left of schematic x
    // limit: a label does not run into its neighbour's tile.
    void drawTextWithin(int x, int y, const char *s, int limit);
    // Text at window pixel (x, y), the start of the baseline, unscaled.
    void drawPixelText(int x, int y, const std::string &s);
    // A value-coloured box with a foreground outline at window pixels, unscaled.
    void drawPixelSwatch(SignalValue v, int x, int y, int w, int h);
    // The default font's character width, ascent and descent in pixels
    // (fixed-width; 0 without a display).
    int charWidth() const;
    int fontAscent() const;
    int fontDescent() const;
    // An "X" at window pixel (x, y), unscaled.
    void buttonPoint(int x, int y);
    // The status line "T=t Q=q S=s" and eight blanks at the top-left corner,
    // in the band above the schematic while the status line is shown.
    void drawTimeAndQueue(unsigned long t, int q, int s);
    // The height the top band needs for one line of text.
    int bandHeight() const;
    // Sets the top band's height (0: none); the caller repaints.
    void setBand(int pixels);
    // The window height the schematic is mapped onto (below the band).
    int viewPixelsY() const { return yPixels - bandPixels; }
    // Zooms by factor (below 1: in) keeping the schematic point under window
    // pixel (x, y) where it is; zooming out stops at the whole schematic.
    void zoomAround(int x, int y, double factor);

    // --- Events and the zoom rectangle (window events unit) ---
    // Reads one event without blocking and encodes it; handles Expose inside.
    void checkEvent(int &eventType, int &keyChar);
    // Full redraw of the schematic in this window, with the band above it.
    void repaint();
    // What the band shows: the status line (F6) and the legend (Control-k).
    void drawBand();
    // The status line last drawn, drawn again by a repaint while shown.
    std::string statusLine;
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

private:
    XFontStruct *font = nullptr; // the default context's font, for text widths

    // The parts of construction: the base colours (exits on failure), the
    // window with its cursors and properties, and the drawing contexts.
    void allocateBaseColours();
    void createWindow(const char *labelString);
    void createContexts();
};

// Installed as Xlib's error and I/O error handlers.  A protocol error ends
// the run quietly (done); a lost connection ends the process with status 1
// after saying so, with the summary when -s asked for it.
int catchError(Display *, XErrorEvent *);
int catchIOError(Display *);

// Window-wide drawing state shared by the one window.
// The fill of one signal value: its colour as an X colour string, the colour
// allocated for it and the context that fills with it.
struct ValueStyle {
    const char *colourString;
    XColor colour;
    GC context;
};
// Indexed by SignalValue: ZERO, UNINITIALIZED, XXX, HIZ, ONE.  The colour
// strings are the palette's (display/Palette.h) when the window is made.
extern ValueStyle valueStyles[numberOfSignalValues];
extern GC gc_BOLD; // foreground, line width 2
extern Colormap colormap1;

// Allocates the colour with the given 16-bit channels in map and returns its
// pixel; on failure writes "Can't Alloc <role> Pixel" and a blank line to
// standard error and ends the process with status 255.
unsigned long allocPixelOrExit(Display *display, Colormap map, unsigned short red, unsigned short green,
                               unsigned short blue, const char *role);
