// Capture functions of the medium-scale and console components.
#include "components/msiPh1.h"

#include <sstream>

#include "components/CapErr.h"
#include "components/SecEvTyp.h"
#include "components/msiRT.h"
#include "core/addStCmp.h"
#include "display/iconData.h"

// ---- Console output components ----

namespace {

// What tells the three console components apart at capture: the name their
// length message gives, their decal and runtime, and the one bus whose length
// is checked.
struct ConsoleKind {
    const char *name;
    ComponentFunction evaluate;
    const char *checkedBus;
    int checkedLength;
};

// clang-format off
//                             name / decal  evaluate  checked bus  its length
const ConsoleKind stderrKind  {"Stderr",     _stderr,  "in",        10};
const ConsoleKind intOutKind  {"IntOut",     intOut,   "control",   2};
const ConsoleKind hexOutKind  {"HexOut",     hexOut,   "control",   2};
// clang-format on

// Checks the length of the checked bus (a counted error) and registers the
// component with the given data and control inputs and no outputs.
void captureConsole(const ConsoleKind &kind, const SD &sd, const Signal &checked, const Signal &dataIn,
                    const Signal &controlIn) {
    if (checked.length != kind.checkedLength) {
        std::ostringstream message;
        message << "I/O length error--" << kind.name << "() at " << positionOf(sd);
        listLengths(message, {{kind.checkedBus, &checked}});
        message << " should be " << kind.checkedLength << ".";
        countedCaptureError(message);
    }
    StandardComponent c;
    c.decal = kind.name;
    c.icon = rectIcon;
    c.evaluate = kind.evaluate;
    c.dataIn = &dataIn;
    c.controlIn = &controlIn;
    addStandardComponent(c, sd);
}

} // namespace

void Stderr(const SD &sd, const Signals &in) {
    captureConsole(stderrKind, sd, in, in, noSignals());
}

void IntOut(const SD &sd, const Signals &control, const Signals &data) {
    captureConsole(intOutKind, sd, control, data, control);
}

void HexOut(const SD &sd, const Signals &control, const Signals &data) {
    captureConsole(hexOutKind, sd, control, data, control);
}
