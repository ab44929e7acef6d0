#pragma once

#include <memory>
#include <string>
#include <vector>

namespace Kramo {

// Wildcard search in one directory: '*' matches any run of characters and '?' one character,
// without regard to letter case. Entries are visited in name order.
class FileFinder {
  public:
    // The process-wide finder, alive while anybody holds it.
    static std::shared_ptr<FileFinder> Acquire();

    // Closes any open search; a pattern ending in '/' or '\' gets "*" appended.
    bool FindFirst(const std::string& pattern);
    bool FindNext();
    void Close();

    // The entry found last.
    const std::string& FoundName() const { return foundName_; }
    bool FoundIsDirectory() const { return foundIsDirectory_; }

    static bool WildcardMatches(const std::string& pattern, const std::string& name);

  private:
    struct Entry {
        std::string name;
        bool isDirectory = false;
    };

    bool TakeNextMatch();

    std::string namePattern_;
    std::vector<Entry> entries_;
    std::size_t next_ = 0;
    std::string foundName_;
    bool foundIsDirectory_ = false;
};

}  // namespace Kramo
