#pragma once

#include <string>

namespace Kramo {

// The path up to and including its last '/' or '\'; empty when it has none. At most 511
// characters.
std::string DirectoryOfPath(const std::string& path);

// The text after the path's last '.', in ASCII lower case; empty without a '.'.
std::string LowerCaseExtension(const std::string& path);

// True when the path is a directory afterwards; creates one level, never parents.
bool CreateDirectoryIfMissing(const std::string& path);
bool CreateDirectoryIfMissing(const std::string& parent, const std::string& name);

// Copies the whole content; logs which side failed and answers false.
bool CopyFileContents(const std::string& source, const std::string& target);

}  // namespace Kramo
