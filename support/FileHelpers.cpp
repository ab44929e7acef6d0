#include "FileHelpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>

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

// A renamed file reaches the disk only with its directory.
void SyncDirectoryOf(const std::string& path) {
    const std::string directory = DirectoryOfPath(path);
    const int descriptor = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

bool WriteAndSync(FileHandle file, const std::string& content) {
    const bool written =
        std::fwrite(content.data(), 1, content.size(), file.get()) == content.size() &&
        std::fflush(file.get()) == 0 && ::fsync(fileno(file.get())) == 0;
    // fclose flushes nothing more here, but its failure still means the file is not whole.
    return std::fclose(file.release()) == 0 && written;
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

Replacement ReplaceFileContents(const std::string& path, const std::string& temporaryPath,
                                const std::string& content) {
    FileHandle file = OpenFile(temporaryPath, "wb");
    if (!file) {
        return Replacement::NotOpened;
    }
    if (!WriteAndSync(std::move(file), content) ||
        std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        const int reason = errno;
        std::remove(temporaryPath.c_str());
        errno = reason;
        return Replacement::NotWritten;
    }
    SyncDirectoryOf(path);
    return Replacement::Done;
}

}  // namespace Kramo
