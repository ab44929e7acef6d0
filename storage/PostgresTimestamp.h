#pragma once

#include <string>

#include "support/Timestamp.h"

namespace Kramo {

// Time stamps as the database statements write them: "2026-12-08 03:10:08".
std::string FormatPostgresTimestamp(const Timestamp& time);

// Reads "year-month-day hour:minute:second", each part from its leading digits, so that
// fractional seconds or a zone after the seconds are ignored. False, with the time stamp
// left as it was, when the text does not have that shape.
bool ParsePostgresTimestamp(const std::string& text, Timestamp& time);

// A time stamp the database accepts: a real calendar date from 1900 on and a time of day.
bool IsStorableTimestamp(const Timestamp& time);

}  // namespace Kramo
