// The framework's two file-system operations: delete a directory tree, create one directory.
#pragma once

#include <cstdint>
#include <string>

namespace tavrel::framework {

// What DeleteDirectoryTree did. An entry is a file, a directory or a link; the directory itself is one.
struct DeleteReport {
  std::uint64_t removed = 0;     // entries removed
  std::uint64_t failed = 0;      // entries that stay for a reason of their own (in use, denied, a link kept)
  std::uint64_t linksKept = 0;   // of the failed, links the platform could only have removed with their targets
  std::uint64_t bytesFreed = 0;  // sizes of the files removed
  std::uint32_t firstError = 0;  // Win32 error code of the first failure, 0 when nothing failed
  bool gone = false;             // nothing is at the path afterwards, also when nothing was there before
  bool refused = false;          // the path was refused and nothing was touched
};

// Deletes the directory with everything below it, deepest first, then the directory itself; a failure on one
// entry does not stop the others. Never follows a link: a junction or symbolic link in the tree, or the directory
// itself when it is one, goes as a link and what it points to is left alone. Leading blanks are skipped. Refused:
// an empty or relative path (so also a bare drive "C:"), a root of a drive or share ("C:\", "C:/"), wildcards,
// a path that names something other than a directory. The path is in the ANSI code page of the file functions.
DeleteReport DeleteDirectoryTree(const std::string& path);
DeleteReport DeleteDirectoryTree(const std::wstring& path);

// Creates the last component of the path only, with default security. False, changing nothing, when something
// of that name exists or the parent is missing; paths are taken as DeleteDirectoryTree takes them.
bool CreateOneDirectory(const std::string& path);
bool CreateOneDirectory(const std::wstring& path);

}  // namespace tavrel::framework
