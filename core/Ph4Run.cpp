// The main loop: start-up (key replay, first drawing, reset), then steps of
// evaluation, time advance and window polling until the run ends.
#include "core/Ph4Run.h"

#include <algorithm>

#include "core/KeyScript.h"
#include "core/Ph2.h"
#include "core/Ph4.h"
#include "core/RunEnd.h"
#include "core/RunTime.h"
#include "core/ValueHistory.h"
#include "core/Vcd.h"
#include "core/cmdLine.h"
#include "display/Display.h"

namespace {

void handlePendingWindowEvents() {
    while (anyWindowEvents()) {
    }
}

// The slow-down after a step: 2^stallLevel waits of 1 ms, handling window
// events after each.  The count is recomputed every time, so a key that
// changes the level takes effect at once; exit and restart cut it short.
void slowDown(const PhaseFour &kernel) {
    for (int waits = 0; waits < (1 << std::min(stallLevel, maxStallLevel));) {
        msWait();
        while (anyWindowEvents())
            if (displayTimeFlag)
                drawStatusLine(kernel.time, kernel.skewHeap.getLength(), stallLevel);
        if (done || reStart || stopRequested)
            break;
        ++waits;
    }
}

} // namespace

void replayKeyStrings() {
    for (const char *c = FunctionKeyString; *c != '\0'; ++c)
        FunctionKeyOperate(*c - '0');
    for (const char *c = CursorKeyString; *c != '\0'; ++c)
        CursorKeyOperate(*c - '0');
}

void restartAtTimeZero() {
    const unsigned long reached = phaseFour->time;
    phaseFour->runInitialize();
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        if (const ComponentFunction trigger = phaseTwo->xEventTriggered[c])
            trigger(c);
    // The keys only queue transitions: the values are still those of the reset.
    if (valueChangeDump)
        valueChangeDump->startSection(reached);
    restartValueHistory();
}

void PhaseFour::run() {
    replayKeyStrings();
    drawFirstTime();
    restartAtTimeZero();
    done = phaseTwo->numberOfComponents == 0;
    simulate();
}

void simulate() {
    PhaseFour &kernel = *phaseFour;
    // Whether there is a window is settled when the display opens.
    const bool window = windowOpen();
    // Without a window the loop below would mostly only step, and its checks
    // cost as much as a step: the kernel steps alone while it can.
    if (!window && !keyScriptPending() && kernel.stepUnattended())
        return;
    int pollCountdown = 1;
    // A signal or a failed write asks the run to stop at a step boundary.
    while (!done && !stopRequested) {
        if (kernel.pastStopTime())
            break;
        if (haltFlag) {
            // Without a window no key can resume the run.
            if (!window)
                break;
            waitForWindowEvent();
            handlePendingWindowEvents();
            continue;
        }
        if (reStart) {
            restartAtTimeZero();
            reStart = 0;
        }
        if (displayTimeFlag)
            drawStatusLine(kernel.time, kernel.skewHeap.getLength(), stallLevel);

        pressDueKeys(kernel);
        kernel.step();
        // Without a window, until the circuit settles only a timed key could
        // need this loop between steps: the kernel steps on alone.
        if (!window && !timedKeyPending())
            kernel.stepUnattended();

        // When nothing can change, only a key can bring change.  Without a
        // window none can come, so the run is over; with one, sleep until
        // the window has an event.
        const bool idle = kernel.quiescent() && !keyScriptPending(); // a scripted key is still to come
        if (idle && !window)
            break;
        if (idle)
            waitForWindowEvent();
        // Events are polled every second step, and at once after a wait.
        if (pollCountdown-- <= 0 || idle) {
            pollCountdown = 1;
            if (window)
                handlePendingWindowEvents();
        }

        // Without a window no key can end the wait, and there is nothing to
        // watch: the slow-down applies to windowed runs only.
        if (stallLevel > 0 && window)
            slowDown(kernel);
    }
}
