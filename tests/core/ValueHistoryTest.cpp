// The value history kept for explanations: what a signal held at a time,
// since when and what came next, its rises, and what it forgets.
#include <gtest/gtest.h>

#include <vector>

#include "core/Ph2.h"
#include "core/Sim.h"
#include "core/ValueHistory.h"
#include "support/Fresh.h"

namespace {

struct Change {
    uint64_t time;
    SignalValue value;
};

// A netlist of one plain signal (serial number 2) beside Zero and One, and a
// history of it holding the given changes.
struct HistoryOf {
    explicit HistoryOf(const std::vector<Change> &changes) {
        freshNetlist();
        const Signal wire(1, "wire");
        ConversionOptions quiet;
        quiet.keepCapture = true;
        quiet.checkConnectivity = false;
        quiet.openDisplay = false;
        convertCapturedNetlist(quiet);
        history = std::make_unique<ValueHistory>();
        history->restart();
        for (const Change &c : changes)
            history->note(2, c.value, c.time);
    }
    std::unique_ptr<ValueHistory> history;
};

// A pulse through the two-delay model: UNINITIALIZED, XXX at 7, ZERO at 10,
// XXX at 27, ONE at 30, XXX at 47, ZERO at 50.
const std::vector<Change> pulse = {{7, XXX}, {10, ZERO}, {27, XXX}, {30, ONE}, {47, XXX}, {50, ZERO}};

TEST(ValueHistory, ASignalHoldsEachValueFromItsChangeToTheNext) {
    const HistoryOf h(pulse);
    const struct {
        uint64_t at;
        SignalValue value;
        uint64_t since;
        SignalValue before;
        bool changedAfter;
        uint64_t until;
        SignalValue next;
    } cases[] = {
        {0, UNINITIALIZED, 0, UNINITIALIZED, true, 7, XXX},
        {6, UNINITIALIZED, 0, UNINITIALIZED, true, 7, XXX},
        {7, XXX, 7, UNINITIALIZED, true, 10, ZERO}, // a change at the time asked about is made
        {29, XXX, 27, ZERO, true, 30, ONE},
        {30, ONE, 30, XXX, true, 47, XXX},
        {50, ZERO, 50, XXX, false, 0, UNINITIALIZED},
        {1000, ZERO, 50, XXX, false, 0, UNINITIALIZED},
    };
    for (const auto &c : cases) {
        const HeldValue held = h.history->heldAt(2, c.at);
        EXPECT_EQ(held.value, c.value) << "at " << c.at;
        EXPECT_EQ(held.since, c.since) << "at " << c.at;
        EXPECT_EQ(held.before, c.before) << "at " << c.at;
        EXPECT_TRUE(held.known) << "at " << c.at;
        EXPECT_EQ(held.changedAfter, c.changedAfter) << "at " << c.at;
        if (c.changedAfter) {
            EXPECT_EQ(held.until, c.until) << "at " << c.at;
            EXPECT_EQ(held.next, c.next) << "at " << c.at;
        }
    }
    // The constants hold their level from the reset on.
    EXPECT_EQ(h.history->heldAt(1, 99).value, ONE);
    EXPECT_EQ(h.history->heldAt(0, 99).value, ZERO);
}

TEST(ValueHistory, RisesAreFoundLatestFirstAndFromZeroOnlyWhenAsked) {
    const HistoryOf h(pulse);
    // The only rise is the ONE at 30, from ZERO through XXX.
    EXPECT_EQ(h.history->risesUpTo(2, 1000, true), (std::vector<uint64_t>{30}));
    EXPECT_EQ(h.history->risesUpTo(2, 29, true), std::vector<uint64_t>{});
    // From the reset's UNINITIALIZED straight to ONE: a rise of a strobe,
    // not of a flip-flop's clock, which must have been ZERO first.
    const HistoryOf fromReset({{7, XXX}, {10, ONE}, {27, XXX}, {30, ZERO}, {47, XXX}, {50, ONE}});
    EXPECT_EQ(fromReset.history->risesUpTo(2, 100, false), (std::vector<uint64_t>{50, 10}));
    EXPECT_EQ(fromReset.history->risesUpTo(2, 100, true), (std::vector<uint64_t>{50}));
}

TEST(ValueHistory, TheOlderHalfIsForgottenWhenTheLimitIsReachedAndARestartForgetsAll) {
    std::vector<Change> many;
    for (uint64_t k = 0; k <= ValueHistory::keptPerSignal; ++k)
        many.push_back({10 * (k + 1), k % 2 == 0 ? ONE : ZERO});
    const HistoryOf h(many);
    EXPECT_FALSE(h.history->heldAt(2, 15).known);
    const uint64_t last = 10 * (ValueHistory::keptPerSignal + 1);
    const HeldValue latest = h.history->heldAt(2, last);
    EXPECT_TRUE(latest.known);
    EXPECT_EQ(latest.since, last);
    h.history->restart();
    const HeldValue reset = h.history->heldAt(2, last);
    EXPECT_TRUE(reset.known);
    EXPECT_EQ(reset.value, UNINITIALIZED);
    EXPECT_FALSE(reset.changedAfter);
}

} // namespace
