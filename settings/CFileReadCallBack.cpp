#include "settings/CFileReadCallBack.h"

#include <sys/stat.h>

#include "support/FileHelpers.h"

namespace irr {
namespace io {

// Opened only when it is a regular file: a named pipe in its place must not hang the start.
CFileReadCallBack::CFileReadCallBack(const std::string& path)
    : file_(Kramo::OpenRegularFile(path)) {
    struct stat status {};
    if (file_ && ::fstat(fileno(file_.get()), &status) == 0) {
        size_ = static_cast<std::size_t>(status.st_size);
    } else {
        file_.reset();
    }
}

std::size_t CFileReadCallBack::Read(void* buffer, std::size_t sizeToRead) {
    if (!file_ || sizeToRead == 0) {
        return 0;
    }
    return std::fread(buffer, 1, sizeToRead, file_.get());
}

}  // namespace io
}  // namespace irr
