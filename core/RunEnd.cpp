// The ends of a run that come from outside the circuit: signals, failed
// writes and a lost X connection; and a crash of the circuit's build
// function, said to be its own.
#include "core/RunEnd.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

#include "components/RunFeatures.h"
#include "core/Ph1.h"
#include "core/Ph4.h"
#include "core/Vcd.h"
#include "core/cmdLine.h"

volatile std::sig_atomic_t stopRequested = 0;
std::atomic<unsigned long> stepStartLimit{0};

namespace {

// What a signal means to the program.
enum class Meaning {
    stop,       // end the run at its next step boundary; a second one ends the process now
    readerGone, // a reader of the output went away: end the run, report it
    crash,      // the program is broken: while the build function runs, say whose fault it is
};

struct HandledSignal {
    int number;
    const char *name;  // as the messages name it
    const char *again; // what a user sends a second time to end the process at once
    Meaning meaning;
};

constexpr HandledSignal handledSignals[] = {
    {SIGINT, "SIGINT", "Ctrl-C", Meaning::stop},    // Ctrl-C
    {SIGTERM, "SIGTERM", "SIGTERM", Meaning::stop}, // kill PID
    {SIGHUP, "SIGHUP", "SIGHUP", Meaning::stop},    // the terminal was closed
    {SIGPIPE, "SIGPIPE", "", Meaning::readerGone},  // a write to a pipe nobody reads
    {SIGSEGV, "SIGSEGV", "", Meaning::crash},       // a bad pointer, or the stack used up
    {SIGBUS, "SIGBUS", "", Meaning::crash},         // a bad address of another kind
    {SIGFPE, "SIGFPE", "", Meaning::crash},         // an integer division by zero
    {SIGILL, "SIGILL", "", Meaning::crash},         // a trap the compiler put in
    {SIGABRT, "SIGABRT", "", Meaning::crash},       // abort(): a failed assertion, an uncaught exception
};
constexpr size_t handledCount = sizeof handledSignals / sizeof handledSignals[0];

// The row of signal number (every handler is installed from one).
const HandledSignal &rowOfSignal(int number) {
    static constexpr HandledSignal unknown{0, "a signal", "signal", Meaning::stop};
    for (const HandledSignal &row : handledSignals)
        if (row.number == number)
            return row;
    return unknown;
}

// What the process is doing, as far as a stop signal is concerned.
enum Stage : int { running, capturing, loadingRoms };
volatile std::sig_atomic_t stage = running;

// The first stop signal once one has arrived; a reader that went away (SIGPIPE).
volatile std::sig_atomic_t interruption = 0;
volatile std::sig_atomic_t readerGone = 0;

// Standard output was closed when the program started (its number holds a
// placeholder since).
bool standardOutputClosed = false;

// The first output that could not be written, and why.
std::string failedOutput;
int failureError = 0;

// A line put together inside a signal handler, where nothing may allocate or
// take a lock: fixed storage (a longer line is cut), one write to standard
// error.
class HandlerLine {
public:
    HandlerLine &operator<<(const char *text) {
        while (*text != '\0' && length < sizeof line - 1)
            line[length++] = *text++;
        return *this;
    }
    HandlerLine &operator<<(int number) {
        char digits[12];
        char *first = digits + sizeof digits - 1;
        *first = '\0';
        unsigned value = number < 0 ? 0u : static_cast<unsigned>(number);
        do
            *--first = static_cast<char>('0' + value % 10);
        while ((value /= 10) != 0);
        return *this << first;
    }
    void writeToStandardError() {
        line[length++] = '\n';
        (void)writeFully(STDERR_FILENO, line, length);
    }

private:
    char line[1024];
    size_t length = 0;
};

// The flag first, then the limit: a stretch that sets the limit looks at the
// flag after it, so one of the two always sees the request.
void requestStop() {
    stopRequested = 1;
    stepStartLimit.store(0, std::memory_order_relaxed);
}

// Mostly only flags are set here; the step loops do the work at a step
// boundary.  A second signal means the user will not wait for that; a read
// of the ROM files may never end, so there the first ends the process; and a
// build function may never return, so there the first says what will happen.
void onStopSignal(int signalNumber) {
    const int savedErrno = errno;
    const HandledSignal &row = rowOfSignal(signalNumber);
    if (interruption != 0)
        _exit(128 + signalNumber);
    if (stage == loadingRoms) {
        (HandlerLine() << "Interrupted by " << row.name
                       << " while the ROM files were read: the run did not start.")
            .writeToStandardError();
        _exit(128 + signalNumber);
    }
    interruption = signalNumber;
    requestStop();
    if (stage == capturing)
        (HandlerLine() << "Interrupted by " << row.name
                       << " while the circuit's build function runs: the run ends when it returns; a second "
                       << row.again << " ends it now.")
            .writeToStandardError();
    errno = savedErrno;
}

void onBrokenPipe(int) {
    readerGone = 1;
    requestStop();
}

// Says how far the capture got, then lets the signal end the process as it
// would have without this handler (installed to be reset on entry).
void onCrashInCapture(int signalNumber) {
    HandlerLine line;
    line << "The circuit's build function crashed (" << rowOfSignal(signalNumber).name << ") ";
    const int count = phaseOne ? phaseOne->componentList.numberOfComponents : 0;
    const ComponentNode *last = phaseOne ? phaseOne->componentList.end : nullptr;
    const char *position = last ? last->graphicPosition.c_str() : "?";
    if (count <= 0)
        line << "before declaring any component.";
    else if (count == 1)
        line << "after declaring 1 component, at " << position << ".";
    else
        line << "after declaring " << count << " components, the last one at " << position << ".";
    line.writeToStandardError();
    raise(signalNumber); // blocked until this returns, then delivered with the default action
}

void install(int signalNumber, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // writes and reads carry on; waits check the flag
    sigaction(signalNumber, &action, nullptr);
}

// The crash handling that was there before the capture, put back after it,
// and the stack the crash line is written on: a build function that recursed
// without end has used up its own.
struct sigaction crashActionsBefore[handledCount];
stack_t signalStackBefore;
alignas(16) char crashStack[64 * 1024];

void installCrashHandlers() {
    stack_t own{};
    own.ss_sp = crashStack;
    own.ss_size = sizeof crashStack;
    sigaltstack(&own, &signalStackBefore);
    for (size_t k = 0; k < handledCount; ++k) {
        if (handledSignals[k].meaning != Meaning::crash)
            continue;
        struct sigaction action {};
        action.sa_handler = onCrashInCapture;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_ONSTACK | SA_RESETHAND;
        sigaction(handledSignals[k].number, &action, &crashActionsBefore[k]);
    }
}

void removeCrashHandlers() {
    for (size_t k = 0; k < handledCount; ++k)
        if (handledSignals[k].meaning == Meaning::crash)
            sigaction(handledSignals[k].number, &crashActionsBefore[k], nullptr);
    sigaltstack(&signalStackBefore, nullptr);
}

// What standard output is, for messages: "standard output", followed by the
// file it goes to when that has a name.
std::string standardOutputName() {
    char target[4096];
    const ssize_t n = standardOutputClosed ? 0 : readlink("/proc/self/fd/1", target, sizeof target - 1);
    if (n <= 0 || target[0] != '/')
        return "standard output";
    return "standard output, " + std::string(target, static_cast<size_t>(n));
}

std::string endsAt(unsigned long time) {
    return "the run ended at simulated time " + std::to_string(time) + ".\n";
}

} // namespace

void installStopSignals() {
    for (const HandledSignal &row : handledSignals)
        if (row.meaning == Meaning::stop)
            install(row.number, onStopSignal);
        else if (row.meaning == Meaning::readerGone)
            install(row.number, onBrokenPipe);
}

void reserveStandardDescriptors() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        // The lowest free number is fd itself: the ones below are open by now.
        const int placeholder = open("/dev/null", O_RDONLY);
        if (placeholder >= 0 && placeholder != fd) {
            dup2(placeholder, fd);
            close(placeholder);
        }
        if (fd == STDOUT_FILENO)
            standardOutputClosed = true;
    }
}

void beginCapture() {
    installCrashHandlers();
    stage = capturing;
}

void endCapture() {
    stage = running;
    removeCrashHandlers();
}

void beginRomLoading() {
    stage = loadingRoms;
}

void endRomLoading() {
    stage = running;
}

void limitStepStarts(unsigned long limit) {
    stepStartLimit.store(limit, std::memory_order_relaxed);
    if (stopRequested)
        stepStartLimit.store(0, std::memory_order_relaxed);
}

void noteWriteFailure(const std::string &what, int error) {
    requestStop();
    if (!failedOutput.empty())
        return;
    failedOutput = what;
    failureError = error;
}

bool writeFully(int fd, const char *text, std::size_t length) {
    while (length > 0) {
        const ssize_t written = write(fd, text, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        if (written == 0) {
            errno = EIO; // nothing taken, and no reason given
            return false;
        }
        text += written;
        length -= static_cast<size_t>(written);
    }
    return true;
}

void writeToStandardOutput(const std::string &text, const char *what) {
    std::cout.flush(); // what the stream holds goes first
    std::cout.clear(); // a failed key help must not hide the outcome of this write
    if (!writeFully(STDOUT_FILENO, text.data(), text.size()))
        noteWriteFailure(std::string(what) + " to " + standardOutputName(), errno);
}

void writeRunSummary() {
    std::ostringstream summary;
    writeProbeSummary(summary);
    writeRomSummary(summary);
    writeToStandardOutput(summary.str(), "summary");
}

int reportRunEnd(unsigned long timeReached) {
    std::string lines;
    if (!failedOutput.empty())
        lines += "Cannot write the " + failedOutput + " (" + std::strerror(failureError) + "); " +
                 endsAt(timeReached);
    else if (readerGone)
        lines += "A reader of the output went away: " + endsAt(timeReached);
    if (interruption != 0)
        lines += std::string("Interrupted by ") + rowOfSignal(interruption).name + ": " + endsAt(timeReached);
    std::cerr << lines << std::flush;
    if (interruption != 0)
        return 128 + interruption;
    return failedOutput.empty() && !readerGone ? 0 : 1;
}

void clearRunEnd() {
    stage = running;
    stopRequested = 0;
    interruption = 0;
    readerGone = 0;
    failedOutput.clear();
    failureError = 0;
}

void endOnLostDisplay() {
    const unsigned long reached = phaseFour ? phaseFour->time : 0;
    std::cerr << "The X connection was lost: " << endsAt(reached) << std::flush;
    if (summaryFlag && phaseTwo)
        writeRunSummary();
    closeValueChangeDump();
    if (!failedOutput.empty())
        std::cerr << "Cannot write the " << failedOutput << " (" << std::strerror(failureError) << ").\n"
                  << std::flush;
    std::exit(1);
}
