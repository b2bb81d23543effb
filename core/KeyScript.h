// Scripted key presses (-k): the list's parsing, and the pressing of its keys
// during the run exactly as if the user had pressed them at that moment.
#pragma once

#include <string>
#include <vector>

class PhaseFour;

// One item of the list: a key pressed count times, each once the circuit has
// settled; or (timed) pressed once at the first step at or after time.
struct ScriptedKey {
    char key = 0;
    int count = 1;
    bool timed = false;
    unsigned long time = 0;
};

// The largest count an item may give.
constexpr int maximumKeyCount = 10000000;

// Parses a comma-separated list of items KEY, KEY*COUNT or KEY@TIME, where
// "\," and "\\" stand for a comma and a backslash key.  Returns false with
// the message naming the first malformed item (nothing is kept of the
// list then); an empty text is an empty list.
bool parseKeyScript(const std::string &text, std::vector<ScriptedKey> &items, std::string &message);

// Takes the -k list as the script of this run, from its first press.  A
// malformed list is written on standard error and ends the process with
// status 1.
void loadKeyScript();

// Whether the script still has a press the run can reach: an untimed one, or
// a timed one not beyond the stop time.  While one is left a quiet run goes
// on instead of ending or sleeping.
bool keyScriptPending();

// Presses, before a step, every key that is due: the next untimed key when
// the circuit has settled (nothing queued, nothing activated), the next
// timed key once time has reached its time.  A settled circuit cannot reach
// a later time by itself, and nothing can happen before it: time moves
// straight to the key's time and the key is pressed.  At most one untimed
// key is pressed per call, and none once the run was asked to stop.
void pressDueKeys(PhaseFour &kernel);
// Whether the next press the run can reach is timed: it may fall due at any
// step, where an untimed one waits for the circuit to settle.
bool timedKeyPending();
