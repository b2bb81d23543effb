#include "ModelHarness.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/Ph4Run.h"
#include "core/Sim.h"
#include "core/cmdLine.h"
#include "display/Display.h"
#include "support/Fresh.h"

std::string startHeadless(const std::function<void()> &build) {
    freshNetlist();
    useXDisplay = 0;
    testing::internal::CaptureStderr();
    build();
    convertCapturedNetlist();
    drawFirstTime();
    restartAtTimeZero();
    simulate();
    return testing::internal::GetCapturedStderr();
}

int press(char key) {
    for (int k = 0; k < phaseTwo->numberOfSwitches; ++k) {
        const auto &binding = phaseTwo->activationsFromWindow[k];
        if (binding[0] != key)
            continue;
        phaseTwo->xEventTriggered[binding[1]](binding[1]);
        return binding[1];
    }
    return -1;
}

std::string pressAndSettle(const std::string &keys) {
    testing::internal::CaptureStderr();
    for (const char key : keys) {
        EXPECT_NE(press(key), -1) << "no switch is bound to " << key;
        simulate();
    }
    return testing::internal::GetCapturedStderr();
}

// A probe line reads "Time = T  Probe for LABEL at POSITION  Value = VALUE".
std::map<std::string, std::string> lastValues(const std::string &lines) {
    const std::string probeFor = "  Probe for ", at = " at ", value = "  Value = ";
    std::map<std::string, std::string> last;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        const size_t labelStart = line.find(probeFor);
        const size_t valueStart = line.rfind(value);
        if (line.rfind("Time = ", 0) != 0 || labelStart == std::string::npos ||
            valueStart == std::string::npos)
            continue;
        const size_t labelEnd = line.rfind(at, valueStart);
        const size_t from = labelStart + probeFor.size();
        last[line.substr(from, labelEnd - from)] = line.substr(valueStart + value.size());
    }
    return last;
}

std::vector<int> busNamed(const std::string &name) {
    const auto bitName = [&](size_t bit) { return name + "[" + std::to_string(bit) + "]"; };
    std::vector<int> serials;
    for (int s = 0; s < static_cast<int>(phaseTwo->signalNames.size()); ++s) {
        // Buses are registered bit 0 first, on consecutive serial numbers.
        if (std::string(phaseTwo->signalNames[s]) != bitName(serials.size())) {
            if (!serials.empty())
                break;
            continue;
        }
        serials.push_back(s);
    }
    return serials;
}

SignalValue valueOf(int serial) {
    return phaseThree->currentSignals[serial];
}

std::optional<uint32_t> wordOf(const std::vector<int> &serials) {
    uint32_t word = 0;
    for (size_t bit = 0; bit < serials.size(); ++bit) {
        const SignalValue v = valueOf(serials[bit]);
        if (!isBinary(v))
            return std::nullopt;
        word |= static_cast<uint32_t>(v == ONE) << bit;
    }
    return word;
}

std::optional<uint32_t> wordOf(const Signal &bus) {
    return wordOf(bus.serialNumber);
}

bool settled() {
    return phaseFour->skewHeap.isEmpty();
}

void forceAndSettle(const std::vector<int> &serials, uint32_t value) {
    for (size_t bit = 0; bit < serials.size(); ++bit)
        phaseFour->altSignalTransition(serials[bit], (value >> bit) & 1 ? ONE : ZERO, 0);
    testing::internal::CaptureStderr(); // the probe lines of the settling are not wanted here
    simulate();
    testing::internal::GetCapturedStderr();
}

void setSwitches(char firstKey, const std::vector<int> &bus, uint32_t value) {
    const int width = static_cast<int>(bus.size());
    for (int bit = width - 1; bit >= 0; --bit) {
        const SignalValue wanted = (value >> bit) & 1 ? ONE : ZERO;
        if (valueOf(bus[bit]) == wanted)
            continue;
        const char key = static_cast<char>(firstKey + (width - 1 - bit));
        EXPECT_NE(press(key), -1) << "no switch is bound to " << key;
        simulate();
    }
}
