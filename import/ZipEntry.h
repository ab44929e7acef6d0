#pragma once

#include <cstddef>
#include <string>

#include "import/GObjectHandle.h"

typedef struct _GsfInput GsfInput;

namespace KramoExcel {

// One part of a zip container, inflated piece by piece. A part may not inflate beyond
// MaxBytes, nor, past its first RatioFreeBytes, beyond MaxRatio times the size of the whole
// container: a zip bomb is stopped by what is actually inflated, whatever its sizes claim.
class ZipEntry {
  public:
    static constexpr std::size_t MaxBytes = std::size_t{64} << 20;
    static constexpr std::size_t MaxRatio = 200;
    static constexpr std::size_t RatioFreeBytes = std::size_t{1} << 20;

    // Takes over the reference to the input. A part whose stated size passes a limit fails at
    // once: Failure says why before anything is read.
    ZipEntry(GsfInput* input, std::string name, std::size_t containerBytes);

    // Up to size bytes into the buffer; 0 at the end; -1 when the part is damaged or would
    // pass a limit, and then Failure says why in words.
    int Read(char* buffer, int size);
    const std::string& Name() const { return name_; }
    const std::string& Failure() const { return failure_; }

  private:
    // True while the total read so far stays within the limits; sets the failure otherwise.
    bool WithinLimits(std::size_t total);

    GObjectHandle<GsfInput> input_;
    std::string name_;
    std::size_t containerBytes_;
    std::size_t read_ = 0;
    std::string failure_;
};

}  // namespace KramoExcel
