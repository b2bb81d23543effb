// What the fuzz targets share: quiet standard streams, and a way through the
// process exits that some inputs are defined to end in.
#pragma once

// Sends whatever the code under test writes to std::cout and std::cerr
// nowhere, so that a run of many inputs prints only the fuzzer's report.  The
// targets' own findings go to stderr through the C streams, which stay open.
void silenceStandardStreams();

// Runs body(context) and returns -1 when it returns normally, or the status
// of the process exit it called instead.  The fuzz targets link with
// --wrap=exit, so an exit called inside body comes back here rather than
// ending the fuzzing process; the frames between are abandoned without their
// destructors, as the real exit would have abandoned them, so targets that
// use this run without leak detection.  Not reentrant.
int exitStatusOf(void (*body)(void *), void *context);

// Reports a broken property of the code under test on stderr and aborts,
// which the fuzzer records as a crash together with the input.
[[noreturn]] void fuzzFinding(const char *what);
