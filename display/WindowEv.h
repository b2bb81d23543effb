// Window events: reading one X event as an event code and dispatching it to
// the keys, switches, mouse and redraws.  The services the main loop calls
// (anyWindowEvents, windowOpen, waitForWindowEvent, pressCharacterKey, the
// zoom rectangle and the status line) are declared in display/Display.h.
#pragma once

#include "display/Display.h"

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
