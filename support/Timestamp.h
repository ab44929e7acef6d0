#pragma once

#include <cstdint>

namespace Kramo {

// Calendar time of a record or a document, local time with seconds resolution.
// Lives beside the clock that produces it, so that the clock needs nothing from above.
struct Timestamp {
    int32_t Year = 0;
    int32_t Month = 0;
    int32_t Day = 0;
    int32_t Hour = 0;
    int32_t Minute = 0;
    int32_t Second = 0;
    int32_t ReservedA = 0;
    int32_t DayOfWeek = -1;  // 0 = Sunday .. 6 = Saturday, -1 when not known
    int32_t ReservedB = -1;

    bool IsEmpty() const { return *this == Timestamp{}; }

    bool operator==(const Timestamp& other) const {
        return Year == other.Year && Month == other.Month && Day == other.Day &&
               Hour == other.Hour && Minute == other.Minute && Second == other.Second &&
               ReservedA == other.ReservedA && DayOfWeek == other.DayOfWeek &&
               ReservedB == other.ReservedB;
    }
    bool operator!=(const Timestamp& other) const { return !(*this == other); }
};

}  // namespace Kramo
