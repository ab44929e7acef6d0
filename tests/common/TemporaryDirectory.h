#pragma once

#include <string>
#include <vector>

namespace KramoTest {

// A fresh directory under the system's temporary folder, removed with everything in it.
class TemporaryDirectory {
  public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    void WriteFile(const std::string& name, const std::string& content) const;
    std::string ReadFile(const std::string& name) const;

  private:
    std::string path_;
};

std::string ReadWholeFile(const std::string& path);
// The names of the folder's entries, sorted.
std::vector<std::string> EntriesOf(const std::string& folder);

}  // namespace KramoTest
