// The ends of a run that come from outside the circuit: signals, failed
// writes and a lost X connection.
#include "core/RunEnd.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

#include "components/RunFeatures.h"
#include "core/Ph4.h"
#include "core/Vcd.h"
#include "core/cmdLine.h"

volatile std::sig_atomic_t stopRequested = 0;
std::atomic<unsigned long> stepStartLimit{0};

namespace {

// SIGINT or SIGTERM once one has arrived; a reader that went away (SIGPIPE).
volatile std::sig_atomic_t interruption = 0;
volatile std::sig_atomic_t readerGone = 0;

// The first output that could not be written, and why.
std::string failedOutput;
int failureError = 0;

// The flag first, then the limit: a stretch that sets the limit looks at the
// flag after it, so one of the two always sees the request.
void requestStop() {
    stopRequested = 1;
    stepStartLimit.store(0, std::memory_order_relaxed);
}

// Only flags are set here; the step loops do the work at a step boundary.  A
// second interruption means the user will not wait for that.
void onInterruption(int signalNumber) {
    if (interruption != 0)
        _exit(128 + signalNumber);
    interruption = signalNumber;
    requestStop();
}

void onBrokenPipe(int) {
    readerGone = 1;
    requestStop();
}

void install(int signalNumber, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // writes and reads carry on; waits check the flag
    sigaction(signalNumber, &action, nullptr);
}

// What standard output is, for messages: "standard output", followed by the
// file it goes to when that has a name.
std::string standardOutputName() {
    char target[4096];
    const ssize_t n = readlink("/proc/self/fd/1", target, sizeof target - 1);
    if (n <= 0 || target[0] != '/')
        return "standard output";
    return "standard output, " + std::string(target, static_cast<size_t>(n));
}

std::string endsAt(unsigned long time) {
    return "the run ended at simulated time " + std::to_string(time) + ".\n";
}

} // namespace

void installStopSignals() {
    install(SIGINT, onInterruption);
    install(SIGTERM, onInterruption);
    install(SIGPIPE, onBrokenPipe);
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
        lines += std::string("Interrupted by ") + (interruption == SIGINT ? "SIGINT" : "SIGTERM") + ": " +
                 endsAt(timeReached);
    std::cerr << lines << std::flush;
    if (interruption != 0)
        return 128 + interruption;
    return failedOutput.empty() && !readerGone ? 0 : 1;
}

void clearRunEnd() {
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
