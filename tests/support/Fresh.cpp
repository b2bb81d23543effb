// Test support: a fresh netlist for each test circuit.
#include "support/Fresh.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "core/Ph1.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/RunTime.h"
#include "core/Sim.h"
#include "core/ValueHistory.h"
#include "core/cmdLine.h"
#include "display/Ph5.h"

namespace {

// Abandoned phase objects stay reachable from here, so leak checkers do not
// report them and nothing runs their destructors.  The list itself is never
// destroyed: it must still hold them when a test's process ends through exit.
std::vector<const void *> &abandoned() {
    static auto *keep = new std::vector<const void *>;
    return *keep;
}

template <typename Phase> void abandon(Phase *&phase) {
    if (phase)
        abandoned().push_back(phase);
    phase = nullptr;
}

} // namespace

void freshNetlist() {
    abandon(phaseOne);
    abandon(phaseTwo);
    abandon(phaseThree);
    abandon(phaseFour);
    abandon(phaseFive);
    abandon(valueHistory);
    ensurePhaseOne();
    m.clear();
    done = 0;
    reStart = 0;
    stallLevel = 0;
    haltFlag = 0;
    visibleFlag = 1;
    resetOptions();
}

void runSimWith(std::vector<std::string> words, void (*build)()) {
    words.insert(words.begin(), "norvale");
    std::vector<char *> argv;
    for (auto &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    Sim(static_cast<int>(words.size()), argv.data(), build);
}

std::string fileText(const std::string &path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
