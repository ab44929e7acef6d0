#include "SmallDisk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace KramoTest {
namespace {

std::runtime_error Failure(const std::string& what) {
    return std::runtime_error("SmallDisk: " + what + ": " + std::strerror(errno));
}

std::string MakeMountPoint() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kramo-disk-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw Failure("mkdtemp " + pattern);
    }
    return buffer.data();
}

// Writes until the file system refuses; a partial write is followed by one that fails.
void WriteUntilFull(int descriptor) {
    const std::vector<char> block(64 * 1024, 'f');
    while (true) {
        const ssize_t written = ::write(descriptor, block.data(), block.size());
        if (written < 0) {
            if (errno == ENOSPC) {
                return;
            }
            throw Failure("filling");
        }
    }
}

}  // namespace

SmallDisk::SmallDisk(std::size_t bytes, std::size_t inodes) {
    if (::geteuid() != 0) {
        throw std::runtime_error(
            "SmallDisk: the full-disk tests mount a tmpfs and must run as root (as in CI); "
            "they are not skipped");
    }
    path_ = MakeMountPoint();
    const std::string options =
        "size=" + std::to_string(bytes) + ",nr_inodes=" + std::to_string(inodes) + ",mode=0755";
    if (::mount("kramo-small-disk", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC,
                options.c_str()) != 0) {
        const std::runtime_error failure = Failure("mounting a tmpfs on " + path_);
        ::rmdir(path_.c_str());
        throw failure;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    if (mounted_ && ::umount2(path_.c_str(), 0) != 0) {
        // A file some test left open: the mount goes once that is closed.
        ::umount2(path_.c_str(), MNT_DETACH);
    }
    ::rmdir(path_.c_str());
}

void SmallDisk::FillLeaving(std::size_t freeBytes) {
    if (::mkdir(FillerFolder().c_str(), 0755) != 0 && errno != EEXIST) {
        throw Failure("making the filler folder");
    }
    const std::string filler = FillerFolder() + "/blocks";
    const int descriptor = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (descriptor < 0) {
        throw Failure("opening the filler");
    }
    WriteUntilFull(descriptor);
    struct stat status {};
    ::fstat(descriptor, &status);
    const off_t keep = status.st_size - static_cast<off_t>(freeBytes / PageSize * PageSize);
    const bool truncated = ::ftruncate(descriptor, keep < 0 ? 0 : keep) == 0;
    ::close(descriptor);
    if (!truncated) {
        throw Failure("giving space back");
    }
}

void SmallDisk::FillInodes() {
    FillLeaving(0);
    for (int n = 0;; ++n) {
        const std::string name = FillerFolder() + "/inode-" + std::to_string(n);
        const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (descriptor < 0) {
            if (errno == ENOSPC) {
                return;
            }
            throw Failure("taking inodes");
        }
        ::close(descriptor);
    }
}

void SmallDisk::Release() {
    std::error_code ignored;
    std::filesystem::remove_all(FillerFolder(), ignored);
}

std::size_t SmallDisk::FreeBytes() const {
    struct statvfs status {};
    if (::statvfs(path_.c_str(), &status) != 0) {
        throw Failure("statvfs");
    }
    return static_cast<std::size_t>(status.f_bavail) * status.f_frsize;
}

}  // namespace KramoTest
