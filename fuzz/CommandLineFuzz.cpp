// Fuzzes the command line: the input, split at its zero bytes, is the list of
// words after the program name.  Parsing must never read or write outside the
// words and the option buffers; it may end the program only as defined (status
// 0 after -h, status 1 after an option error).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/cmdLine.h"
#include "core/getopt.h"

namespace {

// Past this many words an input only repeats what shorter ones reach.
const size_t maxWords = 64;

// The words, each in an allocation of its own so that reading past one is
// caught, and argv laid out as the system lays it out (null after the last).
struct Arguments {
    std::vector<std::vector<char>> words;
    std::vector<char *> argv;

    Arguments(const uint8_t *data, size_t size) {
        static char programName[] = "norvale";
        argv.push_back(programName);
        const char *text = reinterpret_cast<const char *>(data);
        for (size_t start = 0; size > 0 && start <= size && words.size() < maxWords;) {
            const char *end = static_cast<const char *>(std::memchr(text + start, '\0', size - start));
            const size_t length = end ? static_cast<size_t>(end - (text + start)) : size - start;
            words.emplace_back(text + start, text + start + length);
            words.back().push_back('\0');
            start += length + 1;
        }
        for (std::vector<char> &word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(argv.size()) - 1; }
};

// Whether some word is an option word holding an h, which -h needs.
bool mayAskForHelp(const Arguments &a) {
    for (int k = 1; k < a.argc(); ++k)
        if (a.argv[k][0] == '-' && std::strchr(a.argv[k], 'h'))
            return true;
    return false;
}

template <std::size_t N> bool terminated(const char (&buffer)[N]) {
    return std::memchr(buffer, '\0', N) != nullptr;
}

void parse(void *context) {
    Arguments &a = *static_cast<Arguments *>(context);
    commandLine(a.argc(), a.argv.data());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    silenceStandardStreams();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Arguments arguments(data, size);
    resetOptions();
    const int status = exitStatusOf(parse, &arguments);
    if (status == 0 && !mayAskForHelp(arguments))
        fuzzFinding("the options ended the program with status 0 without -h");
    if (status != -1 && status != 0 && status != 1)
        fuzzFinding("the options ended the program with a status other than 0 or 1");
    if (status != -1)
        return 0;
    if (!terminated(FunctionKeyString) || !terminated(CursorKeyString) || !terminated(WindowLabelString) ||
        !terminated(XW_geometry))
        fuzzFinding("a string option overran its buffer");
    if (norvale::optind < 1 || norvale::optind > arguments.argc())
        fuzzFinding("the option scan ended outside the words");
    if (numberOfUserRunTimeFlags > arguments.argc() || numberOfProfRunTimeFlags > arguments.argc())
        fuzzFinding("more run-time flags counted than there are words");
    return 0;
}
