#include "LibraryWarningsToLog.h"

#include "support/Log.h"

namespace KramoExcel {
namespace {

constexpr GLogLevelFlags AllLevels =
    static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION);

}  // namespace

LibraryWarningsToLog::LibraryWarningsToLog(const char* prefix) {
    for (std::size_t index = 0; index < Domains.size(); ++index) {
        handlers_[index] = g_log_set_handler(Domains[index], AllLevels, &LibraryWarningsToLog::Log,
                                             const_cast<char*>(prefix));
    }
}

LibraryWarningsToLog::~LibraryWarningsToLog() {
    for (std::size_t index = 0; index < Domains.size(); ++index) {
        g_log_remove_handler(Domains[index], handlers_[index]);
    }
}

void LibraryWarningsToLog::Log(const gchar*, GLogLevelFlags, const gchar* message,
                               gpointer prefix) {
    Kramo::LogMessage(Kramo::LogInfo, "%s: %s\n", static_cast<const char*>(prefix), message);
}

}  // namespace KramoExcel
