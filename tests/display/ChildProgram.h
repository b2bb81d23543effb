// Running a built circuit program as a child process, the way a user starts
// it, with its standard output and error kept in files.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/Fresh.h" // fileText, the whole text of a file

// The path of the circuit program built from tests/circuits/NAME.cpp (with
// the prefix "example_", from examples/NAME.cpp).
std::string circuitProgram(const std::string &name, const std::string &prefix = "circuit_");

class ChildProgram {
public:
    // Starts program with args; with a non-empty display, DISPLAY is set to it.
    ChildProgram(const std::string &program, const std::vector<std::string> &args,
                 const std::string &display = "");
    // Kills the program if it still runs.
    ~ChildProgram();
    ChildProgram(const ChildProgram &) = delete;
    ChildProgram &operator=(const ChildProgram &) = delete;

    // The exit status once the program ended within timeoutMs; 128 + the
    // signal if a signal ended it; -1 if it still runs.
    int waitForExit(int timeoutMs);
    bool running();
    pid_t pid() const { return pid_; }
    // What the program has written so far.
    std::string out() const;
    std::string err() const;
    // Processor time used so far, in clock ticks.
    long cpuTicks() const;

private:
    pid_t pid_ = -1;
    int status_ = -1;
    std::string outFile_, errFile_;
};

// A window title unique to this test process: -W label for the program.
std::string uniqueLabel();
