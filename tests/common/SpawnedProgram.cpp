#include "SpawnedProgram.h"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace KramoTest {
namespace {

std::vector<char*> NullTerminated(const std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (const std::string& text : texts) {
        pointers.push_back(const_cast<char*>(text.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

pid_t StartProgram(const std::vector<std::string>& arguments, const std::string& outputFile,
                   const std::vector<std::string>* environment) {
    std::vector<char*> argv = NullTerminated(arguments);
    std::vector<char*> envp =
        environment != nullptr ? NullTerminated(*environment) : std::vector<char*>();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = -1;
    const int failure = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(),
                                      environment != nullptr ? envp.data() : environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0) {
        throw std::runtime_error("could not start '" + arguments.front() +
                                 "': " + std::strerror(failure));
    }
    return child;
}

}  // namespace KramoTest
