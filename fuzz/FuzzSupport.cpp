// The exit seam and the quiet streams of the fuzz targets.
#include "FuzzSupport.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <streambuf>

namespace {

// A stream buffer that takes every character and keeps none.
class DiscardBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char *, std::streamsize n) override { return n; }
};

std::jmp_buf exitTrap;
bool exitTrapArmed = false;
int trappedStatus = 0;

} // namespace

// The linker's --wrap=exit names: every call to exit in the linked objects
// reaches __wrap_exit, and __real_exit is the C library's exit.
extern "C" [[noreturn]] void __real_exit(int status);

extern "C" [[noreturn]] void __wrap_exit(int status) {
    if (!exitTrapArmed)
        __real_exit(status); // the fuzzer's own end, or an exit outside any input
    exitTrapArmed = false;
    trappedStatus = status;
    std::longjmp(exitTrap, 1);
}

void silenceStandardStreams() {
    static DiscardBuffer discard;
    std::cout.rdbuf(&discard);
    std::cerr.rdbuf(&discard);
}

int exitStatusOf(void (*body)(void *), void *context) {
    // Nothing with a destructor lives in this frame: longjmp returns into it.
    if (setjmp(exitTrap) != 0) {
        std::cout.clear();
        std::cerr.clear();
        return trappedStatus;
    }
    exitTrapArmed = true;
    body(context);
    exitTrapArmed = false;
    return -1;
}

void fuzzFinding(const char *what) {
    std::fprintf(stderr, "fuzz finding: %s\n", what);
    std::abort();
}
