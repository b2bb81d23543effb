// Registration of one captured component.
#pragma once

#include "core/CompList.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

// Appends a component to phaseOne's list; the SD's decal overrides decal.
void addStandardComponent(ComponentFunction evaluate, SecondaryEvaluatePointer secondaryEvaluate,
                          const int *iconArray, ComponentFunction drawDynamic,
                          ComponentFunction xEventTriggered, ComponentFunction heapQueueEventTriggered,
                          int outputOverloadable, int selfActivating, const char *decal, const SD &sd,
                          const Signal &dataIn, const Signal &controlIn, const Signal &out,
                          int numberOfIntegerParameters, const int *integerParameters,
                          int numberOfByteParameters, const unsigned char *byteParameters,
                          int numberOfInternal32BitVariables, int numberOfInternal16BitVariables,
                          int numberOfInternal8BitVariables);

// The plain-gate form: no secondary, drawing or key functions, no parameters.
void addStandardComponent(ComponentFunction evaluate, const int *iconArray, const char *decal, const SD &sd,
                          const Signal &dataIn, const Signal &controlIn, const Signal &out);
