#pragma once

#include <ctime>
#include <string>

#include "Timestamp.h"

namespace Kramo {

// The process-wide current time that records and document names are stamped with.
class Clock {
  public:
    static Clock& Instance();

    // Reads the system clock into the current time stamp (local time).
    void Refresh();
    const Timestamp& Current() const { return current_; }

    // Local calendar time of a moment, through the C library's time-zone rules,
    // so daylight saving time applies exactly when it is in effect.
    static Timestamp LocalTimestamp(std::time_t moment);

  private:
    Clock() = default;
    Timestamp current_;
};

// Refreshes the clock and returns a copy of its current time stamp.
Timestamp CurrentTimestamp();

// The date text of documents: " 7.12. 2026 05:25" (the leading blank is the empty week-day text).
std::string FormatDateText(const Timestamp& time);
// Refreshes the clock first.
std::string FormatDateText();

}  // namespace Kramo
