// The ends of a run that come from outside the circuit: SIGINT, SIGTERM and
// SIGHUP, a reader of the output that went away, an output that cannot be
// written, and a lost X connection.  Each ends the run as F10 does, at a step
// boundary, and is reported with the simulated time reached and an exit
// status of its own.  Also what a signal does before the run: while the
// circuit's build function runs (which may crash, or never return) and while
// the ROM files are read (which may never finish).
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

// Installs the handlers of SIGINT, SIGTERM, SIGHUP (a closed terminal) and
// SIGPIPE.  The first SIGINT, SIGTERM or SIGHUP only sets stopRequested; a
// second one before the run has ended ends the process at once with status
// 128 + its number.  SIGPIPE also ends the run at its next step boundary, so
// that a write to a reader that went away fails with a message instead of
// killing the process.
void installStopSignals();

// Gives each of the standard descriptors 0, 1 and 2 that is closed a
// placeholder (/dev/null opened for reading), so that no file the program
// opens later takes its number: the summary must not land in the waveform,
// nor the messages.  Writes to a closed output still fail as they would
// (EBADF), and are reported as writes to standard output.
void reserveStandardDescriptors();

// The circuit's build function (the user's code) runs between beginCapture
// and endCapture.  Meanwhile a crash (SIGSEGV, SIGBUS, SIGFPE, SIGILL,
// SIGABRT) writes one line saying that the build function crashed, with the
// signal, the number of components declared and the position of the last
// one, and then ends the process by the signal's default action; and the
// first SIGINT, SIGTERM or SIGHUP says at once that the run ends when the
// build function returns and that a second one ends it now.  endCapture puts
// back the crash handling there was before.
void beginCapture();
void endCapture();

// The ROM files are read between beginRomLoading and endRomLoading.  A read
// may never finish (a FIFO nobody writes to), so meanwhile SIGINT, SIGTERM
// and SIGHUP end the process at once, with one line and status 128 + the
// signal's number.
void beginRomLoading();
void endRomLoading();

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
// returns the exit status: 130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP,
// 1 for a failed write or a reader that went away, 0 for an ordinary end.
int reportRunEnd(unsigned long timeReached);

// Forgets the stop request and the recorded failure (a process that runs
// several circuits, such as the tests).
void clearRunEnd();

// The X connection was lost: writes "The X connection was lost: ..." with the
// simulated time, the summary when -s asked for it, and ends the process with
// status 1 (the dump is closed by the exit).
[[noreturn]] void endOnLostDisplay();
