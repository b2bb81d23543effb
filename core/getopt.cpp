// The program's own option scanner (see getopt.h).  Deliberately includes no C
// library header that declares the scanner names of the same spelling.
#include "core/getopt.h"

#include <iostream>

namespace norvale {

int optind = 1;
char *optarg = nullptr;
int optopt = 0;
int opterr = 1;

namespace {

char emptyWord[] = "";
// Scan position inside the current word; the empty word means "take the next".
char *place = emptyWord;

// Writes "<program>: <what> -- <c>" when reporting is on.
void complain(char **argv, const char *what, int c) {
    if (opterr)
        std::cerr << argv[0] << ": " << what << " -- " << static_cast<char>(c) << "\n";
}

} // namespace

const char *index(const char *s, char c) {
    for (;; ++s) {
        if (*s == c)
            return s;
        if (*s == '\0')
            return nullptr;
    }
}

void resetGetopt() {
    optind = 1;
    optarg = nullptr;
    optopt = 0;
    opterr = 1;
    place = emptyWord;
}

int getopt(int argc, char **argv, const char *optionString) {
    if (*place == '\0') {
        // Between words: the next one must be an option word.
        if (optind >= argc || argv[optind][0] != '-' || argv[optind][1] == '\0') {
            place = emptyWord;
            return -1;
        }
        place = argv[optind];
        if (place[1] == '-' && place[2] == '\0') {
            ++optind;
            place = emptyWord;
            return -1;
        }
        ++place; // past the '-'
    }

    optopt = *place++;
    const char *entry = optopt == ':' ? nullptr : index(optionString, static_cast<char>(optopt));
    if (entry == nullptr) {
        if (*place == '\0')
            ++optind;
        complain(argv, "illegal option", optopt);
        return '?';
    }

    if (entry[1] == ':') {
        if (*place != '\0') {
            optarg = place; // the rest of this word, as in -T100
        } else if (++optind < argc) {
            optarg = argv[optind];
        } else {
            place = emptyWord;
            complain(argv, "option requires an argument", optopt);
            return '?';
        }
        place = emptyWord;
        ++optind;
    } else {
        optarg = nullptr;
        if (*place == '\0')
            ++optind;
    }
    return optopt;
}

} // namespace norvale
