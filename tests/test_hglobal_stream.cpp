// HGlobalStream: bytes copied into a movable global block with a COM stream over it, and the
// whole block copied back, with real ole32 streams and real GDI+ writing into them.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "gdiplus_objects/hglobal_stream.h"
#include "tests/support/image_fixtures.h"
#include "tests/support/pixels.h"

namespace {

using tavrel::ByteBuffer;
using tavrel::plus::HGlobalStream;
using namespace tavrel::test;

static_assert(!std::is_copy_constructible_v<HGlobalStream> && !std::is_copy_assignable_v<HGlobalStream>);

ULONGLONG Position(IStream* stream) {
  ULARGE_INTEGER position{};
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &position);
  return position.QuadPart;
}

void SeekTo(IStream* stream, LONGLONG offset) {
  LARGE_INTEGER to{};
  to.QuadPart = offset;
  stream->Seek(to, STREAM_SEEK_SET, nullptr);
}

ULONGLONG StreamSize(IStream* stream) {
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  return stat.cbSize.QuadPart;
}

// Everything the stream holds, read from position 0; the position is put back afterwards.
ByteBuffer ReadAll(IStream* stream) {
  const ULONGLONG position = Position(stream);
  ByteBuffer bytes(static_cast<size_t>(StreamSize(stream)));
  SeekTo(stream, 0);
  ULONG read = 0;
  if (!bytes.empty()) stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  bytes.resize(read);
  SeekTo(stream, static_cast<LONGLONG>(position));
  return bytes;
}

// One more reference to a stream, to learn from its count when the object dropped its own.
IStream* Hold(IStream* stream) {
  stream->AddRef();
  return stream;
}

TEST(HGlobalStreamTest, CreateFromBytesCopiesTheBytesIntoTheBlockAndTheStream) {
  const ByteBuffer eight = {1, 2, 3, 4, 5, 6, 7, 8};
  struct Case {
    const char* name;
    ByteBuffer data;
    std::optional<INT> size;
    ByteBuffer block;
  };
  const std::vector<Case> cases = {
      {"a PNG picture", kPng3x2, std::nullopt, kPng3x2},
      {"one byte", {0x5A}, std::nullopt, {0x5A}},
      {"an empty buffer", {}, std::nullopt, {}},
      {"a size below the length copies the first bytes", eight, 3, {1, 2, 3}},
      {"a size of 0 given stays 0", eight, 0, {}},
      {"a size beyond the length leaves zeros behind the data", {1, 2}, 5, {1, 2, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HGlobalStream memory;
    IStream* stream = memory.CreateFromBytes(c.data, c.size);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(memory.GetStream(), stream);
    EXPECT_NE(memory.GetMemory(), nullptr);
    EXPECT_EQ(memory.GetSize(), c.block.size());
    EXPECT_EQ(memory.GetBytes(), c.block);
    EXPECT_EQ(Position(stream), 0u);
    EXPECT_EQ(StreamSize(stream), c.block.size());
    EXPECT_EQ(ReadAll(stream), c.block);
  }
}

TEST(HGlobalStreamTest, AnEmptyStreamCanBeWrittenTo) {
  HGlobalStream memory;
  IStream* stream = memory.CreateFromBytes({});
  const char text[] = "Tavrel";
  ULONG written = 0;
  ASSERT_EQ(stream->Write(text, 6, &written), S_OK);
  EXPECT_EQ(written, 6u);
  EXPECT_EQ(memory.GetSize(), 6u);
  EXPECT_EQ(memory.GetBytes(), ByteBuffer(text, text + 6));
}

TEST(HGlobalStreamTest, ReplacingAHeldStreamReleasesItAndFreesItsBlock) {
  HGlobalStream memory;
  IStream* first = Hold(memory.CreateFromBytes({1, 2, 3}));
  const HGLOBAL firstBlock = memory.GetMemory();
  memory.CreateFromBytes(kPng3x2);
  EXPECT_EQ(first->Release(), 0u) << "the object still held the first stream";
  EXPECT_TRUE(BlockGone(firstBlock, memory.GetMemory()));
  EXPECT_EQ(memory.GetBytes(), kPng3x2);
}

TEST(HGlobalStreamTest, ReleaseDropsTheStreamThenTheBlockAndMayRunTwice) {
  HGlobalStream memory;
  IStream* stream = Hold(memory.CreateFromBytes(kPng3x2));
  const HGLOBAL block = memory.GetMemory();
  memory.Release();
  EXPECT_EQ(stream->Release(), 0u);
  EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE));
  EXPECT_EQ(memory.GetStream(), nullptr);
  EXPECT_EQ(memory.GetMemory(), nullptr);
  memory.Release();
  EXPECT_EQ(memory.GetSize(), 0u);
  EXPECT_TRUE(memory.GetBytes().empty());
}

TEST(HGlobalStreamTest, TheDestructorReleasesTheStream) {
  IStream* stream = nullptr;
  {
    HGlobalStream memory;
    stream = Hold(memory.CreateFromBytes(kPng3x2));
  }
  EXPECT_EQ(stream->Release(), 0u);
}

TEST(HGlobalStreamTest, AnEmptyObjectAnswersNothingAndDoesNothing) {
  struct Row {
    const char* name;
    std::function<bool(HGlobalStream&)> answersNothing;
  };
  const std::vector<Row> rows = {
      {"Release", [](HGlobalStream& s) { return s.Release(), true; }},
      {"GetSize", [](HGlobalStream& s) { return s.GetSize() == 0; }},
      {"GetStream", [](HGlobalStream& s) { return s.GetStream() == nullptr; }},
      {"GetMemory", [](HGlobalStream& s) { return s.GetMemory() == nullptr; }},
      {"GetBytes", [](HGlobalStream& s) { return s.GetBytes().empty(); }},
      {"AttachStream(null)", [](HGlobalStream& s) { return !s.AttachStream(nullptr); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HGlobalStream memory;
    EXPECT_TRUE(row.answersNothing(memory));
    EXPECT_EQ(memory.GetStream(), nullptr);
    EXPECT_EQ(memory.GetMemory(), nullptr);
  }
}

// GDI+ encodes a picture into a stream made from an empty buffer: the block grows to exactly the
// encoded file, and GetBytes hands out all of it wherever the stream stands.
TEST(HGlobalStreamTest, GetBytesIsTheWholeBlockWhateverTheSeekPosition) {
  ArgbBitmap picture(5, 4, 0xFF336699);
  HGlobalStream memory;
  IStream* stream = memory.CreateFromBytes({});
  const CLSID png = FlatEncoderClsid(Gdiplus::ImageFormatPNG);
  ASSERT_EQ(Gdiplus::DllExports::GdipSaveImageToStream(picture.Handle(), stream, &png, nullptr), Gdiplus::Ok);
  const ULONGLONG written = StreamSize(stream);
  ASSERT_GT(written, 8u);
  const ByteBuffer file = ReadAll(stream);

  struct Case {
    const char* name;
    std::optional<LONGLONG> seekTo;
  };
  for (const Case& c : {Case{"where GDI+ left it", std::nullopt}, Case{"at the start", 0},
                        Case{"in the middle", static_cast<LONGLONG>(written / 2)}}) {
    SCOPED_TRACE(c.name);
    if (c.seekTo) SeekTo(stream, *c.seekTo);
    const ULONGLONG position = Position(stream);
    const ByteBuffer bytes = memory.GetBytes();
    EXPECT_EQ(bytes.size(), written);
    EXPECT_EQ(bytes, file);
    EXPECT_TRUE(HasPngSignature(bytes));
    EXPECT_EQ(Position(stream), position) << "GetBytes moved the stream";
  }
}

TEST(HGlobalStreamTest, AttachStreamTakesOverAStreamOverGlobalMemory) {
  const ByteBuffer data = {9, 8, 7, 6};
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data.size());
  std::copy(data.begin(), data.end(), static_cast<std::uint8_t*>(GlobalLock(block)));
  GlobalUnlock(block);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
  Hold(stream);

  HGlobalStream memory;
  IStream* previous = Hold(memory.CreateFromBytes({1}));
  const HGLOBAL previousBlock = memory.GetMemory();
  EXPECT_TRUE(memory.AttachStream(stream));
  EXPECT_EQ(previous->Release(), 0u) << "the stream held before was not released";
  EXPECT_TRUE(BlockGone(previousBlock, block));
  EXPECT_EQ(memory.GetStream(), stream);
  EXPECT_EQ(memory.GetMemory(), block);
  EXPECT_EQ(memory.GetSize(), data.size());
  EXPECT_EQ(memory.GetBytes(), data);

  // The object took over the caller's reference and added none: ours is the last one after Release.
  memory.Release();
  EXPECT_EQ(stream->Release(), 0u);
  EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE));
}

TEST(HGlobalStreamTest, AttachStreamOfAFileStreamFindsNoBlock) {
  const std::string path = TempFilePath("tavrel_attach_stream.bin");
  const std::wstring widePath(path.begin(), path.end());
  IStream* file = nullptr;
  ASSERT_EQ(Gdiplus::DllExports::GdipCreateStreamOnFile(widePath.c_str(), GENERIC_WRITE, &file), Gdiplus::Ok);
  HGlobalStream memory;
  EXPECT_FALSE(memory.AttachStream(file));
  EXPECT_EQ(memory.GetStream(), file);
  EXPECT_EQ(memory.GetMemory(), nullptr);
  EXPECT_TRUE(memory.GetBytes().empty());
  memory.Release();
  EXPECT_EQ(memory.GetStream(), nullptr);
  DeleteFileA(path.c_str());
}

}  // namespace
