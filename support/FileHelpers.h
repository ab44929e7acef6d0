#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "FileHandle.h"

namespace Kramo {

// The path up to and including its last '/' or '\'; empty when it has none. At most 511
// characters.
std::string DirectoryOfPath(const std::string& path);

// The text after the path's last '.', in ASCII lower case; empty without a '.'.
std::string LowerCaseExtension(const std::string& path);

// True when the path is a directory afterwards; creates one level, never parents.
bool CreateDirectoryIfMissing(const std::string& path);
bool CreateDirectoryIfMissing(const std::string& parent, const std::string& name);

// Opens a regular file for reading ("rb" or "rt") without ever waiting: a named pipe, a device
// or a folder under the name is refused (errno EINVAL, or EISDIR for a folder) rather than
// opened, so that no start can hang on one. Null when refused or not opened; errno tells why.
FileHandle OpenRegularFile(const std::string& path, const char* mode = "rb");

// Copies the whole content of a regular file; logs which side failed and answers false.
bool CopyFileContents(const std::string& source, const std::string& target);

// How ReplaceFileContents ended.
enum class Replacement { Done, NotOpened, NotWritten };

// Puts the content into the file at path so that the path holds either its former content or
// all of the new one, also after a crash or on a full disk: the content goes to a new file
// beside it, is flushed to the disk and renamed over the path. The new file is named
// temporaryPath + "." + six random characters and made exclusively, never through an existing
// name or link, so that two writers cannot share one. After a failure it is gone and errno
// tells why.
Replacement ReplaceFileContents(const std::string& path, const std::string& temporaryPath,
                                const std::string& content);
// The same for content written piece by piece into the temporary file: write answers whether
// all of it went in. It must not throw, or the temporary file stays behind.
Replacement ReplaceFileContents(const std::string& path, const std::string& temporaryPath,
                                const std::function<bool(std::FILE*)>& write);

}  // namespace Kramo
