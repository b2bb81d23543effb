#include "Harness.h"

#include <gtest/gtest.h>

#include <ostream>

#include "core/Ph1.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/Ph4Run.h"
#include "core/Sim.h"
#include "core/cmdLine.h"
#include "display/iconData.h"
#include "support/Fresh.h"

void freshHeadlessNetlist() {
    freshNetlist();
    useXDisplay = 0;
}

void convertNetlist() {
    ConversionOptions options;
    options.keepCapture = true;        // no count lines among the output tests compare
    options.checkConnectivity = false; // test circuits leave inputs open on purpose
    convertCapturedNetlist(options);
}

void resetCircuit() {
    restartAtTimeZero();
}

void expectPlainRectangle(const ComponentNode *node, const char *decal, ComponentFunction evaluate) {
    EXPECT_EQ(node->decal, decal);
    EXPECT_EQ(node->logicEvaluate, evaluate) << decal;
    EXPECT_EQ(node->iconArray, rectIcon) << decal;
    EXPECT_EQ(node->drawDynamic, nullptr) << decal;
    EXPECT_EQ(node->xEventTriggered, nullptr) << decal;
    EXPECT_EQ(node->outputOverloadable, 0) << decal;
    EXPECT_EQ(node->selfActivating, 0) << decal;
}

std::vector<const ComponentNode *> captured() {
    std::vector<const ComponentNode *> nodes;
    for (const ComponentNode *n = phaseOne->componentList.start; n; n = n->ptr)
        nodes.push_back(n);
    return nodes;
}

std::vector<int> serials(const Signal &s) {
    return std::vector<int>(s.serialNumber.begin(), s.serialNumber.end());
}

std::ostream &operator<<(std::ostream &os, const Change &c) {
    return os << "{" << c.time << ", " << signalValueName(c.value) << "}";
}

namespace {

// Evaluates what is activated; then, if the next event comes no later than
// until, advances to it and returns true.
bool stepWithin(unsigned long until) {
    return phaseFour->step(until);
}

} // namespace

std::vector<Change> runAndTrace(int serial, unsigned long until) {
    std::vector<Change> changes;
    SignalValue last = phaseThree->currentSignals[serial];
    while (stepWithin(until)) {
        const SignalValue now = phaseThree->currentSignals[serial];
        if (now != last)
            changes.push_back({phaseFour->time, now});
        last = now;
    }
    return changes;
}

void runUntil(unsigned long until) {
    while (stepWithin(until)) {
    }
}

std::string exactly(const std::string &text) {
    std::string re = "^";
    for (const char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
            re += '\\';
        re += c;
    }
    return re + "$";
}

void expectEachCounted(const std::vector<CountedCapture> &cases) {
    for (const CountedCapture &k : cases) {
        freshHeadlessNetlist();
        testing::internal::CaptureStderr();
        k.capture();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), k.message) << k.what;
        EXPECT_EQ(phaseOne->fatalDiagnosticCount, k.count) << k.what;
        EXPECT_EQ(captured().size(), 1u) << k.what << ": registered all the same";
    }
}

void expectEachEndsTheProgram(const std::vector<FatalCapture> &cases) {
    for (const FatalCapture &k : cases) {
        freshHeadlessNetlist();
        EXPECT_EXIT(k.capture(), ::testing::ExitedWithCode(1), exactly(k.message)) << k.what;
    }
}
