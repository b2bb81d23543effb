// Run-control flags shared by the main loop, the keys and the components.
#pragma once

extern int done;       // non-zero ends the main loop
extern int reStart;    // non-zero requests a reset to time zero
extern int stallLevel; // slow-down of a windowed run: 2^stallLevel ms per step
extern int haltFlag;   // non-zero pauses the simulation

// Sleeps 1 ms (the unit of the slow-down wait).
void msWait();
