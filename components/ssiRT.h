// Runtimes of the small-scale components: gates, sources and probes.  Each
// takes only the component index and reads its pins and parameters through
// the netlist arrays.
// (The file name: ssi, the small-scale family; RT, run time.)
#pragma once

#include "components/RTPins.h"
#include "core/CompList.h"
#include "core/InPlace.h"
#include "core/Ph2.h"
#include "core/Ph3.h"

// Positions of the sources' integer parameters, shared by their captures and
// runtimes.  The init entries hold the serial number of the init signal.
enum SwitchParameter { switchInit = 0 };
enum PulserParameter { pulserDuration = 0, pulserInit = 1 };
enum PowerOnParameter { powerOnTime = 0, powerOnInit = 1 };
enum ClockParameter { clockDuration = 0, clockOffset = 1, clockPeriod = 2, clockInit = 3 };

// A built-in gate of the given form called through its evaluate function: the
// same rule the step applies in place (core/InPlace.h), requested with the
// small-scale delays.  The named gates below are its forms; a new gate's
// registry row can name evaluateGate<its form> itself.
template <InPlaceForm form> void evaluateGate(int cind) {
    const PhaseTwo &p2 = *phaseTwo;
    const gate_rules::GateInputs in{phaseThree->signalSlots.data(), p2.pinPool(), p2.records[cind]};
    ComponentPins(cind).drive(0, gateOutput(form, in), ssiDelays);
}

// Gates (evaluate functions).  They read the present input values, compute
// the output over the five values and request it with the small-scale delays.
// The names of the AND, OR, NOT and XOR runtimes carry a "Gate" suffix because
// the plain words are operator spellings in C++.
void tsb(int cind);               // tri-state buffer: data when control is ONE, else HIZ
void andGate(int cind);           // min over the data inputs, from ONE
void orGate(int cind);            // max over the data inputs, from ZERO
void nand(int cind);              // inverted AND
void nor(int cind);               // inverted OR
void notGate(int cind);           // inverted data input 0
void iand(int cind);              // AND of true inputs and complemented inputs
void inand(int cind);             // complemented IAND
void cior(int cind);              // OR of complemented inputs and true inputs
void cinor(int cind);             // complemented CIOR
void xorGate(int cind);           // parity of binary inputs, XXX on any other value
void xnor(int cind);              // inverted parity
void multiLevelCompare(int cind); // ONE when data inputs 0 and 1 hold the same value

// Sources.
// Key function: drives the initial level after a reset, then toggles per key press.
void toggleSwitch(int cind);
// Key function: drives the initial level after a reset, then one pulse of the
// other level per key press.
void togglePulser(int cind);
// Evaluate: after a reset, the initial level and then, once, the other level.
void powerOn(int cind);
// Evaluate: a free-running clock stepped by its own output changes.
void clock(int cind);
// Evaluate: ends the run when data input 0 is ONE.
void stop(int cind);

// Drawing.
// The pane of a source's output.
void switchPane(int cind);
// A probe's pane, or without a display its text line on standard error.
void probe(int cind);
// The eight bars of an eight-bit probe, stacked, most significant bit on top.
void probebyte(int cind);
// The eight bars of an eight-bit probe, side by side, most significant bit leftmost.
void probebyteh(int cind);
