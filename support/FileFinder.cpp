#include "FileFinder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace Kramo {
namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

bool IsDirectoryEntry(const std::string& directory, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
        return entry.d_type == DT_DIR;
    }
    struct stat status {};
    const std::string path = directory + "/" + entry.d_name;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::shared_ptr<FileFinder> FileFinder::Acquire() {
    static std::weak_ptr<FileFinder> shared;
    std::shared_ptr<FileFinder> finder = shared.lock();
    if (!finder) {
        finder = std::make_shared<FileFinder>();
        shared = finder;
    }
    return finder;
}

bool FileFinder::WildcardMatches(const std::string& pattern, const std::string& name) {
    // Iterative matching with one backtrack point for the last '*': linear in practice.
    std::size_t p = 0, n = 0, starPattern = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::string::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool FileFinder::FindFirst(const std::string& pattern) {
    Close();
    std::string fullPattern = pattern;
    if (!fullPattern.empty() && (fullPattern.back() == '/' || fullPattern.back() == '\\')) {
        fullPattern += '*';
    }
    const std::string::size_type separator = fullPattern.find_last_of("/\\");
    const std::string directory =
        separator == std::string::npos ? std::string() : fullPattern.substr(0, separator);
    namePattern_ = separator == std::string::npos ? fullPattern : fullPattern.substr(separator + 1);

    const std::string openPath =
        separator == std::string::npos ? "." : (directory.empty() ? "/" : directory);
    std::unique_ptr<DIR, DirectoryCloser> listing(::opendir(openPath.c_str()));
    if (!listing) {
        return false;
    }
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            entries_.push_back({name, IsDirectoryEntry(openPath, *entry)});
        }
    }
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return TakeNextMatch();
}

bool FileFinder::FindNext() {
    return TakeNextMatch();
}

void FileFinder::Close() {
    entries_.clear();
    next_ = 0;
    foundName_.clear();
    foundIsDirectory_ = false;
}

bool FileFinder::TakeNextMatch() {
    while (next_ < entries_.size()) {
        const Entry& entry = entries_[next_++];
        if (WildcardMatches(namePattern_, entry.name)) {
            foundName_ = entry.name;
            foundIsDirectory_ = entry.isDirectory;
            return true;
        }
    }
    return false;
}

}  // namespace Kramo
