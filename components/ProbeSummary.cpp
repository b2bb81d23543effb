// The value summary: a line per probe with its present value.
#include "components/ProbeSummary.h"

#include "components/RTPins.h"
#include "components/Registry.h"
#include "core/Ph2.h"

namespace {

// The bits of a multi-bit probe, most significant first, and its
// hexadecimal value when all of them are binary.
std::string bitsAndHex(int cind) {
    const int n = phaseTwo->numberOfDataInputs[cind];
    std::string bits;
    unsigned value = 0;
    bool allBinary = true;
    for (int i = n - 1; i >= 0; --i) {
        const SignalValue v = dataInput(cind, i);
        bits += valueLetter(v);
        allBinary = allBinary && isBinary(v);
        value = value << 1 | (v == ONE ? 1u : 0u);
    }
    if (!allBinary || n > 32) // the value would not fit
        return bits;
    std::string hex;
    for (int digits = (n + 3) / 4; digits > 0; --digits)
        hex += hexDigits[(value >> (4 * (digits - 1))) & 0xF];
    return bits + " " + hex;
}

} // namespace

std::string probeSummaryLine(int cind) {
    std::string value;
    switch (rowOf(cind).probe) {
    case ProbeReading::oneBit:
        value = signalValueName(dataInput(cind, 0));
        break;
    case ProbeReading::eightBits:
        value = bitsAndHex(cind);
        break;
    case ProbeReading::none:
        return "";
    }
    std::string line(phaseTwo->decal[cind]);
    return line.append(" at ").append(phaseTwo->rcpos[cind]).append(" = ").append(value);
}

void writeProbeSummary(std::ostream &out) {
    for (int c = 0; c < phaseTwo->numberOfComponents; ++c) {
        const std::string line = probeSummaryLine(c);
        if (!line.empty())
            out << line << '\n';
    }
    out.flush();
}
