#include "FileHelpers.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "FileHandle.h"
#include "Log.h"
#include "TextHelpers.h"

namespace Kramo {
namespace {

constexpr std::string::size_type PathLimit = 511;

bool IsDirectory(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::string DirectoryOfPath(const std::string& path) {
    const std::string::size_type separator = path.find_last_of("/\\");
    if (separator == std::string::npos) {
        return {};
    }
    return path.substr(0, std::min(separator + 1, PathLimit));
}

std::string LowerCaseExtension(const std::string& path) {
    const std::string::size_type point = path.rfind('.');
    std::string extension = point == std::string::npos ? std::string() : path.substr(point + 1);
    ToLowerText(extension);
    return extension;
}

bool CreateDirectoryIfMissing(const std::string& path) {
    if (IsDirectory(path)) {
        return true;
    }
    return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && IsDirectory(path));
}

bool CreateDirectoryIfMissing(const std::string& parent, const std::string& name) {
    return CreateDirectoryIfMissing(parent + "/" + name);
}

bool CopyFileContents(const std::string& source, const std::string& target) {
    FileHandle input = OpenFile(source, "rb");
    if (!input) {
        LogMessage(LogInfo, "File could not be open: '%s'", source.c_str());
        return false;
    }
    FileHandle output = OpenFile(target, "wb");
    if (!output) {
        LogMessage(LogInfo, "Output file could not be open: '%s'", target.c_str());
        return false;
    }
    std::array<char, 65536> buffer{};
    bool written = true;
    std::size_t count = 0;
    while (written && (count = std::fread(buffer.data(), 1, buffer.size(), input.get())) > 0) {
        written = std::fwrite(buffer.data(), 1, count, output.get()) == count;
    }
    // A full disk shows only when the last buffer is flushed.
    written = written && !std::ferror(input.get()) && std::fclose(output.release()) == 0;
    if (!written) {
        LogMessage(LogInfo, "Output file could not be written: '%s'", target.c_str());
    }
    return written;
}

}  // namespace Kramo
