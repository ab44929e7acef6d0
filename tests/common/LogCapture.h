#pragma once

#include <string>

#include "TemporaryDirectory.h"

namespace KramoTest {

// Points the process-wide log at a file of its own for one test, at the given level, and
// puts the former file and level back afterwards.
class LogCapture {
  public:
    explicit LogCapture(int level = 3);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string Text() const;
    std::string Path() const { return directory_.File("log.txt"); }

  private:
    TemporaryDirectory directory_;
    std::string formerFile_;
    int formerLevel_;
};

}  // namespace KramoTest
