#pragma once

#include <cstdarg>
#include <string>

namespace Kramo {

enum LogKind { LogInfo = 21, LogNotice = 22, LogError = 23, LogDetail = 24 };

// The process-wide log file. Every entry opens, appends and closes the file, so that the log
// survives a crash up to its last line; an entry that cannot be written is dropped silently.
class Log {
  public:
    static Log& Instance();

    void SetFile(const std::string& path) { fileName_ = path; }
    void SetLevel(int level) { level_ = level; }
    const std::string& File() const { return fileName_; }
    int Level() const { return level_; }

    void Write(int kind, const char* format, va_list arguments);

    // The UTC time prefix of an entry, "7/12/2026 04:25:36.123".
    static std::string TimePrefix();

  private:
    Log() = default;
    bool Admits(int kind) const;

    std::string fileName_ = "log.txt";
    int level_ = 1;
};

void SetLogFile(const std::string& path);
void SetLogLevel(int level);
void LogMessage(int kind, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace Kramo
