#include "DocumentNames.h"

#include <sys/stat.h>

#include <algorithm>

#include "support/Clock.h"
#include "support/FormatStream.h"
#include "support/TextHelpers.h"

namespace Kramo {

std::string TimeStampedFileName(const std::string& prefix, const std::string& extension,
                                const Timestamp& time) {
    return (FormatStream("%s_%02i-%02i-%02i_%02i-%02i.%s")
            << prefix << time.Year % 100 << time.Month << time.Day << time.Hour << time.Minute
            << extension)
        .str();
}

std::string TimeStampedFileName(const std::string& prefix, const std::string& extension) {
    return TimeStampedFileName(prefix, extension, CurrentTimestamp());
}

namespace {

bool Exists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

}  // namespace

std::string FreeFilePath(const std::string& folder, const std::string& name) {
    const std::string::size_type dot = name.rfind('.');
    const std::string stem = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    std::string path = folder + name;
    for (int number = 2; Exists(path); ++number) {
        path = folder + stem + "_" + std::to_string(number) + extension;
    }
    return path;
}

std::string FileNamePart(const std::string& text, std::size_t maximumBytes) {
    std::string part = CutAtCharacter(text, maximumBytes);
    std::replace_if(
        part.begin(), part.end(), [](char c) { return c == '/' || c == '\\'; }, '_');
    return part;
}

namespace {

// "<prefix><part>_yy-mm-dd_hh-mm.pdf", the part cut so that the name, numbered by
// FreeFilePath, stays within LongestDocumentName.
std::string NamedDocumentFileName(const std::string& prefix, const std::string& part,
                                  const Timestamp& time) {
    const std::string extension = "pdf";
    // Room for the "_<n>" that FreeFilePath adds to a name already taken in the same minute.
    constexpr std::size_t NumberRoom = 6;
    const std::size_t frame = TimeStampedFileName(prefix, extension, time).size();
    return TimeStampedFileName(
        prefix + FileNamePart(part, LongestDocumentName - NumberRoom - frame), extension, time);
}

}  // namespace

std::string StatementFileName(const std::string& sellerCode, const Timestamp& time) {
    return NamedDocumentFileName("PoPredaji_", sellerCode, time);
}

std::string CashUpFileName(const std::string& desk, const Timestamp& time) {
    return NamedDocumentFileName("Uzavierka_", desk, time);
}

}  // namespace Kramo
