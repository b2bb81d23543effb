// The phase driver.
#pragma once

// Reads the command line, captures the circuit built by build, converts and
// checks it, opens the display and runs the simulation.
void Sim(int argc, char **argv, void (*build)());

// The stages of a conversion that a caller may leave out.  The program leaves
// out nothing; tests leave out what would write to standard error or what
// they set up themselves.
struct ConversionOptions {
    // Keep phaseOne after the conversion (its counts; the nodes themselves
    // are released as they are converted).  Then no count lines are written
    // and counted capture errors do not stop the program.
    bool keepCapture = false;
    // Write the warnings about undriven signals, unconnected inputs, keys
    // bound twice and a circuit without components.
    bool checkConnectivity = true;
    // Create the display (phaseFive, which opens the window unless -X) and
    // apply the -z zoom.
    bool openDisplay = true;
};

// Turns the captured netlist into the simulation phases, in order: the
// arrays (phaseTwo); the end of the capture (phaseOne deleted, which writes
// the component and signal counts, or ends the process with status 1 after
// counted capture errors); the connectivity warnings; the activation lists
// (phaseThree); the kernel (phaseFour); the display (phaseFive) with the -z
// zoom.
void convertCapturedNetlist(const ConversionOptions &options = {});

// Writes the key help and the colour legend to standard output.
void printKeyHelp();

// The circuit linked with the program.
void simnet();
