#include "ChildProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string readFile(const std::string &path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string temporaryFile() {
    char name[] = "/tmp/norvale-child-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0)
        close(fd);
    return name;
}

} // namespace

std::string circuitProgram(const std::string &name, const std::string &prefix) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string("./x");
    dir = dir.substr(0, dir.rfind('/'));
    return dir + "/" + prefix + name;
}

std::string uniqueLabel() {
    static int counter = 0;
    return "t" + std::to_string(getpid()) + "n" + std::to_string(++counter);
}

ChildProgram::ChildProgram(const std::string &program, const std::vector<std::string> &args,
                           const std::string &display)
    : outFile_(temporaryFile()), errFile_(temporaryFile()) {
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    pid_ = fork();
    if (pid_ != 0)
        return;
    // The child: streams to the files, then the program.
    const int out = open(outFile_.c_str(), O_WRONLY | O_TRUNC);
    const int err = open(errFile_.c_str(), O_WRONLY | O_TRUNC);
    const int in = open("/dev/null", O_RDONLY);
    dup2(out, 1);
    dup2(err, 2);
    dup2(in, 0);
    if (!display.empty())
        setenv("DISPLAY", display.c_str(), 1);
    std::vector<char *> argv;
    for (std::string &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

ChildProgram::~ChildProgram() {
    if (running()) {
        kill(pid_, SIGKILL);
        waitForExit(5000);
    }
    unlink(outFile_.c_str());
    unlink(errFile_.c_str());
}

bool ChildProgram::running() {
    return waitForExit(0) == -1;
}

int ChildProgram::waitForExit(int timeoutMs) {
    if (status_ >= 0 || pid_ <= 0)
        return status_;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            return status_;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string ChildProgram::out() const {
    return readFile(outFile_);
}
std::string ChildProgram::err() const {
    return readFile(errFile_);
}

long ChildProgram::cpuTicks() const {
    // Fields 14 and 15 of /proc/PID/stat: user and system time.
    std::istringstream stat(readFile("/proc/" + std::to_string(pid_) + "/stat"));
    std::string field;
    long ticks = 0;
    for (int k = 1; k <= 15 && stat >> field; ++k)
        if (k >= 14)
            ticks += std::atol(field.c_str());
    return ticks;
}
