// What the kernel asks of the display, and all it asks: opening and closing
// it, the main loop's drawing, what the step draws, the window's events and
// the key operations.  display/ implements it; core/ includes no other
// display header but display/ScrnTile.h, the plain tile geometry the netlist
// arrays hold.  Free of X11 types.
#pragma once

// ---- Opening and closing ------------------------------------------------------

// Creates the display (phaseFive): the window labelled "Norvale v20190205",
// or an unconnected display with -X or when no X server can be reached; then
// applies the -z zoom.
void openDisplay();
// Closes the window and frees the display; nothing when none was opened.
void closeDisplay();

// ---- Drawing --------------------------------------------------------------------

// Tiles the schematic and draws it completely: icons, connection lines
// (when enabled), panes, super probes (when shown) and the zoom rectangle.
// Super probes are recorded only during this drawing.
void drawFirstTime();

// Lets component cind draw its panes when it is visible at the window's level
// of detail (at level 1 without a display); returns whether it drew.
bool drawComponentPanes(int cind);

// Whether super probes are painted: shown (F8) in an open window.  Without a
// window the painting would cost far more than the steps and show nothing.
bool superProbesShown();
// Paints the present value of each super probe's signal over its tab.
void displaySuperProbes();

// The window operations the main loop calls, on the display's window.
void drawZoomRectangle();
void drawStatusLine(unsigned long time, int queueLength, int stallLevel);

// ---- Window events --------------------------------------------------------------

// True when the display has a window on an X server (not -X, and the display
// could be opened).
bool windowOpen();

// Handles at most one pending window event: keys, bound switches, buttons
// and drags, redraws.  Returns 0 when nothing was pending or the event needed
// no action (an Expose, a key giving no single character, any other event),
// else 1.
int anyWindowEvents();

// Blocks until the window has an event to read.  Events no window operation
// reads are dropped on the way, so they cannot keep the caller from
// sleeping.  Returns at once without a window, and when a signal or a failed
// write asked the run to stop.  Losing the X server while waiting ends the
// process through the X I/O error handler.
void waitForWindowEvent();

// ---- Keys -----------------------------------------------------------------------

// A printable key's press: operates the first switch (or pulser) bound to
// the character, or says on standard error that none is.  Needs no window.
void pressCharacterKey(int character);

// The slowest slow-down level: 2^20 ms, about 17 minutes, per step.  Capped
// so that the per-step wait count always fits an int.
constexpr int maxStallLevel = 20;

// Acts on one function code (F1 ... F35 give 1 ... 35; a replay character c
// gives c - '0'): restart, display toggles, level of detail, redraw, exit.
// Unknown codes are reported on standard error.
void FunctionKeyOperate(int keyChar);

// Acts on one cursor code (Home -1, Left 0, Up 1, Right 2, Down 3, ...):
// slower, full speed, faster, halt/resume.  Unknown codes are reported on
// standard error.
void CursorKeyOperate(int keyChar);
