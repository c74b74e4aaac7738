// Clearing under contention: a cache of 1 000 files in 50 folders, every tenth file held open without sharing (as
// a running game holds its files), half of them by this process and half by a helper process. The clear must remove
// exactly the others and the folders left empty, leave the held files byte for byte as they were, say in its report
// that it did not finish (the command then shows its incompletion message), and a second clear after the files are
// released must finish the job.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/file_system.h"
#include "tests/support/temp_tree.h"

namespace tavrel::test {
namespace {

constexpr int kFiles = 1000;
constexpr int kFolders = 50;
constexpr wchar_t kHoldListVariable[] = L"TAVREL_SWEEP_HOLD_LIST";
constexpr wchar_t kHoldEventsVariable[] = L"TAVREL_SWEEP_HOLD_EVENTS";

// Folder f of the tree: a0 to a9, then a0\b0 to a9\b3.
std::wstring Folder(int f) {
  if (f < 10) return L"a" + std::to_wstring(f);
  return L"a" + std::to_wstring((f - 10) / 4) + L"\\b" + std::to_wstring((f - 10) % 4);
}
// File i lies in folder i % 50, so the held ones (every tenth) share five folders and the other 45 empty out.
std::wstring FileOf(int i) { return Folder(i % kFolders) + L"\\c" + std::to_wstring(i) + L".bin"; }
bool IsHeld(int i) { return i % 10 == 0; }
// Bytes of its own for every file, a few of them empty.
std::string ContentOf(int i) {
  const int size = i % 97 == 1 ? 0 : 1 + (i * 37) % 3000;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  for (int k = 0; k < size; ++k) bytes[static_cast<std::size_t>(k)] = static_cast<char>((i * 31 + k * 7) & 0xFF);
  return bytes;
}

// The hold list travels as UTF-16 bytes, one path a line.
std::string ListBytes(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& path : paths) list += path + L"\n";
  return std::string(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(wchar_t));
}
std::wstring ListText(const std::string& bytes) {
  std::wstring list(bytes.size() / sizeof(wchar_t), L'\0');
  std::copy_n(bytes.data(), list.size() * sizeof(wchar_t), reinterpret_cast<char*>(list.data()));
  return list;
}
// For messages only.
std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
  return length < MAX_PATH * 2 ? std::wstring(value, length) : std::wstring();
}

struct Handle {
  HANDLE value;
  explicit Handle(HANDLE h) : value(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (value && value != INVALID_HANDLE_VALUE) CloseHandle(value);
  }
};

// The helper: started by the test below as a second process. It holds every file of the list without sharing,
// signals the first event, and lets go once the second is signalled (or after a minute).
TEST(ContentionHelper, DISABLED_HoldsFilesUntilReleased) {
  const std::wstring list = Variable(kHoldListVariable);
  const std::wstring events = Variable(kHoldEventsVariable);
  if (list.empty() || events.empty()) GTEST_SKIP() << "only run by the contention test";
  const std::optional<std::string> bytes = ReadBytes(list);
  ASSERT_TRUE(bytes);
  const std::wstring paths = ListText(*bytes);
  std::vector<std::unique_ptr<Handle>> held;
  std::size_t start = 0;
  for (std::size_t end; (end = paths.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    const std::wstring path = paths.substr(start, end - start);
    held.push_back(std::make_unique<Handle>(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    ASSERT_NE(held.back()->value, INVALID_HANDLE_VALUE) << Narrow(path);
  }
  const Handle heldEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, (events + L"-held").c_str()));
  const Handle releaseEvent(OpenEventW(SYNCHRONIZE, FALSE, (events + L"-release").c_str()));
  ASSERT_TRUE(heldEvent.value && releaseEvent.value);
  SetEvent(heldEvent.value);
  WaitForSingleObject(releaseEvent.value, 60000);
}

// The helper process and the files it holds, until Release or destruction.
class HelperProcess {
 public:
  HelperProcess(const std::wstring& listPath, const std::vector<std::wstring>& paths) {
    WriteBytes(listPath, ListBytes(paths));
    const std::wstring events = L"TavrelSweepHold-" + std::to_wstring(GetCurrentProcessId());
    heldEvent = CreateEventW(nullptr, TRUE, FALSE, (events + L"-held").c_str());
    releaseEvent = CreateEventW(nullptr, TRUE, FALSE, (events + L"-release").c_str());
    // The helper inherits them with the environment.
    SetEnvironmentVariableW(kHoldListVariable, listPath.c_str());
    SetEnvironmentVariableW(kHoldEventsVariable, events.c_str());

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) +
                               L"\" --gtest_also_run_disabled_tests"
                               L" --gtest_filter=ContentionHelper.DISABLED_HoldsFilesUntilReleased";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      process = info.hProcess;
    }
    SetEnvironmentVariableW(kHoldListVariable, nullptr);
    SetEnvironmentVariableW(kHoldEventsVariable, nullptr);
  }
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;
  ~HelperProcess() {
    Release();
    CloseHandle(heldEvent);
    CloseHandle(releaseEvent);
  }

  // True once the helper holds every file; false when it failed or ended.
  bool WaitUntilHolding() const {
    if (!process) return false;
    const HANDLE waited[] = {heldEvent, process};
    return WaitForMultipleObjects(2, waited, FALSE, 30000) == WAIT_OBJECT_0;
  }
  // Lets the files go and waits for the helper to end; its exit code.
  DWORD Release() {
    if (!process) return exitCode;
    SetEvent(releaseEvent);
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) TerminateProcess(process, 99);
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    process = nullptr;
    return exitCode;
  }

 private:
  HANDLE heldEvent = nullptr;
  HANDLE releaseEvent = nullptr;
  HANDLE process = nullptr;
  DWORD exitCode = 1;
};

TEST(ClearUnderContention, RemovesExactlyWhatIsFreeAndFinishesOnceReleased) {
  TempTree tree(L"contention");
  const std::wstring cache = tree.Path(L"Cache");
  ASSERT_TRUE(MakeDirectory(cache));
  for (int f = 0; f < kFolders; ++f) ASSERT_TRUE(MakeDirectory(cache + L"\\" + Folder(f)));
  for (int i = 0; i < kFiles; ++i) ASSERT_TRUE(WriteBytes(cache + L"\\" + FileOf(i), ContentOf(i)));

  // What must stay while the files are held: each held file and every folder above it.
  std::set<std::wstring> staying;
  std::vector<std::wstring> ours, theirs;
  for (int i = 0; i < kFiles; i += 10) {
    ASSERT_TRUE(IsHeld(i));
    staying.insert(FileOf(i));
    for (std::wstring folder = Folder(i % kFolders);; folder = folder.substr(0, folder.rfind(L'\\'))) {
      staying.insert(folder);
      if (folder.find(L'\\') == std::wstring::npos) break;
    }
    (i % 20 == 0 ? ours : theirs).push_back(cache + L"\\" + FileOf(i));
  }
  const std::uint64_t entries = 1 + kFolders + kFiles;  // the cache directory itself, its folders, its files

  HelperProcess helper(tree.Path(L"hold-list.txt"), theirs);
  ASSERT_TRUE(helper.WaitUntilHolding()) << "the helper process could not hold its files";
  std::vector<std::unique_ptr<LockedFile>> locks;
  for (const std::wstring& path : ours) {
    locks.push_back(std::make_unique<LockedFile>(path));
    ASSERT_TRUE(locks.back()->IsHeld());
  }

  const framework::DeleteReport first = framework::DeleteDirectoryTree(cache);
  EXPECT_FALSE(first.refused);
  EXPECT_FALSE(first.gone) << "the clear command would report success";
  EXPECT_EQ(first.failed, 100u);
  EXPECT_EQ(first.firstError, static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
  // Everything but the cache directory and what stays.
  EXPECT_EQ(first.removed, entries - 1 - staying.size());

  // Exactly the held files and their folders are left.
  std::set<std::wstring> left;
  for (const auto& [path, content] : Snapshot(cache)) left.insert(path);
  EXPECT_EQ(left, staying);

  // Released, the held files are as they were, byte for byte.
  locks.clear();
  EXPECT_EQ(helper.Release(), 0u) << "the helper process failed";
  int changed = 0;
  for (int i = 0; i < kFiles; i += 10) {
    if (ReadBytes(cache + L"\\" + FileOf(i)) != ContentOf(i)) ++changed;
  }
  EXPECT_EQ(changed, 0);

  const framework::DeleteReport second = framework::DeleteDirectoryTree(cache);
  EXPECT_TRUE(second.gone);
  EXPECT_EQ(second.failed, 0u);
  EXPECT_EQ(second.removed, staying.size() + 1);
  EXPECT_FALSE(Exists(cache));
}

}  // namespace
}  // namespace tavrel::test
