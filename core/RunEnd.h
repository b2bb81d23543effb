// The ends of a run that come from outside the circuit: SIGINT and SIGTERM,
// a reader of the output that went away, an output that cannot be written,
// and a lost X connection.  Each ends the run as F10 does, at a step
// boundary, and is reported with the simulated time reached and an exit
// status of its own.
#pragma once

#include <atomic>
#include <csignal>
#include <cstddef>
#include <string>

// Non-zero once something asked the run to end early: the step loops read it
// at every step boundary and stop.  Set by the signal handlers (which do
// nothing else) and by a failed write.
extern volatile std::sig_atomic_t stopRequested;

// The latest time at which a stretch of unattended steps may start a step.
// The kernel sets it at the start of a stretch; a stop request lowers it to
// 0, so that the stretch's own bound on time ends it at the next step
// boundary, at no cost per step.
extern std::atomic<unsigned long> stepStartLimit;
static_assert(std::atomic<unsigned long>::is_always_lock_free, "set from a signal handler");

// Sets stepStartLimit to limit, or to 0 when a stop was requested meanwhile.
void limitStepStarts(unsigned long limit);

// Installs the handlers of SIGINT, SIGTERM and SIGPIPE.  The first SIGINT or
// SIGTERM only sets stopRequested; a second SIGINT or SIGTERM before the run
// has ended ends the process at once with status 128 + its number.  SIGPIPE
// also ends the run at its next step boundary, so that a write to a reader
// that went away fails with a message instead of killing the process.
void installStopSignals();

// Records that the output `what` (a file name, or a description) could not be
// written, error being errno's value, and asks the run to stop.  Only the
// first failure is kept.
void noteWriteFailure(const std::string &what, int error);

// Writes length bytes to descriptor fd, retrying after interruptions and short
// writes; false with errno set when the system refused some of them.
bool writeFully(int fd, const char *text, std::size_t length);

// Writes text to standard output in full (after anything std::cout holds);
// a failure is recorded through noteWriteFailure, naming standard output.
void writeToStandardOutput(const std::string &text, const char *what);

// Writes the -s summary (every probe's line) to standard output, checked.
void writeRunSummary();

// The end of a run: writes the line saying why it ended early, if it did (an
// interruption, a failed write), with the simulated time reached, and
// returns the exit status: 130 for SIGINT, 143 for SIGTERM, 1 for a failed
// write or a reader that went away, 0 for an ordinary end.
int reportRunEnd(unsigned long timeReached);

// Forgets the stop request and the recorded failure (a process that runs
// several circuits, such as the tests).
void clearRunEnd();

// The X connection was lost: writes "The X connection was lost: ..." with the
// simulated time, the summary when -s asked for it, and ends the process with
// status 1 (the dump is closed by the exit).
[[noreturn]] void endOnLostDisplay();
