// Running component circuits in tests: conversion as the program does it, the
// kernel's reset and steps, and looking at what was captured.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/CompList.h"
#include "core/Signal.h"

// Starts a fresh netlist for a headless run (probes write text lines).
void freshHeadlessNetlist();

// Converts the captured netlist into arrays, builds the activation lists and
// creates the kernel and an unconnected display, as the program does before
// its run.  phaseOne stays (no count lines are written), and open inputs are
// not reported.
void convertNetlist();

// The kernel's reset followed by every component's key function, as at the
// start of a run.
void resetCircuit();

// Checks what every medium-scale, console and memory component registers
// alike: its label and evaluate function, the rectangle icon, no drawing or
// key function, neither output-overloadable nor self-activating.
void expectPlainRectangle(const ComponentNode *node, const char *decal, ComponentFunction evaluate);

// The components captured so far, in index order.
std::vector<const ComponentNode *> captured();

// Checks that the components captured so far are one per entry of expected,
// in order, each a plain rectangle (expectPlainRectangle) with the entry's
// decal and evaluate, and lets check(node, entry) look at the rest.
template <typename Expected, size_t N, typename Check>
void expectPlainCaptures(const Expected (&expected)[N], Check check) {
    const auto nodes = captured();
    ASSERT_EQ(nodes.size(), N);
    for (size_t i = 0; i < N; ++i) {
        expectPlainRectangle(nodes[i], expected[i].decal, expected[i].evaluate);
        check(*nodes[i], expected[i]);
    }
}

// Serial numbers of a bus, entry 0 first.
std::vector<int> serials(const Signal &s);

// A value change of one signal during a run.
struct Change {
    unsigned long time;
    SignalValue value;
    bool operator==(const Change &o) const { return time == o.time && value == o.value; }
};
std::ostream &operator<<(std::ostream &os, const Change &c);

// Runs kernel steps through every event up to time until and evaluates what
// they activate (later events stay queued), so the signals show their values
// at that time.
void runUntil(unsigned long until);

// runUntil, returning every change of the signal with its time.
std::vector<Change> runAndTrace(int serial, unsigned long until);

// The regular expression that matches exactly text (for death tests).
std::string exactly(const std::string &text);

// A capture that must end the program at once: what it is, the capture, and
// the exact text it writes to standard error.
struct FatalCapture {
    const char *what;
    std::function<void()> capture;
    const char *message;
};

// A capture whose length errors are counted: what it shows, the capture, the
// exact text it writes and how many errors it counts.
struct CountedCapture {
    const char *what;
    std::function<void()> capture;
    std::string message;
    int count = 1;
};

// Runs each capture in a fresh netlist and expects exactly its text on
// standard error, its count of errors, and the component registered all the
// same (so that one run reports every error of a circuit).
void expectEachCounted(const std::vector<CountedCapture> &cases);

// Runs each capture in a fresh netlist and expects it to write exactly its
// message and exit with status 1 (for death tests).
void expectEachEndsTheProgram(const std::vector<FatalCapture> &cases);
