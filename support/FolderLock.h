#pragma once

#include <memory>
#include <string>

namespace Kramo {

// An exclusive lock on a folder, held through the lock file "kramo.lock" inside it for the life
// of the object, so that a second program cannot work on the same folder. Within one process
// everybody who asks for the same folder shares one lock (the store and a short-lived reader of
// one of its files). The lock file stays in the folder; only the lock on it ends.
class FolderLock {
  public:
    static constexpr const char* FileName = "kramo.lock";

    // The lock of the folder (the path ends with a separator). Another process's lock is waited
    // for a moment, in case that program is closing; null when it is still held. A folder where
    // the lock file cannot be made or locked (read-only, a file system without locks) is
    // logged and answered with a lock that holds nothing.
    static std::shared_ptr<FolderLock> Acquire(const std::string& folder);

    // Only Acquire makes one.
    class CreationKey {
        friend class FolderLock;
        CreationKey() = default;
    };
    FolderLock(CreationKey, int descriptor) : descriptor_(descriptor) {}
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False for a lock that holds nothing.
    bool Holds() const { return descriptor_ >= 0; }

  private:
    int descriptor_;
};

}  // namespace Kramo
