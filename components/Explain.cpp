// The explanation of a value that is not binary: the chain of causes, the
// names it can be asked for by, and the end of the run.
#include "components/Explain.h"

#include <algorithm>
#include <iostream>
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
        Finding f = findingFor(s, t, span);
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
    static int count(const std::vector<Cause> &causes, std::set<std::pair<int, int>> &seen) {
        int lines = 0;
        std::vector<Cause> pending(causes.rbegin(), causes.rend());
        while (!pending.empty()) {
            const Cause cause = pending.back();
            pending.pop_back();
            const HeldValue span = spanOf(cause.signal, cause.time);
            if (!seen.insert({cause.signal, static_cast<int>(span.value)}).second)
                continue;
            ++lines;
            const std::vector<Cause> next = findingFor(cause.signal, cause.time, span).causes;
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

} // namespace

std::vector<ExplainedGroup> bitsNamed(const std::string &name) {
    std::vector<ExplainedGroup> groups;
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        if (isProbe(c) && name == std::string_view(phaseTwo->decal[c]))
            groups.push_back({heading(c), probeBits(c)});
    if (!groups.empty())
        return groups;
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c)
        if (isProbe(c) && std::string_view(phaseTwo->decal[c]).rfind(name + "[", 0) == 0)
            groups.push_back({heading(c), probeBits(c)});
    if (!groups.empty())
        return groups;
    ExplainedGroup bus{name, {}};
    for (int s = 0; s < phaseTwo->numberOfSignals; ++s)
        if (name == std::string_view(phaseTwo->signalNames[s]))
            bus.bits.push_back(s);
    if (bus.bits.empty())
        for (int s = phaseTwo->numberOfSignals - 1; s >= 0; --s)
            if (std::string_view(phaseTwo->signalNames[s]).rfind(name + "[", 0) == 0)
                bus.bits.push_back(s);
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

void writeExplanations(std::ostream &out) {
    std::vector<int> roots;
    for (const std::string &name : explainNames) {
        const std::vector<ExplainedGroup> groups = bitsNamed(name);
        if (groups.empty())
            std::cerr << "Option -w: no probe label or signal is named " << name << ".\n";
        for (const ExplainedGroup &group : groups)
            explainGroup(out, group, roots);
    }
    out.flush();
}
