#pragma once

#include <cstddef>

namespace irr {
namespace io {

// The source the XML reader loads its input from, all at once.
class IFileReadCallBack {
  public:
    virtual ~IFileReadCallBack() = default;

    // Copies up to sizeToRead bytes into buffer; returns how many were copied.
    virtual std::size_t Read(void* buffer, std::size_t sizeToRead) = 0;
    // The number of bytes the source holds; 0 when it cannot be read.
    virtual std::size_t GetSize() const = 0;
};

}  // namespace io
}  // namespace irr
