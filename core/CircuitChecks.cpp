// Checks of a converted circuit for mistakes its author can make.
#include "core/CircuitChecks.h"

#include <array>
#include <iostream>
#include <map>
#include <sstream>

#include "core/Ph2.h"

void warnKeysBoundTwice() {
    const PhaseTwo &p2 = *phaseTwo;
    // The first binding of each key, in capture order: a key press operates it.
    std::map<int, int> firstComponent;
    for (int i = 0; i < p2.numberOfSwitches; ++i) {
        const std::array<int, 3> &binding = p2.activationsFromWindow[i];
        const auto [first, isFirst] = firstComponent.emplace(binding[0], binding[1]);
        if (isFirst)
            continue;
        std::ostringstream line; // one write, so that the line is never split
        const char key = static_cast<char>(binding[0]);
        line << "Warning -- key '" << key << "' is bound at " << p2.rcpos[first->second] << " and again at "
             << p2.rcpos[binding[1]] << "; pressing " << key << " operates only the one at "
             << p2.rcpos[first->second] << ".\n";
        std::cerr << line.str();
    }
}

void warnNoComponents() {
    if (phaseTwo->numberOfComponents == 0)
        std::cerr << "Warning -- the circuit has no components: its build function declared none, "
                     "so there is nothing to simulate.\n";
}
