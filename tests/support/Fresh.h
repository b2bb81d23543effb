// Test support: every test starts its circuit on an empty netlist.
#pragma once

// Starts a fresh capture: a new netlist holding only Zero and One (serial
// numbers 0 and 1), no later phases, an empty tri-state map, the run-control
// flags and every command-line option at their defaults.  The previous phase
// objects are kept alive (never destroyed) because their destructors write
// count lines or may end the process.
void freshNetlist();
