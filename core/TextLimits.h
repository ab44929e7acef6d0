#pragma once

#include <cstddef>
#include <string>

#include "core/Item.h"
#include "core/Seller.h"

namespace Kramo {

// How long the texts of sellers and items may be, in bytes of UTF-8, so that a seller file
// reads back as it was written: its reader cuts a field at 254 bytes and takes a line in
// pieces of 511, and a seller's code, name and note share one line. The dialogs and the import
// keep texts within these limits (a Slovak letter with a diacritic takes two bytes), and the
// stores cut whatever comes longer.
constexpr std::size_t MaxSellerCodeBytes = 40;
constexpr std::size_t MaxSellerNameBytes = 180;
constexpr std::size_t MaxSellerNoteBytes = 254;
constexpr std::size_t MaxItemNameBytes = 200;

// A note over its limit keeps its beginning (what was noted about the seller first) and its
// newest end (the latest " Prijal:…" entries, appended at each change of state), joined by
// "…"; both are cut at a character boundary. A shorter note stays as it is.
std::string CutNote(const std::string& note);

// Every text of the record within its limit, each cut at a character boundary (the note as
// above). True when anything was cut, so that the caller can say so.
bool FitTextsToLimits(Seller& seller);
bool FitTextsToLimits(Item& item);

}  // namespace Kramo
