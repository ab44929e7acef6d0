#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace Kramo {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// An open C stream that closes itself.
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

inline FileHandle OpenFile(const std::string& path, const char* mode) {
    return FileHandle(std::fopen(path.c_str(), mode));
}

}  // namespace Kramo
