#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace KramoTest {

// Starts a program from an argument vector (no shell), its standard output and error appended
// to the output file; the environment is the test's own unless one is given as NAME=value
// entries. Returns the child's process ID; throws when it cannot be started.
pid_t StartProgram(const std::vector<std::string>& arguments, const std::string& outputFile,
                   const std::vector<std::string>* environment = nullptr);

}  // namespace KramoTest
