#include "ProgramRun.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace KramoTest {
namespace {

// A window of the program may close between listing it and asking for its properties; that
// answer is no failure of the test. The toolkit's own handler is put back afterwards.
int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}

struct DisplayCloser {
    void operator()(Display* display) const {
        XSync(display, False);
        XSetErrorHandler(formerHandler);
        XCloseDisplay(display);
    }
    XErrorHandler formerHandler;
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// The process that owns a window, from the property the toolkit sets on every top-level.
long WindowProcess(Display* display, Window window) {
    const Atom property = XInternAtom(display, "_NET_WM_PID", True);
    if (property == None) {
        return -1;
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) == Success &&
        data != nullptr && count == 1 && format == 32) {
        pid = *reinterpret_cast<long*>(data);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return pid;
}

std::string WindowTitle(Display* display, Window window) {
    XTextProperty property{};
    std::string title;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    if (XGetTextProperty(display, window, &property, netName) && property.value != nullptr) {
        title.assign(reinterpret_cast<char*>(property.value), property.nitems);
        XFree(property.value);
    }
    return title;
}

bool IsMapped(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// The program's mapped top-level windows with the title (every title when empty).
std::vector<Window> ProgramWindows(Display* display, pid_t pid, const std::string& title) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> found;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        return found;
    }
    for (unsigned int i = 0; i < count; ++i) {
        if (WindowProcess(display, children[i]) == pid && IsMapped(display, children[i]) &&
            (title.empty() || WindowTitle(display, children[i]) == title)) {
            found.push_back(children[i]);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

// The program's mapped windows that stand over one of its windows with the title.
std::vector<Window> BoxesOver(Display* display, pid_t pid, const std::string& ownerTitle) {
    std::vector<Window> boxes;
    for (const Window window : ProgramWindows(display, pid, "")) {
        Window owner = 0;
        if (XGetTransientForHint(display, window, &owner) && owner != 0 &&
            WindowTitle(display, owner) == ownerTitle) {
            boxes.push_back(window);
        }
    }
    return boxes;
}

void SendClose(Display* display, const std::vector<Window>& windows) {
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    for (const Window window : windows) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(deleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
    }
    XFlush(display);
}

DisplayHandle OpenDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        throw std::runtime_error("no X display for the program test");
    }
    return DisplayHandle(display, DisplayCloser{XSetErrorHandler(&IgnoreError)});
}

}  // namespace

ProgramRun::ProgramRun(const std::string& programFile, const std::string& programDirectory) {
    const std::string copy = programDirectory + "/kramo";
    std::filesystem::copy_file(programFile, copy,
                               std::filesystem::copy_options::overwrite_existing);
    // Everything the child needs is made before the fork: after it only system calls run.
    const std::string output = programDirectory + "/program-output.txt";
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string(*variable).rfind("ASAN_OPTIONS=", 0) != 0) {
            environment.emplace_back(*variable);
        }
    }
    // The toolkit's caches would be reported as leaks of a sanitized build at exit.
    environment.emplace_back("ASAN_OPTIONS=detect_leaks=0");
    std::vector<char*> environmentPointers;
    for (std::string& variable : environment)
        environmentPointers.push_back(variable.data());
    environmentPointers.push_back(nullptr);
    char* const arguments[] = {const_cast<char*>(copy.c_str()), nullptr};

    pid_ = fork();
    if (pid_ == 0) {
        // Never outlive the test, and never hold the test runner's output pipes open.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int log = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0 && chdir(programDirectory.c_str()) == 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
            execve(copy.c_str(), arguments, environmentPointers.data());
        }
        _exit(127);
    }
    if (pid_ < 0) {
        throw std::runtime_error("could not start the program");
    }
}

ProgramRun::~ProgramRun() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool ProgramRun::WaitForWindow(const std::string& title, int timeoutMilliseconds) {
    const DisplayHandle display = OpenDisplay();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!ProgramWindows(display.get(), pid_, title).empty()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool ProgramRun::WaitForBoxOver(const std::string& ownerTitle, bool shown,
                                int timeoutMilliseconds) {
    const DisplayHandle display = OpenDisplay();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (BoxesOver(display.get(), pid_, ownerTitle).empty() != shown) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void ProgramRun::CloseWindows(const std::string& title) {
    const DisplayHandle display = OpenDisplay();
    SendClose(display.get(), ProgramWindows(display.get(), pid_, title));
}

void ProgramRun::CloseBoxesOver(const std::string& ownerTitle) {
    const DisplayHandle display = OpenDisplay();
    SendClose(display.get(), BoxesOver(display.get(), pid_, ownerTitle));
}

int ProgramRun::WaitForExit(int timeoutMilliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

}  // namespace KramoTest
