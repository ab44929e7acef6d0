#include "TestWorker.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "common/SpawnedProgram.h"
#include "common/TemporaryDirectory.h"

extern char** environ;

namespace KramoTest {

TestWorker::TestWorker(const std::string& testName,
                       const std::map<std::string, std::string>& environment,
                       std::string outputFile)
    : outputFile_(std::move(outputFile)) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::vector<std::string> arguments = {self, "--gtest_filter=" + testName,
                                                "--gtest_also_run_disabled_tests"};
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (environment.count(name) == 0) {
            variables.push_back(variable);
        }
    }
    for (const auto& [name, value] : environment) {
        variables.push_back(name + "=" + value);
    }
    variables.push_back("DISPLAY=" + StartDisplay());
    pid_ = StartProgram(arguments, outputFile_, &variables);
}

TestWorker::~TestWorker() {
    if (pid_ != -1) {
        Kill();
    }
    StopDisplay();
}

std::string TestWorker::StartDisplay() {
    for (int number = 200 + ::getpid() % 600; number < 1000; ++number) {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        if (std::filesystem::exists(socket) ||
            std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
            continue;
        }
        const std::string display = ":" + std::to_string(number);
        displayPid_ = StartProgram(
            {"/usr/bin/Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
            outputFile_ + ".xvfb");
        for (int wait = 0; wait < 500 && !std::filesystem::exists(socket); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        int status = 0;
        if (std::filesystem::exists(socket) && waitpid(displayPid_, &status, WNOHANG) == 0) {
            return display;
        }
        StopDisplay();  // another server took the number first: try the next one
    }
    throw std::runtime_error("no display for a test worker");
}

void TestWorker::StopDisplay() {
    if (displayPid_ == -1) {
        return;
    }
    ::kill(displayPid_, SIGTERM);
    int status = 0;
    waitpid(displayPid_, &status, 0);
    displayPid_ = -1;
}

bool TestWorker::Running() {
    if (pid_ == -1) {
        return false;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
        return false;
    }
    return true;
}

int TestWorker::Wait(int timeoutMilliseconds) {
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    while (Running()) {
        if (std::chrono::steady_clock::now() > end) {
            Kill();
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status_;
}

void TestWorker::Kill() {
    if (pid_ == -1) {
        return;
    }
    ::kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    status_ = 128 + SIGKILL;
    pid_ = -1;
}

std::string TestWorker::Output() const {
    return std::filesystem::exists(outputFile_) ? ReadWholeFile(outputFile_) : std::string();
}

std::string TestWorker::Setting(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace KramoTest
