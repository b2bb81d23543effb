// The Value Change Dump of a run (-V FILE, -A): the probed signals, or every
// signal, written for a waveform viewer as the run applies their changes.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/Signal.h"

// The dumped signals that changed during one time advance, each listed once
// (the kernel's advance fills it, writeChanges empties it).
struct SignalChangeLog {
    // Per signal: 1 once listed in this advance, and always 1 for a signal
    // that is not dumped, so that one byte answers both questions.
    std::vector<unsigned char> noted;
    std::vector<int> changed;
    int numberChanged = 0;
};

// One variable of the dump: a probe, or a bus (or one bit of a wide bus).
struct DumpVariable {
    std::string reference; // the name with its bit range, as declared
    std::string code;      // the identifier code
    int scope = 0;
    std::vector<int> bits; // serial numbers, most significant first
};

// One scope: the top, or a module box with its tag and position.
struct DumpScope {
    std::string name;
    int parent = -1;
    int depth = 0;
};

class ValueChangeDump {
public:
    SignalChangeLog changes;

    // Takes an open file, named name in messages.  Nothing is written before
    // the first section.  A write the system refuses is reported through
    // noteWriteFailure (which stops the run); nothing more is written then,
    // and a regular file is cut back to the end of the last whole time step
    // it holds, so that it stays a valid dump of the run's beginning.
    ValueChangeDump(std::FILE *file, bool allSignals, std::string name = "");

    // Starts a section at time zero: the first writes the header with its
    // declarations and the initial values in $dumpvars; each later one
    // (a restart) writes a $comment naming its offset and then every value in
    // $dumpall.  timeBefore is the simulated time the previous section had
    // reached; later sections are written after it, so that the dump's time
    // never decreases.
    void startSection(unsigned long timeBefore);
    // Writes the variables whose value changed since last written, at the
    // given simulated time, and clears the change log.
    void writeChanges(unsigned long time);
    // Writes the header if no section was started (a run ended before it
    // simulated) when the netlist exists; flushes and closes the file.  Safe
    // to call more than once.
    void finish(bool headerIfMissing);

    // Whether changes are recorded: from the first section on.
    bool recording() const { return sections > 0; }

private:
    std::FILE *file;
    bool allSignals;
    std::string name;
    bool failed = false;            // a write failed: nothing more is written
    unsigned long long flushed = 0; // bytes written to the file so far
    unsigned long long lastCut = 0; // the end of the last whole time step written
    bool declared = false;
    bool headerWritten = false;
    int sections = 0;
    unsigned long offset = 0;    // dump time of simulated time 0 in this section
    unsigned long lastStamp = 0; // the last dump time written
    bool stamped = false;
    // The digits of lastStamp but its last four (a stamp below stampUnit is
    // converted whole).
    static constexpr unsigned long stampUnit = 10000;
    char leadingDigits[24] = {};
    int leadingLength = 0;
    unsigned long leadingValue = 0;

    std::vector<DumpScope> scopeList;
    std::vector<DumpVariable> variableList;
    std::vector<int> variableStart; // per signal: its variables, as CSR offsets
    std::vector<int> variableEntries;
    std::vector<SignalValue> lastWritten; // per signal
    // Per signal: the one-bit variable that is its only variable, or -1.
    std::vector<int> soleScalar;
    struct ShortCode {
        char text[4] = {};
        int length = 0;
    };
    std::vector<ShortCode> shortCodes; // per variable, for the writes of soleScalar
    std::vector<unsigned char> variableDirty;
    std::vector<int> dirty;
    std::vector<char> buffer;
    size_t used = 0;

    void declare();
    void writeHeader();
    void writeScope(int scope, const std::vector<std::vector<int>> &children,
                    const std::vector<std::vector<int>> &variablesOf);
    void writeAllValues();
    void writeValue(const DumpVariable &v);
    void stamp(unsigned long dumpTime);
    void put(const std::string &text);
    void room(size_t bytes);
    void flushBuffer();
    // After a failed write: cuts the file back to the last whole time step
    // and reports the failure.
    void failWriting(int error);
};

// The dump of this run, or null without -V.
extern ValueChangeDump *valueChangeDump;

// With -V: opens the file for writing, or writes "Option -V rejected: cannot
// write FILE (REASON)." to standard error and ends the process with status 1;
// likewise for an empty name and for the file standard output goes to, which
// the key help and the summary are written to.
// The dump is closed at every end of the process, including the exits of
// fatal errors and of a lost X server.  Without -V, -A is reported as
// ignored.
void openValueChangeDump();
// The end of a run: completes and closes the dump, if there is one.
void closeValueChangeDump();
