// The benchmark program's scenarios.  Each scenario is a function in its own
// file that registers itself with a static Registrar and prints exactly one
// line of key=value figures to standard output, its headline figure last:
//
//     namespace {
//     int runMine(const bench::Arguments &args) { ...; return 0; }
//     const bench::Registrar mine("mine", "mine N", runMine);
//     }
#pragma once

#include <string>
#include <vector>

namespace bench {

// The words after the scenario name on the command line.
using Arguments = std::vector<std::string>;
// Runs a scenario; the result is the program's exit status.
using Scenario = int (*)(const Arguments &args);

struct ScenarioEntry {
    const char *name;
    const char *usage; // e.g. "queue N"
    Scenario run;
};

// Every registered scenario, in registration order.
std::vector<ScenarioEntry> &scenarios();

// Registers a scenario when the program starts.
struct Registrar {
    Registrar(const char *name, const char *usage, Scenario run);
};

// Wall-clock seconds from a fixed origin, for differences.
double seconds();
// The process's peak resident memory so far, in megabytes.
double peakMegabytes();
// The positive count at args[index], or fallback when there is no such word;
// ends the program with status 2 and the usage line when it is not a number
// above zero.
long countArgument(const Arguments &args, size_t index, long fallback, const char *usage);

} // namespace bench
