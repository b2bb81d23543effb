// Checks of a converted circuit for mistakes its author can make that the
// kernel would otherwise pass over in silence.  Both only warn: the run goes
// on as it would without them.
#pragma once

// Warns, on standard error, about every key bound to more than one switch or
// pulser, naming the key and the positions of the first binding (the one the
// key operates) and of the later one (which the key never reaches).
void warnKeysBoundTwice();

// Warns, on standard error, when the build function declared no component:
// there is then nothing to show or simulate, and the run ends at once.
void warnNoComponents();
