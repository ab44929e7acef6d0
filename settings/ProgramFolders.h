#pragma once

#include <functional>
#include <string>

namespace Kramo {

// Where the program keeps its settings, its log and the bazaar's data. A program whose own
// folder it may write and which carries its window description in data/ beside it (a build
// folder) keeps everything beside itself; an installed program follows the desktop's folders:
// the settings in $XDG_CONFIG_HOME/kramo, the log in $XDG_STATE_HOME/kramo and the data and
// documents in one bazaar folder, by default "Kramo" in the user's documents.
// Every folder ends with '/'.
class ProgramFolders {
  public:
    // The value of an environment variable; null when it is not set.
    using Environment = std::function<const char*(const char*)>;

    static constexpr const char* LogFileName = "kramo-log.txt";

    // The pure choice: userDirs is the text of the user's user-dirs.dirs (empty without one).
    static ProgramFolders Choose(const std::string& programDirectory, bool ownFolder,
                                 const Environment& environment, const std::string& userDirs);
    // The choice for the running program, its environment and its user's folders.
    static ProgramFolders ForRunningProgram();

    bool Installed() const { return installed_; }
    const std::string& ProgramDirectory() const { return programDirectory_; }
    // The folder of kramo.xml.
    const std::string& SettingsDirectory() const { return settingsDirectory_; }
    const std::string& LogFile() const { return logFile_; }
    // The bazaar folder before the settings name one; empty beside the program.
    const std::string& DefaultBazaarDirectory() const { return defaultBazaarDirectory_; }
    // The window description: data/ beside the program, else the installed share/kramo/.
    std::string GladeFile() const;
    // The catalogues of the interface's languages: locale/ beside the program, else the
    // installed share/locale/.
    std::string LocaleDirectory() const;

    // Creates the folder with its parents; false when it is not a folder afterwards.
    static bool CreateFolders(const std::string& path);

  private:
    bool installed_ = false;
    std::string programDirectory_;
    std::string settingsDirectory_;
    std::string logFile_;
    std::string defaultBazaarDirectory_;
};

}  // namespace Kramo
