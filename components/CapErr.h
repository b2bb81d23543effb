// Capture errors shared by every component family.  Small-scale captures end
// the program at the first error; medium-scale and memory captures count their
// errors and still register the component, so that one run reports every
// error of a circuit before the count stops it after conversion.
#pragma once

#include <initializer_list>
#include <sstream>
#include <utility>

#include "core/Schmtc.h"
#include "core/Signal.h"

// The position string a message names ("" when the descriptor has none).
const char *positionOf(const SD &sd);

// A bus as a length message lists it: its name and the bus.
using NamedBus = std::pair<const char *, const Signal *>;

// Writes " name.length = n" for each bus, as the length messages list them.
void listLengths(std::ostringstream &message, std::initializer_list<NamedBus> buses);

// Writes message and a newline to standard error and ends the program with
// status 1.
[[noreturn]] void captureError(const std::ostringstream &message);

// Writes message and a newline to standard error and counts it in
// phaseOne->fatalDiagnosticCount; the capture goes on.
void countedCaptureError(const std::ostringstream &message);
