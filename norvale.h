// Everything a circuit's build function uses, in one header.
//
// A circuit is a C++ file that includes this header and defines the build
// function
//
//     void simnet();
//
// which declares buses (Signal), places components with schematic
// descriptors (SD) and connects them by calling the component functions
// declared below.  The program made from it (./run.sh --circuit FILE, or
// norvale_add_circuit in CMake) captures the circuit, checks it and runs it
// with norvale's command line.  docs/circuits.md is the catalogue: the
// interface, the position strings and every component.
#pragma once

#include "components/msiPh1.h" // adder, counter, flip-flops, mux, decoder, encoder, registers, console output
#include "components/ssiPh1.h" // gates, switches, pulsers, clocks, probes, modules
#include "components/vlsiPh1.h" // register file, RAM, ROM
#include "core/Schmtc.h"        // SD: where a component sits on the schematic
#include "core/Signal.h"        // Signal, its operators, the values, Zero and One
#include "core/cmdLine.h"       // the option globals; userRunTimeFlag and profRunTimeFlag (-u, -p)

// The circuit's build function: the program calls it once, before the run.
void simnet();
