#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace YExcel {

// Little-endian reads inside a byte range; a read that would leave the range fails instead.
class ByteView {
  public:
    ByteView(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Size() const { return size_; }
    bool Has(std::size_t offset, std::size_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }

    bool U8(std::size_t offset, uint8_t& value) const {
        if (!Has(offset, 1))
            return false;
        value = data_[offset];
        return true;
    }
    bool U16(std::size_t offset, uint16_t& value) const {
        if (!Has(offset, 2))
            return false;
        value = static_cast<uint16_t>(data_[offset] | data_[offset + 1] << 8);
        return true;
    }
    bool U32(std::size_t offset, uint32_t& value) const {
        if (!Has(offset, 4))
            return false;
        value = static_cast<uint32_t>(data_[offset]) |
                static_cast<uint32_t>(data_[offset + 1]) << 8 |
                static_cast<uint32_t>(data_[offset + 2]) << 16 |
                static_cast<uint32_t>(data_[offset + 3]) << 24;
        return true;
    }
    bool Double(std::size_t offset, double& value) const {
        uint32_t low = 0;
        uint32_t high = 0;
        if (!U32(offset, low) || !U32(offset + 4, high))
            return false;
        const uint64_t bits = static_cast<uint64_t>(high) << 32 | low;
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }

  private:
    const uint8_t* data_;
    std::size_t size_;
};

}  // namespace YExcel
