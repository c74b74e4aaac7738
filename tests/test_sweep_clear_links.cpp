// Nothing outside the cache is ever touched: a cache that holds real Unix links (made by the host's ln, as Wine's
// CreateSymbolicLinkW makes none) into a sentinel tree beside it: a directory link, a file link, a relative link, a
// link to a folder above the cache (following it would walk the cache and the sentinel again) and a hard link to a
// sentinel file. After the clear every file of the sentinel has the hash it had before, everything of the cache that
// is not a link is gone, and the report says the cache is gone exactly when it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/file_system.h"
#include "tests/support/temp_tree.h"
#include "tests/support/wine_stubs.h"

namespace tavrel::test {
namespace {

std::uint64_t Fnv1a(const std::string& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) hash = (hash ^ static_cast<std::uint8_t>(c)) * 0x100000001b3ull;
  return hash;
}

// Every entry below a directory by relative path: the hash of a file's bytes, or of "<dir>".
std::map<std::wstring, std::uint64_t> Hashes(const std::wstring& root) {
  std::map<std::wstring, std::uint64_t> hashes;
  for (const auto& [path, content] : Snapshot(root)) hashes[path] = Fnv1a(content);
  return hashes;
}

std::string ShellWord(const std::string& word) { return "'" + word + "'"; }

class ClearWithLinks : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine()) GTEST_SKIP() << "the links are made by the host's ln under Wine";
    ASSERT_TRUE(MakeDirectory(sentinel));
    ASSERT_TRUE(MakeDirectory(sentinel + L"\\inner"));
    ASSERT_TRUE(MakeDirectory(sentinel + L"\\inner\\deep"));
    for (int i = 0; i < 12; ++i) {
      const std::wstring folder = i < 4 ? sentinel : i < 8 ? sentinel + L"\\inner" : sentinel + L"\\inner\\deep";
      ASSERT_TRUE(WriteBytes(folder + L"\\s" + std::to_wstring(i) + L".dat", std::string(100 + 37 * i, 'a' + i)));
    }
    const std::optional<std::string> unix = UnixPath(sentinel);
    ASSERT_TRUE(unix);
    unixSentinel = *unix;
    before = Hashes(sentinel);
    ASSERT_EQ(before.size(), 14u);
  }

  // A cache of ordinary files and folders, with the links among them.
  void MakeCache() {
    ASSERT_TRUE(MakeDirectory(cache));
    ASSERT_TRUE(MakeDirectory(cache + L"\\sub"));
    ASSERT_TRUE(MakeDirectory(cache + L"\\sub\\deeper"));
    for (int i = 0; i < 9; ++i) {
      const std::wstring folder = i < 3 ? cache : i < 6 ? cache + L"\\sub" : cache + L"\\sub\\deeper";
      ASSERT_TRUE(WriteBytes(folder + L"\\c" + std::to_wstring(i) + L".bin", std::string(64 * (i + 1), 'z')));
    }
    const std::optional<std::string> unixTree = UnixPath(tree.Root());
    ASSERT_TRUE(unixTree);
    ASSERT_TRUE(MakeUnixSymlink(unixSentinel, cache + L"\\to-sentinel"));
    ASSERT_TRUE(MakeUnixSymlink(unixSentinel + "/s1.dat", cache + L"\\to-file.dat"));
    ASSERT_TRUE(MakeUnixSymlink("../../../Sentinel/inner", cache + L"\\sub\\deeper\\relative"));
    ASSERT_TRUE(MakeUnixSymlink(*unixTree, cache + L"\\sub\\to-above"));
    const std::optional<std::string> unixCache = UnixPath(cache);
    ASSERT_TRUE(unixCache);
    ASSERT_EQ(RunHostShell("ln -- " + ShellWord(unixSentinel + "/inner/s5.dat") + " " +
                           ShellWord(*unixCache + "/sub/hard.dat")),
              0);
    links = {L"to-sentinel", L"to-file.dat", L"sub\\deeper\\relative", L"sub\\to-above"};
  }

  // The sentinel as it was, file by file.
  void ExpectSentinelIntact() {
    const std::map<std::wstring, std::uint64_t> after = Hashes(sentinel);
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [path, hash] : before) {
      const auto found = after.find(path);
      EXPECT_TRUE(found != after.end() && found->second == hash)
          << "changed in the sentinel: " << std::string(path.begin(), path.end());
    }
  }

  TempTree tree{L"links"};
  const std::wstring sentinel = tree.Path(L"Sentinel");
  const std::wstring cache = tree.Path(L"Cache");
  std::string unixSentinel;
  std::map<std::wstring, std::uint64_t> before;
  std::vector<std::wstring> links;
};

TEST_F(ClearWithLinks, LinksInsideTheCacheLeaveTheSentinelAlone) {
  MakeCache();
  const framework::DeleteReport report = framework::DeleteDirectoryTree(cache);
  ExpectSentinelIntact();
  EXPECT_FALSE(report.refused);
  EXPECT_EQ(report.gone, !Exists(cache));

  // Of the cache only links may stay (Wine removes none, see framework/file_system.cpp), with the folders that hold
  // them; every ordinary file and folder besides is gone, the hard link among them.
  std::set<std::wstring> allowed;
  for (const std::wstring& link : links) {
    for (std::wstring path = link;; path = path.substr(0, path.rfind(L'\\'))) {
      allowed.insert(path);
      if (path.find(L'\\') == std::wstring::npos) break;
    }
  }
  if (Exists(cache)) {
    for (const auto& [path, content] : Snapshot(cache)) {
      const bool belowLink = std::any_of(links.begin(), links.end(), [&](const std::wstring& link) {
        return path.size() > link.size() && path.starts_with(link + L"\\");
      });
      EXPECT_TRUE(allowed.count(path) || belowLink) << "left in the cache: " << std::string(path.begin(), path.end());
    }
    EXPECT_FALSE(report.gone);
    EXPECT_GT(report.failed, 0u) << "something stayed, and the report must say so";
  }
  EXPECT_FALSE(Exists(cache + L"\\sub\\hard.dat"));
  EXPECT_LE(report.linksKept, report.failed);
}

TEST_F(ClearWithLinks, ACacheThatIsItselfALinkLeavesTheSentinelAlone) {
  ASSERT_TRUE(MakeUnixSymlink(unixSentinel, cache));
  const framework::DeleteReport report = framework::DeleteDirectoryTree(cache);
  ExpectSentinelIntact();
  EXPECT_EQ(report.gone, !Exists(cache));
}

}  // namespace
}  // namespace tavrel::test
