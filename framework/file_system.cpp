// Deleting a directory tree without ever following a link, and creating one directory.
//
// The walk works on handles, not paths: each directory is listed once through its own handle, and each entry is
// opened relative to it (NtOpenFile with an OBJECT_ATTRIBUTES RootDirectory) with FILE_OPEN_REPARSE_POINT and
// deleted through that handle. Only the directory itself is looked up by path, so names of any length and any
// characters work, nothing is resolved twice, and a link swapped in during the walk is never walked through.
//
// Wine 8.0 ignores FILE_OPEN_REPARSE_POINT: a handle to a Unix symlink is a handle to its target, and every way of
// deleting through it (a delete disposition, FILE_DELETE_ON_CLOSE, DeleteFileW, RemoveDirectoryW) removes the
// target and keeps the link. It shows FILE_ATTRIBUTE_REPARSE_POINT on links to directories only; a link to a file
// lists as a plain file with its target's size and attributes. What gives such a handle away is its object name,
// which is the target's. So before anything is changed through a handle, its name must be the name of its
// directory's handle, a backslash and the listed name; a handle that fails this is closed untouched and its entry
// is kept and reported. Wine offers no call that removes only the link.

#include "framework/file_system.h"

#define WIN32_NO_STATUS
#include <windows.h>
#undef WIN32_NO_STATUS
#include <ntstatus.h>
#include <winternl.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrel::framework {
namespace {

// Owns a handle and closes it once; Traits::Close says how.
template <typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE owned) : handle(owned) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle = std::exchange(other.handle, nullptr);
    }
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  HANDLE Get() const { return handle; }
  explicit operator bool() const { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  void Reset() {
    if (*this) Traits::Close(handle);
    handle = nullptr;
  }

 private:
  HANDLE handle = nullptr;
};

struct KernelHandleTraits {
  static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct FindHandleTraits {
  static void Close(HANDLE handle) { FindClose(handle); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The attributes FileBasicInformation sets; the others (directory, reparse point, compressed...) belong to the file
// system.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// A sharing violation mostly ends within moments (a virus scanner or an indexer reading the file): retried for
// about 200 ms per entry, but for at most about a second in one deletion, so that a game that holds many of its
// files does not freeze the window for minutes.
constexpr DWORD kRetryDelaysMs[] = {10, 20, 40, 60, 70};
constexpr DWORD kRetryBudgetMs = 1000;
// One listing call's worth of entries, and room for the longest object name (32 767 characters).
constexpr std::size_t kBufferBytes = 64 * 1024 + 64;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
// Characters no name may hold, with the wildcards of FindFirstFileExW and of the NT listing among them.
bool IsForbidden(wchar_t c) { return c < 0x20 || std::wstring_view(L"<>:\"/|?*").find(c) != std::wstring_view::npos; }
bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }
bool IsWalkedInto(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
// Gone between listing and opening, or going: not ours to count.
bool IsVanished(NTSTATUS status) {
  return status == STATUS_OBJECT_NAME_NOT_FOUND || status == STATUS_OBJECT_PATH_NOT_FOUND ||
         status == STATUS_DELETE_PENDING;
}

// A path as the operations use it: the \\?\ form of the whole, and the directory that holds its last component.
struct TreePath {
  std::wstring full;    // \\?\C:\...\name or \\?\UNC\server\share\...\name
  std::wstring parent;  // with a trailing backslash only when it is a root
};

// The TreePath of `path`, or nothing when it is refused: blank; relative or drive-relative (a bare "C:" too), as it
// would depend on a current directory; a root of a drive or share; a device path; wildcards or characters no name
// may hold; empty, "." or ".." components left in a \\?\ path.
std::optional<TreePath> PrepareTreePath(std::wstring_view path) {
  while (!path.empty() && IsBlank(path.front())) path.remove_prefix(1);
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return std::nullopt;
  constexpr std::wstring_view kVerbatim = L"\\\\?\\";
  std::wstring full;
  if (path.starts_with(kVerbatim)) {
    full.assign(path);
  } else {
    const bool drive = path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]);
    const bool unc =
        path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] != L'?' && path[2] != L'.';
    if (!drive && !unc) return std::nullopt;
    const std::wstring given(path);
    DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::nullopt;
    std::wstring normal(size, L'\0');
    size = GetFullPathNameW(given.c_str(), size, normal.data(), nullptr);
    if (size == 0 || size >= normal.size()) return std::nullopt;
    normal.resize(size);
    full = drive ? std::wstring(kVerbatim) + normal : std::wstring(kVerbatim) + L"UNC\\" + normal.substr(2);
  }

  // The root: "\\?\C:\" or "\\?\UNC\server\share\".
  std::wstring_view rest = std::wstring_view(full).substr(kVerbatim.size());
  std::size_t rootLength = 0;
  const bool driveForm = rest.size() >= 3 && IsDriveLetter(rest[0]) && rest[1] == L':' && rest[2] == L'\\';
  if (driveForm) {
    rootLength = kVerbatim.size() + 3;
  } else if (rest.starts_with(L"UNC\\")) {
    const std::size_t server = rest.find(L'\\', 4);
    const std::size_t share = server == std::wstring_view::npos ? server : rest.find(L'\\', server + 1);
    if (share == std::wstring_view::npos || server == 4 || share == server + 1) return std::nullopt;
    rootLength = kVerbatim.size() + share + 1;
  } else {
    return std::nullopt;
  }
  while (full.size() > rootLength && full.back() == L'\\') full.pop_back();
  if (full.size() <= rootLength) return std::nullopt;

  for (std::size_t i = kVerbatim.size(); i < full.size(); ++i) {
    if (IsForbidden(full[i]) && !(driveForm && i == kVerbatim.size() + 1)) return std::nullopt;
  }
  for (std::size_t start = rootLength; start <= full.size();) {
    const std::size_t end = std::min(full.find(L'\\', start), full.size());
    const std::wstring_view component = std::wstring_view(full).substr(start, end - start);
    if (component.empty() || component == L"." || component == L"..") return std::nullopt;
    start = end + 1;
  }

  const std::size_t lastSeparator = full.rfind(L'\\');
  TreePath tree;
  tree.parent = full.substr(0, lastSeparator + 1 == rootLength ? rootLength : lastSeparator);
  tree.full = std::move(full);
  return tree;
}

// The wide form of an ANSI path, in the code page the ANSI file functions use; nothing when a byte does not
// convert (a replacement character would name another file).
std::optional<std::wstring> WidePath(const std::string& path) {
  if (path.empty()) return std::wstring();
  if (path.size() > INT_MAX) return std::nullopt;
  const UINT codePage = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  const int size = static_cast<int>(path.size());
  const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), length) != length) {
    return std::nullopt;
  }
  return wide;
}

NTSTATUS SetAttributes(HANDLE handle, DWORD attributes) {
  FILE_BASIC_INFORMATION info{};  // zero times are left as they are
  info.FileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
  IO_STATUS_BLOCK io{};
  return NtSetInformationFile(handle, &io, &info, sizeof info, FileBasicInformation);
}

// The entry goes when its last handle closes.
NTSTATUS SetDeleteDisposition(HANDLE handle) {
  FILE_DISPOSITION_INFORMATION info{};
  info.DoDeleteFile = TRUE;
  IO_STATUS_BLOCK io{};
  return NtSetInformationFile(handle, &io, &info, sizeof info, FileDispositionInformation);
}

// Whether `own`, the object name of a handle opened as `name` in the directory named `parentName`, is the name of
// that entry itself.
bool IsEntryName(std::wstring_view own, std::wstring_view parentName, std::wstring_view name) {
  const bool parentIsRoot = !parentName.empty() && parentName.back() == L'\\';
  const std::size_t separator = parentIsRoot ? 0 : 1;
  return own.size() == parentName.size() + separator + name.size() && own.starts_with(parentName) &&
         (parentIsRoot || own[parentName.size()] == L'\\') && own.ends_with(name);
}

// One entry of a listing: its name within Frame::names, its attributes and size as listed.
struct ListedEntry {
  std::size_t nameOffset = 0;
  std::size_t nameLength = 0;
  DWORD attributes = 0;
  std::uint64_t size = 0;
};

// A directory of the walk: its handle, the handle's object name, its listing and how far the walk has come.
struct Frame {
  KernelHandle handle;
  std::wstring name;
  std::wstring entryName;  // in its parent
  DWORD attributes = 0;    // as listed
  std::wstring names;
  std::vector<ListedEntry> entries;
  std::size_t next = 0;
  bool keeps = false;   // something below stays, so the directory stays too
  bool anchor = false;  // the parent of the directory to delete: its one entry is walked, it is never removed

  std::wstring_view NameOf(const ListedEntry& entry) const {
    return std::wstring_view(names).substr(entry.nameOffset, entry.nameLength);
  }
};

class TreeDeleter {
 public:
  explicit TreeDeleter(DeleteReport& report) : report(report), buffer(kBufferBytes / sizeof(ULONGLONG)) {}

  // Deletes `name` (with its attributes as listed) in the directory open as `parent`, and all below it.
  void Run(KernelHandle parent, std::wstring_view name, DWORD attributes) {
    Frame anchor;
    anchor.anchor = true;
    anchor.handle = std::move(parent);
    const std::optional<std::wstring_view> anchorName = ObjectName(anchor.handle.Get());
    if (!anchorName) return;
    anchor.name.assign(*anchorName);
    anchor.names.assign(name);
    anchor.entries.push_back({0, name.size(), attributes, 0});

    std::vector<Frame> stack;
    stack.push_back(std::move(anchor));
    while (!stack.empty()) {
      Frame& top = stack.back();
      if (top.next < top.entries.size()) {
        const ListedEntry entry = top.entries[top.next++];
        if (!IsWalkedInto(entry.attributes)) {
          RemoveLeaf(top, entry);
        } else if (std::optional<Frame> child = Enter(top, entry)) {
          stack.push_back(std::move(*child));  // `top` may dangle from here on
        }
        continue;
      }
      const bool marked = !top.anchor && Leave(top);
      const std::wstring name = std::move(top.entryName);
      stack.pop_back();  // closing the last handle is what deletes a marked directory
      if (stack.empty()) break;
      Frame& parent = stack.back();
      if (marked && IsGone(parent, name)) {
        ++report.removed;
      } else {
        if (marked) CountFailure(ERROR_DIR_NOT_EMPTY);
        parent.keeps = true;
      }
    }
  }

 private:
  // Opens the directory `entry` of `parent` for the walk and lists it; nothing when it cannot be walked into.
  std::optional<Frame> Enter(Frame& parent, const ListedEntry& entry) {
    const std::wstring_view name = parent.NameOf(entry);
    Frame frame;
    frame.entryName.assign(name);
    frame.attributes = entry.attributes;
    const NTSTATUS status = Open(parent, name, DELETE | FILE_LIST_DIRECTORY | WriteAttributesFor(entry.attributes),
                                 FILE_DIRECTORY_FILE, frame.handle);
    if (IsVanished(status)) return std::nullopt;
    if (!NT_SUCCESS(status)) {
      Fail(parent, status);
      return std::nullopt;
    }
    const std::optional<std::wstring_view> own = VerifiedName(frame.handle.Get(), parent, name);
    if (!own) return std::nullopt;
    frame.name.assign(*own);
    if (const DWORD error = List(frame); error != ERROR_SUCCESS) {
      CountFailure(error);  // what was listed is still deleted; the directory stays
      frame.keeps = true;
    }
    return frame;
  }

  // Every entry of `frame` is dealt with: marks the directory for deletion unless something below stays. True if
  // it is marked.
  bool Leave(Frame& frame) {
    if (frame.keeps) return false;
    const NTSTATUS status = MarkForDeletion(frame.handle.Get(), frame.attributes, true);
    if (NT_SUCCESS(status)) return true;
    CountFailure(RtlNtStatusToDosError(status));
    return false;
  }

  // Whether the directory `name` of `parent` is gone now that its handle is closed. Wine removes a marked directory
  // only then, and silently keeps it when it holds what Wine does not list (a dangling Unix symlink).
  bool IsGone(const Frame& parent, std::wstring_view name) {
    KernelHandle handle;
    return IsVanished(Open(parent, name, FILE_READ_ATTRIBUTES, 0, handle));
  }

  // Removes an entry that is not walked into: a file, or a link or other reparse point, which goes as itself.
  void RemoveLeaf(Frame& parent, const ListedEntry& entry) {
    const std::wstring_view name = parent.NameOf(entry);
    KernelHandle handle;
    const ULONG kind = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE;
    NTSTATUS status = Open(parent, name, DELETE | WriteAttributesFor(entry.attributes), kind, handle);
    if (IsVanished(status)) return;
    if (!NT_SUCCESS(status)) return Fail(parent, status);
    if (!VerifiedName(handle.Get(), parent, name)) return;
    status = MarkForDeletion(handle.Get(), entry.attributes, false);
    if (!NT_SUCCESS(status)) return Fail(parent, status);
    ++report.removed;
    if (!(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT)) report.bytesFreed += entry.size;
  }

  // Marks the entry open as `handle` for deletion. Windows refuses to delete a read-only file or directory, and so
  // does Wine (for a directory, one without write permission): the flag goes first, and comes back when the
  // deletion is refused all the same. A directory's flag stays untouched until then, as Windows lets the entries of
  // a read-only directory go. A directory that is not empty yet may hold files deleted by us but still open
  // elsewhere (a virus scanner, say), which Windows removes only at their last close: they get the same short
  // grace as a sharing violation.
  NTSTATUS MarkForDeletion(HANDLE handle, DWORD attributes, bool directory) {
    const DWORD settable = attributes & kSettableAttributes;
    const bool readOnly = settable & FILE_ATTRIBUTE_READONLY;
    NTSTATUS status = readOnly ? SetAttributes(handle, settable & ~FILE_ATTRIBUTE_READONLY) : STATUS_SUCCESS;
    if (NT_SUCCESS(status)) {
      status = directory ? Retrying(STATUS_DIRECTORY_NOT_EMPTY, [&] { return SetDeleteDisposition(handle); })
                         : SetDeleteDisposition(handle);
    }
    if (!NT_SUCCESS(status) && readOnly) SetAttributes(handle, settable);
    return status;
  }

  // Opens `name` in `parent` itself, not what it may link to (FILE_OPEN_REPARSE_POINT, which Wine ignores: see the
  // top of the file), retrying sharing violations.
  NTSTATUS Open(const Frame& parent, std::wstring_view name, ACCESS_MASK access, ULONG kind, KernelHandle& opened) {
    UNICODE_STRING unicodeName;
    unicodeName.Buffer = const_cast<PWSTR>(name.data());
    unicodeName.Length = unicodeName.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &unicodeName, 0, parent.handle.Get(), nullptr);
    return Retrying(STATUS_SHARING_VIOLATION, [&] {
      HANDLE handle = nullptr;
      IO_STATUS_BLOCK io{};
      const NTSTATUS status = NtOpenFile(&handle, access | SYNCHRONIZE, &attributes, &io, kShareAll,
                                         kind | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT);
      if (NT_SUCCESS(status)) opened = KernelHandle(handle);
      return status;
    });
  }

  // The object name of `handle`, opened as `name` in `parent`, when it is that entry itself. A handle that bears
  // another name is one Wine opened through a link (see the top of the file): counted as a kept link.
  std::optional<std::wstring_view> VerifiedName(HANDLE handle, Frame& parent, std::wstring_view name) {
    const std::optional<std::wstring_view> own = ObjectName(handle);
    if (own && IsEntryName(*own, parent.name, name)) return own;
    if (own) {
      ++report.linksKept;
      CountFailure(ERROR_NOT_SUPPORTED);
    }
    parent.keeps = true;
    return std::nullopt;
  }

  // The object name of `handle`, valid until the buffer is used again; a failure is counted.
  std::optional<std::wstring_view> ObjectName(HANDLE handle) {
    ULONG length = 0;
    const NTSTATUS status =
        NtQueryObject(handle, ObjectNameInformation, buffer.data(), static_cast<ULONG>(kBufferBytes), &length);
    if (!NT_SUCCESS(status)) {
      CountFailure(RtlNtStatusToDosError(status));
      return std::nullopt;
    }
    const auto* info = reinterpret_cast<const OBJECT_NAME_INFORMATION*>(buffer.data());
    return std::wstring_view(info->Name.Buffer, info->Name.Length / sizeof(wchar_t));
  }

  // Lists the directory of `frame` once through its handle, without "." and "..". The error that broke the
  // listing off (what came before it is kept), or ERROR_SUCCESS.
  DWORD List(Frame& frame) {
    FILE_INFO_BY_HANDLE_CLASS infoClass = FileFullDirectoryRestartInfo;
    while (
        GetFileInformationByHandleEx(frame.handle.Get(), infoClass, buffer.data(), static_cast<DWORD>(kBufferBytes))) {
      infoClass = FileFullDirectoryInfo;
      const auto* bytes = reinterpret_cast<const std::byte*>(buffer.data());
      for (std::size_t offset = 0;;) {
        const auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(bytes + offset);
        const std::wstring_view name(info->FileName, info->FileNameLength / sizeof(wchar_t));
        if (name != L"." && name != L"..") {
          frame.entries.push_back({frame.names.size(), name.size(), info->FileAttributes,
                                   static_cast<std::uint64_t>(info->EndOfFile.QuadPart)});
          frame.names.append(name);
        }
        if (info->NextEntryOffset == 0) break;
        offset += info->NextEntryOffset;
      }
    }
    const DWORD error = GetLastError();
    const bool emptyWithoutDots = error == ERROR_FILE_NOT_FOUND && infoClass == FileFullDirectoryRestartInfo;
    return error == ERROR_NO_MORE_FILES || emptyWithoutDots ? ERROR_SUCCESS : error;
  }

  // Runs `attempt` again after short pauses while it ends in `transient`, within the retry budget.
  template <typename Attempt>
  NTSTATUS Retrying(NTSTATUS transient, Attempt attempt) {
    NTSTATUS status = attempt();
    for (const DWORD delay : kRetryDelaysMs) {
      if (status != transient || retriedMs + delay > kRetryBudgetMs) break;
      Sleep(delay);
      retriedMs += delay;
      status = attempt();
    }
    return status;
  }

  // The access that clearing a read-only flag takes, asked for only when there is one to clear.
  static ACCESS_MASK WriteAttributesFor(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_READONLY) ? FILE_WRITE_ATTRIBUTES : 0;
  }

  void Fail(Frame& parent, NTSTATUS status) {
    CountFailure(RtlNtStatusToDosError(status));
    parent.keeps = true;
  }

  void CountFailure(DWORD error) {
    ++report.failed;
    if (report.firstError == 0) report.firstError = error;
  }

  DeleteReport& report;
  std::vector<ULONGLONG> buffer;  // listings and object names; 8-byte aligned as both need
  DWORD retriedMs = 0;
};

}  // namespace

DeleteReport DeleteDirectoryTree(const std::string& path) {
  const std::optional<std::wstring> wide = WidePath(path);
  if (wide) return DeleteDirectoryTree(*wide);
  DeleteReport report;
  report.refused = true;
  return report;
}

DeleteReport DeleteDirectoryTree(const std::wstring& path) {
  DeleteReport report;
  const std::optional<TreePath> tree = PrepareTreePath(path);
  if (!tree) {
    report.refused = true;
    return report;
  }
  // The directory's exact name and attributes as its parent lists them: the walk opens it by that name.
  WIN32_FIND_DATAW found;
  if (const FindHandle find(
          FindFirstFileExW(tree->full.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
      !find) {
    const DWORD error = GetLastError();
    report.gone = IsMissing(error);
    if (!report.gone) {
      report.failed = 1;
      report.firstError = error;
    }
    return report;
  }
  if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    report.refused = true;
    return report;
  }
  KernelHandle parent(CreateFileW(tree->parent.c_str(), FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!parent) {
    report.failed = 1;
    report.firstError = GetLastError();
    return report;
  }
  TreeDeleter(report).Run(std::move(parent), found.cFileName, found.dwFileAttributes);
  report.gone = GetFileAttributesW(tree->full.c_str()) == INVALID_FILE_ATTRIBUTES && IsMissing(GetLastError());
  return report;
}

bool CreateOneDirectory(const std::string& path) {
  const std::optional<std::wstring> wide = WidePath(path);
  return wide && CreateOneDirectory(*wide);
}

bool CreateOneDirectory(const std::wstring& path) {
  const std::optional<TreePath> tree = PrepareTreePath(path);
  return tree && CreateDirectoryW(tree->full.c_str(), nullptr);
}

}  // namespace tavrel::framework
