#pragma once

#include <sys/types.h>

#include <string>

namespace KramoTest {

// The real program binary started in a program directory of its own under the test's
// display, closed from outside through its windows as a user would close them.
class ProgramRun {
  public:
    // Copies the program into the directory (its folder is its program directory) and starts
    // it there; the directory must hold data/kramo.glade and may hold seller files.
    ProgramRun(const std::string& programFile, const std::string& programDirectory);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Waits for a window of the program with this title (empty: any title); false after the
    // timeout.
    bool WaitForWindow(const std::string& title, int timeoutMilliseconds = 20000);
    // Waits until a box of the program stands over its window of this title (transient for
    // it), or with shown false until none does; false after the timeout.
    bool WaitForBoxOver(const std::string& ownerTitle, bool shown = true,
                        int timeoutMilliseconds = 20000);
    // Asks the program's windows of this title to close, as a window manager's close button.
    void CloseWindows(const std::string& title);
    // The same for the boxes over the window of this title.
    void CloseBoxesOver(const std::string& ownerTitle);
    // Waits for the program to end; its exit status, or -1 when it had to be killed.
    int WaitForExit(int timeoutMilliseconds = 20000);

  private:
    pid_t pid_ = -1;
};

}  // namespace KramoTest
