#include "CConvFile.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <vector>

#include "FileHelpers.h"

namespace ConvFile {

const char* const CConvFile::ErrorCodeNames[] = {
    "e_no_error",
    "e_no_file",
    "e_bad_parameter",
    "e_bad_parameter1",
    "e_bad_parameter2",
    "e_bad_parameter3",
    "e_bad_parameter4",
    "e_no_memory",
    "e_not_opened",
    "e_file_error",
    "e_out_of_file",
    "e_could_not_read",
    "e_not_opened_for_writing",
    "e_media_error",
};

bool CConvFile::Fail(e_error_code code) {
    lastError_ = code;
    return false;
}

bool CConvFile::Succeed() {
    lastError_ = e_no_error;
    return true;
}

bool CConvFile::Open(const std::string& path, int mode) {
    if (IsOpen()) {
        return false;
    }
    if (mode != ForReading && mode != ForWriting) {
        return Fail(e_bad_parameter3);
    }
    // Only a regular file is read: a named pipe or a device would hang or never end.
    file_ = mode == ForWriting ? Kramo::OpenFile(path, "wt") : Kramo::OpenRegularFile(path, "rt");
    if (!file_) {
        return Fail(e_no_file);
    }
    forWriting_ = mode == ForWriting;
    position_ = 0;
    size_ = 0;
    if (std::fseek(file_.get(), 0, SEEK_END) == 0) {
        size_ = std::ftell(file_.get());
        std::fseek(file_.get(), 0, SEEK_SET);
    }
    return Succeed();
}

std::optional<std::string> CConvFile::ReadLine() {
    if (!IsOpen()) {
        Fail(e_not_opened);
        return std::nullopt;
    }
    std::array<char, LineBufferSize> buffer{};
    if (std::fgets(buffer.data(), static_cast<int>(buffer.size()), file_.get()) == nullptr) {
        Fail(e_could_not_read);
        return std::nullopt;
    }
    position_ = std::ftell(file_.get());
    Succeed();
    // A NUL byte inside a damaged line ends the text there, as the buffer's reader sees it.
    return std::string(buffer.data());
}

std::size_t CConvFile::Write(const void* bytes, std::size_t length) {
    if (!IsOpen()) {
        Fail(e_not_opened);
        return 0;
    }
    if (!forWriting_) {
        Fail(e_not_opened_for_writing);
        return 0;
    }
    const std::size_t written = std::fwrite(bytes, 1, length, file_.get());
    position_ += static_cast<long>(written);
    size_ = std::max(size_, position_);
    if (written != length) {
        Fail(e_media_error);
    } else {
        Succeed();
    }
    return written;
}

std::size_t CConvFile::WriteFormatted(const char* format, ...) {
    std::vector<char> buffer(FormatBufferSize);
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
    va_end(arguments);
    if (length < 0 || static_cast<std::size_t>(length) >= FormatBufferSize) {
        Fail(e_no_memory);
        return 0;
    }
    if (length == 0) {
        Succeed();
        return 0;
    }
    return Write(buffer.data(), static_cast<std::size_t>(length));
}

bool CConvFile::Flush() {
    if (!IsOpen()) {
        return Fail(e_not_opened);
    }
    if (std::fflush(file_.get()) != 0 || (forWriting_ && ::fsync(fileno(file_.get())) != 0)) {
        return Fail(e_media_error);
    }
    return Succeed();
}

bool CConvFile::Close() {
    if (!IsOpen()) {
        return Fail(e_not_opened);
    }
    // fclose flushes the last buffer, so a full disk shows here; an earlier failed write
    // leaves the error flag behind even when nothing remains to flush.
    const bool failedBefore = std::ferror(file_.get()) != 0;
    const bool closed = std::fclose(file_.release()) == 0 && !failedBefore;
    forWriting_ = false;
    return closed ? Succeed() : Fail(e_media_error);
}

}  // namespace ConvFile
