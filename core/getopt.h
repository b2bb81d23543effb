// The program's own option scanner.  Its names are those of the C library's
// scanner, so they live in their own namespace and the command-line parser
// uses them explicitly.
#pragma once

namespace norvale {

extern int optind;   // index of the next word to scan, initially 1
extern char *optarg; // argument of the option just returned, or null
extern int optopt;   // the option character just scanned
extern int opterr;   // non-zero: bad options are reported on standard error

// Returns the next option character of argv, '?' for an unknown option or a
// missing argument (after its message), or -1 when the options are exhausted:
// at the end of argv, at a word not beginning with '-', at "-" and after "--".
int getopt(int argc, char **argv, const char *optionString);

// The first character of s equal to c, or null; searching for the terminating
// zero finds the terminator.
const char *index(const char *s, char c);

// Starts scanning afresh from argv[1], as at program start.
void resetGetopt();

} // namespace norvale
