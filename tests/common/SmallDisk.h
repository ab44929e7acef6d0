#pragma once

#include <cstddef>
#include <string>

namespace KramoTest {

// A small tmpfs of its own, mounted on a fresh temporary folder for the life of the object, so
// that a test can fill it and see what the program does on a full disk. Mounting needs root
// (the tests run as root in CI); without it the construction throws, so that the test fails
// rather than passing unseen.
class SmallDisk {
  public:
    static constexpr std::size_t PageSize = 4096;

    // bytes is rounded up to whole pages by the file system; inodes limits the number of files.
    explicit SmallDisk(std::size_t bytes = 256 * 1024, std::size_t inodes = 256);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // The mount point, without a trailing separator.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    // Takes all free space but freeBytes (rounded down to whole pages) with a filler file.
    void FillLeaving(std::size_t freeBytes = 0);
    // Also takes every free inode, so that not even an empty file can be made.
    void FillInodes();
    // Gives back everything the filling took.
    void Release();

    std::size_t FreeBytes() const;

  private:
    std::string FillerFolder() const { return File(".filler"); }

    std::string path_;
    bool mounted_ = false;
};

}  // namespace KramoTest
