#include "settings/CFileReadCallBack.h"

#include <sys/stat.h>

namespace irr {
namespace io {

CFileReadCallBack::CFileReadCallBack(const std::string& path) : file_(Kramo::OpenFile(path, "rb")) {
    struct stat status {};
    if (file_ && ::fstat(fileno(file_.get()), &status) == 0 && S_ISREG(status.st_mode)) {
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
