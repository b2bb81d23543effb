// Scripted key presses: the list's parsing and the pressing during the run.
#include "core/KeyScript.h"

#include <charconv>
#include <cstdlib>
#include <iostream>

#include "core/Ph4.h"
#include "core/RunEnd.h"
#include "core/cmdLine.h"
#include "display/Display.h"

namespace {

// The loaded script and how far the run has come through it.
std::vector<ScriptedKey> script;
std::size_t nextItem = 0;
int pressesMade = 0; // of the next item's count

bool printable(char c) {
    return c >= ' ' && c <= '~';
}

// A whole string of decimal digits as a number no larger than limit.
bool readNumber(const std::string &digits, unsigned long limit, unsigned long &value) {
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const char *const end = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && value <= limit;
}

// Splits the list at the commas that are not escaped; the items keep their
// escapes, as the messages show them as written.
std::vector<std::string> splitItems(const std::string &text) {
    std::vector<std::string> items(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ',') {
            items.emplace_back();
            continue;
        }
        items.back() += text[i];
        if (text[i] == '\\' && i + 1 < text.size())
            items.back() += text[++i];
    }
    return items;
}

// Reads one item as written into item; returns the reason it is malformed,
// or an empty text.  lastTime is the latest time of the timed items before it.
std::string readItem(const std::string &written, unsigned long lastTime, ScriptedKey &item) {
    if (written.empty())
        return "an item must not be empty";
    std::size_t rest = 1;
    item.key = written[0];
    if (item.key == '\\') {
        if (written.size() < 2 || (written[1] != ',' && written[1] != '\\'))
            return "a backslash must be followed by a comma or a backslash";
        item.key = written[1];
        rest = 2;
    }
    if (!printable(item.key))
        return "a key must be a printable character";
    if (rest == written.size())
        return "";
    const std::string number = written.substr(rest + 1);
    unsigned long value = 0;
    switch (written[rest]) {
    case '*':
        if (!readNumber(number, maximumKeyCount, value) || value == 0)
            return "a count must be 1..10000000";
        item.count = static_cast<int>(value);
        return "";
    case '@':
        if (!readNumber(number, PhaseFour::latestTime, value))
            return "a time must be a whole number of time units";
        if (value < lastTime) {
            return "times must not decrease (" + std::to_string(value) + " after " +
                   std::to_string(lastTime) + ")";
        }
        item.timed = true;
        item.time = value;
        return "";
    default:
        return "an item is a key, a key*count or a key@time";
    }
}

// Whether the run can still reach the item: timed items beyond the stop time
// cannot be, as the run ends there.
bool reachable(const ScriptedKey &item) {
    return !item.timed || stopTime == 0 || item.time <= stopTime;
}

// One press of the next item's key, as the user's press of that key.
void pressNext() {
    pressCharacterKey(script[nextItem].key);
    if (++pressesMade == script[nextItem].count) {
        ++nextItem;
        pressesMade = 0;
    }
}

} // namespace

bool parseKeyScript(const std::string &text, std::vector<ScriptedKey> &items, std::string &message) {
    items.clear();
    if (text.empty())
        return true;
    unsigned long lastTime = 0;
    const std::vector<std::string> written = splitItems(text);
    for (std::size_t i = 0; i < written.size(); ++i) {
        ScriptedKey item;
        const std::string reason = readItem(written[i], lastTime, item);
        if (!reason.empty()) {
            message = "Option -k rejected: item " + std::to_string(i + 1) + " \"" + written[i] +
                      "\": " + reason + ".";
            items.clear();
            return false;
        }
        if (item.timed)
            lastTime = item.time;
        items.push_back(item);
    }
    return true;
}

void loadKeyScript() {
    std::string message;
    if (!parseKeyScript(keyScriptOption, script, message)) {
        std::cerr << message << std::endl;
        std::exit(1);
    }
    nextItem = 0;
    pressesMade = 0;
}

bool keyScriptPending() {
    return nextItem < script.size() && reachable(script[nextItem]);
}

bool timedKeyPending() {
    return keyScriptPending() && script[nextItem].timed;
}

void pressDueKeys(PhaseFour &kernel) {
    while (keyScriptPending() && !stopRequested) {
        const ScriptedKey &item = script[nextItem];
        const bool timed = item.timed;
        if (!timed && !kernel.quiescent())
            return;
        if (timed && kernel.time < item.time) {
            if (!kernel.quiescent())
                return;
            kernel.time = item.time; // a settled circuit: nothing happens in between
        }
        pressNext();
        // One untimed press per call, even of a key that changes nothing: the
        // run polls the window between presses, so F10 is not kept waiting
        // behind a long list.  Timed keys due at one step are all pressed
        // before it.
        if (!timed)
            return;
    }
}
