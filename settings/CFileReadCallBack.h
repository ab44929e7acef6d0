#pragma once

#include <string>

#include "settings/IFileReadCallBack.h"
#include "support/FileHandle.h"

namespace irr {
namespace io {

// A regular file as the reader's input. Anything else (a missing file, a folder, a device)
// reads as empty, so the reader simply finds no nodes in it.
class CFileReadCallBack : public IFileReadCallBack {
  public:
    explicit CFileReadCallBack(const std::string& path);

    std::size_t Read(void* buffer, std::size_t sizeToRead) override;
    std::size_t GetSize() const override { return size_; }

  private:
    Kramo::FileHandle file_;
    std::size_t size_ = 0;
};

}  // namespace io
}  // namespace irr
