// The value change dump of a windowed run is complete however the run ends:
// by F10, and when the program loses its X server.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "ChildProgram.h"
#include "XHarness.h"

namespace {

const char *const banner = "Norvale v20190205";

std::string readFile(const std::string &path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct EndCase {
    const char *name;
    bool loseTheServer; // else F10
    int status;
};

void PrintTo(const EndCase &c, std::ostream *os) {
    *os << c.name;
}

class WindowedDump : public testing::TestWithParam<EndCase> {};

// A free-running clock never lets the run settle: the dump grows until the
// end, and the end must flush what the buffer still holds.
TEST_P(WindowedDump, IsCompleteAtTheEnd) {
    REQUIRE_X_DISPLAY();
    xtest::Connection x;
    ASSERT_NE(x.get(), nullptr);
    char name[] = "/tmp/norvale-vcd-window-XXXXXX";
    close(mkstemp(name));
    const std::string label = uniqueLabel();
    ChildProgram program(circuitProgram("clock_probe"), {"-V", name, "-W", label});
    const Window window = xtest::findWindowByName(x, banner + label);
    ASSERT_NE(window, 0u) << "no window; stderr: " << program.err();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (GetParam().loseTheServer) {
        XKillClient(x, window); // closes the program's connection
        XSync(x, False);
    } else {
        xtest::movePointer(x, window, 5, 5);
        xtest::pressKey(x, XK_F10);
    }
    EXPECT_EQ(program.waitForExit(5000), GetParam().status) << program.err();
    const std::string dump = readFile(name);
    std::remove(name);
    ASSERT_NE(dump.find("$enddefinitions $end\n#0\n$dumpvars\n"), std::string::npos) << dump.substr(0, 400);
    // Complete lines only, and the clock's changes well past the first cycle.
    EXPECT_EQ(dump.back(), '\n');
    const size_t lastStamp = dump.rfind("\n#");
    ASSERT_NE(lastStamp, std::string::npos);
    EXPECT_GT(std::stoul(dump.substr(lastStamp + 2)), 100u);
}

INSTANTIATE_TEST_SUITE_P(Vcd, WindowedDump,
                         testing::Values(EndCase{"ByF10", false, 0}, EndCase{"ByLosingTheXServer", true, 1}),
                         [](const testing::TestParamInfo<EndCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
