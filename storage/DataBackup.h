#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace Kramo {

// A backup that could not be made: the step and the file it failed at, for the user's box.
class DataBackupException : public std::runtime_error {
  public:
    enum class Step { Reading, Writing };

    DataBackupException(Step step, std::string path, const std::string& reason);
    Step FailedStep() const { return step_; }
    const std::string& Path() const { return path_; }
    // What the user reads in the box, in the user's language.
    std::string UserText() const;

  private:
    Step step_;
    std::string path_;
};

// The data folder of the text store, read at one moment and packed as one zip file. The store
// replaces its files whole by renaming, so each file read once is a consistent copy of it;
// reading is quick and belongs to the thread that changes the data, packing and writing may
// run elsewhere.
class DataBackup {
  public:
    // The start of every backup's name; with ".zip" the pattern that pruning removes.
    static constexpr const char* NamePrefix = "Zaloha_";

    struct File {
        std::string name;
        std::string content;
    };

    // Every regular file of the folder (which ends with its separator) but the lock file, the
    // window file and the store's half-written temporary files. Throws DataBackupException.
    static DataBackup Read(const std::string& dataDirectory);

    const std::vector<File>& Files() const { return files_; }
    // The zip file's bytes. Throws DataBackupException.
    std::string Zip() const;
    // Writes the zip file so that the path holds all of it or nothing new: no partial backup
    // is ever left behind. Throws DataBackupException.
    void WriteTo(const std::string& path) const;

    // Removes the oldest backups of the folder (files "Zaloha_*.zip", oldest by name, which
    // starts with the time) so that keep remain; other files stay. Nothing for keep below 1.
    // Answers the names removed.
    static std::vector<std::string> Prune(const std::string& folder, int keep);

  private:
    explicit DataBackup(std::vector<File> files) : files_(std::move(files)) {}

    std::vector<File> files_;
};

}  // namespace Kramo
