// Scripted key presses: the list's forms, every malformed one with its message
// and exit status, and when the run presses the keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/ssiPh1.h"
#include "core/KeyScript.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/Ph4Run.h"
#include "core/Sim.h"
#include "core/cmdLine.h"
#include "support/Fresh.h"

namespace {

// An item as "KEY", "KEY*COUNT" or "KEY@TIME", to compare parsed lists.
std::string describe(const ScriptedKey &k) {
    std::string s(1, k.key);
    if (k.timed)
        return s + "@" + std::to_string(k.time);
    return k.count == 1 ? s : s + "*" + std::to_string(k.count);
}

struct ParseCase {
    std::string text;
    std::vector<std::string> items;
};

TEST(KeyScriptParse, ReadsEveryWellFormedItem) {
    const ParseCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"1,1,0*72", {"1", "1", "0*72"}},
        {"0*10000000", {"0*10000000"}},
        {"\\,,\\\\", {",", "\\"}},
        {"\\,*3,\\\\@4", {",*3", "\\@4"}},
        {"a@100,b@250", {"a@100", "b@250"}},
        {"a@5,b@5,c,d*2", {"a@5", "b@5", "c", "d*2"}},
        {"a@0", {"a@0"}},
        {"a@18446744073709551615", {"a@18446744073709551615"}},
        {"*,**2,@,@@7", {"*", "**2", "@", "@@7"}},
        {" ,~", {" ", "~"}},
        {"a@9,b,c@9", {"a@9", "b", "c@9"}},
    };
    for (const ParseCase &c : cases) {
        std::vector<ScriptedKey> items;
        std::string message;
        ASSERT_TRUE(parseKeyScript(c.text, items, message)) << c.text << ": " << message;
        std::vector<std::string> described;
        for (const ScriptedKey &k : items)
            described.push_back(describe(k));
        EXPECT_EQ(described, c.items) << c.text;
    }
}

struct MalformedCase {
    std::string text;
    std::string message;
};

const MalformedCase malformed[] = {
    {",a", "Option -k rejected: item 1 \"\": an item must not be empty."},
    {"a,", "Option -k rejected: item 2 \"\": an item must not be empty."},
    {"a,,b", "Option -k rejected: item 2 \"\": an item must not be empty."},
    {"1,1,0*0", "Option -k rejected: item 3 \"0*0\": a count must be 1..10000000."},
    {"0*10000001", "Option -k rejected: item 1 \"0*10000001\": a count must be 1..10000000."},
    {"0*", "Option -k rejected: item 1 \"0*\": a count must be 1..10000000."},
    {"0*x", "Option -k rejected: item 1 \"0*x\": a count must be 1..10000000."},
    {"0*-1", "Option -k rejected: item 1 \"0*-1\": a count must be 1..10000000."},
    {"0*+1", "Option -k rejected: item 1 \"0*+1\": a count must be 1..10000000."},
    {"0*99999999999999999999",
     "Option -k rejected: item 1 \"0*99999999999999999999\": a count must be 1..10000000."},
    {"a@", "Option -k rejected: item 1 \"a@\": a time must be a whole number of time units."},
    {"a@1.5", "Option -k rejected: item 1 \"a@1.5\": a time must be a whole number of time units."},
    {"a@18446744073709551616",
     "Option -k rejected: item 1 \"a@18446744073709551616\": a time must be a whole number of time units."},
    {"a@100,b,c@50", "Option -k rejected: item 3 \"c@50\": times must not decrease (50 after 100)."},
    {"ab", "Option -k rejected: item 1 \"ab\": an item is a key, a key*count or a key@time."},
    {"a*2@5", "Option -k rejected: item 1 \"a*2@5\": a count must be 1..10000000."},
    {"a#3", "Option -k rejected: item 1 \"a#3\": an item is a key, a key*count or a key@time."},
    {"\t", "Option -k rejected: item 1 \"\t\": a key must be a printable character."},
    {"a,\x7f", "Option -k rejected: item 2 \"\x7f\": a key must be a printable character."},
    {"\xc3\xa9", "Option -k rejected: item 1 \"\xc3\xa9\": a key must be a printable character."},
    {"\\a", "Option -k rejected: item 1 \"\\a\": a backslash must be followed by a comma or a backslash."},
    {"a,\\", "Option -k rejected: item 2 \"\\\": a backslash must be followed by a comma or a backslash."},
};

TEST(KeyScriptParse, NamesTheFirstMalformedItemAndKeepsNothing) {
    for (const MalformedCase &c : malformed) {
        std::vector<ScriptedKey> items(1);
        std::string message;
        EXPECT_FALSE(parseKeyScript(c.text, items, message)) << c.text;
        EXPECT_EQ(message, c.message) << c.text;
        EXPECT_TRUE(items.empty()) << c.text;
    }
}

// The message as a regular expression matching exactly it, on a line of its own.
std::string exactLine(const std::string &message) {
    std::string pattern = "^";
    for (const char ch : message) {
        if (std::string("\\^$.|?*+()[]{}").find(ch) != std::string::npos)
            pattern += '\\';
        pattern += ch;
    }
    return pattern + "\n$";
}

TEST(KeyScriptLoadDeathTest, EveryMalformedListEndsWithItsMessageAndStatusOne) {
    for (const MalformedCase &c : malformed) {
        freshNetlist();
        keyScriptOption = c.text;
        EXPECT_EXIT(loadKeyScript(), testing::ExitedWithCode(1), exactLine(c.message)) << c.text;
    }
}

// A switch on key 'a' driving a, watched by nothing; runs without a window.
class KeyPresses : public testing::Test {
protected:
    static constexpr int a = 2; // the first signal after Zero and One
    void start(const std::string &keys, unsigned long stop = 0) {
        freshNetlist();
        const Signal wire(1, "a");
        Switch(SD("aa", nullptr), wire, 'a', Zero, "A");
        ConversionOptions options;
        options.checkConnectivity = false;
        options.openDisplay = false;
        options.keepCapture = true;
        convertCapturedNetlist(options);
        keyScriptOption = keys;
        stopTime = stop;
        loadKeyScript();
        restartAtTimeZero();
    }
    // Steps (pressing what is due) until the run is quiet with nothing to press.
    static void settle() {
        do {
            pressDueKeys(*phaseFour);
            phaseFour->step();
        } while (!phaseFour->quiescent() || keyScriptPending());
    }
    static SignalValue level() { return phaseThree->currentSignals[a]; }
};

TEST_F(KeyPresses, UntimedKeysWaitUntilTheCircuitHasSettled) {
    start("a*2");
    pressDueKeys(*phaseFour); // everything is activated at the start
    EXPECT_TRUE(keyScriptPending());
    phaseFour->step();
    phaseFour->step();
    while (!phaseFour->quiescent())
        phaseFour->step();
    EXPECT_EQ(level(), ZERO);
    pressDueKeys(*phaseFour); // the first press; the second waits for its effects
    EXPECT_TRUE(keyScriptPending());
    settle();
    EXPECT_EQ(level(), ZERO); // pressed twice: back to its first level
    EXPECT_FALSE(keyScriptPending());
}

TEST_F(KeyPresses, AQuietCircuitMovesStraightToTheNextTimedKey) {
    start("a@500");
    settle();
    EXPECT_EQ(level(), ONE);
    EXPECT_GE(phaseFour->time, 500UL);
    EXPECT_LT(phaseFour->time, 520UL);
}

TEST_F(KeyPresses, TimedKeysBeyondTheStopTimeAreNeverPressed) {
    start("a@100,a@500", 300);
    settle();
    EXPECT_EQ(level(), ONE); // pressed at 100 only
    EXPECT_LT(phaseFour->time, 300UL);
    EXPECT_FALSE(keyScriptPending());
}

} // namespace
