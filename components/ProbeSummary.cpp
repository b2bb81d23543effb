// The value summary: a line per probe with its present value.
#include "components/ProbeSummary.h"

#include "components/RTPins.h"
#include "components/ssiRT.h"
#include "core/Ph2.h"

namespace {

// A bit's character in an eight-bit probe's value, indexed by SignalValue.
constexpr char bitCharacter[] = {'0', 'U', 'X', 'Z', '1'};

bool binary(SignalValue v) {
    return v == ZERO || v == ONE;
}

// The bits of a multi-bit probe, most significant first, and its
// hexadecimal value when all of them are binary.
std::string bitsAndHex(int cind) {
    const int n = phaseTwo->numberOfDataInputs[cind];
    std::string bits;
    unsigned value = 0;
    bool allBinary = true;
    for (int i = n - 1; i >= 0; --i) {
        const SignalValue v = dataInput(cind, i);
        bits += bitCharacter[v];
        allBinary = allBinary && binary(v);
        value = value << 1 | (v == ONE ? 1u : 0u);
    }
    if (!allBinary || n > 32) // the value would not fit
        return bits;
    static const char hexDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (int digits = (n + 3) / 4; digits > 0; --digits)
        hex += hexDigits[(value >> (4 * (digits - 1))) & 0xF];
    return bits + " " + hex;
}

} // namespace

std::string probeSummaryLine(int cind) {
    const ComponentFunction draw = phaseTwo->drawDynamic[cind];
    std::string value;
    if (draw == probe)
        value = signalValueName(dataInput(cind, 0));
    else if (draw == probebyte || draw == probebyteh)
        value = bitsAndHex(cind);
    else
        return "";
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
