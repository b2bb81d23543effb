// The Value Change Dump: declarations from the netlist arrays (scopes from the
// module boxes, variables from the probes or the buses), then the values of
// every section and their changes as the kernel applies them.
#include "core/Vcd.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string_view>
#include <unordered_map>

#include "components/Registry.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/RunEnd.h"
#include "core/cmdLine.h"

ValueChangeDump *valueChangeDump = nullptr;

namespace {

// The dump's character for each value in a vector, and in a one-bit
// variable's scalar change (core/Signal.h's valueSpellings).
constexpr char vectorLetter(SignalValue v) {
    return valueSpellings[v].dumpLetter;
}
constexpr char scalarLetter(SignalValue v) {
    return valueSpellings[v].dumpScalarLetter;
}

// A bus wider than this is dumped as one variable per bit: a vector is
// written whole at every change of any bit, which for very wide buses would
// make the dump grow with width times changes.
constexpr int vectorLimit = 64;

// "00" to "99", for the last four digits of a stamp.
const char digitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                          "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                          "8081828384858687888990919293949596979899";

constexpr size_t bufferSize = size_t{1} << 18;

// A name usable in the dump: blanks and other non-printing characters become '_'.
std::string sanitized(std::string_view text) {
    std::string name(text);
    for (char &c : name)
        if (static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 127)
            c = '_';
    return name.empty() ? "_" : name;
}

// The n-th identifier code: printable characters from '!' to '~', shortest first.
std::string identifierCode(int n) {
    std::string code;
    do {
        code += static_cast<char>('!' + n % 94);
        n = n / 94 - 1;
    } while (n >= 0);
    return code;
}

// Splits a name of the form BASE[INDEX] into its parts.
bool indexedName(std::string_view name, std::string_view &base, int &index) {
    if (name.size() < 4 || name.back() != ']')
        return false;
    const size_t open = name.rfind('[');
    if (open == std::string_view::npos || open == 0 || open + 2 >= name.size())
        return false;
    const char *first = name.data() + open + 1, *last = name.data() + name.size() - 1;
    const auto [end, error] = std::from_chars(first, last, index);
    if (error != std::errc() || end != last || index < 0)
        return false;
    base = name.substr(0, open);
    return true;
}

std::string range(int high, int low) {
    return high == low ? " [" + std::to_string(high) + "]"
                       : " [" + std::to_string(high) + ":" + std::to_string(low) + "]";
}

// A module box stands for a sub-circuit: it drives its outputs only on paper
// and evaluates nothing.
bool isModuleBox(int c) {
    return rowOf(c).kind == ComponentKind::module;
}

bool isOneBitProbe(int c) {
    return rowOf(c).probe == ProbeReading::oneBit;
}

bool isByteProbe(int c) {
    return rowOf(c).probe == ProbeReading::eightBits;
}

// A component that only takes room (the spaces between groups of probes).
bool isSpacer(int c) {
    return rowOf(c).kind == ComponentKind::space;
}

// Gives every declared object a name of its own within its scope: a repeated
// name gets _2, _3, ... in declaration order.
class NameBook {
public:
    std::string unique(int scope, const std::string &name) {
        const int n = ++uses[{scope, name}];
        return n == 1 ? name : name + "_" + std::to_string(n);
    }

private:
    std::map<std::pair<int, std::string>, int> uses;
};

// Whether position inner lies in the rectangle of position outer: the same
// place, or a place inside it.
bool placedIn(std::string_view inner, std::string_view outer) {
    return inner.substr(0, outer.size()) == outer &&
           (inner.size() == outer.size() || inner[outer.size()] == '.');
}

// The scope tree of the module boxes and the scope of every component.
//
// Boxes nest as the build functions that make them nest: a box's parts are
// the components made after it, one level deeper and placed inside it, until
// a component that is not.  Sibling boxes often share one place (each is shown
// at its own level), so places alone cannot tell them apart; the order of
// making can.  A component made outside every box but placed inside one (a
// probe drawn over a box's contents) belongs to the last box made at the
// innermost place that holds it.
class ScopeTree {
public:
    explicit ScopeTree(std::vector<DumpScope> &scopes) : scopes(scopes) {
        const PhaseTwo &p = *phaseTwo;
        scopes.push_back({"circuit", -1, 0});
        componentScope.assign(static_cast<size_t>(p.numberOfComponents), 0);
        NameBook names;
        struct Open {
            int component, scope;
        };
        std::vector<Open> open;
        for (int c = 0; c < p.numberOfComponents; ++c) {
            const std::string_view position = p.rcpos[c];
            while (!open.empty() && !(p.graphicLevel[open.back().component] < p.graphicLevel[c] &&
                                      placedIn(position, p.rcpos[open.back().component])))
                open.pop_back();
            const int holder = open.empty() ? placedScope(position) : open.back().scope;
            componentScope[static_cast<size_t>(c)] = holder;
            if (!isModuleBox(c))
                continue;
            std::string name = std::string(p.decal[c]) + "_" + std::string(position);
            std::replace(name.begin(), name.end(), '.', '_');
            const int scope = static_cast<int>(scopes.size());
            scopes.push_back({names.unique(holder, sanitized(name)), holder, scopes[holder].depth + 1});
            scopeAt[std::string(position)] = scope; // the last box made at a place
            open.push_back({c, scope});
        }
    }

    // The scope of component c: the innermost box holding it, or the top.
    int of(int c) const { return componentScope[static_cast<size_t>(c)]; }

    // The scope named name inside parent, made when first asked for.
    int child(int parent, const std::string &name) {
        for (size_t k = 0; k < scopes.size(); ++k)
            if (scopes[k].parent == parent && scopes[k].name == name)
                return static_cast<int>(k);
        scopes.push_back({name, parent, scopes[static_cast<size_t>(parent)].depth + 1});
        return static_cast<int>(scopes.size()) - 1;
    }

    int common(int a, int b) const {
        while (scopes[a].depth > scopes[b].depth)
            a = scopes[a].parent;
        while (scopes[b].depth > scopes[a].depth)
            b = scopes[b].parent;
        while (a != b) {
            a = scopes[a].parent;
            b = scopes[b].parent;
        }
        return a;
    }

private:
    std::vector<DumpScope> &scopes;
    std::vector<int> componentScope;
    std::unordered_map<std::string, int> scopeAt;

    // The last box made at the innermost place strictly holding position, or the top.
    int placedScope(std::string_view position) const {
        for (size_t cut = position.rfind('.'); cut != std::string_view::npos && cut > 0;
             cut = position.rfind('.', cut - 1)) {
            const auto found = scopeAt.find(std::string(position.substr(0, cut)));
            if (found != scopeAt.end())
                return found->second;
        }
        return 0;
    }
};

// Every bus as a vector (per bit when wider than vectorLimit), in the scope
// that holds its drivers.
void declareBuses(const ScopeTree &tree, NameBook &names, std::vector<DumpVariable> &out) {
    const PhaseTwo &p = *phaseTwo;
    std::vector<int> driverScope(static_cast<size_t>(p.numberOfSignals), -1);
    for (int c = 0; c < p.numberOfComponents; ++c) {
        if (isModuleBox(c) || p.numberOfOutputs[c] == 0)
            continue;
        const int scope = tree.of(c);
        for (int k = 0; k < p.numberOfOutputs[c]; ++k) {
            int &d = driverScope[static_cast<size_t>(p.outputs[c][k])];
            d = d < 0 ? scope : tree.common(d, scope);
        }
    }
    for (int s = 0; s < p.numberOfSignals;) {
        std::string_view base;
        int index = 0;
        const std::string_view first = p.signalNames[s];
        int width = 1;
        if (indexedName(first, base, index) && index == 0) {
            std::string_view nextBase;
            int next = 0;
            while (s + width < p.numberOfSignals && indexedName(p.signalNames[s + width], nextBase, next) &&
                   nextBase == base && next == width)
                ++width;
        } else {
            base = first;
        }
        int scope = -1;
        for (int k = 0; k < width; ++k) {
            const int d = driverScope[static_cast<size_t>(s + k)];
            if (d >= 0)
                scope = scope < 0 ? d : tree.common(scope, d);
        }
        scope = std::max(scope, 0);
        const std::string name = names.unique(scope, sanitized(base));
        if (width <= vectorLimit) {
            DumpVariable v{width == 1 ? name : name + range(width - 1, 0), "", scope, {}};
            for (int k = width - 1; k >= 0; --k)
                v.bits.push_back(s + k);
            out.push_back(std::move(v));
        } else {
            for (int k = 0; k < width; ++k)
                out.push_back({name + range(k, k), "", scope, {s + k}});
        }
        s += width;
    }
}

// The next one-bit probe after c in the same group, skipping spacers; -1
// when the components after c hold none.
int nextProbe(int c) {
    for (++c; c < phaseTwo->numberOfComponents; ++c) {
        if (isOneBitProbe(c))
            return c;
        if (!isSpacer(c))
            return -1;
    }
    return -1;
}

// Every probe: an eight-bit probe as an 8-bit vector; consecutive one-bit
// probes at one position with one label (a probe over a bus) as a vector of
// their bits, most significant first; probes labelled B[k] with consecutive
// k in one scope as the vector B [high:low].
void declareProbes(const ScopeTree &tree, NameBook &names, std::vector<DumpVariable> &out) {
    const PhaseTwo &p = *phaseTwo;
    for (int c = 0; c < p.numberOfComponents; ++c) {
        const bool bytes = isByteProbe(c);
        if (!bytes && !isOneBitProbe(c))
            continue;
        const int scope = tree.of(c);
        const std::string_view decal = p.decal[c];
        std::vector<int> bits;
        std::string_view base;
        int index = 0;
        std::string suffix;
        if (bytes) {
            base = decal;
            for (int k = p.numberOfDataInputs[c] - 1; k >= 0; --k)
                bits.push_back(p.dataInputs[c][k]);
            if (bits.size() > 1)
                suffix = range(static_cast<int>(bits.size()) - 1, 0);
        } else if (indexedName(decal, base, index)) {
            int high = index, low = index, step = 0, last = c;
            bits.push_back(p.dataInputs[c][0]);
            for (int n = nextProbe(c); n >= 0 && tree.of(n) == scope; n = nextProbe(n)) {
                std::string_view nextBase;
                int next = 0;
                const int previous = step > 0 ? high : low;
                if (!indexedName(p.decal[n], nextBase, next) || nextBase != base)
                    break;
                const int direction = next - (step == 0 ? index : previous);
                if ((direction != 1 && direction != -1) || (step != 0 && direction != step))
                    break;
                step = direction;
                (step > 0 ? high : low) = next;
                // Kept most significant first.
                if (step > 0)
                    bits.insert(bits.begin(), p.dataInputs[n][0]);
                else
                    bits.push_back(p.dataInputs[n][0]);
                last = n;
            }
            c = last;
            suffix = range(high, low);
        } else {
            base = decal;
            int last = c;
            bits.push_back(p.dataInputs[c][0]);
            for (int n = nextProbe(c);
                 n >= 0 && p.decal[n] == decal && p.rcpos[n] == std::string_view(p.rcpos[c]);
                 n = nextProbe(n)) {
                bits.push_back(p.dataInputs[n][0]);
                last = n;
            }
            c = last;
            if (bits.size() > 1)
                suffix = range(static_cast<int>(bits.size()) - 1, 0);
        }
        out.push_back({names.unique(scope, sanitized(base)) + suffix, "", scope, std::move(bits)});
    }
}

// The bus of which bits are the bits high to low, 15 down to 0, or empty.
std::string_view wordBus(const std::vector<int> &bits) {
    std::string_view base;
    for (size_t k = 0; k < bits.size(); ++k) {
        std::string_view name;
        int index = 0;
        if (!indexedName(phaseTwo->signalNames[bits[k]], name, index) || index != 15 - static_cast<int>(k) ||
            (k > 0 && name != base))
            return {};
        base = name;
    }
    return base;
}

// A 16-bit register or bus shown as a high and a low eight-bit pane, made one
// after the other: also one 16-bit vector named by the bus, in the scope
// "words" beside the panes' variables, so that a viewer shows the whole word.
void declareWords(ScopeTree &tree, NameBook &names, std::vector<DumpVariable> &out) {
    const PhaseTwo &p = *phaseTwo;
    for (int c = 0; c + 1 < p.numberOfComponents; ++c) {
        int n = c + 1;
        while (n < p.numberOfComponents && isSpacer(n))
            ++n;
        if (n == p.numberOfComponents || !isByteProbe(c) || !isByteProbe(n) || p.numberOfDataInputs[c] != 8 ||
            p.numberOfDataInputs[n] != 8 || tree.of(c) != tree.of(n))
            continue;
        std::vector<int> bits;
        for (const int probe : {c, n})
            for (int k = 7; k >= 0; --k)
                bits.push_back(p.dataInputs[probe][k]);
        const std::string_view bus = wordBus(bits);
        if (bus.empty())
            continue;
        const int scope = tree.child(tree.of(c), "words");
        out.push_back({names.unique(scope, sanitized(bus)) + range(15, 0), "", scope, std::move(bits)});
        c = n;
    }
}

// Where a buffer of dump text may be cut so that what comes before it holds
// whole time steps: the start of its last time stamp line among the first n
// bytes (a line starting with '#' is a stamp, and a stamp starts a step).
constexpr size_t noStepEnd = ~size_t{0};
size_t lastStepEnd(const char *text, size_t n) {
    for (size_t k = n; k > 1; --k)
        if (text[k - 1] == '#' && text[k - 2] == '\n')
            return k - 1;
    return noStepEnd;
}

[[noreturn]] void rejectDumpFile(const std::string &reason) {
    std::cerr << "Option -V rejected: " << reason << ".\n";
    std::exit(1);
}

// Whether path names the file or pipe standard output is open on: the dump
// would overwrite the key help or be mixed with the summary.  A device (a
// terminal, /dev/null) keeps nothing to overwrite.
bool isStandardOutput(const std::string &path) {
    struct stat out = {}, named = {};
    return fstat(STDOUT_FILENO, &out) == 0 && !S_ISCHR(out.st_mode) && stat(path.c_str(), &named) == 0 &&
           out.st_dev == named.st_dev && out.st_ino == named.st_ino;
}

void closeAtExit() {
    if (valueChangeDump)
        valueChangeDump->finish(false);
}

} // namespace

ValueChangeDump::ValueChangeDump(std::FILE *file, bool allSignals, std::string name)
    : file(file), allSignals(allSignals), name(std::move(name)), buffer(bufferSize) {}

void ValueChangeDump::declare() {
    declared = true;
    {
        ScopeTree tree(scopeList);
        NameBook names;
        if (allSignals) {
            declareBuses(tree, names, variableList);
        } else {
            declareProbes(tree, names, variableList);
            declareWords(tree, names, variableList);
        }
    }
    const auto signals = static_cast<size_t>(phaseTwo->numberOfSignals);
    variableStart.assign(signals + 1, 0);
    for (DumpVariable &v : variableList)
        for (const int s : v.bits)
            ++variableStart[static_cast<size_t>(s) + 1];
    for (size_t s = 0; s < signals; ++s)
        variableStart[s + 1] += variableStart[s];
    variableEntries.resize(static_cast<size_t>(variableStart[signals]));
    std::vector<int> fill(variableStart.begin(), variableStart.end() - 1);
    for (size_t k = 0; k < variableList.size(); ++k) {
        variableList[k].code = identifierCode(static_cast<int>(k));
        for (const int s : variableList[k].bits)
            variableEntries[static_cast<size_t>(fill[static_cast<size_t>(s)]++)] = static_cast<int>(k);
    }
    changes.noted.assign(signals, 1);
    for (size_t s = 0; s < signals; ++s)
        if (variableStart[s + 1] > variableStart[s])
            changes.noted[s] = 0;
    changes.changed.assign(signals, 0);
    changes.numberChanged = 0;
    lastWritten.assign(signals, UNINITIALIZED);
    soleScalar.assign(signals, -1);
    shortCodes.resize(variableList.size());
    for (size_t k = 0; k < variableList.size(); ++k) {
        const std::string &code = variableList[k].code;
        ShortCode &c = shortCodes[k];
        c.length = static_cast<int>(std::min(code.size(), sizeof c.text));
        std::memcpy(c.text, code.data(), static_cast<size_t>(c.length));
        const DumpVariable &v = variableList[k];
        const auto s = static_cast<size_t>(v.bits[0]);
        if (v.bits.size() == 1 && code.size() <= sizeof c.text &&
            variableStart[s + 1] - variableStart[s] == 1)
            soleScalar[s] = static_cast<int>(k);
    }
    variableDirty.assign(variableList.size(), 0);
}

void ValueChangeDump::writeHeader() {
    headerWritten = true;
    put("$version\n   Norvale Value Change Dump\n$end\n"
        "$comment\n   Values: 0 ZERO, 1 ONE, x XXX, z HIZ, U UNINITIALIZED (u in one-bit changes).\n$end\n"
        "$timescale 1 ns $end\n");
    std::vector<std::vector<int>> children(scopeList.size()), variablesOf(scopeList.size());
    for (size_t s = 1; s < scopeList.size(); ++s)
        children[static_cast<size_t>(scopeList[s].parent)].push_back(static_cast<int>(s));
    for (size_t k = 0; k < variableList.size(); ++k)
        variablesOf[static_cast<size_t>(variableList[k].scope)].push_back(static_cast<int>(k));
    writeScope(0, children, variablesOf);
    put("$enddefinitions $end\n");
}

void ValueChangeDump::writeScope(int scope, const std::vector<std::vector<int>> &children,
                                 const std::vector<std::vector<int>> &variablesOf) {
    put("$scope module " + scopeList[static_cast<size_t>(scope)].name + " $end\n");
    for (const int k : variablesOf[static_cast<size_t>(scope)]) {
        const DumpVariable &v = variableList[static_cast<size_t>(k)];
        put("$var wire " + std::to_string(v.bits.size()) + " " + v.code + " " + v.reference + " $end\n");
    }
    for (const int child : children[static_cast<size_t>(scope)])
        writeScope(child, children, variablesOf);
    put("$upscope $end\n");
}

void ValueChangeDump::startSection(unsigned long timeBefore) {
    if (!declared)
        declare();
    if (!headerWritten)
        writeHeader();
    if (sections == 0) {
        stamp(0);
        put("$dumpvars\n");
    } else {
        // One unit after the time the previous section reached.
        const unsigned long reached = offset + std::min(timeBefore, ~0UL - offset);
        offset = reached == ~0UL ? reached : reached + 1;
        put("$comment\n   Restart " + std::to_string(sections) + ": simulated time 0 is dump time " +
            std::to_string(offset) + ".\n$end\n");
        stamp(offset);
        put("$dumpall\n");
    }
    ++sections;
    writeAllValues();
    put("$end\n");
}

void ValueChangeDump::writeAllValues() {
    const SignalValues current = phaseThree->currentSignals;
    for (const DumpVariable &v : variableList) {
        writeValue(v);
        for (const int s : v.bits)
            lastWritten[static_cast<size_t>(s)] = current[s];
    }
    for (int k = 0; k < changes.numberChanged; ++k)
        changes.noted[static_cast<size_t>(changes.changed[static_cast<size_t>(k)])] = 0;
    changes.numberChanged = 0;
}

void ValueChangeDump::writeChanges(unsigned long time) {
    const int n = changes.numberChanged;
    if (n == 0)
        return;
    changes.numberChanged = 0;
    // The pointers are held here: the stores into the character buffer would
    // otherwise make every vector's data be read again.
    const SignalValues current = phaseThree->currentSignals;
    const int *const changed = changes.changed.data();
    unsigned char *const noted = changes.noted.data();
    SignalValue *const written = lastWritten.data();
    const int *const scalar = soleScalar.data();
    const ShortCode *const codes = shortCodes.data();
    const unsigned long dumpTime = offset + time;
    bool stampWritten = stamped && lastStamp == dumpTime;
    // The write position is kept in a local, synchronised around the calls.
    char *const base = buffer.data(); // the buffer never grows
    const size_t capacity = buffer.size();
    size_t at = used;
    for (int k = 0; k < n; ++k) {
        const int s = changed[k];
        noted[s] = 0;
        const SignalValue value = current[s];
        // Events within one time can take a signal back where it was.
        if (value == written[s])
            continue;
        written[s] = value;
        if (const int v = scalar[s]; v >= 0) {
            // The common case, a signal that is a one-bit variable of its own: written at once.
            if (!stampWritten) {
                used = at;
                stamp(dumpTime);
                at = used;
                stampWritten = true;
            }
            if (at + sizeof(ShortCode::text) + 2 > capacity) {
                used = at;
                flushBuffer();
                at = used;
            }
            char *const out = base + at;
            out[0] = scalarLetter(value);
            std::memcpy(out + 1, codes[v].text, sizeof(ShortCode::text));
            out[1 + codes[v].length] = '\n';
            at += 2 + static_cast<size_t>(codes[v].length);
            continue;
        }
        for (int e = variableStart[static_cast<size_t>(s)]; e < variableStart[static_cast<size_t>(s) + 1];
             ++e) {
            const int v = variableEntries[static_cast<size_t>(e)];
            if (!variableDirty[static_cast<size_t>(v)]) {
                variableDirty[static_cast<size_t>(v)] = 1;
                dirty.push_back(v);
            }
        }
    }
    used = at;
    if (dirty.empty())
        return;
    stamp(dumpTime);
    for (const int v : dirty) {
        writeValue(variableList[static_cast<size_t>(v)]);
        variableDirty[static_cast<size_t>(v)] = 0;
    }
    dirty.clear();
}

void ValueChangeDump::writeValue(const DumpVariable &v) {
    const SignalValues current = phaseThree->currentSignals;
    room(v.bits.size() + v.code.size() + 4);
    char *out = buffer.data() + used;
    // A one-bit variable is a scalar change: the vector form of one bit is
    // refused by waveform viewers.
    if (v.bits.size() == 1) {
        *out++ = scalarLetter(current[v.bits[0]]);
    } else {
        *out++ = 'b';
        for (const int s : v.bits)
            *out++ = vectorLetter(current[s]);
        *out++ = ' ';
    }
    out = std::copy(v.code.begin(), v.code.end(), out);
    *out++ = '\n';
    used = static_cast<size_t>(out - buffer.data());
}

void ValueChangeDump::stamp(unsigned long dumpTime) {
    if (stamped && dumpTime == lastStamp)
        return;
    room(sizeof leadingDigits + 6);
    char *out = buffer.data() + used;
    *out++ = '#';
    if (dumpTime < stampUnit) {
        out = std::to_chars(out, out + 21, dumpTime).ptr;
    } else {
        // Successive stamps share their leading digits, converted once for
        // many stamps; the last four come from a table of digit pairs.
        const unsigned long leading = dumpTime / stampUnit;
        const auto last = static_cast<unsigned>(dumpTime % stampUnit);
        if (leading != leadingValue || leadingLength == 0) {
            leadingLength = static_cast<int>(
                std::to_chars(leadingDigits, leadingDigits + sizeof leadingDigits, leading).ptr -
                leadingDigits);
            leadingValue = leading;
        }
        std::memcpy(out, leadingDigits, sizeof leadingDigits);
        out += leadingLength;
        std::memcpy(out, digitPairs + 2 * (last / 100), 2);
        std::memcpy(out + 2, digitPairs + 2 * (last % 100), 2);
        out += 4;
    }
    *out++ = '\n';
    used = static_cast<size_t>(out - buffer.data());
    lastStamp = dumpTime;
    stamped = true;
}

void ValueChangeDump::put(const std::string &text) {
    room(text.size());
    std::copy(text.begin(), text.end(), buffer.begin() + static_cast<long>(used));
    used += text.size();
}

void ValueChangeDump::room(size_t bytes) {
    if (used + bytes > buffer.size())
        flushBuffer();
    if (bytes > buffer.size())
        buffer.resize(bytes); // a vector wider than the buffer (never while writeChanges holds it)
}

void ValueChangeDump::flushBuffer() {
    if (file && !failed && used > 0) {
        if (!writeFully(fileno(file), buffer.data(), used)) {
            failWriting(errno);
        } else {
            if (const size_t cut = lastStepEnd(buffer.data(), used); cut != noStepEnd)
                lastCut = flushed + cut;
            flushed += used;
        }
    }
    used = 0;
}

void ValueChangeDump::failWriting(int error) {
    failed = true;
    // What reached a regular file may end inside a time step, or inside a
    // line: the file is cut back to the last step that reached it whole.
    const int fd = fileno(file);
    struct stat status = {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        const auto size = static_cast<unsigned long long>(status.st_size);
        const size_t reached =
            size > flushed ? static_cast<size_t>(std::min<unsigned long long>(size - flushed, used)) : 0;
        const size_t cut = lastStepEnd(buffer.data(), reached);
        if (ftruncate(fd, static_cast<off_t>(cut != noStepEnd ? flushed + cut : lastCut)) != 0) {
            // The cut is a courtesy: the failure is reported either way.
        }
    }
    noteWriteFailure("waveform to " + name, error);
}

void ValueChangeDump::finish(bool headerIfMissing) {
    if (!file)
        return;
    if (!headerWritten && headerIfMissing && phaseTwo && phaseThree) {
        if (!declared)
            declare();
        writeHeader();
    }
    flushBuffer();
    if (std::fclose(file) != 0 && !failed)
        noteWriteFailure("waveform to " + name, errno);
    file = nullptr;
}

void openValueChangeDump() {
    if (vcdFileName.empty()) {
        if (vcdAllSignals)
            std::cerr << "Option -A ignored: it needs -V.\n";
        return;
    }
    if (isStandardOutput(vcdFileName))
        rejectDumpFile(vcdFileName + " is where standard output goes");
    std::FILE *file = std::fopen(vcdFileName.c_str(), "w");
    if (!file)
        rejectDumpFile("cannot write " + vcdFileName + " (" + std::strerror(errno) + ")");
    // Everything is gathered in the dump's own buffer first: a second copy
    // through the stream's buffer would only cost time.
    std::setvbuf(file, nullptr, _IONBF, 0);
    closeValueChangeDump(); // an earlier run's, in a process that runs several
    valueChangeDump = new ValueChangeDump(file, vcdAllSignals != 0, vcdFileName);
    static const bool closedAtExit = std::atexit(closeAtExit) == 0;
    (void)closedAtExit;
}

void closeValueChangeDump() {
    if (!valueChangeDump)
        return;
    valueChangeDump->finish(true);
    delete valueChangeDump;
    valueChangeDump = nullptr;
}
