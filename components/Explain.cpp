// The explanation of a value that is not binary: the chain of causes, the
// names it can be asked for by, and the end of the run.
#include "components/Explain.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "components/ExplainRules.h"
#include "components/Registry.h"
#include "core/Ph2.h"
#include "core/Ph3.h"
#include "core/cmdLine.h"

using namespace explain;

namespace {

// ---- The chain --------------------------------------------------------------------

// A signal at a time whose line is still to be written, at its depth.
struct Pending {
    Cause cause;
    int depth;
};

// The chains are walked with a stack of their own rather than one call per
// step: a circuit may be tens of thousands of gates deep.  Each step is
// written before its causes, and the causes in their order, as a depth-first
// walk does.
class Chain {
public:
    Chain(std::ostream &out, int depthLimit, int lineLimit, std::vector<int> &roots)
        : out(out), depthLimit(depthLimit), lineLimit(lineLimit), roots(roots) {}

    // Writes the chain of signal s at time t, its first line at depth 1.
    // Past the line limit the chain is only counted.
    void explain(int s, uint64_t t) {
        std::vector<Pending> pending{{{s, t}, 1}};
        while (!pending.empty()) {
            const Pending step = pending.back();
            pending.pop_back();
            const std::vector<Cause> causes = writeStep(step.cause, step.depth);
            for (auto cause = causes.rbegin(); cause != causes.rend(); ++cause)
                pending.push_back({*cause, step.depth + 1});
        }
    }

    // Says how many causes the line limit left out, if any.
    void finish() {
        if (leftOver > 0)
            out << "  ... " << leftOver << (leftOver == 1 ? " more cause" : " more causes")
                << " left out (at most " << lineLimit << " lines per name)\n";
    }

private:
    std::ostream &out;
    const int depthLimit;
    const int lineLimit;
    std::vector<int> &roots;
    const Drivers drivers;
    std::set<std::pair<int, int>> explained; // (signal, value) already written
    int written = 0;                         // lines written
    int leftOver = 0;                        // causes counted past the line limit

    // Writes the line of one step, indented by depth, and returns the causes
    // to follow below it (none at a root, at a step explained above, at the
    // depth limit and past the line limit, where they are counted instead).
    std::vector<Cause> writeStep(const Cause &step, int depth) {
        const int s = step.signal;
        const uint64_t t = step.time;
        if (written >= lineLimit) {
            leftOver += count({step}, explained);
            return {};
        }
        ++written;
        const HeldValue span = spanOf(s, t);
        std::string line = std::string(static_cast<size_t>(2 * depth), ' ') + nameOf(s);
        if (t >= now())
            line += " is " + valueName(span.value) + " since " + std::to_string(span.since);
        else
            line += " was " + valueName(span.value) + " at " + std::to_string(t) + " (since " +
                    std::to_string(span.since) + ")";
        if (!span.known)
            line += " [older changes forgotten]";
        const auto key = std::make_pair(s, static_cast<int>(span.value));
        if (explained.count(key) != 0) {
            out << line << ": explained above\n";
            return {};
        }
        explained.insert(key);
        Finding f = findingFor(drivers, s, t, span);
        out << line << ": " << f.driver << ": " << f.detail << '\n';
        for (const int c : f.rootComponents)
            if (std::find(roots.begin(), roots.end(), c) == roots.end())
                roots.push_back(c);
        if (!f.causes.empty() && depth + 1 > depthLimit) {
            std::set<std::pair<int, int>> counted = explained;
            const int left = count(f.causes, counted);
            out << std::string(static_cast<size_t>(2 * depth + 2), ' ') << "... " << left
                << (left == 1 ? " more cause" : " more causes") << " left out (depth limit " << depthLimit
                << ")\n";
            return {};
        }
        return std::move(f.causes);
    }

    // The lines the chains of causes would take, in order, not counting those
    // in seen (to which the counted ones are added).
    int count(const std::vector<Cause> &causes, std::set<std::pair<int, int>> &seen) {
        int lines = 0;
        std::vector<Cause> pending(causes.rbegin(), causes.rend());
        while (!pending.empty()) {
            const Cause cause = pending.back();
            pending.pop_back();
            const HeldValue span = spanOf(cause.signal, cause.time);
            if (!seen.insert({cause.signal, static_cast<int>(span.value)}).second)
                continue;
            ++lines;
            const std::vector<Cause> next = findingFor(drivers, cause.signal, cause.time, span).causes;
            pending.insert(pending.end(), next.rbegin(), next.rend());
        }
        return lines;
    }
};

// The bits of a probe, most significant first.
std::vector<int> probeBits(int c) {
    std::vector<int> bits = dataPins(c);
    std::reverse(bits.begin(), bits.end());
    return bits;
}

std::string heading(int c) {
    return std::string(phaseTwo->decal[c]) + " at " + std::string(phaseTwo->rcpos[c]);
}

// The probes, in component order.
std::vector<int> probes() {
    std::vector<int> found;
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        if (isProbe(c))
            found.push_back(c);
    return found;
}

// The value of bits as a probe shows it: a name for one bit, else one
// character per bit.
std::string shown(const std::vector<int> &bits) {
    if (bits.size() == 1)
        return valueName(phaseThree->currentSignals[bits[0]]);
    std::string text;
    for (const int s : bits)
        text += valueLetter(phaseThree->currentSignals[s]);
    return text;
}

// ---- Names that stand for nothing ---------------------------------------------

// How many of the nearest names a name that stands for nothing is shown with.
constexpr size_t nearestNamesShown = 5;

// A name that can be explained, and what it stands for.
struct KnownName {
    std::string name;
    std::string what;
};

// The bus a signal's name belongs to: the name without its index ("mbr" for
// "mbr[3]"; every signal is named after its bus and bit).
std::string busName(const std::string &signalName) {
    return signalName.substr(0, signalName.rfind('['));
}

// The names that can be explained, each once: the probe labels, the bus
// names and, for a name asking for one bit, the name of every signal.
std::vector<KnownName> knownNames(bool bits) {
    std::vector<KnownName> names;
    std::set<std::string> seen;
    const auto add = [&](const std::string &name, const std::string &what) {
        if (seen.insert(name).second)
            names.push_back({name, what});
    };
    for (const int c : probes())
        add(phaseTwo->decal[c], "probe at " + std::string(phaseTwo->rcpos[c]));
    std::vector<std::string> buses;
    std::map<std::string, int> width;
    for (const StoredText &signal : phaseTwo->signalNames) {
        const std::string bus = busName(signal.c_str());
        if (width[bus]++ == 0)
            buses.push_back(bus);
    }
    for (const std::string &bus : buses)
        add(bus, width[bus] == 1 ? "signal" : "bus of " + std::to_string(width[bus]) + " signals");
    if (bits)
        for (const StoredText &signal : phaseTwo->signalNames)
            add(signal.c_str(), "signal");
    return names;
}

// The number of characters to insert, delete or replace to turn a into b,
// upper and lower case alike.
size_t editDistance(const std::string &a, const std::string &b) {
    const auto same = [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    };
    std::vector<size_t> row; // from a's first i characters to b's first j
    for (size_t j = 0; j <= b.size(); ++j)
        row.push_back(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t replaced = diagonal + (same(a[i - 1], b[j - 1]) ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({replaced, row[j] + 1, row[j - 1] + 1});
        }
    }
    return row[b.size()];
}

// Whether a known name at distance d from name is near it: a slip of one or
// two characters, or of up to a third of a longer name.
bool near(size_t d, const std::string &name) {
    return d <= std::max<size_t>(2, name.size() / 3);
}

// What -w says of a name that stands for nothing: that, and the names the
// circuit has that are near it, one a line as -R lists its ROMs (the nearest
// first, probes before buses before bits among equals; the nearest there
// are when none is near).
std::string unknownNameMessage(const std::string &name) {
    const std::vector<KnownName> names = knownNames(name.find('[') != std::string::npos);
    std::vector<std::pair<size_t, size_t>> ranked; // (distance, index in names)
    for (const KnownName &known : names)
        ranked.push_back({editDistance(name, known.name), ranked.size()});
    std::sort(ranked.begin(), ranked.end());
    ranked.resize(std::min(ranked.size(), nearestNamesShown));
    const bool anyNear = !ranked.empty() && near(ranked.front().first, name);
    std::string message = "Option -w rejected: no probe label or signal is named " + name + ".";
    if (!ranked.empty())
        message += "\nThe nearest names are:";
    for (const auto &[distance, index] : ranked) {
        if (anyNear && !near(distance, name))
            break;
        message += "\n  " + names[index].name + "  " + names[index].what;
    }
    return message;
}

} // namespace

std::vector<ExplainedGroup> bitsNamed(const std::string &name) {
    std::vector<ExplainedGroup> groups;
    const std::vector<int> all = probes();
    for (const int c : all)
        if (name == std::string_view(phaseTwo->decal[c]))
            groups.push_back({heading(c), probeBits(c)});
    if (!groups.empty())
        return groups;
    for (const int c : all)
        if (std::string_view(phaseTwo->decal[c]).rfind(name + "[", 0) == 0)
            groups.push_back({heading(c), probeBits(c)});
    if (!groups.empty())
        return groups;
    ExplainedGroup bus{name, {}};
    int s = 0;
    for (const StoredText &signal : phaseTwo->signalNames) {
        if (name == std::string_view(signal))
            bus.bits.push_back(s);
        ++s;
    }
    if (bus.bits.empty())
        for (int bit = phaseTwo->numberOfSignals - 1; bit >= 0; --bit)
            if (std::string_view(phaseTwo->signalNames[bit]).rfind(name + "[", 0) == 0)
                bus.bits.push_back(bit);
    if (!bus.bits.empty())
        groups.push_back(bus);
    return groups;
}

ExplainedGroup paneGroup(int cind) {
    if (isProbe(cind))
        return {heading(cind), probeBits(cind)};
    if (phaseTwo->drawDynamic[cind] != nullptr && phaseTwo->numberOfOutputs[cind] > 0)
        return {heading(cind), {phaseTwo->outputs[cind][0]}};
    return {};
}

void explainGroup(std::ostream &out, const ExplainedGroup &group, std::vector<int> &roots, int depthLimit) {
    const std::string value = shown(group.bits);
    const bool binary = std::all_of(group.bits.begin(), group.bits.end(),
                                    [](int s) { return isBinary(phaseThree->currentSignals[s]); });
    out << group.heading << " = " << value << " at time " << now();
    if (binary) {
        out << ": every bit is ZERO or ONE\n";
        return;
    }
    out << ", why:\n";
    Chain chain(out, depthLimit, explanationLineLimit, roots);
    for (const int s : group.bits)
        if (!isBinary(phaseThree->currentSignals[s]))
            chain.explain(s, now());
    chain.finish();
}

void checkExplainNames(const std::vector<std::string> &names) {
    bool allKnown = true;
    for (const std::string &name : names)
        if (bitsNamed(name).empty()) {
            std::cerr << unknownNameMessage(name) << "\n";
            allKnown = false;
        }
    if (!allKnown)
        std::exit(1);
}

void writeExplanations(std::ostream &out) {
    std::vector<int> roots;
    for (const std::string &name : explainNames)
        for (const ExplainedGroup &group : bitsNamed(name))
            explainGroup(out, group, roots);
}
