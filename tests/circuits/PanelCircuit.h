// A small panel on a three-by-three grid: a switch (key 'a') and two probes
// of its level, and a module box along the bottom row holding an inverter
// and a probe one level deeper.  The run_panel program runs it headless and
// under the window tests, which also build it in-process and look at its pixels.
#pragma once

#include "components/ssiPh1.h"
#include "core/Schmtc.h"
#include "core/Signal.h"

inline void panel() {
    Signal a(1, "A");
    Signal b(1, "B");
    Switch(SD("aa", nullptr), a, 'a', Zero, "A");
    Probe(SD("ac", nullptr), a, "top");
    Probe(SD("bb", nullptr), a, "centre");
    const SD box("ca-cc", nullptr);
    Module(box, "box", a, b);
    Not(SD(box, "aa", nullptr), a, b);
    Probe(SD(box, "ab", nullptr), b, "inner");
}
