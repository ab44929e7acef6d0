#include "settings/ProgramFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/KramoSettings.h"

namespace Kramo {
namespace {

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// An XDG variable counts only with an absolute path; otherwise its default under home applies.
std::string XdgFolder(const ProgramFolders::Environment& environment, const char* name,
                      const std::string& home, const char* fallback) {
    const char* value = environment(name);
    if (value != nullptr && value[0] == '/') {
        return WithSeparator(value);
    }
    return home + fallback;
}

// XDG_DOCUMENTS_DIR="$HOME/Dokumenty" as xdg-user-dirs writes it; empty when not given.
std::string DocumentsOfUserDirs(const std::string& userDirs, const std::string& home) {
    std::istringstream lines(userDirs);
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size(), key) != 0) {
            continue;
        }
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.compare(0, 5, "$HOME") == 0) {
            value = home + value.substr(5);
        }
        // A relative path or the home folder itself would spread the bazaar over home.
        if (value.empty() || value[0] != '/' || WithSeparator(value) == WithSeparator(home)) {
            return {};
        }
        return WithSeparator(value);
    }
    return {};
}

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

ProgramFolders ProgramFolders::Choose(const std::string& programDirectory, bool ownFolder,
                                      const Environment& environment, const std::string& userDirs) {
    ProgramFolders folders;
    folders.programDirectory_ = programDirectory;
    if (ownFolder) {
        folders.settingsDirectory_ = programDirectory;
        // The log stays in the working folder, as it always was.
        folders.logFile_ = LogFileName;
        return folders;
    }
    folders.installed_ = true;
    const char* homeValue = environment("HOME");
    const std::string home =
        WithSeparator(homeValue != nullptr && homeValue[0] == '/' ? homeValue : "/tmp");
    const std::string homeWithout = home.substr(0, home.size() - 1);
    folders.settingsDirectory_ =
        XdgFolder(environment, "XDG_CONFIG_HOME", home, ".config/") + "kramo/";
    folders.logFile_ =
        XdgFolder(environment, "XDG_STATE_HOME", home, ".local/state/") + "kramo/" + LogFileName;
    std::string documents = DocumentsOfUserDirs(userDirs, homeWithout);
    if (documents.empty()) {
        documents = home + "Documents/";
    }
    folders.defaultBazaarDirectory_ = documents + "Kramo/";
    return folders;
}

ProgramFolders ProgramFolders::ForRunningProgram() {
    const std::string program = KramoSettings::RunningProgramDirectory();
    std::error_code error;
    const bool ownFolder = ::access(program.c_str(), W_OK) == 0 &&
                           std::filesystem::is_regular_file(program + "data/kramo.glade", error);
    const Environment environment = [](const char* name) -> const char* {
        const char* value = std::getenv(name);
        // Without HOME (a desktop never starts a program so) the user's entry names the home.
        if (value == nullptr && std::string(name) == "HOME") {
            const passwd* user = ::getpwuid(::getuid());
            return user != nullptr ? user->pw_dir : nullptr;
        }
        return value;
    };
    ProgramFolders folders = Choose(program, ownFolder, environment, {});
    if (!folders.installed_) {
        return folders;
    }
    // user-dirs.dirs lies in the configuration folder, the parent of the settings folder.
    const std::string configuration =
        std::filesystem::path(folders.settingsDirectory_).parent_path().parent_path().string();
    return Choose(program, ownFolder, environment, ReadWhole(configuration + "/user-dirs.dirs"));
}

std::string ProgramFolders::GladeFile() const {
    const std::string beside = programDirectory_ + "data/kramo.glade";
    std::error_code error;
    if (!installed_ || std::filesystem::is_regular_file(beside, error)) {
        return beside;
    }
    return programDirectory_ + "../share/kramo/kramo.glade";
}

std::string ProgramFolders::LocaleDirectory() const {
    return programDirectory_ + (installed_ ? "../share/locale/" : "locale/");
}

bool ProgramFolders::CreateFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

}  // namespace Kramo
