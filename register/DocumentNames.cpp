#include "DocumentNames.h"

#include "support/Clock.h"
#include "support/FormatStream.h"

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

}  // namespace Kramo
