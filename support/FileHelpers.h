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

// How ReplaceFileContents ended.
enum class Replacement { Done, NotOpened, NotWritten };

// Puts the content into the file at path so that the path holds either its former content or
// all of the new one, also after a crash or on a full disk: the content goes to temporaryPath
// beside it, is flushed to the disk and renamed over the path. After a failure the temporary
// file is gone and errno tells why.
Replacement ReplaceFileContents(const std::string& path, const std::string& temporaryPath,
                                const std::string& content);

}  // namespace Kramo
