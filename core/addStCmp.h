// Registration of one captured component.
#pragma once

#include "core/CompKind.h"
#include "core/CompList.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

// What a component function registers, as named fields.  Every field has the
// value of "none", so a capture sets only what its component has:
//
//     StandardComponent c;
//     c.decal = "Clock";
//     c.icon = rectIcon;
//     c.evaluate = clock;
//     c.out = &out;
//     addStandardComponent(c, sd);
struct StandardComponent {
    const char *decal = "";    // the default label; the SD's label overrides it
    const int *icon = nullptr; // left out while visibleFlag is 0
    ComponentFunction evaluate = nullptr;
    // What it is: its row in the component registry (components/Registry.h),
    // from which the capture functions in components/ take it; a circuit's own
    // component stays other.
    ComponentKind kind = ComponentKind::other;
    // The form its row gives the step; registration fits it to the pins
    // (core/InPlace.h).  A circuit's own component is called.
    InPlaceForm inPlace = InPlaceForm::called;
    ComponentFunction draw = nullptr; // draws the value panes
    ComponentFunction key = nullptr;  // at start, at each restart and on its key
    // Kept because the registration interface names it; never called.
    ComponentFunction heapQueueEventTriggered = nullptr;
    SecondaryEvaluatePointer secondaryEvaluate{};
    int outputOverloadable = 0;     // outputs may be shared with other drivers
    int selfActivating = 0;         // re-evaluated when its own outputs change
    const Signal *dataIn = nullptr; // null: no such pins
    const Signal *controlIn = nullptr;
    const Signal *out = nullptr;
    ValueSpan<int> integerParameters;
    ValueSpan<unsigned char> byteParameters;
    int numberOfInternal32BitVariables = 0;
    int numberOfInternal16BitVariables = 0;
    int numberOfInternal8BitVariables = 0;
};

// The fields most captures set: label, icon, evaluate function and the three
// buses (an empty bus for a group it has none of), every other field "none"
// for the caller to set.  The buses must live until the registration.
StandardComponent componentOn(const char *decal, const int *icon, ComponentFunction evaluate,
                              const Signal &dataIn, const Signal &controlIn, const Signal &out);

// Appends the component to phaseOne's list at the next component index,
// keeping its own copies of the pins and parameters.
void addStandardComponent(const StandardComponent &component, const SD &sd);
