#include "Log.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>

#include "FileHandle.h"
#include "FormatText.h"

namespace Kramo {
namespace {

constexpr std::size_t MessageCapacity = 4096;  // 4095 characters and the terminator
constexpr std::size_t EntryLimit = 1023;

}  // namespace

Log& Log::Instance() {
    static Log log;
    return log;
}

bool Log::Admits(int kind) const {
    switch (level_) {
        case 1:
            return kind == LogNotice || kind == LogError;
        case 2:
            return kind == LogError;
        case 3:
        case 4:
            return kind == LogInfo || kind == LogNotice || kind == LogError || kind == LogDetail;
        default:
            return false;
    }
}

std::string Log::TimePrefix() {
    std::timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    return FormatText("%i/%i/%i %02i:%02i:%02i.%03i", utc.tm_mday, utc.tm_mon + 1,
                      utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec,
                      static_cast<int>(now.tv_nsec / 1000000));
}

void Log::Write(int kind, const char* format, va_list arguments) {
    if (!Admits(kind)) {
        return;
    }
    std::array<char, MessageCapacity> message{};
    std::vsnprintf(message.data(), message.size(), format, arguments);

    std::string entry = TimePrefix() + " " + message.data();
    if (entry.size() > EntryLimit) {
        entry.resize(EntryLimit);
    }
    // A '%' in the log file would be taken for a format by tools that read it back.
    std::replace(entry.begin(), entry.end(), '%', '/');

    if (FileHandle file = OpenFile(fileName_, "at+")) {
        std::fwrite(entry.data(), 1, entry.size(), file.get());
    }
}

void SetLogFile(const std::string& path) {
    Log::Instance().SetFile(path);
}

void SetLogLevel(int level) {
    Log::Instance().SetLevel(level);
}

void LogMessage(int kind, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Log::Instance().Write(kind, format, arguments);
    va_end(arguments);
}

}  // namespace Kramo
