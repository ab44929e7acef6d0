#pragma once

#include <sys/types.h>

#include <map>
#include <string>

namespace KramoTest {

// Another instance of this test program running one test of its own, as a second program
// on the same machine: a second cash desk, or a program that is killed and started again.
// Its output goes to a file, shown when it fails. It draws its windows on an X server of its
// own: a worker killed, or ending, while the other test programs query the shared display
// would otherwise pull windows from under their feet (an X error ends a GTK program).
class TestWorker {
  public:
    TestWorker(const std::string& testName, const std::map<std::string, std::string>& environment,
               std::string outputFile);
    ~TestWorker();
    TestWorker(const TestWorker&) = delete;
    TestWorker& operator=(const TestWorker&) = delete;

    // The exit status once it ended; -1 when it had to be killed after the timeout.
    int Wait(int timeoutMilliseconds);
    // Ends it at once, as a power cut or the task manager would.
    void Kill();
    bool Running();
    std::string Output() const;

    // The value a worker was given, or empty in an ordinary run.
    static std::string Setting(const char* name);

  private:
    // Starts Xvfb on a free display number and answers the DISPLAY value for it.
    std::string StartDisplay();
    void StopDisplay();

    pid_t displayPid_ = -1;
    pid_t pid_ = -1;
    int status_ = -1;
    std::string outputFile_;
};

}  // namespace KramoTest
