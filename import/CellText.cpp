#include "CellText.h"

#include <charconv>
#include <cmath>

#include "support/FormatText.h"

namespace KramoExcel {
namespace {

// What an RK integer holds: 30 bits with their sign.
constexpr double LowestInteger = -(1 << 29);
constexpr double HighestInteger = (1 << 29) - 1;

// Days from 1 January 1970 of a day of the proleptic Gregorian calendar.
long DaysFromCivil(long year, long month, long day) {
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// A number and the text after it; false when none stands at the start.
bool LeadingNumber(const char*& text, const char* end, double& value) {
    const auto [after, error] = std::from_chars(text, end, value);
    if (error != std::errc() || after == text) {
        return false;
    }
    text = after;
    return true;
}

}  // namespace

std::string IntegerCellText(int32_t value) {
    return Kramo::FormatText("%i", value);
}

std::string FractionCellText(double value) {
    return Kramo::FormatText("%0.2f", value);
}

std::string NumberCellText(double value) {
    if (value == std::trunc(value) && value >= LowestInteger && value <= HighestInteger) {
        return IntegerCellText(static_cast<int32_t>(value));
    }
    return FractionCellText(value);
}

std::string BooleanCellText(bool value) {
    return value ? "1" : "0";
}

bool ParseXmlNumber(const std::string& text, double& value) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return false;
    }
    const char* start = text.data() + first;
    const char* end = text.data() + last + 1;
    return LeadingNumber(start, end, value) && start == end;
}

bool ParseIsoDate(const std::string& text, double& serial) {
    // Fields of the form: digits and the character that follows them.
    const char* position = text.data();
    const char* end = position + text.size();
    double fields[6] = {};
    const char separators[6] = {'-', '-', 'T', ':', ':', '\0'};
    int count = 0;
    while (count < 6 && LeadingNumber(position, end, fields[count])) {
        ++count;
        if (position == end || *position != separators[count - 1]) {
            break;
        }
        ++position;
    }
    const double month = fields[1];
    const double day = fields[2];
    if (count < 3 || month < 1 || month > 12 || day < 1 || day > 31 ||
        std::fabs(fields[0]) > 9999) {
        return false;
    }
    serial = static_cast<double>(DaysFromCivil(static_cast<long>(fields[0]),
                                               static_cast<long>(month), static_cast<long>(day)) -
                                 DaysFromCivil(1899, 12, 30)) +
             (fields[3] * 3600.0 + fields[4] * 60.0 + fields[5]) / 86400.0;
    return true;
}

bool ParseIsoDuration(const std::string& text, double& days) {
    const char* position = text.data();
    const char* end = position + text.size();
    const bool negative = position != end && *position == '-';
    position += negative;
    if (position == end || *position++ != 'P') {
        return false;
    }
    double total = 0.0;
    bool inTime = false;
    while (position != end) {
        if (*position == 'T') {
            inTime = true;
            ++position;
            continue;
        }
        double amount = 0.0;
        if (!LeadingNumber(position, end, amount) || position == end) {
            return false;
        }
        const char unit = *position++;
        if (unit == 'D' && !inTime) {
            total += amount;
        } else if (unit == 'H' && inTime) {
            total += amount / 24.0;
        } else if (unit == 'M' && inTime) {
            total += amount / 1440.0;
        } else if (unit == 'S' && inTime) {
            total += amount / 86400.0;
        } else {
            return false;
        }
    }
    days = negative ? -total : total;
    return true;
}

}  // namespace KramoExcel
