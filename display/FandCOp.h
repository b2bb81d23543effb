// The function-key and cursor-key operations, shared by the window's key
// handling and the replay of the -F and -K strings at the start of a run
// (FunctionKeyOperate and CursorKeyOperate: display/Display.h).
#pragma once

#include "display/Display.h"

// The function codes of the window's own toggles, the value readout and the
// legend (Control-v and Control-k): beyond every function key and replay
// character.
constexpr int readoutCode = 100, legendCode = 101;
