// Running a circuit in the test process the way the program does: capture,
// conversion, the display phase (with a real window under the test X server,
// or none), the first drawing, the reset and kernel steps, and handing the
// window's events to the event dispatcher.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "display/Display.h"

// Starts a fresh netlist, runs build and converts the result into the
// phases two to four as Sim does (the capture count lines are not written).
void captureCircuit(void (*build)());

// Creates the display phase.  With a window, its title is the usual banner
// followed by label; without one it behaves as under -X.
void openDisplay(bool withWindow, const std::string &label = "");

// (closeDisplay, which deletes it and closes its window: display/Display.h.)

// The start of a run: the first drawing, the reset, and steps until nothing
// is left to do.
void startRun();

// Runs kernel steps (evaluation with pane drawing, time advance) until the
// queue is empty and nothing is activated.
void settleCircuit();

// Hands the window's events to anyWindowEvents until it acts on one;
// false when none came within timeoutMs.
bool handleNextEvent(int timeoutMs = 3000);

// Hands the window's events to anyWindowEvents for ms milliseconds (for
// events it handles without reporting them, like Expose).
void handleEventsFor(int ms);

// Standard error written while fn runs.
template <typename Fn> std::string stderrOf(Fn fn) {
    ::testing::internal::CaptureStderr();
    fn();
    return ::testing::internal::GetCapturedStderr();
}
