#pragma once

#include <climits>
#include <cstddef>
#include <string>

#include "support/Timestamp.h"

namespace Kramo {

// "Prefix_yy-mm-dd_hh-mm.ext" with the local time: the proposed name of a saved document.
std::string TimeStampedFileName(const std::string& prefix, const std::string& extension,
                                const Timestamp& time);
std::string TimeStampedFileName(const std::string& prefix, const std::string& extension);

// folder + name when no such file exists yet, else the name with "_2", "_3", ... before its
// extension: the first that is free. The folder ends with its separator.
std::string FreeFilePath(const std::string& folder, const std::string& name);

// The longest name a document file gets: the system's limit less room for the temporary name
// under which the writer puts the file beside its place first.
constexpr std::size_t LongestDocumentName = NAME_MAX - 24;

// A text from the data as a part of a file name: separators become '_', so that the name
// stays inside its folder; cut to at most maximumBytes, never inside a UTF-8 character.
std::string FileNamePart(const std::string& text, std::size_t maximumBytes = LongestDocumentName);

// "PoPredaji_<code>_yy-mm-dd_hh-mm.pdf", the name of a seller's statement. The code is made a
// file name part and cut so that the name, numbered by FreeFilePath, stays within
// LongestDocumentName.
std::string StatementFileName(const std::string& sellerCode, const Timestamp& time);

// "Uzavierka_<desk>_yy-mm-dd_hh-mm.pdf", the name of a desk's cash-up, made like
// StatementFileName.
std::string CashUpFileName(const std::string& desk, const Timestamp& time);

}  // namespace Kramo
