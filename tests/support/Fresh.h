// Test support: every test starts its circuit on an empty netlist.
#pragma once

#include <string>
#include <vector>

// Starts a fresh capture: a new netlist holding only Zero and One (serial
// numbers 0 and 1), no later phases, an empty tri-state map, the run-control
// flags and every command-line option at their defaults.  The previous phase
// objects are kept alive (never destroyed) because their destructors write
// count lines or may end the process.
void freshNetlist();

// Runs Sim on build with the command line "norvale" followed by words, as the
// program's entry does.
void runSimWith(std::vector<std::string> words, void (*build)());

// The whole text of a file ("" when it cannot be read).
std::string fileText(const std::string &path);
