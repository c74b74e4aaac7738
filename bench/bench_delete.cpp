// Clearing the cache: times the tool's own delete operation on a tree that scripts/bench has generated, and breaks
// the cost of a delete of that kind down into its steps.
//
//   bench_delete <path>          framework::DeleteDirectoryTree(path), one line: ms=... removed=... failed=... gone=...
//   bench_delete --steps <path>  deletes the tree step by step as the tool's walk does (list a directory through its
//                                handle, open each entry relative to it, read the handle's name, set the delete
//                                disposition, close) and prints the time spent in each step over the whole tree
//   bench_delete --loop <path>   deletes the tree with a plain FindFirstFileExW / DeleteFileW / RemoveDirectoryW walk:
//                                a speed reference only, as under Wine it deletes through links what they point to
#define WIN32_NO_STATUS
#include <windows.h>
#undef WIN32_NO_STATUS
#include <ntstatus.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "framework/application.h"
#include "framework/file_system.h"

namespace {

using tavrel::framework::Uptime;

int RunTool(const std::wstring& path) {
  const double start = Uptime();
  const tavrel::framework::DeleteReport report = tavrel::framework::DeleteDirectoryTree(path);
  const double elapsed = Uptime() - start;
  std::printf("ms=%.1f removed=%llu failed=%llu gone=%d\n", elapsed, static_cast<unsigned long long>(report.removed),
              static_cast<unsigned long long>(report.failed), report.gone ? 1 : 0);
  return report.gone ? 0 : 1;
}

// Milliseconds spent in each step of a handle-relative delete, summed over the tree.
struct StepTimes {
  double list = 0;
  double open = 0;
  double name = 0;
  double dispose = 0;
  double close = 0;
  std::uint64_t entries = 0;
  std::uint64_t directories = 0;
};

class Stopwatch {
 public:
  explicit Stopwatch(double& total) : total(total), start(Uptime()) {}
  ~Stopwatch() { total += Uptime() - start; }
  Stopwatch(const Stopwatch&) = delete;
  Stopwatch& operator=(const Stopwatch&) = delete;

 private:
  double& total;
  double start;
};

struct Listed {
  std::wstring name;
  DWORD attributes;
};

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr std::size_t kBufferBytes = 64 * 1024 + 64;

class StepDeleter {
 public:
  StepTimes times;

  // Deletes `name` in the directory open as `parent` with everything below it; false when something stays.
  bool Delete(HANDLE parent, const std::wstring& name, bool directory) {
    HANDLE handle = nullptr;
    {
      Stopwatch watch(times.open);
      handle = Open(parent, name, directory);
    }
    if (!handle) return false;
    ++times.entries;
    {
      Stopwatch watch(times.name);
      ULONG length = 0;
      NtQueryObject(handle, ObjectNameInformation, buffer.data(), static_cast<ULONG>(kBufferBytes), &length);
    }
    bool empty = true;
    if (directory) {
      ++times.directories;
      std::vector<Listed> entries;
      {
        Stopwatch watch(times.list);
        entries = List(handle);
      }
      for (const Listed& entry : entries) {
        empty = Delete(handle, entry.name, (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) && empty;
      }
    }
    if (empty) {
      Stopwatch watch(times.dispose);
      FILE_DISPOSITION_INFORMATION info{};
      info.DoDeleteFile = TRUE;
      IO_STATUS_BLOCK io{};
      empty = NT_SUCCESS(NtSetInformationFile(handle, &io, &info, sizeof info, FileDispositionInformation));
    }
    Stopwatch watch(times.close);
    CloseHandle(handle);
    return empty;
  }

 private:
  HANDLE Open(HANDLE parent, const std::wstring& name, bool directory) {
    UNICODE_STRING unicodeName;
    unicodeName.Buffer = const_cast<PWSTR>(name.data());
    unicodeName.Length = unicodeName.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &unicodeName, 0, parent, nullptr);
    const ACCESS_MASK access = DELETE | SYNCHRONIZE | (directory ? FILE_LIST_DIRECTORY : 0);
    const ULONG options = (directory ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE) | FILE_OPEN_REPARSE_POINT |
                          FILE_SYNCHRONOUS_IO_NONALERT;
    HANDLE handle = nullptr;
    IO_STATUS_BLOCK io{};
    return NT_SUCCESS(NtOpenFile(&handle, access, &attributes, &io, kShareAll, options)) ? handle : nullptr;
  }

  std::vector<Listed> List(HANDLE directory) {
    std::vector<Listed> entries;
    FILE_INFO_BY_HANDLE_CLASS infoClass = FileFullDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(directory, infoClass, buffer.data(), static_cast<DWORD>(kBufferBytes))) {
      infoClass = FileFullDirectoryInfo;
      const auto* bytes = reinterpret_cast<const std::byte*>(buffer.data());
      for (std::size_t offset = 0;;) {
        const auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(bytes + offset);
        const std::wstring_view name(info->FileName, info->FileNameLength / sizeof(wchar_t));
        if (name != L"." && name != L"..") entries.push_back({std::wstring(name), info->FileAttributes});
        if (info->NextEntryOffset == 0) break;
        offset += info->NextEntryOffset;
      }
    }
    return entries;
  }

  std::vector<ULONGLONG> buffer = std::vector<ULONGLONG>(kBufferBytes / sizeof(ULONGLONG));
};

int RunSteps(const std::wstring& path) {
  const std::size_t separator = path.rfind(L'\\');
  if (separator == std::wstring::npos) return 2;
  const std::wstring parentPath = path.substr(0, separator + 1);
  const HANDLE parent = CreateFileW(parentPath.c_str(), FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (parent == INVALID_HANDLE_VALUE) return 2;
  StepDeleter deleter;
  const double start = Uptime();
  const bool gone = deleter.Delete(parent, path.substr(separator + 1), true);
  const double elapsed = Uptime() - start;
  CloseHandle(parent);
  const StepTimes& t = deleter.times;
  std::printf("ms=%.1f entries=%llu directories=%llu list=%.1f open=%.1f name=%.1f dispose=%.1f close=%.1f gone=%d\n",
              elapsed, static_cast<unsigned long long>(t.entries), static_cast<unsigned long long>(t.directories),
              t.list, t.open, t.name, t.dispose, t.close, gone ? 1 : 0);
  return gone ? 0 : 1;
}

// The walk a plain Win32 program would write. Under Wine it walks into a link to a directory, and removing the link
// removes its target: never a way to clear the cache, only the floor of a walk by path.
bool LoopDelete(const std::wstring& directory) {
  WIN32_FIND_DATAW data;
  const HANDLE find =
      FindFirstFileExW((directory + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  bool empty = true;
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = directory + L"\\" + name;
      empty =
          ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? LoopDelete(path) : DeleteFileW(path.c_str())) && empty;
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  return empty && RemoveDirectoryW(directory.c_str());
}

int RunLoop(const std::wstring& path) {
  const double start = Uptime();
  const bool gone = LoopDelete(path);
  std::printf("ms=%.1f gone=%d\n", Uptime() - start, gone ? 1 : 0);
  return gone ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2) return RunTool(argv[1]);
  if (argc == 3 && std::wstring_view(argv[1]) == L"--steps") return RunSteps(argv[2]);
  if (argc == 3 && std::wstring_view(argv[1]) == L"--loop") return RunLoop(argv[2]);
  std::fprintf(stderr, "usage: bench_delete [--steps | --loop] <directory>\n");
  return 2;
}
