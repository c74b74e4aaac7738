// DeleteDirectoryTree and CreateOneDirectory on real trees in the prefix's temporary folder: the shapes and names
// the walk must take, entries it cannot remove, links it must not follow (real Unix symlinks under Wine), and the
// paths it must refuse.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/file_system.h"
#include "tests/support/temp_tree.h"
#include "tests/support/wine_stubs.h"

namespace tavrel::test {
namespace {

using framework::CreateOneDirectory;
using framework::DeleteDirectoryTree;
using framework::DeleteReport;

// The ANSI form of a wide path, for the ANSI overloads.
std::string Ansi(const std::wstring& wide) {
  const int length =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

// One entry of a fixture tree: a directory when it has no content.
struct Node {
  std::wstring path;
  std::optional<std::string> content;
  bool readOnly = false;
};

// Makes the nodes below `root`, in order, then sets the read-only flags (so nothing goes into a read-only
// directory while it is being filled).
void Build(const std::wstring& root, const std::vector<Node>& nodes) {
  for (const Node& node : nodes) {
    const std::wstring path = root + L"\\" + node.path;
    ASSERT_TRUE(node.content ? WriteBytes(path, *node.content) : MakeDirectory(path)) << Ansi(path);
  }
  for (const Node& node : nodes) {
    if (node.readOnly) {
      ASSERT_TRUE(SetReadOnly(root + L"\\" + node.path, true)) << Ansi(node.path);
      ASSERT_TRUE(Attributes(root + L"\\" + node.path) & FILE_ATTRIBUTE_READONLY) << Ansi(node.path);
    }
  }
}

// A chain of directories, each name 60 characters long, `count` deep: "LLL...1\LLL...2\...".
std::wstring LongChain(int count) {
  std::wstring chain;
  for (int i = 1; i <= count; ++i) {
    if (!chain.empty()) chain += L'\\';
    chain += std::wstring(59, L'L') + std::to_wstring(i % 10);
  }
  return chain;
}

// Every directory of a chain, shallowest first, as nodes.
std::vector<Node> ChainNodes(const std::wstring& chain) {
  std::vector<Node> nodes;
  for (std::size_t end = chain.find(L'\\');; end = chain.find(L'\\', end + 1)) {
    nodes.push_back({chain.substr(0, end), std::nullopt});
    if (end == std::wstring::npos) break;
  }
  return nodes;
}

std::string Describe(const DeleteReport& report) {
  return "removed " + std::to_string(report.removed) + ", failed " + std::to_string(report.failed) + ", linksKept " +
         std::to_string(report.linksKept) + ", bytesFreed " + std::to_string(report.bytesFreed) + ", firstError " +
         std::to_string(report.firstError) + ", gone " + std::to_string(report.gone) + ", refused " +
         std::to_string(report.refused);
}

// ---------------------------------------------------------------------------------------------------------------
// Whole trees go: shapes, names and flags.

struct TreeCase {
  std::string name;
  std::vector<Node> nodes;  // below the directory to delete
  bool rootReadOnly = false;
  std::uint64_t removed = 0;  // entries, the directory itself included
  std::uint64_t bytes = 0;
};

std::vector<TreeCase> TreeCases() {
  std::vector<Node> longPath = ChainNodes(LongChain(6));  // over 360 characters below the directory
  longPath.push_back({LongChain(6) + L"\\end.txt", "tail"});
  return {
      {"Empty", {}, false, 1, 0},
      {"FlatFiles", {{L"a.txt", "abc"}, {L"b.bin", std::string("\0\1\2", 3)}, {L"zero.dat", ""}}, false, 4, 6},
      {"Nested",
       {{L"sub", {}},
        {L"sub\\deeper", {}},
        {L"sub\\deeper\\c.txt", "12345"},
        {L"sub\\x", "xy"},
        {L"empty", {}},
        {L"top", "t"}},
       false,
       7,
       8},
      {"DotNames",
       {{L".hidden", "h"},
        {L".dotdir", {}},
        {L".dotdir\\.inner", "ii"},
        {L".dotdir\\.emptydot", {}},
        {L"..twodots", "22"}},
       false,
       6,
       5},
      {"ReadOnly",
       {{L"ro.txt", "ro", true},
        {L"rodir", {}, true},
        {L"rodir\\inside.txt", "in", true},
        {L"rwdir", {}},
        {L"rwdir\\ro2", "r2", true}},
       false,
       6,
       6},
      {"ReadOnlyDirectoryItself", {{L"f", "f", true}}, true, 2, 1},
      {"NonAnsiNames",
       {{L"缓存", {}},
        {L"缓存\\ñ.txt", "enye"},
        {L"😀", "emoji"},
        {L"한국어", {}},
        {L"한국어\\ไทย.bin", "thai"},
        {L"Ωμέγα", "omega"}},
       false,
       7,
       18},
      {"LongPath", longPath, false, 8, 4},
  };
}

class DeleteTree : public ::testing::TestWithParam<TreeCase> {};

TEST_P(DeleteTree, RemovesEverythingAndCountsIt) {
  const TreeCase& tc = GetParam();
  TempTree tree;
  const std::wstring cache = tree.Path(L"Cache");
  ASSERT_TRUE(MakeDirectory(cache));
  ASSERT_NO_FATAL_FAILURE(Build(cache, tc.nodes));
  if (tc.rootReadOnly) {
    ASSERT_TRUE(SetReadOnly(cache, true));
  }
  // Neighbours whose names begin like the directory's stay.
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{L"Cache2", {}}, {L"Cache2\\f", "f2"}, {L"Cache.bak", "bak"}}));
  const TreeSnapshot neighbours = {{L"Cache.bak", "bak"}, {L"Cache2", "<dir>"}, {L"Cache2\\f", "f2"}};

  const DeleteReport report = DeleteDirectoryTree(Ansi(cache));

  EXPECT_TRUE(report.gone) << Describe(report);
  EXPECT_FALSE(report.refused);
  EXPECT_EQ(report.removed, tc.removed) << Describe(report);
  EXPECT_EQ(report.failed, 0u) << Describe(report);
  EXPECT_EQ(report.linksKept, 0u);
  EXPECT_EQ(report.bytesFreed, tc.bytes);
  EXPECT_EQ(report.firstError, 0u);
  EXPECT_FALSE(Exists(cache));
  EXPECT_EQ(Snapshot(tree.Root()), neighbours);
}

INSTANTIATE_TEST_SUITE_P(Shapes, DeleteTree, ::testing::ValuesIn(TreeCases()),
                         [](const ::testing::TestParamInfo<TreeCase>& info) { return info.param.name; });

TEST(DeleteDirectoryTree, TakesARootPathOverThreeHundredCharacters) {
  TempTree tree;
  const std::wstring chain = LongChain(5);
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), ChainNodes(chain)));
  const std::wstring cache = tree.Path(chain + L"\\Cache");
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{chain + L"\\Cache", {}}, {chain + L"\\Cache\\f.txt", "long"}}));
  ASSERT_GT(cache.size(), 300u);

  const DeleteReport report = DeleteDirectoryTree(Ansi(cache));

  EXPECT_TRUE(report.gone) << Describe(report);
  EXPECT_EQ(report.removed, 2u);
  EXPECT_EQ(report.bytesFreed, 4u);
  EXPECT_FALSE(Exists(cache));
  EXPECT_TRUE(Exists(tree.Path(chain)));
}

TEST(DeleteDirectoryTree, TakesNonAnsiDirectoryNamesThroughTheWideOverload) {
  for (const std::wstring name : {L"缓存", L"ñandú", L"😀", L"한국어"}) {
    TempTree tree;
    const std::wstring cache = tree.Path(name);
    ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{name, {}}, {name + L"\\x", "x"}}));
    const DeleteReport report = DeleteDirectoryTree(cache);
    EXPECT_TRUE(report.gone) << Ansi(name) << ": " << Describe(report);
    EXPECT_EQ(report.removed, 2u);
    EXPECT_FALSE(Exists(cache));
  }
}

TEST(DeleteDirectoryTree, TakesACodePage936NameThroughTheAnsiOverload) {
  if (GetACP() != 936) GTEST_SKIP() << "ANSI code page is " << GetACP();
  TempTree tree;
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{L"缓存", {}}, {L"缓存\\f", "f"}}));
  const std::string cache = Ansi(tree.Root()) + "\\\xBB\xBA\xB4\xE6";  // "\缓存" in code page 936

  const DeleteReport report = DeleteDirectoryTree(cache);

  EXPECT_TRUE(report.gone) << Describe(report);
  EXPECT_EQ(report.removed, 2u);
  EXPECT_FALSE(Exists(tree.Path(L"缓存")));
}

TEST(DeleteDirectoryTree, SkipsLeadingBlanksAndTrailingSeparators) {
  for (const std::wstring decoration : {L"  ", L" \t "}) {
    TempTree tree;
    ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{L"Cache", {}}, {L"Cache\\f", "f"}}));
    const DeleteReport report = DeleteDirectoryTree(decoration + tree.Path(L"Cache") + L"\\");
    EXPECT_TRUE(report.gone) << Describe(report);
    EXPECT_EQ(report.removed, 2u);
    EXPECT_FALSE(Exists(tree.Path(L"Cache")));
  }
}

TEST(DeleteDirectoryTree, MissingDirectoryIsGoneWithNothingRemoved) {
  TempTree tree;
  for (const std::wstring& missing : {tree.Path(L"Cache"), tree.Path(L"NoParent\\Cache")}) {
    const DeleteReport report = DeleteDirectoryTree(missing);
    EXPECT_TRUE(report.gone) << Ansi(missing) << ": " << Describe(report);
    EXPECT_FALSE(report.refused);
    EXPECT_EQ(report.removed, 0u);
    EXPECT_EQ(report.failed, 0u);
  }
  EXPECT_EQ(Snapshot(tree.Root()), TreeSnapshot{});
}

TEST(DeleteDirectoryTree, SecondRunFindsNothing) {
  TempTree tree;
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{L"Cache", {}}, {L"Cache\\f", "f"}}));
  EXPECT_EQ(DeleteDirectoryTree(tree.Path(L"Cache")).removed, 2u);
  const DeleteReport again = DeleteDirectoryTree(tree.Path(L"Cache"));
  EXPECT_TRUE(again.gone);
  EXPECT_EQ(again.removed, 0u);
  EXPECT_EQ(again.failed, 0u);
}

// ---------------------------------------------------------------------------------------------------------------
// Entries that cannot go: the rest goes all the same.

TEST(DeleteDirectoryTree, LockedFileStaysWithItsDirectoriesAndTheRestGoes) {
  TempTree tree;
  const std::wstring cache = tree.Path(L"Cache");
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{L"Cache", {}},
                                              {L"Cache\\keep", {}, true},
                                              {L"Cache\\keep\\locked.bin", "locked"},
                                              {L"Cache\\keep\\sibling.txt", "sib"},
                                              {L"Cache\\other", {}},
                                              {L"Cache\\other\\f", "ff"},
                                              {L"Cache\\empty", {}},
                                              {L"Cache\\top.txt", "t"}}));
  LockedFile lock(cache + L"\\keep\\locked.bin");
  ASSERT_TRUE(lock.IsHeld());

  const auto start = std::chrono::steady_clock::now();
  const DeleteReport report = DeleteDirectoryTree(cache);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  lock.Release();

  EXPECT_FALSE(report.gone);
  EXPECT_EQ(report.failed, 1u) << Describe(report);
  EXPECT_EQ(report.firstError, static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(report.removed, 5u) << Describe(report);  // sibling.txt, other\f, other, empty, top.txt
  EXPECT_EQ(report.bytesFreed, 6u);                   // not the locked file's 6 bytes
  EXPECT_GE(elapsed, std::chrono::milliseconds(150)) << "the sharing violation was not retried";
  EXPECT_EQ(Snapshot(cache), (TreeSnapshot{{L"keep", "<dir>"}, {L"keep\\locked.bin", "locked"}}));
  // The read-only flag cleared to empty the directory is back now that it stays.
  EXPECT_TRUE(Attributes(cache + L"\\keep") & FILE_ATTRIBUTE_READONLY);
}

TEST(DeleteDirectoryTree, LockReleasedWithinTheRetriesLetsTheFileGo) {
  TempTree tree;
  const std::wstring cache = tree.Path(L"Cache");
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{L"Cache", {}}, {L"Cache\\busy.bin", "busy"}}));
  LockedFile lock(cache + L"\\busy.bin");
  ASSERT_TRUE(lock.IsHeld());
  std::thread releaser([&lock] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    lock.Release();
  });

  const DeleteReport report = DeleteDirectoryTree(cache);
  releaser.join();

  EXPECT_TRUE(report.gone) << Describe(report);
  EXPECT_EQ(report.removed, 2u);
  EXPECT_EQ(report.failed, 0u);
  EXPECT_EQ(report.bytesFreed, 4u);
}

// ---------------------------------------------------------------------------------------------------------------
// Links are never followed: what they point to survives byte for byte.

// A symbolic link `link` -> `target`. Under Wine a real Unix symlink made by the host's ln, since Wine's
// CreateSymbolicLinkW reports success without making one; elsewhere CreateSymbolicLinkW.
bool MakeLink(const std::wstring& target, const std::wstring& link, bool directory) {
  if (RunningUnderWine()) {
    const std::optional<std::string> unixTarget = UnixPath(target);
    return unixTarget && MakeUnixSymlink(*unixTarget, link);
  }
  const DWORD flags = (directory ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
  return CreateSymbolicLinkW(link.c_str(), target.c_str(), flags);
}

struct Outcome {
  std::uint64_t removed = 0;
  std::uint64_t failed = 0;
  std::uint64_t linksKept = 0;
  std::uint64_t bytes = 0;
  bool gone = false;
  bool refused = false;
};

struct LinkCase {
  std::string name;
  std::wstring link;    // below the tree; "Cache" is the directory to delete itself
  std::wstring target;  // below the tree's Outside
  bool directory = false;
  Outcome underWine;  // Wine can only keep a link: every way it has of removing one removes the target
  Outcome elsewhere;  // FILE_OPEN_REPARSE_POINT works: the link goes as a link
};

// Cache holds plain.txt (5 bytes) and sub\plain2.txt (6 bytes) beside the link.
std::vector<LinkCase> LinkCases() {
  return {
      {"DirectoryLink", L"Cache\\dirlink", L"dir", true, {3, 1, 1, 11, false, false}, {5, 0, 0, 11, true, false}},
      {"LinkToEmptyDirectory",
       L"Cache\\emptylink",
       L"empty",
       true,
       {3, 1, 1, 11, false, false},
       {5, 0, 0, 11, true, false}},
      {"FileLink", L"Cache\\filelink", L"target.txt", false, {3, 1, 1, 11, false, false}, {5, 0, 0, 11, true, false}},
      {"LinkToReadOnlyFileDeeper",
       L"Cache\\sub\\rolink",
       L"ro.txt",
       false,
       {2, 1, 1, 11, false, false},
       {5, 0, 0, 11, true, false}},
      {"LinkIntoTheTargetTree",
       L"Cache\\sub\\deeplink",
       L"dir\\sub",
       true,
       {2, 1, 1, 11, false, false},
       {5, 0, 0, 11, true, false}},
      // Wine does not even list a dangling link: the directory holding it cannot go.
      {"DanglingLink", L"Cache\\dangling", L"nowhere", false, {3, 1, 0, 11, false, false}, {5, 0, 0, 11, true, false}},
      {"DirectoryItselfIsALink", L"Cache", L"dir", true, {0, 1, 1, 0, false, false}, {1, 0, 0, 0, true, false}},
      // A link to a file is not a directory to delete.
      {"DirectoryItselfIsAFileLink",
       L"Cache",
       L"target.txt",
       false,
       {0, 0, 0, 0, false, true},
       {0, 0, 0, 0, false, true}},
  };
}

class DeleteTreeWithLink : public ::testing::TestWithParam<LinkCase> {};

TEST_P(DeleteTreeWithLink, LeavesWhatItPointsToUntouched) {
  const LinkCase& lc = GetParam();
  TempTree tree;
  const std::wstring outside = tree.Path(L"Outside");
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{L"Outside", {}},
                                              {L"Outside\\target.txt", std::string("target bytes\r\n\0!", 16)},
                                              {L"Outside\\ro.txt", "read-only", true},
                                              {L"Outside\\empty", {}},
                                              {L"Outside\\dir", {}},
                                              {L"Outside\\dir\\inner.txt", "inner"},
                                              {L"Outside\\dir\\sub", {}},
                                              {L"Outside\\dir\\sub\\deep.bin", std::string("\xFF\0\x01", 3)}}));
  if (lc.link != L"Cache") {
    ASSERT_NO_FATAL_FAILURE(Build(
        tree.Root(),
        {{L"Cache", {}}, {L"Cache\\plain.txt", "plain"}, {L"Cache\\sub", {}}, {L"Cache\\sub\\plain2.txt", "plain2"}}));
  }
  if (!MakeLink(outside + L"\\" + lc.target, tree.Path(lc.link), lc.directory)) {
    GTEST_SKIP() << "cannot make symbolic links here";
  }
  const TreeSnapshot before = Snapshot(outside);
  const DWORD roAttributes = Attributes(outside + L"\\ro.txt");

  const DeleteReport report = DeleteDirectoryTree(tree.Path(L"Cache"));

  EXPECT_EQ(Snapshot(outside), before) << "something the link points to was changed";
  EXPECT_EQ(Attributes(outside + L"\\ro.txt"), roAttributes);
  const Outcome& expected = RunningUnderWine() ? lc.underWine : lc.elsewhere;
  EXPECT_EQ(report.removed, expected.removed) << Describe(report);
  EXPECT_EQ(report.failed, expected.failed) << Describe(report);
  EXPECT_EQ(report.linksKept, expected.linksKept) << Describe(report);
  EXPECT_EQ(report.bytesFreed, expected.bytes) << Describe(report);
  EXPECT_EQ(report.gone, expected.gone);
  EXPECT_EQ(report.refused, expected.refused);
  if (expected.linksKept > 0) {
    EXPECT_EQ(report.firstError, static_cast<std::uint32_t>(ERROR_NOT_SUPPORTED));
    EXPECT_TRUE(Exists(tree.Path(lc.link))) << "the link is kept";
  }
  if (lc.link != L"Cache") {
    EXPECT_FALSE(Exists(tree.Path(L"Cache\\plain.txt")));
    EXPECT_FALSE(Exists(tree.Path(L"Cache\\sub\\plain2.txt")));
  }
}

INSTANTIATE_TEST_SUITE_P(Links, DeleteTreeWithLink, ::testing::ValuesIn(LinkCases()),
                         [](const ::testing::TestParamInfo<LinkCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------------------------
// Refusals: nothing is touched.

struct RefusalCase {
  std::string name;
  std::wstring path;  // "<tree>" stands for the fixture tree's root
};

std::vector<RefusalCase> RefusalCases() {
  return {
      {"Empty", L""},
      {"Blanks", L"   "},
      {"BareDrive", L"C:"},
      {"DriveRoot", L"C:\\"},
      {"BlanksThenDriveRoot", L"  C:\\"},
      {"DriveRootWithSlash", L"C:/"},
      {"DriveRootByDotDot", L"C:\\users\\.."},
      {"DriveRootBlankAfter", L"C:\\ "},
      {"DriveRelative", L"C:users"},
      {"Relative", L"users"},
      {"RootedWithoutDrive", L"\\users"},
      {"VerbatimDriveRoot", L"\\\\?\\C:\\"},
      {"VerbatimDotDot", L"\\\\?\\C:\\users\\.."},
      {"ShareRoot", L"\\\\server\\share"},
      {"DevicePath", L"\\\\.\\C:\\users"},
      {"Wildcard", L"<tree>\\Cach*"},
      {"QuestionMark", L"<tree>\\Cach?"},
      {"StreamName", L"<tree>\\Cache:stream"},
      {"EmbeddedZero", std::wstring(L"<tree>\\Cache\0\\x", 14)},
      {"AFileNotADirectory", L"<tree>\\Cache\\file.txt"},
  };
}

class RefusedPath : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedPath, FailsAndTouchesNothing) {
  TempTree tree;
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), {{L"Cache", {}}, {L"Cache\\file.txt", "file"}}));
  const TreeSnapshot before = Snapshot(tree.Root());
  std::wstring path = GetParam().path;
  if (path.starts_with(L"<tree>")) path.replace(0, 6, tree.Root());

  for (const DeleteReport& report : {DeleteDirectoryTree(path), DeleteDirectoryTree(Ansi(path))}) {
    EXPECT_TRUE(report.refused) << Describe(report);
    EXPECT_FALSE(report.gone);
    EXPECT_EQ(report.removed, 0u);
    EXPECT_EQ(report.failed, 0u);
  }
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

INSTANTIATE_TEST_SUITE_P(Paths, RefusedPath, ::testing::ValuesIn(RefusalCases()),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(DeleteDirectoryTree, RefusesAnAnsiPathThatDoesNotConvert) {
  if (GetACP() != 936) GTEST_SKIP() << "ANSI code page is " << GetACP();
  TempTree tree;
  ASSERT_TRUE(MakeDirectory(tree.Path(L"Cache")));
  const DeleteReport report = DeleteDirectoryTree(Ansi(tree.Path(L"Cache")) + "\x81");  // a lead byte alone
  EXPECT_TRUE(report.refused) << Describe(report);
  EXPECT_TRUE(Exists(tree.Path(L"Cache")));
}

// ---------------------------------------------------------------------------------------------------------------
// CreateOneDirectory: the last component only, and nothing changed when it fails.

struct CreateCase {
  std::string name;
  std::vector<Node> before;
  std::wstring leading;  // put before the whole path
  std::wstring path;     // below the tree
  bool created = false;
  TreeSnapshot after;
};

std::vector<CreateCase> CreateCases() {
  const std::wstring chain = LongChain(5);
  TreeSnapshot longAfter;
  for (const Node& node : ChainNodes(chain + L"\\Cache")) longAfter[node.path] = "<dir>";
  const TreeSnapshot justCache = {{L"Cache", "<dir>"}};
  return {
      {"NewUnderExistingParent",
       {{L"NBA", {}}},
       L"",
       L"NBA\\Cache",
       true,
       {{L"NBA", "<dir>"}, {L"NBA\\Cache", "<dir>"}}},
      {"AlreadyExists",
       {{L"Cache", {}}, {L"Cache\\keep.txt", "keep"}},
       L"",
       L"Cache",
       false,
       {{L"Cache", "<dir>"}, {L"Cache\\keep.txt", "keep"}}},
      {"AFileIsInTheWay", {{L"Cache", "file"}}, L"", L"Cache", false, {{L"Cache", "file"}}},
      {"MissingParent", {}, L"", L"NBA\\Cache", false, {}},
      {"TrailingSeparator", {}, L"", L"Cache\\", true, justCache},
      {"LeadingBlanks", {}, L" \t ", L"Cache", true, justCache},
      {"NonAnsiName", {}, L"", L"缓存ñ😀", true, {{L"缓存ñ😀", "<dir>"}}},
      {"PathOverThreeHundredCharacters", ChainNodes(chain), L"", chain + L"\\Cache", true, longAfter},
  };
}

class CreateOne : public ::testing::TestWithParam<CreateCase> {};

TEST_P(CreateOne, CreatesTheLastComponentOnly) {
  const CreateCase& cc = GetParam();
  TempTree tree;
  ASSERT_NO_FATAL_FAILURE(Build(tree.Root(), cc.before));
  const std::wstring path = cc.leading + tree.Path(cc.path);

  EXPECT_EQ(CreateOneDirectory(path), cc.created);
  EXPECT_EQ(Snapshot(tree.Root()), cc.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, CreateOne, ::testing::ValuesIn(CreateCases()),
                         [](const ::testing::TestParamInfo<CreateCase>& info) { return info.param.name; });

TEST(CreateOneDirectory, AnsiOverloadTakesCodePage936Names) {
  if (GetACP() != 936) GTEST_SKIP() << "ANSI code page is " << GetACP();
  TempTree tree;
  EXPECT_TRUE(CreateOneDirectory(Ansi(tree.Root()) + "\\\xBB\xBA\xB4\xE6"));  // "\缓存" in code page 936
  EXPECT_TRUE(Attributes(tree.Path(L"缓存")) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(CreateOneDirectory(Ansi(tree.Root()) + "\\\xBB\xBA\xB4\xE6"));
}

TEST(CreateOneDirectory, RefusesWhatDeleteRefuses) {
  for (const char* path : {"", "   ", "C:", "C:\\", "C:/", "relative"}) {
    EXPECT_FALSE(CreateOneDirectory(std::string(path))) << '"' << path << '"';
  }
}

// ---------------------------------------------------------------------------------------------------------------
// Not a test of speed: prints how long a 20 000-file tree takes against a plain FindFirstFileExW / DeleteFileW
// loop. Run with --gtest_also_run_disabled_tests --gtest_filter=*Timing*.

// The plain loop: one listing per directory, one path buffer, DeleteFileW and RemoveDirectoryW by path.
void PlainDelete(std::wstring& path) {
  const std::size_t length = path.size();
  path += L"\\*";
  WIN32_FIND_DATAW data;
  const HANDLE find =
      FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  path.resize(length);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    path += L'\\';
    path += name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      PlainDelete(path);
      RemoveDirectoryW(path.c_str());
    } else {
      DeleteFileW(path.c_str());
    }
    path.resize(length);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

void BuildWideTree(const std::wstring& root) {
  ASSERT_TRUE(MakeDirectory(root));
  for (int d = 0; d < 100; ++d) {
    const std::wstring directory = root + L"\\d" + std::to_wstring(d);
    ASSERT_TRUE(MakeDirectory(directory));
    for (int f = 0; f < 200; ++f) ASSERT_TRUE(WriteBytes(directory + L"\\file_" + std::to_wstring(f), "content"));
  }
}

TEST(DeleteDirectoryTreeTiming, DISABLED_TwentyThousandFiles) {
  TempTree tree(L"timing");
  for (int round = 0; round < 3; ++round) {
    ASSERT_NO_FATAL_FAILURE(BuildWideTree(tree.Path(L"plain")));
    ASSERT_NO_FATAL_FAILURE(BuildWideTree(tree.Path(L"ours")));
    std::wstring plainPath = L"\\\\?\\" + tree.Path(L"plain");
    auto start = std::chrono::steady_clock::now();
    PlainDelete(plainPath);
    RemoveDirectoryW(plainPath.c_str());
    const std::chrono::duration<double> plain = std::chrono::steady_clock::now() - start;
    start = std::chrono::steady_clock::now();
    const DeleteReport report = DeleteDirectoryTree(tree.Path(L"ours"));
    const std::chrono::duration<double> ours = std::chrono::steady_clock::now() - start;
    std::printf("round %d: plain loop %.2f s (gone %d), DeleteDirectoryTree %.2f s (%s)\n", round, plain.count(),
                !Exists(tree.Path(L"plain")), ours.count(), Describe(report).c_str());
    EXPECT_TRUE(report.gone);
    EXPECT_EQ(report.removed, 20101u);
  }
}

}  // namespace
}  // namespace tavrel::test
