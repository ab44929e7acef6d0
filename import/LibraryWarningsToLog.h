#pragma once

#include <array>

#include <glib.h>

namespace KramoExcel {

// libgsf warns on the terminal about damaged files (and aborts under fatal-criticals); while an
// object of this class lives, what it says goes to the log instead, behind the given prefix.
class LibraryWarningsToLog {
  public:
    // The prefix names what was read ("Compound document"); it must outlive the object.
    explicit LibraryWarningsToLog(const char* prefix);
    ~LibraryWarningsToLog();
    LibraryWarningsToLog(const LibraryWarningsToLog&) = delete;
    LibraryWarningsToLog& operator=(const LibraryWarningsToLog&) = delete;

  private:
    static void Log(const gchar* domain, GLogLevelFlags level, const gchar* message,
                    gpointer prefix);

    // Each of libgsf's readers warns under a domain of its own.
    static constexpr std::array<const char*, 3> Domains = {"libgsf", "libgsf:msole", "libgsf:zip"};
    std::array<guint, Domains.size()> handlers_{};
};

}  // namespace KramoExcel
