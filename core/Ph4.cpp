// The kernel's shared state.
#include "core/Ph4.h"

std::map<int, int> m;
