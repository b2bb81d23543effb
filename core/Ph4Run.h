// The parts of the main loop (PhaseFour::run), each usable on its own so that
// a run can be reproduced or measured piece by piece.
#pragma once

// Replays the -F string through the function-key operations, then the -K
// string through the cursor-key operations, a character c acting as code
// c - '0'.
void replayKeyStrings();

// (The first drawing, drawFirstTime, is the display's: display/Display.h.)

// The reset to time zero followed by every keyboard source driving its
// initial level, in index order: the start of a run and every restart.
void restartAtTimeZero();

// The steps that follow the start-up, until done is set (also by a step that
// finds time unable to advance) or the stop time has passed; without a
// window also when nothing can change any more (the queue is empty and
// nothing is activated, or the run is halted).  Only a run with a window
// waits for the slow-down.
void simulate();
