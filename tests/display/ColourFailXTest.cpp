// A window whose colours cannot be allocated ends the process with status
// 255.  A server with a full colour map makes the allocation fail for real:
// a private 8-bit Xvfb whose every free colour cell the test takes first.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "core/cmdLine.h"
#include "display/Window.h"
#include "support/Fresh.h"

namespace {

bool onPath(const char *program) {
    const char *path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (size_t start = 0; start <= dirs.size();) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        if (access((dirs.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// An Xvfb of the test's own with an 8-bit screen, on a free display number.
class PrivateServer {
public:
    PrivateServer() {
        int number = 150;
        while (access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0 ||
               access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) == 0)
            ++number;
        name_ = ":" + std::to_string(number);
        pid_ = fork();
        if (pid_ == 0) {
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, 1);
            dup2(devNull, 2);
            execlp("Xvfb", "Xvfb", name_.c_str(), "-screen", "0", "320x240x8", "-nolisten", "tcp", "-noreset",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!display_ && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            display_ = XOpenDisplay(name_.c_str());
        }
    }
    ~PrivateServer() {
        if (display_)
            XCloseDisplay(display_);
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    Display *display() const { return display_; }
    const std::string &name() const { return name_; }

    // Takes every free cell of the default colour map, read-write, so no
    // other client can get a colour that is not there already.
    int fillColourMap() {
        const Colormap map = DefaultColormap(display_, DefaultScreen(display_));
        int taken = 0;
        unsigned long pixel;
        while (XAllocColorCells(display_, map, False, nullptr, 0, &pixel, 1))
            ++taken;
        XSync(display_, False);
        return taken;
    }

private:
    std::string name_;
    pid_t pid_ = -1;
    Display *display_ = nullptr;
};

struct FailCase {
    int bg[3], fg[3], sw[3];
    const char *message;
};

// Builds the window on the named server with the case's colour options.
void openWindow(const FailCase &c, const std::string &display) {
    freshNetlist();
    setenv("DISPLAY", display.c_str(), 1);
    red_bg = c.bg[0];
    green_bg = c.bg[1];
    blue_bg = c.bg[2];
    red_fg = c.fg[0];
    green_fg = c.fg[1];
    blue_fg = c.fg[2];
    red_sw = c.sw[0];
    green_sw = c.sw[1];
    blue_sw = c.sw[2];
    Windex window("Norvale v20190205");
}

TEST(ColourAllocationOnAFullColourMap, EndsTheProcessWithStatus255) {
    if (!onPath("Xvfb"))
        GTEST_SKIP() << "Xvfb is not installed";
    PrivateServer server;
    ASSERT_NE(server.display(), nullptr) << "the private Xvfb did not start";
    if (DefaultVisual(server.display(), DefaultScreen(server.display()))->c_class != PseudoColor)
        GTEST_SKIP() << "the 8-bit screen has no writable colour map";
    ASSERT_GT(server.fillColourMap(), 0);

    // The server's preset colours (black, white, pure red among them) can
    // still be shared; the chosen ones below are not among them.
    const FailCase cases[] = {
        {{10, 20, 30}, {0, 0, 0}, {0, 0, 0}, "^Can't Alloc background Pixel\n\n$"},
        {{0, 0, 0}, {10, 20, 30}, {0, 0, 0}, "^Can't Alloc foreground Pixel\n\n$"},
        {{0, 0, 0}, {0, 0, 0}, {10, 20, 30}, "^Can't Alloc subwindow Pixel\n\n$"},
    };
    for (const FailCase &c : cases)
        EXPECT_EXIT(openWindow(c, server.name()), testing::ExitedWithCode(255), c.message) << c.message;
}

} // namespace
