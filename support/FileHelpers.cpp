#include "FileHelpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <random>
#include <string_view>

#include "FileHandle.h"
#include "Log.h"
#include "TextHelpers.h"

namespace Kramo {
namespace {

constexpr std::string::size_type PathLimit = 511;
constexpr std::size_t UniqueEndingLength = 6;
// Names a unique temporary file may try before it gives up; a clash is already rare.
constexpr int UniqueNameAttempts = 100;

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

// The error a refused non-regular file reports.
int NotRegularError(const struct stat& status) {
    return S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
}

std::string RandomEnding() {
    static constexpr std::string_view characters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, characters.size() - 1);
    std::string ending;
    for (std::size_t i = 0; i < UniqueEndingLength; ++i) {
        ending += characters[pick(random)];
    }
    return ending;
}

// A new file named prefix + "." + a random ending, made by this call alone: an existing file
// or link under the name makes it try another name. The prefix's last part is shortened when
// the name would be too long for the file system. -1 when none could be made (errno).
int CreateUniqueFile(const std::string& prefix, std::string& path) {
    const std::size_t nameStart = prefix.rfind('/') + 1;  // 0 without a folder
    const std::string start =
        prefix.substr(0, nameStart) +
        CutAtCharacter(prefix.substr(nameStart), NAME_MAX - UniqueEndingLength - 1);
    for (int attempt = 0; attempt < UniqueNameAttempts; ++attempt) {
        path = start + "." + RandomEnding();
        const int descriptor =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) {
            return descriptor;
        }
    }
    return -1;
}

bool WriteAndSync(FileHandle file, const std::function<bool(std::FILE*)>& write) {
    const bool written =
        write(file.get()) && std::fflush(file.get()) == 0 && ::fsync(fileno(file.get())) == 0;
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

FileHandle OpenRegularFile(const std::string& path, const char* mode) {
    // Looked at first, so that nothing else is even opened (opening some devices acts); then
    // opened without waiting and looked at again, in case the name changed in between.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        errno = NotRegularError(status);
        return nullptr;
    }
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    if (::fstat(descriptor, &status) != 0) {
        status.st_mode = 0;  // neither regular nor a folder: refused as EINVAL
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        errno = NotRegularError(status);
        return nullptr;
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    FileHandle file(::fdopen(descriptor, mode));
    if (!file) {
        ::close(descriptor);
    }
    return file;
}

bool CopyFileContents(const std::string& source, const std::string& target) {
    FileHandle input = OpenRegularFile(source);
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
    return ReplaceFileContents(path, temporaryPath, [&content](std::FILE* file) {
        return std::fwrite(content.data(), 1, content.size(), file) == content.size();
    });
}

Replacement ReplaceFileContents(const std::string& path, const std::string& temporaryPath,
                                const std::function<bool(std::FILE*)>& write) {
    std::string temporary;
    const int descriptor = CreateUniqueFile(temporaryPath, temporary);
    if (descriptor < 0) {
        return Replacement::NotOpened;
    }
    FileHandle file(::fdopen(descriptor, "wb"));
    if (!file) {
        const int reason = errno;
        ::close(descriptor);
        std::remove(temporary.c_str());
        errno = reason;
        return Replacement::NotOpened;
    }
    if (!WriteAndSync(std::move(file), write) ||
        std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int reason = errno;
        std::remove(temporary.c_str());
        errno = reason;
        return Replacement::NotWritten;
    }
    SyncDirectoryOf(path);
    return Replacement::Done;
}

}  // namespace Kramo
