#include "SaleJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "support/FileHelpers.h"
#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

constexpr char Separator = ';';
constexpr const char* SaleKind = "predaj";
constexpr const char* CancellationKind = "storno";
// The first line, for whoever opens the file in a spreadsheet.
constexpr const char* HeaderLine =
    "druh;kluc;pokladna;cas;kusov;suma;kusov_bez_skladu;suma_bez_skladu\n";
constexpr std::size_t FieldCount = 8;
// Far above any purchase, far below what a corrupted number could make of a total.
constexpr long MostItems = 1000000;

// The desk's name as one field: a separator or a line break would split the line.
std::string FieldText(const std::string& text) {
    std::string field = text;
    for (char& c : field) {
        if (c == Separator || c == '\n' || c == '\r' || c == '\0') {
            c = '_';
        }
    }
    return field;
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end = line.find(Separator); end != std::string::npos;
         end = line.find(Separator, start)) {
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

bool IsKey(const std::string& text) {
    if (text.empty() || text.size() > 64) {
        return false;
    }
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool ReadCount(const std::string& text, int& count) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < 0 || value > MostItems) {
        return false;
    }
    count = static_cast<int>(value);
    return true;
}

bool ReadAmount(const std::string& text, double& amount) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || value < 0.0 || value > 1e12) {
        return false;
    }
    amount = value;
    return true;
}

std::string TimeText(const Timestamp& time) {
    return FormatText("%04i-%02i-%02i %02i:%02i:%02i", time.Year, time.Month, time.Day, time.Hour,
                      time.Minute, time.Second);
}

bool ReadTime(const std::string& text, Timestamp& time) {
    Timestamp read;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &read.Year, &read.Month, &read.Day,
                    &read.Hour, &read.Minute, &read.Second, &consumed) != 6 ||
        static_cast<std::size_t>(consumed) != text.size()) {
        return false;
    }
    if (read.Year < 1900 || read.Month < 1 || read.Month > 12 || read.Day < 1 || read.Day > 31 ||
        read.Hour < 0 || read.Hour > 23 || read.Minute < 0 || read.Minute > 59 || read.Second < 0 ||
        read.Second > 60) {
        return false;
    }
    time = read;
    return true;
}

std::string SaleLine(const char* kind, const RecordedSale& sale, const Timestamp& time) {
    return FormatText("%s;%s;%s;%s;%i;%0.2f;%i;%0.2f\n", kind, sale.key.c_str(),
                      FieldText(sale.desk).c_str(), TimeText(time).c_str(), sale.itemCount,
                      sale.total, sale.forcedCount, sale.forcedTotal);
}

// Writes all of the text or fails with errno set.
bool WriteAll(int descriptor, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t step = ::write(descriptor, text.data() + written, text.size() - written);
        if (step < 0 && errno == EINTR) {
            continue;
        }
        if (step <= 0) {
            if (step == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        written += static_cast<std::size_t>(step);
    }
    return true;
}

// A new file's name is on the disk only once its folder is.
void FlushFolderOf(const std::string& path) {
    const std::string folder = DirectoryOfPath(path);
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace

SaleJournal::SaleJournal(std::string path) : path_(std::move(path)) {
    Read();
}

const RecordedSale* SaleJournal::Find(const std::string& key) const {
    const auto found = positions_.find(key);
    return found == positions_.end() ? nullptr : &sales_[found->second];
}

void SaleJournal::Read() {
    FileHandle file = OpenRegularFile(path_, "rb");
    if (!file) {
        if (errno != ENOENT) {
            LogMessage(LogError, "Record of sales '%s' not read: %s\n", path_.c_str(),
                       std::strerror(errno));
        }
        return;
    }
    std::string content;
    char buffer[8192];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        content.append(buffer, read);
    }
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        ++lineNumber;
        const std::size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            // A crash while a line was appended: that sale never counted as done.
            LogMessage(LogError, "Record of sales '%s': unfinished last line %i skipped\n",
                       path_.c_str(), lineNumber);
            break;
        }
        const std::string line = content.substr(start, end - start);
        start = end + 1;
        if ((lineNumber == 1 && line.compare(0, 5, "druh;") == 0) || line.empty()) {
            continue;
        }
        if (!TakeLine(line)) {
            LogMessage(LogError, "Record of sales '%s': line %i cannot be read, skipped\n",
                       path_.c_str(), lineNumber);
        }
    }
}

bool SaleJournal::TakeLine(const std::string& line) {
    const std::vector<std::string> fields = SplitFields(line);
    RecordedSale sale;
    if (fields.size() < FieldCount || !IsKey(fields[1]) || !ReadTime(fields[3], sale.time) ||
        !ReadCount(fields[4], sale.itemCount) || !ReadAmount(fields[5], sale.total) ||
        !ReadCount(fields[6], sale.forcedCount) || !ReadAmount(fields[7], sale.forcedTotal)) {
        return false;
    }
    sale.key = fields[1];
    sale.desk = fields[2];
    const auto known = positions_.find(sale.key);
    if (fields[0] == SaleKind) {
        if (known != positions_.end()) {
            LogMessage(LogNotice, "Record of sales: sale %s recorded twice, counted once\n",
                       sale.key.c_str());
            return true;
        }
        positions_[sale.key] = sales_.size();
        sales_.push_back(sale);
        return true;
    }
    if (fields[0] == CancellationKind && known != positions_.end()) {
        sales_[known->second].cancelled = true;
        return true;
    }
    return false;
}

void SaleJournal::AddSale(const RecordedSale& sale) {
    if (!IsKey(sale.key) || Find(sale.key) != nullptr) {
        throw std::invalid_argument("SaleJournal::AddSale: key missing or on record already");
    }
    Append(SaleLine(SaleKind, sale, sale.time));
    RecordedSale kept = sale;
    kept.desk = FieldText(sale.desk);
    kept.cancelled = false;
    positions_[kept.key] = sales_.size();
    sales_.push_back(kept);
}

void SaleJournal::AddCancellation(const std::string& key, const Timestamp& time) {
    const auto known = positions_.find(key);
    if (known == positions_.end() || sales_[known->second].cancelled) {
        return;
    }
    Append(SaleLine(CancellationKind, sales_[known->second], time));
    sales_[known->second].cancelled = true;
}

void SaleJournal::Append(const std::string& line) {
    // Never through a link: the file is ours, in our folder.
    const int descriptor =
        ::open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (descriptor < 0) {
        throw std::runtime_error((FormatStream(_("Record of sales '%s' not opened: %s"))
                                  << path_ << std::strerror(errno))
                                     .str());
    }
    struct stat status {};
    bool done = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    std::string text = line;
    if (done && status.st_size == 0) {
        text = HeaderLine + line;
    } else if (done) {
        // A line cut by an earlier crash must not swallow this one.
        char last = '\n';
        done = ::pread(descriptor, &last, 1, status.st_size - 1) == 1;
        if (last != '\n') {
            text = '\n' + line;
        }
    }
    done = done && WriteAll(descriptor, text) && ::fsync(descriptor) == 0;
    const int failure = errno;
    if (!done && S_ISREG(status.st_mode)) {
        // Half a line would be a damaged line: the file goes back to what it held.
        if (::ftruncate(descriptor, status.st_size) != 0 || ::fsync(descriptor) != 0) {
            LogMessage(LogError, "Record of sales '%s': unfinished line left behind\n",
                       path_.c_str());
        }
    }
    ::close(descriptor);
    if (!done) {
        throw std::runtime_error((FormatStream(_("Record of sales '%s' not written: %s"))
                                  << path_ << std::strerror(failure))
                                     .str());
    }
    if (status.st_size == 0) {
        FlushFolderOf(path_);
    }
}

}  // namespace Kramo
