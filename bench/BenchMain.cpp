// norvale-bench: runs one named scenario and prints its figures.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/resource.h>

#include "Bench.h"

namespace bench {

std::vector<ScenarioEntry> &scenarios() {
    static std::vector<ScenarioEntry> all;
    return all;
}

Registrar::Registrar(const char *name, const char *usage, Scenario run) {
    scenarios().push_back({name, usage, run});
}

double seconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in kilobytes
}

long countArgument(const Arguments &args, size_t index, long fallback, const char *usage) {
    if (index >= args.size())
        return fallback;
    char *end = nullptr;
    const long n = std::strtol(args[index].c_str(), &end, 10);
    if (args[index].empty() || *end != '\0' || n <= 0) {
        std::fprintf(stderr, "usage: norvale-bench %s\n", usage);
        std::exit(2);
    }
    return n;
}

} // namespace bench

namespace {

int usage() {
    std::fprintf(stderr, "usage: norvale-bench SCENARIO [ARGUMENTS]\nscenarios:\n");
    for (const bench::ScenarioEntry &s : bench::scenarios())
        std::fprintf(stderr, "  %s\n", s.usage);
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2)
        return usage();
    for (const bench::ScenarioEntry &s : bench::scenarios())
        if (argv[1] == std::string(s.name))
            return s.run(bench::Arguments(argv + 2, argv + argc));
    std::fprintf(stderr, "norvale-bench: no scenario %s\n", argv[1]);
    return usage();
}
