// Window events: reading, encoding and dispatching them, the full repaint,
// and the waiting and drawing services the main loop uses.
#include "display/WindowEv.h"

#include <X11/XKBlib.h>
#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <iostream>
#include <iterator>
#include <string>

#include "core/Ph2.h"
#include "core/RunEnd.h"
#include "core/cmdLine.h"
#include "display/ExplainPane.h"
#include "display/FandCOp.h"
#include "display/Legend.h"
#include "display/Ph5.h"
#include "display/Window.h"

namespace {

// Keysym ranges of the function keys F1..F35 and the cursor-control keys.
constexpr unsigned long firstFunctionKeysym = 0xFFBE, lastFunctionKeysym = 0xFFE0;
constexpr unsigned long firstCursorKeysym = 0xFF50, lastCursorKeysym = 0xFF5F;

// Drag state of the zoom rectangle and the first corner of a two-click zoom.
int panState = 0; // grab zone of the current button-1 drag; 0: no drag
int lastPanX = 0, lastPanY = 0;
int viewXlast = 0, viewYlast = 0;

// The control characters that stand for function keys.
struct ControlKey {
    int character;
    int functionCode;
};
const ControlKey controlKeys[] = {
    {1, 27},           // Control-a: least detail
    {12, 31},          // Control-l: redraw
    {13, 35},          // Control-m, Return: more detail
    {14, 29},          // Control-n: less detail
    {26, 33},          // Control-z: most detail
    {22, readoutCode}, // Control-v: value readout beside the eight-value panes
    {11, legendCode},  // Control-k: legend of the value colours
};

// How far one step of the mouse wheel zooms: in to 80 % of the view, out by its inverse.
constexpr double wheelZoom = 0.8;

Windex &displayWindow() {
    return *phaseFive->windexPointer;
}

// The drawing passes, skipped while the components have no tiles yet.
void drawSchematicAndPanes(bool withConnections) {
    if (!phaseFive->schematicTiled)
        return;
    phaseFive->drawSchematic();
    if (withConnections)
        phaseFive->connect();
    phaseFive->drawPanes();
}

// A printable key operates the first switch bound to it.
void operateSwitch(int character) {
    const auto &bindings = phaseTwo->activationsFromWindow;
    const auto bound = std::find_if(bindings.begin(), bindings.begin() + phaseTwo->numberOfSwitches,
                                    [character](const std::array<int, 3> &b) { return b[0] == character; });
    if (bound == bindings.begin() + phaseTwo->numberOfSwitches) {
        // Put together first and written in one piece: a script may press an
        // unbound key millions of times, and each piece written costs a call.
        const std::string line =
            "Keyboard input:  Character (char=" + std::string(1, static_cast<char>(character)) +
            ",int=" + std::to_string(character) + ") with no corresponding component activation defined.\n";
        std::cerr << line << std::flush;
        return;
    }
    const int cind = (*bound)[1];
    if (const ComponentFunction toggle = phaseTwo->xEventTriggered[cind])
        toggle(cind);
    else
        std::cerr << "Keyboard input maps to a component, but no function exists" << std::endl;
}

// Control-e: why the pane under the pointer shows what it shows.
constexpr int controlE = 5;

void controlCharacter(int character) {
    if (character == controlE) {
        explainPaneUnderPointer();
        return;
    }
    const auto found = std::find_if(std::begin(controlKeys), std::end(controlKeys),
                                    [character](const ControlKey &k) { return k.character == character; });
    if (found != std::end(controlKeys))
        FunctionKeyOperate(found->functionCode);
    else
        std::cerr << "Keyboard input:  Control character (int=" << character << ") unmapped." << std::endl;
}

// Button 2 zooms in: into the zoom rectangle, or (two-click mode) back out
// to the whole schematic.  Button 3 shows the whole schematic, or zooms to
// the corner marked with button 1 and this point.
void pressButton(int button, int x, int y) {
    Windex &w = displayWindow();
    const bool rectangleMode = phaseFive->newWindowingMode;
    switch (button) {
    case 1:
        if (rectangleMode) {
            panState = w.pointInSubWindow(x, y);
            if (panState != 0) {
                lastPanX = x;
                lastPanY = y;
            }
        } else {
            viewXlast = x;
            viewYlast = y;
        }
        break;
    case 2:
        if (rectangleMode) {
            w.subWinToViewWin();
            w.clear();
            drawSchematicAndPanes(false);
            w.drawBand();
            w.drawSubWindow();
        } else {
            w.resetView();
            w.repaint();
        }
        break;
    case 3:
        if (rectangleMode) {
            w.resetView();
            w.clear();
            drawSchematicAndPanes(false);
            w.drawBand();
            w.setSubWin();
            w.drawSubWindow();
        } else {
            w.reviseView(viewXlast, viewYlast, x, y);
            w.repaint();
        }
        break;
    case 4: // the wheel: zoom in or out around the pointer
    case 5:
        w.zoomAround(x, y, button == 4 ? wheelZoom : 1 / wheelZoom);
        if (rectangleMode)
            w.setSubWin();
        w.repaint();
        break;
    case explainButton:
        explainPaneAt(x, y);
        break;
    default:
        break;
    }
}

void releaseButton(int button) {
    if (button == 1) {
        panState = 0;
        displayWindow().setCursor(0);
    }
}

void dragPointer(int x, int y) {
    displayWindow().adjustSubWindow(panState, x, y, lastPanX, lastPanY);
    lastPanX = x;
    lastPanY = y;
}

// Events that no window operation reads: they are not for the window or have
// no event mask, so a wait must not treat them as input.
Bool unreadableEvent(Display *, XEvent *event, XPointer windowId) {
    static const int maskless[] = {KeymapNotify,  SelectionClear, SelectionRequest, SelectionNotify,
                                   ClientMessage, MappingNotify,  GenericEvent};
    const bool noMask =
        std::find(std::begin(maskless), std::end(maskless), event->type) != std::end(maskless);
    return noMask || event->xany.window != *reinterpret_cast<Window *>(windowId);
}

// Sleeps until the connection has something to read or a signal arrived.
// The signals that stop the run are blocked from the last look at the flag
// until the wait has begun, so one cannot slip in between and be missed.
void waitForConnection(int connection) {
    sigset_t stopping, previous;
    sigemptyset(&stopping);
    for (const int s : {SIGINT, SIGTERM, SIGPIPE})
        sigaddset(&stopping, s);
    pthread_sigmask(SIG_BLOCK, &stopping, &previous);
    pollfd readable{connection, POLLIN, 0};
    if (!stopRequested)
        ppoll(&readable, 1, nullptr, &previous);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

} // namespace

void classifyKey(unsigned long keysym, const char *typed, int typedLength, int &eventType, int &keyChar) {
    keyChar = static_cast<int>(keysym);
    if (keysym >= firstFunctionKeysym && keysym <= lastFunctionKeysym) {
        eventType = functionKey;
        keyChar = static_cast<int>(keysym - (firstFunctionKeysym - 1));
    } else if (keysym >= firstCursorKeysym && keysym <= lastCursorKeysym) {
        eventType = cursorKey;
        keyChar = static_cast<int>(keysym) - static_cast<int>(firstCursorKeysym + 1);
    } else if (typedLength == 1) {
        eventType = characterKey;
        keyChar = static_cast<signed char>(typed[0]);
    } else {
        eventType = noWindowEvent;
    }
}

int pointerCode(int button, int x, int y) {
    return static_cast<int>(static_cast<unsigned>(button) << 24 | static_cast<unsigned>(x) << 12 |
                            static_cast<unsigned>(y));
}
int pointerButton(int keyChar) {
    return keyChar >> 24;
}
int pointerX(int keyChar) {
    return (keyChar >> 12) & 0xFFF;
}
int pointerY(int keyChar) {
    return keyChar & 0xFFF;
}

void Windex::checkEvent(int &eventType, int &keyChar) {
    eventType = noWindowEvent;
    if (display == nullptr)
        return;
    if (!XCheckWindowEvent(display, window, ~0L, &event))
        return;
    switch (event.type) {
    case KeyPress: {
        const KeySym keysym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(event.xkey.keycode), 0, 0);
        char typed[25];
        const int length = XLookupString(&event.xkey, typed, sizeof typed, nullptr, nullptr);
        classifyKey(keysym, typed, length, eventType, keyChar);
        break;
    }
    case ButtonPress:
    case ButtonRelease: {
        eventType = event.type == ButtonPress ? buttonPress : buttonRelease;
        // Button 1 with Control held asks for an explanation, not a drag.
        const bool explain = event.xbutton.button == Button1 && (event.xbutton.state & ControlMask) != 0;
        const int button = explain ? explainButton : static_cast<int>(event.xbutton.button);
        keyChar = pointerCode(button, event.xbutton.x, event.xbutton.y);
        break;
    }
    case MotionNotify:
        eventType = buttonMotion;
        keyChar = pointerCode(0, event.xmotion.x, event.xmotion.y);
        break;
    case Expose:
        // A series of Exposes (count down to 0) is answered by one repaint of
        // the whole window, at its size of the moment.
        ++numClips;
        if (event.xexpose.count == 0) {
            numClips = 0;
            XWindowAttributes attributes;
            XGetWindowAttributes(display, window, &attributes);
            xPixels = attributes.width;
            yPixels = attributes.height;
            repaint();
        }
        break;
    default:
        break;
    }
}

void Windex::repaint() {
    // The band follows its flags also before the first drawing (-F 6), so
    // that the first drawing is already placed below it.
    setBand(displayTimeFlag || phaseFive->legendFlag ? bandHeight() : 0);
    if (!phaseFive->schematicTiled)
        return;
    clear();
    drawSchematicAndPanes(phaseFive->interconnectFlag);
    drawBand();
    drawSubWindow();
}

void Windex::drawBand() {
    if (displayTimeFlag && !statusLine.empty())
        drawPixelText(4, 3 + fontAscent(), statusLine);
    if (phaseFive->legendFlag)
        drawLegend(*this);
}

void pressCharacterKey(int character) {
    operateSwitch(character);
}

int anyWindowEvents() {
    int eventType = noWindowEvent;
    int keyChar = 0;
    displayWindow().checkEvent(eventType, keyChar);
    switch (eventType) {
    case noWindowEvent:
        return 0;
    case characterKey:
        clearExplanationMarks();
        if (keyChar > 31)
            operateSwitch(keyChar);
        else
            controlCharacter(keyChar);
        break;
    case functionKey:
        clearExplanationMarks();
        FunctionKeyOperate(keyChar);
        break;
    case cursorKey:
        clearExplanationMarks();
        CursorKeyOperate(keyChar);
        break;
    case buttonPress:
        pressButton(pointerButton(keyChar), pointerX(keyChar), pointerY(keyChar));
        break;
    case buttonRelease:
        releaseButton(pointerButton(keyChar));
        break;
    case buttonMotion:
        dragPointer(pointerX(keyChar), pointerY(keyChar));
        break;
    default:
        std::cerr << "Unused EventType = " << eventType << " keyChar = " << keyChar << std::endl;
        break;
    }
    return 1;
}

bool windowOpen() {
    return phaseFive != nullptr && displayWindow().display != nullptr;
}

void waitForWindowEvent() {
    if (!windowOpen())
        return;
    Windex &w = displayWindow();
    for (;;) {
        // Flushes drawing, reads what the server has sent, and drops what
        // checkEvent would never take off the queue.
        XEventsQueued(w.display, QueuedAfterFlush);
        XEvent dropped;
        while (XCheckIfEvent(w.display, &dropped, unreadableEvent, reinterpret_cast<XPointer>(&w.window)))
            if (dropped.type == MappingNotify)
                XRefreshKeyboardMapping(&dropped.xmapping);
        if (QLength(w.display) > 0 || stopRequested)
            return;
        waitForConnection(ConnectionNumber(w.display));
    }
}

void drawZoomRectangle() {
    displayWindow().drawSubWindow();
}

void drawStatusLine(unsigned long time, int queueLength, int stallLevel) {
    displayWindow().drawTimeAndQueue(time, queueLength, stallLevel);
}
