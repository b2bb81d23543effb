// Small shorthands shared by the computer's build functions.
#pragma once

#include "core/Schmtc.h"
#include "core/Signal.h"

namespace model {

// A fresh one-bit internal signal of a module, named as in the schematic.
inline Signal wire(const char *name) {
    return Signal(1, name);
}

// The place of a component inside the module drawn at coord (one level deeper).
inline SD at(const SD &coord, const char *position) {
    return SD(coord, position, nullptr);
}

} // namespace model
