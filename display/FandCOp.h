// The function-key and cursor-key operations, shared by the window's key
// handling and the replay of the -F and -K strings at the start of a run.
#pragma once

// The slowest slow-down level: 2^20 ms, about 17 minutes, per step.  Capped
// so that the per-step wait count always fits an int.
constexpr int maxStallLevel = 20;

// The function codes of the window's own toggles, the value readout and the
// legend (Control-v and Control-k): beyond every function key and replay
// character.
constexpr int readoutCode = 100, legendCode = 101;

// Acts on one function code (F1 ... F35 give 1 ... 35; a replay character c
// gives c - '0'): restart, display toggles, level of detail, redraw, exit.
// Unknown codes are reported on standard error.
void FunctionKeyOperate(int keyChar);

// Acts on one cursor code (Home -1, Left 0, Up 1, Right 2, Down 3, ...):
// slower, full speed, faster, halt/resume.  Unknown codes are reported on
// standard error.
void CursorKeyOperate(int keyChar);
