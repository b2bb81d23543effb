// The phase driver.
#pragma once

// Reads the command line, captures the circuit built by build, converts and
// checks it, opens the display and runs the simulation.
void Sim(int argc, char **argv, void (*build)());

// Writes the key help and the colour legend to standard output.
void printKeyHelp();

// The circuit linked with the program.
void simnet();
