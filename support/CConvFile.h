#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "FileHandle.h"

namespace ConvFile {

// A line-oriented text file through which the stores and the settings read and write.
// Every operation reports by its result and keeps the reason as the last error.
class CConvFile {
  public:
    enum e_error_code {
        e_no_error,
        e_no_file,
        e_bad_parameter,
        e_bad_parameter1,
        e_bad_parameter2,
        e_bad_parameter3,
        e_bad_parameter4,
        e_no_memory,
        e_not_opened,
        e_file_error,
        e_out_of_file,
        e_could_not_read,
        e_not_opened_for_writing,
        e_media_error,
    };
    static const char* const ErrorCodeNames[];

    enum Mode { ForReading = 0, ForWriting = 1 };

    static constexpr std::size_t LineBufferSize = 512;
    static constexpr std::size_t FormatBufferSize = 8192;

    CConvFile() = default;
    CConvFile(const CConvFile&) = delete;
    CConvFile& operator=(const CConvFile&) = delete;
    virtual ~CConvFile() = default;

    // mode is ForReading (a regular file only, never waiting on a pipe or device) or
    // ForWriting (which creates or empties the file).
    bool Open(const std::string& path, int mode);
    // One line of at most 511 characters, its line break kept; none at the end of the file.
    std::optional<std::string> ReadLine();
    std::size_t Write(const void* bytes, std::size_t length);
    std::size_t Write(const std::string& text) { return Write(text.data(), text.size()); }
    // printf-style; output over 8191 characters is refused and nothing is written.
    std::size_t WriteFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Pushes everything written so far to the disk, so that a rename after it is safe.
    bool Flush();
    bool Close();

    bool IsOpen() const { return file_ != nullptr; }
    bool IsForWriting() const { return forWriting_; }
    long Size() const { return size_; }
    long Position() const { return position_; }
    e_error_code LastError() const { return lastError_; }
    const char* LastErrorName() const { return ErrorCodeNames[lastError_]; }

  private:
    bool Fail(e_error_code code);
    bool Succeed();

    Kramo::FileHandle file_;
    bool forWriting_ = false;
    long size_ = 0;
    long position_ = 0;
    e_error_code lastError_ = e_no_error;
};

}  // namespace ConvFile
