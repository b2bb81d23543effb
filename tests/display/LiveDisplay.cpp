#include "LiveDisplay.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "core/Ph4.h"
#include "core/Ph4Run.h"
#include "core/Sim.h"
#include "core/cmdLine.h"
#include "display/Display.h"
#include "display/Ph5.h"
#include "display/WindowEv.h"
#include "support/Fresh.h"

void captureCircuit(void (*build)()) {
    freshNetlist();
    build();
    ConversionOptions options;
    options.keepCapture = true;        // no count lines in the test output
    options.checkConnectivity = false; // test circuits leave inputs open on purpose
    options.openDisplay = false;       // openDisplay chooses window and title
    convertCapturedNetlist(options);
}

void openDisplay(bool withWindow, const std::string &label) {
    useXDisplay = withWindow ? 1 : 0;
    std::strncpy(WindowLabelString, label.c_str(), sizeof WindowLabelString - 1);
    phaseFive = new PhaseFive;
}

void startRun() {
    drawFirstTime();
    restartAtTimeZero();
    settleCircuit();
}

void settleCircuit() {
    for (int step = 0; step < 100000 && !phaseFour->quiescent(); ++step)
        phaseFour->step();
}

bool handleNextEvent(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (anyWindowEvents())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

void handleEventsFor(int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
        while (anyWindowEvents()) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
