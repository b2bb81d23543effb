// The main loop.  Placeholder until the interactive run lands: it only
// returns, so a run today captures, converts, checks and ends.
#include "core/Ph4.h"

void PhaseFour::run() {}
