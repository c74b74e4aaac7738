// Fixture trees for file-system tests: a private directory under the prefix's temporary folder; files and
// directories made and read through \\?\ paths (any length, any characters); snapshots to compare trees byte for
// byte; and, under Wine, real Unix symbolic links made by the host's ln.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel::test {

// A fresh directory %TEMP%\tavrel-<tag>-<process>-<n>, removed with everything in it when the object goes.
class TempTree {
 public:
  explicit TempTree(std::wstring_view tag = L"tree");
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::wstring& Root() const { return root; }
  // Root() + "\" + relative.
  std::wstring Path(std::wstring_view relative) const;

 private:
  std::wstring root;
};

// Absolute paths, with or without the \\?\ prefix.
bool MakeDirectory(const std::wstring& path);
bool WriteBytes(const std::wstring& path, std::string_view bytes);
std::optional<std::string> ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
DWORD Attributes(const std::wstring& path);  // INVALID_FILE_ATTRIBUTES when nothing is there
// Under Wine a directory is made read-only by taking away its write permission.
bool SetReadOnly(const std::wstring& path, bool readOnly);

// Everything below a directory by relative path: a file's bytes, "<dir>" for a directory, "<link>" for a reparse
// point, which is not walked into.
using TreeSnapshot = std::map<std::wstring, std::string>;
TreeSnapshot Snapshot(const std::wstring& root);

// Holds a file open without sharing, as a running game holds its cache files.
class LockedFile {
 public:
  explicit LockedFile(const std::wstring& path);
  ~LockedFile() { Release(); }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  bool IsHeld() const { return handle != INVALID_HANDLE_VALUE; }
  void Release();

 private:
  HANDLE handle = INVALID_HANDLE_VALUE;
};

// Under Wine only (nothing elsewhere): the host's path of a Windows path, a shell command line run on the host
// with its exit status, and a Unix symbolic link `link` -> `unixTarget` made with ln -s.
std::optional<std::string> UnixPath(const std::wstring& windowsPath);
std::optional<int> RunHostShell(const std::string& script);
bool MakeUnixSymlink(const std::string& unixTarget, const std::wstring& link);

}  // namespace tavrel::test
