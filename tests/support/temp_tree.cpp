#include "tests/support/temp_tree.h"

#include <atomic>
#include <cstdlib>
#include <vector>

#include "framework/file_system.h"
#include "tests/support/wine_stubs.h"

namespace tavrel::test {
namespace {

std::atomic<unsigned> serial{0};

std::wstring Long(const std::wstring& path) { return path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path; }

std::wstring TempFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  return std::wstring(folder, length);
}

std::wstring UniqueName(std::wstring_view tag) {
  return L"tavrel-" + std::wstring(tag) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++serial);
}

std::wstring FromUtf8(const std::string& text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// One argument of a Windows command line, quoted so that the usual argv rules give it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// A word for sh: single-quoted, with ' written as '\''.
std::string ShellQuote(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

void Snap(const std::wstring& directory, const std::wstring& prefix, TreeSnapshot& snapshot) {
  WIN32_FIND_DATAW data;
  const HANDLE find =
      FindFirstFileExW(Long(directory + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = directory + L"\\" + name;
    const std::wstring key = prefix + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      snapshot[key] = "<link>";
    } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      snapshot[key] = "<dir>";
      Snap(path, key + L"\\", snapshot);
    } else {
      snapshot[key] = ReadBytes(path).value_or("<unreadable>");
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

}  // namespace

TempTree::TempTree(std::wstring_view tag) : root(TempFolder() + UniqueName(tag)) { MakeDirectory(root); }

TempTree::~TempTree() {
  // Under Wine the host's rm removes what Wine itself cannot: links, and those it does not even list (dangling).
  if (const std::optional<std::string> unixRoot = UnixPath(root)) {
    RunHostShell("chmod -R u+w -- " + ShellQuote(*unixRoot) + " 2>/dev/null; rm -rf -- " + ShellQuote(*unixRoot));
  } else {
    framework::DeleteDirectoryTree(root);
  }
}

std::wstring TempTree::Path(std::wstring_view relative) const { return root + L"\\" + std::wstring(relative); }

bool MakeDirectory(const std::wstring& path) { return CreateDirectoryW(Long(path).c_str(), nullptr); }

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
  const HANDLE file =
      CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  const HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(Long(path).c_str()); }

bool Exists(const std::wstring& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool SetReadOnly(const std::wstring& path, bool readOnly) {
  const DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  // Wine ignores FILE_ATTRIBUTE_READONLY for a directory when it is set; it shows it on a directory without write
  // permission.
  if (const std::optional<std::string> unixPath = UnixPath(path); unixPath && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return RunHostShell(std::string("chmod ") + (readOnly ? "a-w" : "u+w") + " -- " + ShellQuote(*unixPath)) == 0;
  }
  constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD changed =
      (readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY) & kSettable;
  return SetFileAttributesW(Long(path).c_str(), changed != 0 ? changed : FILE_ATTRIBUTE_NORMAL);
}

TreeSnapshot Snapshot(const std::wstring& root) {
  TreeSnapshot snapshot;
  Snap(root, L"", snapshot);
  return snapshot;
}

LockedFile::LockedFile(const std::wstring& path)
    : handle(CreateFileW(Long(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
}

void LockedFile::Release() {
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
}

std::optional<std::string> UnixPath(const std::wstring& windowsPath) {
  // Exported by Wine's kernel32 only; the result is allocated from the process heap.
  using WineGetUnixFileName = char*(CDECL*)(LPCWSTR);
  static const auto getUnixFileName = reinterpret_cast<WineGetUnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!RunningUnderWine() || !getUnixFileName) return std::nullopt;
  char* unixName = getUnixFileName(windowsPath.c_str());
  if (!unixName) return std::nullopt;
  std::string result = unixName;
  HeapFree(GetProcessHeap(), 0, unixName);
  return result;
}

std::optional<int> RunHostShell(const std::string& script) {
  // Wine starts a native program given by its Z: path but hands back no process handle to wait on: the script
  // ends by writing its status to a marker file, renamed into place so that it is never read half written.
  const std::wstring marker = TempFolder() + UniqueName(L"host") + L".status";
  const std::optional<std::string> unixMarker = UnixPath(marker);
  if (!unixMarker) return std::nullopt;
  const std::string wrapped = "(" + script + "); echo $? > " + ShellQuote(*unixMarker + ".part") + "; mv -- " +
                              ShellQuote(*unixMarker + ".part") + " " + ShellQuote(*unixMarker);
  std::wstring commandLine = L"sh -c " + QuoteArgument(FromUtf8(wrapped));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return std::nullopt;
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  for (int waited = 0; waited < 20000; waited += 10) {
    if (const std::optional<std::string> status = ReadBytes(marker)) {
      DeleteFileW(marker.c_str());
      return std::atoi(status->c_str());
    }
    Sleep(10);
  }
  return std::nullopt;
}

bool MakeUnixSymlink(const std::string& unixTarget, const std::wstring& link) {
  const std::optional<std::string> unixLink = UnixPath(link);
  return unixLink && RunHostShell("ln -s -- " + ShellQuote(unixTarget) + " " + ShellQuote(*unixLink)) == 0;
}

}  // namespace tavrel::test
