// The steps of an explanation: the rule of the component that drives a
// signal (its registry row's, components/Registry.h), and which of its inputs
// decide the value the signal held at a time, or the root that ends the
// chain.
#include "components/ExplainRules.h"

#include <algorithm>

#include "components/RTSigSup.h"
#include "components/Registry.h"
#include "components/SecEvTyp.h"
#include "components/vlsiRT.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/Ph4.h"
#include "core/ValueHistory.h"

namespace explain {

const char *rootText(RootKind kind) {
    return rootKindTexts[static_cast<size_t>(kind)];
}

uint64_t now() {
    return phaseFour->time;
}

// Signal s over the interval holding time t.  The history notes every change
// the kernel applies, so its present is the signals' present.  Without a
// history only the present is known, and since when only as far as the
// kernel's last queued transition tells.
HeldValue spanOf(int s, uint64_t t) {
    if (valueHistory != nullptr)
        return valueHistory->heldAt(s, t);
    const SignalSlot &slot = phaseThree->signalSlots[s];
    HeldValue span;
    span.value = slot.currentValue();
    span.since = slot.scheduledValue() == span.value ? slot.scheduledTime : 0;
    span.known = false;
    return span;
}

std::string valueName(SignalValue v) {
    return signalValueName(v);
}

std::string nameOf(int s) {
    return phaseTwo->signalNames[s];
}

std::vector<int> dataPins(int c) {
    const int *p = phaseTwo->dataInputs[c];
    return p ? std::vector<int>(p, p + phaseTwo->numberOfDataInputs[c]) : std::vector<int>{};
}

namespace {

// ---- What a component is ------------------------------------------------------

using Rule = ExplainRule;

// "Register at ca-cc.aa", with the label when it is not the kind's name.
// The delays with which component c changes its outputs.
FamilyDelays delaysOf(int c) {
    return rowOf(c).delays;
}

std::string describe(int c) {
    const std::string name = rowOf(c).label;
    std::string text = name;
    const std::string label = phaseTwo->decal[c];
    if (!label.empty() && label != name)
        text += " \"" + label + "\"";
    return text + " at " + std::string(phaseTwo->rcpos[c]);
}

// ---- Values at a time -----------------------------------------------------------

SignalValue valueAt(int s, uint64_t t) {
    return spanOf(s, t).value;
}

// The time a component evaluated to give a value it took at span.since: its
// quick delay for an XXX (except from ONE), its lazy delay otherwise.
uint64_t requestedAt(const HeldValue &span, FamilyDelays delays) {
    const bool quick = span.value == XXX && span.before != ONE;
    const auto delay = static_cast<uint64_t>(quick ? delays.quickTime : delays.lazyTime);
    return span.since - std::min(span.since, delay);
}

// ---- One step of a chain --------------------------------------------------------

// What one line says about a signal, and where the chain goes next.

// "ROOT", the root's kind and why, as a line gives them.
std::string rootDetail(RootKind kind, const std::string &why) {
    return std::string("ROOT ") + rootText(kind) + (why.empty() ? "" : ": " + why);
}

Finding rootFinding(const std::string &driver, RootKind kind, const std::string &why) {
    Finding f;
    f.driver = driver;
    f.detail = rootDetail(kind, why);
    return f;
}

// "name = VALUE", the way inputs are listed.
std::string input(int s, uint64_t t) {
    return nameOf(s) + " = " + valueName(valueAt(s, t));
}

// The inputs among pins (serial numbers) that are not binary at t.
std::vector<int> unknownAmong(const std::vector<int> &pins, uint64_t t) {
    std::vector<int> out;
    for (const int s : pins)
        if (!isBinary(valueAt(s, t)) && std::find(out.begin(), out.end(), s) == out.end())
            out.push_back(s);
    return out;
}

std::vector<int> controlPins(int c) {
    const int *p = phaseTwo->controlInputs[c];
    return p ? std::vector<int>(p, p + phaseTwo->numberOfControlInputs[c]) : std::vector<int>{};
}
std::vector<int> allInputs(int c) {
    std::vector<int> pins = dataPins(c);
    const std::vector<int> control = controlPins(c);
    pins.insert(pins.end(), control.begin(), control.end());
    return pins;
}

// The register's control inputs: the write strobe, then the enable.
constexpr size_t registerWriteControl = 0, registerEnableControl = 1;

// Lists the inputs and follows them, all at time t.
void follow(Finding &f, const std::vector<int> &pins, uint64_t t, const std::string &what) {
    std::string list;
    for (const int s : pins) {
        list += (list.empty() ? "" : ", ") + input(s, t);
        f.causes.push_back({s, t});
    }
    f.detail = what + (what.empty() ? "" : " ") + list;
}

// The signal is between two levels at t, or its inputs already ask for
// another value: the chain ends here.
Finding inTransition(int s, uint64_t t, const HeldValue &span, const std::string &driver) {
    SignalValue next = span.next;
    uint64_t settles = span.until;
    bool known = span.changedAfter;
    const SignalSlot &slot = phaseThree->signalSlots[s];
    if (t >= now() && slot.scheduledValue() != slot.currentValue()) {
        next = slot.scheduledValue();
        settles = slot.scheduledTime;
        known = true;
    }
    const std::string when = known ? "settles to " + valueName(next) + " at " + std::to_string(settles) : "";
    if (span.value == XXX)
        return rootFinding(driver, RootKind::passingThroughXxx, when);
    return rootFinding(driver, RootKind::inTransition,
                       when.empty() ? "its inputs ask for another value" : when);
}

// Whether s is passing through XXX at the present time: XXX now, with a
// level queued for later.  (A memory queues its reads itself: what its
// outputs had queued lies in the past.)
bool passingNow(int s, uint64_t t) {
    const SignalSlot &slot = phaseThree->signalSlots[s];
    return t >= now() && slot.currentValue() == XXX && slot.scheduledValue() != XXX &&
           slot.scheduledTime > now();
}

// The number that binary bits (lowest first) give at t.
int numberAt(const std::vector<int> &bits, uint64_t t) {
    int number = 0;
    for (auto bit = bits.rbegin(); bit != bits.rend(); ++bit)
        number = 2 * number + (valueAt(*bit, t) == ONE ? 1 : 0);
    return number;
}

// Combinational parts: the deciding inputs that are not binary at t, else at
// the time the value was requested; none at all means a transition.
Finding combinational(int s, uint64_t t, const HeldValue &span, const std::string &driver,
                      const std::vector<int> &deciding, FamilyDelays delays, const std::string &what) {
    std::vector<int> unknown = unknownAmong(deciding, t);
    uint64_t at = t;
    if (unknown.empty()) {
        at = requestedAt(span, delays);
        unknown = unknownAmong(deciding, at);
    }
    if (unknown.empty())
        return inTransition(s, t, span, driver);
    Finding f;
    f.driver = driver;
    follow(f, unknown, at, what);
    if (at != t)
        f.detail += " (at " + std::to_string(at) + ")";
    return f;
}

// The inputs of a folding gate that give the folded value at t: for an AND
// the lowest in the value order, for an OR the highest.  A complemented
// input counts by its complement.
std::vector<int> foldingInputs(int c, const gate_rules::FoldingGate &rule, uint64_t t) {
    using namespace gate_rules;
    const std::vector<int> complemented =
        rule.dataInputs == complementedData ? dataPins(c) : std::vector<int>{};
    const std::vector<int> pins = allInputs(c);
    const auto seen = [&](int s) {
        const SignalValue v = valueAt(s, t);
        const bool isComplemented =
            std::find(complemented.begin(), complemented.end(), s) != complemented.end();
        return isComplemented ? complementValue(v) : v;
    };
    if (pins.empty())
        return {};
    SignalValue folded = seen(pins[0]);
    for (const int s : pins)
        folded = rule.combine == byMin ? std::min(folded, seen(s)) : std::max(folded, seen(s));
    std::vector<int> deciding;
    for (const int s : pins)
        if (seen(s) == folded)
            deciding.push_back(s);
    return deciding;
}

// A folding gate's deciding inputs are those that give the folded value; the
// others (Not, Xor, Xnor) turn any input that is not binary into XXX.
Finding explainGate(int c, int s, uint64_t t, const HeldValue &span, const std::string &driver) {
    const ComponentRow &row = rowOf(c);
    if (const gate_rules::FoldingGate *rule = row.folding) {
        const std::vector<int> deciding = foldingInputs(c, *rule, t);
        if (!unknownAmong(deciding, t).empty())
            return combinational(s, t, span, driver, deciding, row.delays, "inputs");
        const uint64_t at = requestedAt(span, row.delays);
        return combinational(s, t, span, driver, foldingInputs(c, *rule, at), row.delays, "inputs");
    }
    return combinational(s, t, span, driver, allInputs(c), row.delays, "inputs");
}

Finding explainMux(int c, int k, int s, uint64_t t, const HeldValue &span, const std::string &driver) {
    const std::vector<int> select = controlPins(c);
    if (!unknownAmong(select, t).empty())
        return combinational(s, t, span, driver, select, delaysOf(c), "select");
    const int w = phaseTwo->numberOfOutputs[c];
    // The select as it is at t (binary): the data input it passes.  The
    // capture made the data w words for each select number.
    const int number = numberAt(select, t);
    const int passed = dataPins(c)[static_cast<size_t>(k + w * number)];
    return combinational(s, t, span, driver, {passed}, delaysOf(c),
                         "select " + std::to_string(number) + " passes");
}

Finding explainDecoder(int c, int s, uint64_t t, const HeldValue &span, const std::string &driver) {
    const std::vector<int> enable = controlPins(c);
    if (!unknownAmong(enable, t).empty())
        return combinational(s, t, span, driver, enable, delaysOf(c), "enable");
    return combinational(s, t, span, driver, dataPins(c), delaysOf(c), "code");
}

Finding explainArithmetic(int c, int k, int s, uint64_t t, const HeldValue &span, const std::string &driver) {
    // Output k depends on the operand bits up to k (the carry comes from
    // below): of both words for an adder (the capture made its data two words
    // of w bits), of the one word for an incrementer.
    const std::vector<int> data = dataPins(c);
    const int w = phaseTwo->numberOfOutputs[c];
    const bool twoWords = rowOf(c).explain == Rule::adder;
    std::vector<int> deciding;
    for (int b = 0; b <= k; ++b) {
        deciding.push_back(data[static_cast<size_t>(b)]);
        if (twoWords)
            deciding.push_back(data[static_cast<size_t>(w + b)]);
    }
    return combinational(s, t, span, driver, deciding, delaysOf(c), "operand bits");
}

Finding explainTsbAlone(int c, int s, uint64_t t, const HeldValue &span, const std::string &driver) {
    const std::vector<int> enable = controlPins(c);
    if (enable.empty())
        return combinational(s, t, span, driver, dataPins(c), delaysOf(c), "data");
    const SignalValue e = valueAt(enable[0], t);
    if (e == ZERO && span.value == HIZ) {
        Finding f = rootFinding(driver, RootKind::undriven, "its only driver is not enabled");
        f.detail += " (" + input(enable[0], t) + ")";
        f.rootComponents.push_back(c);
        return f;
    }
    if (!isBinary(e))
        return combinational(s, t, span, driver, enable, delaysOf(c), "enable");
    return combinational(s, t, span, driver, dataPins(c), delaysOf(c), "enabled, data");
}

// A clocked part whose value came from its evaluation at the reset.
bool fromTheReset(const HeldValue &span, FamilyDelays delays) {
    return requestedAt(span, delays) == 0;
}

Finding notLoaded(int c, const std::string &driver, const std::string &why) {
    Finding f = rootFinding(driver, RootKind::notLoaded, why);
    f.rootComponents.push_back(c);
    return f;
}

// The rises of a strobe or clock that a clocked part's output at t can show,
// latest first: those at least its quick delay before t (none without a
// history).
std::vector<uint64_t> risesOf(int s, uint64_t t, bool fromZero, FamilyDelays delays) {
    if (valueHistory == nullptr)
        return {};
    // Nothing changes at time 0 itself: before the quick delay there is no rise.
    return valueHistory->risesUpTo(s, t - std::min(t, static_cast<uint64_t>(delays.quickTime)), fromZero);
}

Finding explainRegister(int c, int k, uint64_t t, const std::string &driver) {
    const std::vector<int> control = controlPins(c); // write (strobe), enable
    const int write = control[registerWriteControl], enable = control[registerEnableControl];
    // The register loads at a rise of its write with the enable ONE.
    for (const uint64_t at : risesOf(write, t, false, delaysOf(c))) {
        if (valueAt(enable, at) != ONE)
            continue;
        const int data = dataPins(c)[static_cast<size_t>(k)];
        Finding f;
        f.driver = driver;
        f.detail =
            "loaded at " + std::to_string(at) + " (write " + nameOf(write) + " rose) from " + input(data, at);
        if (!isBinary(valueAt(data, at)))
            f.causes.push_back({data, at});
        return f;
    }
    return notLoaded(c, driver,
                     "its write " + nameOf(write) + " has not risen while its enable " + nameOf(enable) +
                         " was ONE");
}

Finding explainDff(int c, int s, uint64_t t, const HeldValue &span, const std::string &driver) {
    const std::vector<int> in = dataPins(c);
    const int clock = in[dffClock], d = in[dffData];
    const std::vector<uint64_t> rises = risesOf(clock, t, true, delaysOf(c));
    if (rises.empty())
        return notLoaded(c, driver, "its clock " + nameOf(clock) + " has not risen from ZERO");
    const uint64_t at = rises.front();
    Finding f;
    f.driver = driver;
    f.detail = "took its data at the rise of its clock " + nameOf(clock) + " at " + std::to_string(at) +
               ": " + input(d, at);
    if (isBinary(valueAt(d, at)))
        return inTransition(s, t, span, driver);
    f.causes.push_back({d, at});
    return f;
}

Finding explainJkff(int c, int s, const HeldValue &span, const std::string &driver) {
    if (fromTheReset(span, delaysOf(c)))
        return notLoaded(c, driver, "no clock edge, set or reset since the reset");
    const uint64_t at = requestedAt(span, delaysOf(c));
    const std::vector<int> in = dataPins(c);
    // K and J.  (Q, which J = K = ONE toggles, was binary: the output left a
    // binary value at this edge.)
    return combinational(s, at, span, driver, {in[1], in[3]}, delaysOf(c),
                         "clocked at " + std::to_string(at) + " with");
}

Finding explainRam(int c, int k, int s, uint64_t t, const HeldValue &span, const std::string &driver) {
    const int *p = phaseTwo->integerParameters[c];
    const int width = p[ramBitWordWidth], addressBits = p[ramPortAddressSize];
    const int port = k / width, bit = k % width;
    const std::vector<int> control = controlPins(c);
    const auto first = control.begin() + port * addressBits;
    const std::vector<int> address(first, first + addressBits);
    const uint64_t at = span.since >= ramReadDelay ? span.since - ramReadDelay : t;
    if (!unknownAmong(address, at).empty())
        return combinational(s, at, span, driver, address, delaysOf(c), "read address");
    const int number = numberAt(address, at);
    if (number >= p[ramNumberOfWords])
        return rootFinding(driver, RootKind::readBeyondTheLastWord, "address " + std::to_string(number));
    // The bit's two-bit code in the packed store: 0 never written.
    const uint32_t word = phaseTwo->internal32BitVariables[c][number * p[ramStoreWordsPerSimWord] + bit / 16];
    const unsigned code = (word >> (2 * (bit % 16))) & 3u;
    if (code == 0)
        return notLoaded(c, driver, "word " + std::to_string(number) + " has not been written");
    static const SignalValue codeValue[] = {UNINITIALIZED, ZERO, ONE, XXX};
    return rootFinding(driver, RootKind::stored,
                       "word " + std::to_string(number) + " was written with " + valueName(codeValue[code]));
}

Finding explainSource(int c, int s, uint64_t t, const HeldValue &span, const std::string &driver) {
    if (passingNow(s, t) || span.changedAfter)
        return inTransition(s, t, span, driver);
    Finding f = rootFinding(driver, RootKind::inputLeftOpen, "its initial level is not ZERO or ONE");
    f.rootComponents.push_back(c);
    return f;
}

// ---- Drivers ----------------------------------------------------------------------

Finding explainDriven(const Drive &d, int s, uint64_t t, const HeldValue &span) {
    const int c = d.component, k = d.output;
    const std::string driver = describe(c);
    switch (rowOf(c).explain) {
    case Rule::gate:
        return explainGate(c, s, t, span, driver);
    case Rule::tsb:
        return explainTsbAlone(c, s, t, span, driver);
    case Rule::source:
        return explainSource(c, s, t, span, driver);
    case Rule::mux:
        return explainMux(c, k, s, t, span, driver);
    case Rule::decoder:
        return explainDecoder(c, s, t, span, driver);
    case Rule::adder:
    case Rule::incrementer:
        return explainArithmetic(c, k, s, t, span, driver);
    case Rule::encoder:
        return combinational(s, t, span, driver, dataPins(c), delaysOf(c), "request lines");
    case Rule::counter:
        if (span.value == UNINITIALIZED)
            return notLoaded(c, driver, "its clear has not been ZERO since the reset");
        return inTransition(s, t, span, driver);
    case Rule::clockGate:
        return combinational(s, t, span, driver, {dataPins(c)[1]}, delaysOf(c), "enable");
    case Rule::dff:
        return explainDff(c, s, t, span, driver);
    case Rule::jkff:
        return explainJkff(c, s, span, driver);
    case Rule::reg:
        return explainRegister(c, k, t, driver);
    case Rule::bitReg:
        if (fromTheReset(span, delaysOf(c)))
            return notLoaded(c, driver, "not cleared, set or written since the reset");
        return combinational(s, t, span, driver, allInputs(c), delaysOf(c), "inputs");
    case Rule::ram:
        return explainRam(c, k, s, t, span, driver);
    case Rule::rom:
        return combinational(s, t, span, driver, dataPins(c), delaysOf(c), "address");
    case Rule::unset:
    case Rule::drivesNothing:
    case Rule::notFollowed:
        break;
    }
    return rootFinding(driver, RootKind::notFollowed, "this kind of component is not explained");
}

// What a tri-state driver puts on its bus at t: its data when enabled with
// binary data, else HIZ.  (Its capture gave it one data and one control input.)
SignalValue tsbDrives(int c, uint64_t t) {
    if (valueAt(controlPins(c)[0], t) != ONE)
        return HIZ;
    const SignalValue v = valueAt(dataPins(c)[0], t);
    return isBinary(v) ? v : HIZ;
}

// A signal with several drivers (a bus of tri-state drivers).
std::string busOf(size_t drivers) {
    return "bus of " + std::to_string(drivers) + " drivers";
}

Finding explainBus(const std::vector<Drive> &ds, int s, uint64_t t, const HeldValue &span) {
    const std::string driver = busOf(ds.size());
    std::vector<Drive> drivingPins;
    for (const Drive &d : ds)
        if (rowOf(d.component).explain != Rule::tsb || tsbDrives(d.component, t) != HIZ)
            drivingPins.push_back(d);
    std::vector<int> driving;
    for (const Drive &d : drivingPins)
        driving.push_back(d.component);
    // Two drivers at once, or one kept off the bus by the driver holding it.
    const auto held = m.find(s);
    if (driving.size() >= 2 || (driving.size() == 1 && held != m.end() && held->second != driving[0])) {
        const int a = driving[0];
        const int b = driving.size() >= 2 ? driving[1] : held->second;
        const auto drives = [t](int c) {
            return rowOf(c).explain == Rule::tsb ? " drives " + valueName(tsbDrives(c, t))
                                                 : std::string(" drives it");
        };
        Finding f =
            rootFinding(driver, RootKind::contention,
                        describe(a) + drives(a) + (driving.size() >= 2 ? ", " : " but ") + describe(b) +
                            (driving.size() >= 2 ? drives(b) : " held the bus (the other was refused)"));
        f.rootComponents = {a, b};
        return f;
    }
    if (!drivingPins.empty())
        return explainDriven(drivingPins[0], s, t, span);
    // No driver is enabled: say why for each, and follow unknown enables.
    Finding f;
    f.driver = driver;
    std::vector<int> unknown;
    std::string list;
    for (const Drive &d : ds) {
        const std::vector<int> control = controlPins(d.component);
        if (control.empty())
            continue;
        const SignalValue e = valueAt(control[0], t);
        const int why = e == ONE ? dataPins(d.component)[0] : control[0];
        list += (list.empty() ? "" : "; ") + describe(d.component) + (e == ONE ? " data " : " enable ") +
                input(why, t);
        if (!isBinary(valueAt(why, t)) && std::find(unknown.begin(), unknown.end(), why) == unknown.end()) {
            unknown.push_back(why);
            f.causes.push_back({why, t});
        }
    }
    if (span.value != HIZ && unknown.empty())
        return inTransition(s, t, span, driver);
    if (unknown.empty()) {
        f.detail = rootDetail(RootKind::undriven, "no driver is enabled (" + list + ")");
        for (const Drive &d : ds)
            f.rootComponents.push_back(d.component);
    } else {
        f.detail = "no driver is enabled (" + list + ")";
    }
    return f;
}

} // namespace

Drivers::Drivers() : table(static_cast<size_t>(phaseTwo->numberOfSignals)) {
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c) {
        // A component without functions (a module box) only stands for its contents.
        const bool stands = phaseTwo->logicEvaluate[c] == nullptr && phaseTwo->xEventTriggered[c] == nullptr;
        if (stands)
            continue;
        for (int k = 0; k < phaseTwo->numberOfOutputs[c]; ++k)
            table[static_cast<size_t>(phaseTwo->outputs[c][k])].push_back({c, k});
    }
}

Finding findingFor(const Drivers &drivers, int s, uint64_t t, const HeldValue &span) {
    const std::vector<Drive> &ds = drivers.of(s);
    if (passingNow(s, t))
        return inTransition(s, t, span, ds.size() == 1 ? describe(ds[0].component) : busOf(ds.size()));
    if (ds.empty())
        return rootFinding("no driver", RootKind::inputLeftOpen, "nothing drives it");
    if (ds.size() == 1)
        return explainDriven(ds[0], s, t, span);
    return explainBus(ds, s, t, span);
}

} // namespace explain
