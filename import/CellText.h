#pragma once

#include <cstdint>
#include <string>

namespace KramoExcel {

// The texts cells give in the grid, one rule for every sheet format, so that a sheet reads
// the same whatever program saved it.

// An XLS integer cell: "%i".
std::string IntegerCellText(int32_t value);
// An XLS floating cell: "%0.2f", always two decimals.
std::string FractionCellText(double value);
// A number of a format that keeps no integer cells (xlsx, ods): as the XLS integer cell the
// same program would write when it is whole and within the range such a cell holds,
// as the floating cell otherwise.
std::string NumberCellText(double value);
// As the XLS reader gives a boolean cell: "1" or "0".
std::string BooleanCellText(bool value);

// A number as XML writes it ("12.5", "1E-3"), whatever the locale.
bool ParseXmlNumber(const std::string& text, double& value);
// "2024-03-01" or "2024-03-01T12:30:00" as the day number spreadsheets keep for a date
// (days since 30 December 1899, the time as a fraction).
bool ParseIsoDate(const std::string& text, double& serial);
// A duration "PT12H30M00S" (also with days, "P1DT2H") in days.
bool ParseIsoDuration(const std::string& text, double& days);

}  // namespace KramoExcel
