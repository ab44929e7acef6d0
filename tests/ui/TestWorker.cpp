#include "TestWorker.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <vector>

#include "common/TemporaryDirectory.h"

extern char** environ;

namespace KramoTest {

TestWorker::TestWorker(const std::string& testName,
                       const std::map<std::string, std::string>& environment,
                       std::string outputFile)
    : outputFile_(std::move(outputFile)) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::vector<std::string> arguments = {self, "--gtest_filter=" + testName,
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
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile_.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const int failure =
        posix_spawn(&pid_, self.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0) {
        throw std::runtime_error(std::string("could not start a worker: ") +
                                 std::strerror(failure));
    }
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
