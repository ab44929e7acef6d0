#include "TestWorker.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
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
    pid_ = StartProgram(arguments, outputFile_, &variables);
}

TestWorker::~TestWorker() {
    if (pid_ != -1) {
        Kill();
    }
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
