// The phase driver and the key help written at start.
#include "core/Sim.h"

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "components/RunFeatures.h"
#include "core/CircuitChecks.h"
#include "core/KeyScript.h"
#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/RunEnd.h"
#include "core/Vcd.h"
#include "core/cmdLine.h"
#include "display/Display.h"

PhaseTwo *phaseTwo = nullptr;
PhaseThree *phaseThree = nullptr;
PhaseFour *phaseFour = nullptr;

void printKeyHelp() {
    std::cout << "F1 Reset Simulation to Time Zero (restart)\n"
                 "F2 Toggle Interconnecting Lines Drawing\n"
                 "F3 Toggle Component Labels Drawing\n"
                 "F4 Toggle Connection Tabs Drawing\n"
                 "F5 Toggle Interconnecting Lines Labeling (show signal names !)\n"
                 "F6 Toggle Time, QueueLength, Slowness Display\n"
                 "F7 Toggle Interconnecting Lines for Mux'es Only\n"
                 "F8 Toggle SuperProbe Display\n"
                 "F9 Toggle Windowing Mode\n"
                 "F10 Exit\n"
                 "\n"
                 "Control-a:  give the least detail (with macros)\n"
                 "Control-n:  give a little less detail (with macros)\n"
                 "Control-m:  give a little more detail (with macros)\n"
                 "Control-z:  give the most detail (with macros)\n"
                 "Control-l:  re-paint\n"
                 "Control-v:  toggle the hexadecimal readout beside eight-value panes\n"
                 "Control-k:  toggle the legend of the value colours\n"
                 "Control-e:  explain the pane under the pointer (or Control-click it)\n"
                 "\n";
    // The colour legend: each sample is three blanks on the value's 256-colour background.
    std::cout
        << "\033[30;48;5;151m   \033[0m <-- ZERO signal\t\t\033[30;48;5;208m   \033[0m <-- XXX signal    \n"
        << "\033[30;48;5;28m   \033[0m <-- ONE signal\t\t\033[30;48;5;222m   \033[0m <-- HIZ signal    \n"
        << "\t\t\t\t\033[30;48;5;231m   \033[0m <-- UNINITIALIZED signal    \n\n";
    std::cout.flush(); // before anything the later phases write to standard error
}

namespace {

// Deletes a phase object if it exists and clears its pointer.
template <typename Phase> void retire(Phase *&phase) {
    delete phase;
    phase = nullptr;
}

} // namespace

void convertCapturedNetlist(const ConversionOptions &options) {
    phaseTwo = new PhaseTwo;
    phaseTwo->listsToArrays();
    // Counted capture errors stop the program here, once the whole circuit
    // has been seen; otherwise the two count lines are written.
    if (!options.keepCapture)
        retire(phaseOne);

    phaseThree = new PhaseThree;
    if (options.checkConnectivity) {
        phaseThree->checkConnectivity();
        warnKeysBoundTwice();
        warnNoComponents();
    }
    phaseThree->formActivationLists();

    phaseFour = new PhaseFour;
    if (options.openDisplay) {
        openDisplay();
    }
}

void Sim(int argc, char **argv, void (*build)()) {
    // Every run starts from the defaults, whatever ran before it in the
    // process, so that one process can run circuit after circuit alike.
    reserveStandardDescriptors(); // before anything opens a file
    clearRunEnd();
    resetOptions();
    resetRomFiles();
    installStopSignals();
    commandLine(argc, argv);
    loadKeyScript(); // a malformed list ends the program before anything is built
    openValueChangeDump();
    // The build function is the user's code: a crash in it is reported as
    // its own, and an interruption says that the run waits for it.
    beginCapture();
    build();
    endCapture();
    convertCapturedNetlist();
    beginRomLoading();            // a read that never finishes must not outlast a Ctrl-C
    loadRomFiles(romFileOptions); // a malformed file ends the program before the run
    endRomLoading();
    checkExplainNames(explainNames); // a -w name that stands for nothing ends the program before the run

    if (!earlyExitFlag) {
        phaseFour->run();
        if (summaryFlag)
            writeRunSummary();
        std::ostringstream explanations;
        writeExplanations(explanations);
        writeToStandardOutput(explanations.str(), "explanations");
    }
    const unsigned long reached = phaseFour->time;
    closeValueChangeDump();

    closeDisplay();
    retire(phaseFour);
    retire(phaseThree);
    retire(phaseTwo);
    // An interruption or a failed write is said last, once everything is
    // written and the window is closed, and sets the exit status.
    if (const int status = reportRunEnd(reached))
        std::exit(status);
}
