// The examples users copy, run in the window as a student runs them: each
// opens its window, takes the key list of its headless gold run (then one
// unbound key, whose message tells that the list has settled), ends by F10
// and writes the same standard output as the headless run: the same probe
// summary and, for the tri-state bus, the same contention messages.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProgram.h"
#include "XHarness.h"

namespace {

const std::string goldDir = NORVALE_EXAMPLES_GOLD;

std::vector<std::string> lines(const std::string &path) {
    std::ifstream in(path);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// The gold run's options without -X, the key list ending in the unbound key.
std::vector<std::string> windowOptions(const std::string &example, const std::string &label) {
    std::vector<std::string> options;
    const std::vector<std::string> args = lines(goldDir + "/" + example + ".args");
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-X")
            continue;
        options.push_back(args[i]);
        if (args[i] == "-k" && i + 1 < args.size())
            options.push_back(args[++i] + ",~");
    }
    options.insert(options.end(), {"-W", label});
    return options;
}

// The gold run's standard output: the gold file up to its "--- stderr" line.
std::string goldOutput(const std::string &example) {
    std::string out;
    for (const std::string &line : lines(goldDir + "/" + example + ".expected")) {
        if (line == "--- stderr")
            break;
        out += line + "\n";
    }
    return out;
}

class ExampleWindow : public ::testing::TestWithParam<const char *> {};

TEST_P(ExampleWindow, OpensAndEndsAsItsHeadlessRun) {
    REQUIRE_X_DISPLAY();
    xtest::Connection x;
    ASSERT_NE(x.get(), nullptr);
    const std::string example = GetParam(), label = uniqueLabel();
    ChildProgram program(circuitProgram(example, "example_"), windowOptions(example, label));
    const Window window = xtest::findWindowByName(x, "Norvale v20190205" + label);
    ASSERT_NE(window, 0u) << "no window; stderr: " << program.err();
    const std::string settled = "Keyboard input:  Character (char=~,int=126) with no "
                                "corresponding component activation defined.\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (program.err().find(settled) == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_NE(program.err().find(settled), std::string::npos)
        << "the key list did not settle: " << program.err();
    xtest::movePointer(x, window, 5, 5);
    xtest::pressKey(x, XK_F10);
    ASSERT_EQ(program.waitForExit(5000), 0) << program.err();
    const std::string out = program.out(), gold = goldOutput(example);
    ASSERT_GE(out.size(), gold.size());
    EXPECT_EQ(out.substr(out.size() - gold.size()), gold);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleWindow,
                         ::testing::Values("counter", "traffic_light", "ripple_adder", "tristate_bus"));

} // namespace
