// Window events: reading one X event as an event code, dispatching it to the
// keys, switches, mouse and redraws, and the few window services the main
// loop needs.  Free of X11 types, so the kernel can use it without them.
#pragma once

// Event codes, as checkEvent passes them to the dispatcher.
enum WindowEventCode {
    noWindowEvent = 0, // nothing pending, or nothing to act on
    characterKey = 1,  // keyChar: the character, signed
    functionKey = 2,   // keyChar: 1..35 for F1..F35
    cursorKey = 3,     // keyChar: keysym - 0xFF51 (Home -1, Left 0, ...)
    buttonPress = 8,   // keyChar: button << 24 | x << 12 | y
    buttonRelease = 9, // likewise
    buttonMotion = 10, // keyChar: x << 12 | y, while button 1 is held
};

// The (eventType, keyChar) of a key press from its unshifted keysym and the
// characters it types: function keys, cursor keys, then keys typing exactly
// one character.  Any other key gives noWindowEvent.
void classifyKey(unsigned long keysym, const char *typed, int typedLength, int &eventType, int &keyChar);

// Packs a pointer event; each coordinate is kept modulo 4096 on decoding.
int pointerCode(int button, int x, int y);
// The parts of a packed pointer event (arithmetic shifts, as packed).
int pointerButton(int keyChar);
int pointerX(int keyChar);
int pointerY(int keyChar);

// A printable key's press: operates the first switch (or pulser) bound to
// the character, or says on standard error that none is.  Needs no window.
void pressCharacterKey(int character);

// Handles at most one pending window event of phaseFive's window: keys,
// bound switches, buttons and drags, redraws.  Returns 0 when nothing was
// pending or the event needed no action (an Expose, a key giving no single
// character, any other event), else 1.
int anyWindowEvents();

// True when phaseFive has a window on a display (not -X, and the display
// could be opened).
bool windowOpen();

// Blocks until phaseFive's window has an event to read.  Events no window
// operation reads are dropped on the way, so they cannot keep the caller
// from sleeping.  Returns at once without a window, and when a signal or a
// failed write asked the run to stop.  Losing the X server
// while waiting ends the process through the X I/O error handler.
void waitForWindowEvent();

// The window operations the main loop calls, on phaseFive's window.
void drawZoomRectangle();
void drawStatusLine(unsigned long time, int queueLength, int stallLevel);
