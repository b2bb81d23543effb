// The component registry's table and its checks.
#include "components/Registry.h"

#include "components/SecEvTyp.h"
#include "components/msiRT.h"
#include "components/ssiRT.h"
#include "components/vlsiRT.h"
#include "core/Ph2.h"
#include "display/iconData.h"

namespace {

// A memory's read ports change at its read delay, both ways.
constexpr FamilyDelays ramDelays{static_cast<int>(ramReadDelay), static_cast<int>(ramReadDelay)};

using gate_rules::andRule, gate_rules::orRule, gate_rules::nandRule, gate_rules::norRule;
using gate_rules::iandRule, gate_rules::inandRule, gate_rules::ciorRule, gate_rules::cinorRule;
using K = ComponentKind;
using F = InPlaceForm;
using P = ProbeReading;
using E = ExplainRule;

} // namespace

// clang-format off
constexpr ComponentRow componentRows[numberOfComponentKinds] = {
//   kind                       name                      label         icon        delays      in place    evaluate                draw         key           probe         explained as      folding
    {K::andGate,                "And",                    "And",        andIcon,    ssiDelays,  F::andGate, andGate,                nullptr,     nullptr,      P::none,      E::gate,          &andRule},
    {K::orGate,                 "Or",                     "Or",         orIcon,     ssiDelays,  F::orGate,  orGate,                 nullptr,     nullptr,      P::none,      E::gate,          &orRule},
    {K::nand,                   "Nand",                   "Nand",       nandIcon,   ssiDelays,  F::nand,    nand,                   nullptr,     nullptr,      P::none,      E::gate,          &nandRule},
    {K::nor,                    "Nor",                    "Nor",        norIcon,    ssiDelays,  F::nor,     nor,                    nullptr,     nullptr,      P::none,      E::gate,          &norRule},
    {K::notGate,                "Not",                    "Not",        notIcon,    ssiDelays,  F::notGate, notGate,                nullptr,     nullptr,      P::none,      E::gate,          nullptr},
    {K::xorGate,                "Xor",                    "Xor",        xorIcon,    ssiDelays,  F::xorGate, xorGate,                nullptr,     nullptr,      P::none,      E::gate,          nullptr},
    {K::xnor,                   "Xnor",                   "Xnor",       xnorIcon,   ssiDelays,  F::xnor,    xnor,                   nullptr,     nullptr,      P::none,      E::gate,          nullptr},
    {K::iand,                   "Iand",                   "Iand",       iAndIcon,   ssiDelays,  F::iand,    iand,                   nullptr,     nullptr,      P::none,      E::gate,          &iandRule},
    {K::inand,                  "Inand",                  "Inand",      iNandIcon,  ssiDelays,  F::inand,   inand,                  nullptr,     nullptr,      P::none,      E::gate,          &inandRule},
    {K::cior,                   "CiOr",                   "CiOr",       CiOrIcon,   ssiDelays,  F::cior,    cior,                   nullptr,     nullptr,      P::none,      E::gate,          &ciorRule},
    {K::cinor,                  "CiNor",                  "CiNor",      CiNorIcon,  ssiDelays,  F::cinor,   cinor,                  nullptr,     nullptr,      P::none,      E::gate,          &cinorRule},
    {K::compare,                "MultiLevelCompare",      "mLevCmp",    rectIcon,   ssiDelays,  F::compare, multiLevelCompare,      nullptr,     nullptr,      P::none,      E::gate,          nullptr},
    {K::tsb,                    "Tsb",                    "Tsb",        tsbIcon,    ssiDelays,  F::called,  tsb,                    nullptr,     nullptr,      P::none,      E::tsb,           nullptr},
    {K::probe,                  "Probe",                  "Probe",      circleIcon, ssiDelays,  F::called,  nullptr,                probe,       nullptr,      P::oneBit,    E::drivesNothing, nullptr},
    {K::probeByte,              "ProbeByte",              "ProbeByte",  circleIcon, ssiDelays,  F::called,  nullptr,                probebyte,   nullptr,      P::eightBits, E::drivesNothing, nullptr},
    {K::probeByteH,             "ProbeByteH",             "ProbeByteH", circleIcon, ssiDelays,  F::called,  nullptr,                probebyteh,  nullptr,      P::eightBits, E::drivesNothing, nullptr},
    {K::switchSource,           "Switch",                 "Switch",     rectIcon,   ssiDelays,  F::called,  nullptr,                switchPane,  toggleSwitch, P::none,      E::source,        nullptr},
    {K::pulser,                 "Pulser",                 "Pulser",     rectIcon,   ssiDelays,  F::called,  nullptr,                switchPane,  togglePulser, P::none,      E::source,        nullptr},
    {K::powerOn,                "PowerOn",                "PowerOn",    rectIcon,   ssiDelays,  F::called,  powerOn,                switchPane,  nullptr,      P::none,      E::source,        nullptr},
    {K::clock,                  "Clock",                  "Clock",      rectIcon,   ssiDelays,  F::called,  clock,                  switchPane,  nullptr,      P::none,      E::source,        nullptr},
    {K::stop,                   "Stop",                   "Stop",       rectIcon,   ssiDelays,  F::called,  stop,                   nullptr,     nullptr,      P::none,      E::drivesNothing, nullptr},
    {K::module,                 "Module",                 "Module",     rectIcon,   ssiDelays,  F::called,  nullptr,                nullptr,     nullptr,      P::none,      E::drivesNothing, nullptr},
    {K::space,                  "Space",                  "",           spaceIcon,  ssiDelays,  F::called,  nullptr,                nullptr,     nullptr,      P::none,      E::drivesNothing, nullptr},
    {K::adder,                  "Adder",                  "Adder",      rectIcon,   msiDelays,  F::called,  adder,                  nullptr,     nullptr,      P::none,      E::adder,         nullptr},
    {K::counter,                "Counter",                "Counter",    rectIcon,   msiDelays,  F::called,  counter,                nullptr,     nullptr,      P::none,      E::counter,       nullptr},
    {K::clockGate,              "Gate",                   "Gate",       rectIcon,   msiDelays,  F::called,  gate,                   nullptr,     nullptr,      P::none,      E::clockGate,     nullptr},
    {K::dff,                    "Dff",                    "Dff",        rectIcon,   msiDelays,  F::flipFlop, dff,                   nullptr,     nullptr,      P::none,      E::dff,           nullptr},
    {K::jkff,                   "Jkff",                   "Jkff",       rectIcon,   msiDelays,  F::called,  jkff,                   nullptr,     nullptr,      P::none,      E::jkff,          nullptr},
    {K::increment,              "Increment",              "Increment",  rectIcon,   msiDelays,  F::called,  increment,              nullptr,     nullptr,      P::none,      E::incrementer,   nullptr},
    {K::mux,                    "Mux",                    "Mux",        rectIcon,   msiDelays,  F::called,  mux,                    nullptr,     nullptr,      P::none,      E::mux,           nullptr},
    {K::decoder,                "Decoder",                "Decoder",    rectIcon,   msiDelays,  F::called,  decoder,                nullptr,     nullptr,      P::none,      E::decoder,       nullptr},
    {K::encoder,                "Encoder",                "Encoder",    rectIcon,   msiDelays,  F::called,  encoder,                nullptr,     nullptr,      P::none,      E::encoder,       nullptr},
    {K::enabledRegister,        "Register",               "Register",   rectIcon,   msiDelays,  F::called,  enabledRegister,        nullptr,     nullptr,      P::none,      E::reg,           nullptr},
    {K::bitAddressibleRegister, "BitAddressibleRegister", "BitAddrReg", rectIcon,   msiDelays,  F::called,  bitAddressibleRegister, nullptr,     nullptr,      P::none,      E::bitReg,        nullptr},
    {K::stderrOutput,           "Stderr",                 "Stderr",     rectIcon,   msiDelays,  F::called,  _stderr,                nullptr,     nullptr,      P::none,      E::drivesNothing, nullptr},
    {K::intOut,                 "IntOut",                 "IntOut",     rectIcon,   msiDelays,  F::called,  intOut,                 nullptr,     nullptr,      P::none,      E::drivesNothing, nullptr},
    {K::hexOut,                 "HexOut",                 "HexOut",     rectIcon,   msiDelays,  F::called,  hexOut,                 nullptr,     nullptr,      P::none,      E::drivesNothing, nullptr},
    {K::registerFile,           "RegisterFile",           "RegFile",    rectIcon,   ramDelays,  F::called,  multiPortRam,           nullptr,     nullptr,      P::none,      E::ram,           nullptr},
    {K::ram,                    "Ram",                    "Ram",        rectIcon,   ramDelays,  F::called,  multiPortRam,           nullptr,     nullptr,      P::none,      E::ram,           nullptr},
    {K::rom,                    "Rom",                    "Rom",        rectIcon,   vlsiDelays, F::called,  rom,                    nullptr,     nullptr,      P::none,      E::rom,           nullptr},
    {K::other,                  "Component",              "Component",  rectIcon,   ssiDelays,  F::called,  nullptr,                nullptr,     nullptr,      P::none,      E::notFollowed,   nullptr},
};
// clang-format on

static_assert(rowsInKindOrderWithRules(componentRows, numberOfComponentKinds),
              "each kind has its row, in kind order, with an explanation rule");

const ComponentRow &rowOf(int cind) {
    return componentRow(phaseTwo->records[cind].kind);
}

bool isProbe(int cind) {
    return rowOf(cind).probe != ProbeReading::none;
}

StandardComponent registeredAs(ComponentKind kind) {
    const ComponentRow &row = componentRow(kind);
    StandardComponent c;
    c.decal = row.label;
    c.icon = row.icon;
    c.evaluate = row.evaluate;
    c.kind = kind;
    c.inPlace = row.inPlace;
    c.draw = row.draw;
    c.key = row.key;
    return c;
}

StandardComponent registeredAs(ComponentKind kind, const Signal &dataIn, const Signal &controlIn,
                               const Signal &out) {
    StandardComponent c = registeredAs(kind);
    c.dataIn = &dataIn;
    c.controlIn = &controlIn;
    c.out = &out;
    return c;
}
