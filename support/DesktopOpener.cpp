#include "DesktopOpener.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "support/FormatStream.h"
#include "support/Log.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

class Pipe {
  public:
    Pipe() {
        if (::pipe2(ends_, O_CLOEXEC) != 0) {
            throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
        }
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int Read() const { return ends_[0]; }
    int Write() const { return ends_[1]; }
    void CloseRead() { CloseEnd(ends_[0]); }
    void CloseWrite() { CloseEnd(ends_[1]); }

  private:
    static void CloseEnd(int& end) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
    int ends_[2] = {-1, -1};
};

// Runs in the forked child, so only calls that are safe after fork: a second fork detaches
// the opener (the intermediate child ends at once and is reaped), and an exec failure is sent
// back through the pipe, which closes by itself when the exec succeeds.
[[noreturn]] void StartDetached(char* const arguments[], int reportEnd) {
    ::setsid();
    const pid_t opener = ::fork();
    if (opener == 0) {
        ::execvp(arguments[0], arguments);
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(reportEnd, &error, sizeof error);
        ::_exit(127);
    }
    if (opener < 0) {
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(reportEnd, &error, sizeof error);
    }
    ::_exit(0);
}

}  // namespace

void DesktopOpener::Open(const std::string& path) {
    std::string program = program_;
    std::string argument = path;
    char* const arguments[] = {program.data(), argument.data(), nullptr};

    Pipe report;
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    }
    if (child == 0) {
        StartDetached(arguments, report.Write());
    }
    report.CloseWrite();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    while ((got = ::read(report.Read(), &error, sizeof error)) < 0 && errno == EINTR) {
    }
    if (got == static_cast<ssize_t>(sizeof error)) {
        LogMessage(LogError, "DesktopOpener: '%s' could not be started for '%s': %s\n",
                   program_.c_str(), path.c_str(), std::strerror(error));
        // TRANSLATORS: the program that opens documents (xdg-open) and the system's reason.
        throw std::runtime_error(
            (FormatStream(_("Cannot start %s: %s")) << program_ << std::strerror(error)).str());
    }
    LogMessage(LogInfo, "DesktopOpener: '%s' started for '%s'\n", program_.c_str(), path.c_str());
}

}  // namespace Kramo
