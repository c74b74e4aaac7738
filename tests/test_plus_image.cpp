// PlusImage and PlusBitmap over the real GDI+ of the test prefix: decoding PNG bytes and files,
// the handle chain and the member streams, making bitmaps, pixels, frames, properties, palettes,
// the GUID texts, and every operation on an object without a handle. The statuses expected are
// those of Wine 8.0's GDI+, which the tests run on; where Wine differs from Windows (a function it
// has not implemented) the test says so.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "gdiplus_objects/plus_graphics.h"
#include "gdiplus_objects/plus_image.h"
#include "resources/embedded_pictures.h"
#include "tests/support/image_fixtures.h"
#include "tests/support/pixels.h"
#include "tests/support/wine_stubs.h"

namespace {

using Gdiplus::Status;
using tavrel::Argb;
using tavrel::ByteBuffer;
using tavrel::ColorPalette;
using tavrel::RectF;
using tavrel::RectI;
using tavrel::SizeF;
using tavrel::plus::BitmapData;
using tavrel::plus::GuidToText;
using tavrel::plus::HGlobalStream;
using tavrel::plus::ImageEffect;
using tavrel::plus::lastStatus;
using tavrel::plus::PlusBitmap;
using tavrel::plus::PlusGraphics;
using tavrel::plus::PlusImage;
using tavrel::plus::PropertyItem;
using tavrel::plus::TextToGuid;
using namespace tavrel::test;

static_assert(!std::is_copy_constructible_v<PlusImage> && !std::is_copy_assignable_v<PlusImage>);
static_assert(!std::is_copy_constructible_v<PlusBitmap> && !std::is_copy_assignable_v<PlusBitmap>);

const std::string kPageDimensionText = "{7462DC86-6180-4C7E-8E3F-EE7333A7A483}";

// The fields the operations keep, opened for the tests.
struct ImageProbe : PlusImage {
  using PlusImage::imageHandle;
  using PlusImage::stream;
};
struct BitmapProbe : PlusBitmap {
  using PlusBitmap::bitmapHandle;
  using PlusBitmap::bitmapStream;
  using PlusBitmap::imageHandle;
  using PlusBitmap::stream;
};

// A status no operation of these tests produces, to see that an operation called no GDI+ function.
constexpr Status kUntouched = Gdiplus::Aborted;

// What Wine's decoders answer for bytes that are no picture they know, and for a missing file.
constexpr Status kUnreadable = Gdiplus::GenericError;

void WriteFile(const std::string& path, const ByteBuffer& bytes) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void ExpectFixturePixels(PlusBitmap& bitmap) {
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
      EXPECT_EQ(bitmap.GetPixel(x, y), kPng3x2Pixels[y][x]);
      EXPECT_EQ(FlatPixel(bitmap.GetHandle(), x, y), kPng3x2Pixels[y][x]);
    }
  }
}

// Decoding.

TEST(PlusImageDecodeTest, EveryLoaderDecodesThePngFromMemoryAndFromAFile) {
  const std::string path = TempFilePath("tavrel_plus_image_3x2.png");
  WriteFile(path, kPng3x2);
  struct Loader {
    const char* name;
    std::function<bool(PlusImage&)> load;
  };
  const std::vector<Loader> loaders = {
      {"LoadFromStream", [](PlusImage& i) { return i.LoadFromStream(kPng3x2); }},
      {"LoadFromStream without ICM", [](PlusImage& i) { return i.LoadFromStream(kPng3x2, false); }},
      {"LoadFromStream with ICM", [](PlusImage& i) { return i.LoadFromStream(kPng3x2, true); }},
      {"LoadFromFile", [&](PlusImage& i) { return i.LoadFromFile(path); }},
      {"LoadFromFile with ICM", [&](PlusImage& i) { return i.LoadFromFile(path, true); }},
  };
  for (const Loader& loader : loaders) {
    SCOPED_TRACE(loader.name);
    PlusImage image;
    ASSERT_TRUE(loader.load(image));
    EXPECT_EQ(lastStatus, Gdiplus::Ok);
    EXPECT_NE(image.GetHandle(), nullptr);
    EXPECT_EQ(image.GetWidth(), 3u);
    EXPECT_EQ(image.GetHeight(), 2u);
    EXPECT_EQ(image.GetRawFormat(), kPngFormatText);
    EXPECT_EQ(FlatPixel(image.GetHandle(), 2, 1), kPng3x2Pixels[1][2]);
  }
  const std::vector<Loader> bitmapLoaders = {
      {"CreateFromStream", [](PlusImage& b) { return static_cast<PlusBitmap&>(b).CreateFromStream(kPng3x2); }},
      {"CreateFromStream with ICM",
       [](PlusImage& b) { return static_cast<PlusBitmap&>(b).CreateFromStream(kPng3x2, true); }},
      {"CreateFromFile", [&](PlusImage& b) { return static_cast<PlusBitmap&>(b).CreateFromFile(path); }},
      {"CreateFromFile with ICM", [&](PlusImage& b) { return static_cast<PlusBitmap&>(b).CreateFromFile(path, true); }},
      {"LoadFromStream of a bitmap", [](PlusImage& b) { return b.LoadFromStream(kPng3x2); }},
      {"LoadFromFile of a bitmap", [&](PlusImage& b) { return b.LoadFromFile(path); }},
  };
  for (const Loader& loader : bitmapLoaders) {
    SCOPED_TRACE(loader.name);
    PlusBitmap bitmap;
    ASSERT_TRUE(loader.load(bitmap));
    EXPECT_EQ(bitmap.GetWidth(), 3u);
    EXPECT_EQ(bitmap.GetHeight(), 2u);
    ExpectFixturePixels(bitmap);
  }
  DeleteFileA(path.c_str());
}

TEST(PlusImageDecodeTest, TheDecodedPngAnswersItsQuestions) {
  PlusBitmap image;
  ASSERT_TRUE(image.CreateFromStream(kPng3x2));
  EXPECT_EQ(image.GetType(), Gdiplus::ImageTypeBitmap);
  EXPECT_EQ(image.GetPixelFormat(), PixelFormat32bppARGB);
  EXPECT_EQ(image.GetDimension(), (SizeF{3, 2}));
  EXPECT_TRUE(image.GetFlags() & Gdiplus::ImageFlagsHasAlpha);
  Gdiplus::Unit unit = Gdiplus::UnitWorld;
  EXPECT_EQ(image.GetBounds(&unit), (RectF{0, 0, 3, 2}));
  EXPECT_EQ(unit, Gdiplus::UnitPixel);
  EXPECT_GT(image.GetHorizontalResolution(), 0.0f);
  EXPECT_GT(image.GetVerticalResolution(), 0.0f);
}

TEST(PlusImageDecodeTest, GetBoundsWithoutAPlaceForTheUnitIsAllZeros) {
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  EXPECT_EQ(image.GetBounds(), RectF{});
  EXPECT_EQ(lastStatus, Gdiplus::InvalidParameter);
}

TEST(PlusImageDecodeTest, TheSkinsPicturesDecodeToTheirSizes) {
  struct Picture {
    const char* name;
    tavrel::resources::Bytes bytes;
    UINT width;
    UINT height;
  };
  const std::vector<Picture> pictures = {
      {"frame border", tavrel::resources::FrameBorder(), 32, 72},
      {"close button", tavrel::resources::CaptionPicture(1, 1), 39, 20},
      {"maximise button", tavrel::resources::CaptionPicture(2, 2), 28, 20},
      {"minimise button", tavrel::resources::CaptionPicture(3, 3), 28, 20},
      {"push-button strip", tavrel::resources::ButtonStrip(), 71, 28},
  };
  for (const Picture& picture : pictures) {
    SCOPED_TRACE(picture.name);
    if (picture.bytes.empty()) GTEST_SKIP() << "the embedded pictures are not generated in this build";
    PlusImage image;
    ASSERT_TRUE(image.LoadFromStream(ByteBuffer(picture.bytes.begin(), picture.bytes.end())));
    EXPECT_EQ(image.GetWidth(), picture.width);
    EXPECT_EQ(image.GetHeight(), picture.height);
  }
}

TEST(PlusImageDecodeTest, ABadBufferFailsAndTheStreamStaysUntilTheNextLoad) {
  ByteBuffer truncated(kPng3x2.begin(), kPng3x2.begin() + 40);
  struct Case {
    const char* name;
    ByteBuffer bytes;
    Status status;
  };
  const std::vector<Case> cases = {
      {"an empty buffer", {}, kUnreadable},
      {"text", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'}, kUnreadable},
      {"a truncated PNG", truncated, kUnreadable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImageProbe image;
    EXPECT_FALSE(image.LoadFromStream(c.bytes));
    EXPECT_EQ(lastStatus, c.status);
    EXPECT_EQ(image.GetHandle(), nullptr);
    const HGLOBAL block = image.stream.GetMemory();
    EXPECT_NE(image.stream.GetStream(), nullptr);
    EXPECT_EQ(image.stream.GetBytes(), c.bytes);

    // Dispose has no image to dispose: it keeps the stream.
    lastStatus = kUntouched;
    EXPECT_FALSE(image.Dispose());
    EXPECT_EQ(lastStatus, kUntouched);
    EXPECT_EQ(image.stream.GetMemory(), block);
    EXPECT_NE(image.stream.GetStream(), nullptr);

    ASSERT_TRUE(image.LoadFromStream(kPng3x2));
    EXPECT_TRUE(BlockGone(block, image.stream.GetMemory()));
    EXPECT_EQ(image.stream.GetBytes(), kPng3x2);

    BitmapProbe bitmap;
    EXPECT_FALSE(bitmap.CreateFromStream(c.bytes));
    EXPECT_EQ(lastStatus, c.status);
    EXPECT_EQ(bitmap.GetHandle(), nullptr);
    EXPECT_NE(bitmap.bitmapStream.GetStream(), nullptr);
    EXPECT_EQ(bitmap.stream.GetStream(), nullptr);
  }
}

// The handle chain and the member streams.

TEST(PlusImageLifeTest, SetHandleKeepsAllCopiesOfTheHandleEqual) {
  ArgbBitmap source(2, 2);
  BitmapProbe bitmap;
  Gdiplus::GpBitmap* handle = source.Release();
  bitmap.SetHandle(handle);
  EXPECT_EQ(bitmap.GetHandle(), handle);
  EXPECT_EQ(bitmap.imageHandle, handle);
  EXPECT_EQ(bitmap.bitmapHandle, handle);
  EXPECT_TRUE(bitmap.Dispose());
  EXPECT_EQ(bitmap.GetHandle(), nullptr);
  EXPECT_EQ(bitmap.imageHandle, nullptr);
  EXPECT_EQ(bitmap.bitmapHandle, nullptr);

  ImageProbe image;
  image.SetHandle(handle);
  EXPECT_EQ(image.imageHandle, handle);
  image.SetHandle(nullptr);
  EXPECT_EQ(image.imageHandle, nullptr);
}

TEST(PlusImageLifeTest, DisposeReleasesTheImageAndTheStreamAndTheSecondCallDoesNothing) {
  ImageProbe image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  IStream* stream = image.stream.GetStream();
  stream->AddRef();
  EXPECT_TRUE(image.Dispose());
  EXPECT_EQ(lastStatus, Gdiplus::Ok);
  EXPECT_EQ(image.GetHandle(), nullptr);
  EXPECT_EQ(image.stream.GetStream(), nullptr);
  EXPECT_EQ(stream->Release(), 0u) << "GDI+ or the object still holds the stream";

  lastStatus = kUntouched;
  EXPECT_FALSE(image.Dispose());
  EXPECT_EQ(lastStatus, kUntouched);

  BitmapProbe bitmap;
  ASSERT_TRUE(bitmap.CreateFromStream(kPng3x2));
  EXPECT_TRUE(bitmap.Dispose());
  EXPECT_EQ(bitmap.bitmapStream.GetStream(), nullptr);
  lastStatus = kUntouched;
  EXPECT_FALSE(bitmap.Dispose());
  EXPECT_EQ(lastStatus, kUntouched);
}

TEST(PlusImageLifeTest, TheDestructorDisposesTheImageAndReleasesTheStreams) {
  IStream* imageStream = nullptr;
  IStream* bitmapStream = nullptr;
  {
    ImageProbe image;
    ASSERT_TRUE(image.LoadFromStream(kPng3x2));
    imageStream = image.stream.GetStream();
    imageStream->AddRef();
    BitmapProbe bitmap;
    ASSERT_TRUE(bitmap.CreateFromStream(kPng3x2));
    bitmapStream = bitmap.bitmapStream.GetStream();
    bitmapStream->AddRef();
  }
  EXPECT_EQ(imageStream->Release(), 0u);
  EXPECT_EQ(bitmapStream->Release(), 0u);
}

TEST(PlusImageLifeTest, ASecondLoadReplacesTheHandleAndFreesTheFirstBlock) {
  ArgbBitmap other(4, 5, 0xFF102030);
  const CLSID png = FlatEncoderClsid(Gdiplus::ImageFormatPNG);
  HGlobalStream encoded;
  encoded.CreateFromBytes({});
  ASSERT_EQ(Gdiplus::DllExports::GdipSaveImageToStream(other.Handle(), encoded.GetStream(), &png, nullptr),
            Gdiplus::Ok);
  const ByteBuffer secondPng = encoded.GetBytes();

  ImageProbe image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  Gdiplus::GpImage* first = image.GetHandle();
  const HGLOBAL firstBlock = image.stream.GetMemory();
  ASSERT_TRUE(image.LoadFromStream(secondPng));
  EXPECT_NE(image.GetHandle(), first);
  EXPECT_TRUE(BlockGone(firstBlock, image.stream.GetMemory()));
  EXPECT_EQ(image.stream.GetBytes(), secondPng);
  EXPECT_EQ(image.GetWidth(), 4u);
  EXPECT_EQ(image.GetHeight(), 5u);
  // The first image was not disposed: it is still there to dispose.
  EXPECT_EQ(Gdiplus::DllExports::GdipDisposeImage(first), Gdiplus::Ok);
}

// Making bitmaps.

TEST(PlusBitmapCreateTest, CreateMakesArgbUnlessAFormatIsGiven) {
  struct Case {
    const char* name;
    std::optional<Gdiplus::PixelFormat> format;
    std::optional<bool> created;
    Gdiplus::PixelFormat expected;
  };
  const std::vector<Case> cases = {
      {"no format", std::nullopt, true, PixelFormat32bppARGB},
      {"24 bits", PixelFormat24bppRGB, true, PixelFormat24bppRGB},
      {"32 bits without alpha", PixelFormat32bppRGB, true, PixelFormat32bppRGB},
      {"8 bits indexed", PixelFormat8bppIndexed, true, PixelFormat8bppIndexed},
      // Wine makes a bitmap of the undefined format where Windows refuses it; either way it is not
      // the default.
      {"a given 0 stays 0", 0, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlusBitmap bitmap;
    const bool created = bitmap.Create(4, 3, c.format);
    EXPECT_EQ(created, c.created.value_or(created));
    EXPECT_EQ(bitmap.GetPixelFormat(), c.expected);
    if (!created) continue;
    EXPECT_EQ(bitmap.GetWidth(), 4u);
    EXPECT_EQ(bitmap.GetHeight(), 3u);
    EXPECT_EQ(bitmap.GetRawFormat(), kMemoryBmpFormatText);
  }
  EXPECT_EQ(PixelFormat32bppARGB, 0x26200A);
}

TEST(PlusBitmapCreateTest, CreateFromScan0UsesTheCallersPixelsOrItsOwn) {
  std::vector<std::uint32_t> pixels = {0xFF010203, 0xFF040506, 0x80070809, 0x000A0B0C};
  PlusBitmap given;
  ASSERT_TRUE(given.CreateFromScan0(2, 2, 8, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(pixels.data())));
  EXPECT_EQ(given.GetPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(given.GetPixel(1, 1), 0x000A0B0Cu);
  pixels[1] = 0xFFABCDEF;
  EXPECT_EQ(given.GetPixel(1, 0), 0xFFABCDEFu) << "the bitmap does not read the caller's pixels";

  PlusBitmap own;
  ASSERT_TRUE(own.CreateFromScan0(3, 1, 0, PixelFormat32bppARGB));
  EXPECT_EQ(own.GetPixel(2, 0), 0u);
}

TEST(PlusBitmapCreateTest, CreateFromHBITMAPReadsTheGdiBitmapsSize) {
  const HBITMAP gdi = CreateBitmap(7, 5, 1, 32, nullptr);
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateFromHBITMAP(gdi));
  EXPECT_EQ(bitmap.GetWidth(), 7u);
  EXPECT_EQ(bitmap.GetHeight(), 5u);
  PlusBitmap withPalette;
  EXPECT_TRUE(withPalette.CreateFromHBITMAP(gdi, nullptr));
  EXPECT_EQ(withPalette.GetWidth(), 7u);
  DeleteObject(gdi);
}

TEST(PlusBitmapCreateTest, CreateFromGdiDibReadsTheDibsPixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = -2;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> bits = {0x00112233, 0x00445566, 0x00778899, 0x00AABBCC};
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateFromGdiDib(&info, bits.data()));
  EXPECT_EQ(bitmap.GetWidth(), 2u);
  EXPECT_EQ(bitmap.GetHeight(), 2u);
  EXPECT_EQ(bitmap.GetPixel(1, 0) & 0xFFFFFF, 0x445566u);
  EXPECT_EQ(bitmap.GetPixel(0, 1) & 0xFFFFFF, 0x778899u);
}

TEST(PlusBitmapCreateTest, CreateFromGraphicsMakesABitmapOfTheGivenSize) {
  PlusBitmap surface;
  ASSERT_TRUE(surface.Create(8, 8));
  PlusGraphics graphics;
  ASSERT_TRUE(graphics.CreateFromImage(surface));
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateFromGraphics(5, 4, graphics));
  EXPECT_EQ(bitmap.GetWidth(), 5u);
  EXPECT_EQ(bitmap.GetHeight(), 4u);
}

TEST(PlusBitmapCreateTest, GdiBitmapsAndIconsGoBothWays) {
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateFromStream(kPng3x2));

  const HBITMAP gdi = bitmap.GetHBITMAP();
  ASSERT_NE(gdi, nullptr);
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(gdi, sizeof(info), &info));
  EXPECT_EQ(info.bmWidth, 3);
  EXPECT_EQ(info.bmHeight, 2);
  PlusBitmap fromGdi;
  EXPECT_TRUE(fromGdi.CreateFromHBITMAP(gdi));
  EXPECT_EQ(fromGdi.GetPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
  DeleteObject(gdi);
  const HBITMAP onWhite = bitmap.GetHBITMAP(0xFFFFFFFF);
  EXPECT_NE(onWhite, nullptr);
  DeleteObject(onWhite);

  const HICON icon = bitmap.GetHICON();
  ASSERT_NE(icon, nullptr);
  PlusBitmap fromIcon;
  EXPECT_TRUE(fromIcon.CreateFromHICON(icon));
  EXPECT_EQ(fromIcon.GetWidth(), 3u);
  EXPECT_EQ(fromIcon.GetHeight(), 2u);
  DestroyIcon(icon);
}

TEST(PlusBitmapCreateTest, CreateFromResourceWithoutSuchAResourceFails) {
  PlusBitmap bitmap;
  EXPECT_FALSE(bitmap.CreateFromResource(GetModuleHandleW(nullptr), L"TAVREL_NO_SUCH_BITMAP"));
  EXPECT_NE(lastStatus, Gdiplus::Ok);
  EXPECT_EQ(bitmap.GetHandle(), nullptr);
}

TEST(PlusBitmapCreateTest, CloneThumbnailAndCloneAreaGiveTheirTargetsNewImages) {
  PlusBitmap source;
  ASSERT_TRUE(source.CreateFromStream(kPng3x2));

  // The targets' previous handles are not disposed: each is disposed here by hand.
  ArgbBitmap held(1, 1);
  PlusImage clone;
  clone.SetHandle(held.Release());
  Gdiplus::GpImage* before = clone.GetHandle();
  ASSERT_TRUE(source.Clone(clone));
  EXPECT_NE(clone.GetHandle(), before);
  EXPECT_EQ(Gdiplus::DllExports::GdipDisposeImage(before), Gdiplus::Ok);
  EXPECT_EQ(clone.GetWidth(), 3u);
  EXPECT_EQ(FlatPixel(clone.GetHandle(), 1, 0), kPng3x2Pixels[0][1]);

  PlusImage thumbnail;
  ASSERT_TRUE(source.GetThumbnail(6, 4, thumbnail));
  EXPECT_EQ(thumbnail.GetWidth(), 6u);
  EXPECT_EQ(thumbnail.GetHeight(), 4u);

  PlusBitmap area;
  ASSERT_TRUE(source.CloneArea(RectF{1, 0, 2, 2}, PixelFormat32bppARGB, area));
  EXPECT_EQ(area.GetWidth(), 2u);
  EXPECT_EQ(area.GetHeight(), 2u);
  EXPECT_EQ(area.GetPixel(0, 0), kPng3x2Pixels[0][1]);
  EXPECT_EQ(area.GetPixel(1, 1), kPng3x2Pixels[1][2]);
  EXPECT_EQ(source.GetWidth(), 3u);
}

// Pixels.

TEST(PlusBitmapPixelTest, SetPixelThenGetPixel) {
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(3, 3));
  const std::vector<std::tuple<int, int, Argb>> writes = {
      {0, 0, 0xFF123456}, {2, 0, 0x80FFFFFF}, {1, 1, 0x00000000}, {2, 2, 0xFFFFFFFF}};
  for (const auto& [x, y, color] : writes) EXPECT_TRUE(bitmap.SetPixel(x, y, color));
  for (const auto& [x, y, color] : writes) EXPECT_EQ(bitmap.GetPixel(x, y), color);
  EXPECT_EQ(bitmap.GetPixel(1, 0), 0u);
  EXPECT_EQ(bitmap.GetPixel(3, 0), 0u);
  EXPECT_EQ(lastStatus, Gdiplus::InvalidParameter);
  EXPECT_FALSE(bitmap.SetPixel(-1, 0, 0xFF000000));
}

TEST(PlusBitmapPixelTest, LockBitsWritesAndReadsThePixelsInPlace) {
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(4, 3));
  BitmapData data{};
  ASSERT_TRUE(bitmap.LockBits(RectI{0, 0, 4, 3}, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, data));
  EXPECT_EQ(data.Width, 4u);
  EXPECT_EQ(data.Height, 3u);
  EXPECT_EQ(data.PixelFormat, PixelFormat32bppARGB);
  ASSERT_GE(data.Stride, 16);
  for (int y = 0; y < 3; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(data.Scan0) + y * data.Stride);
    for (int x = 0; x < 4; ++x) row[x] = 0xFF000000u | (x << 16) | (y << 8) | 0x42;
  }
  ASSERT_TRUE(bitmap.UnlockBits(data));
  EXPECT_EQ(bitmap.GetPixel(3, 2), 0xFF030242u);
  EXPECT_EQ(bitmap.GetPixel(0, 1), 0xFF000142u);

  BitmapData part{};
  ASSERT_TRUE(bitmap.LockBits(RectI{1, 1, 2, 2}, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, part));
  EXPECT_EQ(part.Width, 2u);
  const auto* first = static_cast<const std::uint32_t*>(part.Scan0);
  EXPECT_EQ(first[0], 0xFF010142u);
  EXPECT_EQ(first[1], 0xFF020142u);
  EXPECT_TRUE(bitmap.UnlockBits(part));
}

TEST(PlusBitmapPixelTest, RotateFlipTurnsThePicture) {
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateFromStream(kPng3x2));
  ASSERT_TRUE(bitmap.RotateFlip(Gdiplus::Rotate90FlipNone));
  EXPECT_EQ(bitmap.GetWidth(), 2u);
  EXPECT_EQ(bitmap.GetHeight(), 3u);
  // Clockwise: the left column, read upwards, becomes the top row.
  EXPECT_EQ(bitmap.GetPixel(0, 0), kPng3x2Pixels[1][0]);
  EXPECT_EQ(bitmap.GetPixel(1, 0), kPng3x2Pixels[0][0]);
}

TEST(PlusBitmapPixelTest, SetResolutionIsWhatTheResolutionsAnswer) {
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(2, 2));
  ASSERT_TRUE(bitmap.SetResolution(120, 150));
  EXPECT_EQ(bitmap.GetHorizontalResolution(), 120.0f);
  EXPECT_EQ(bitmap.GetVerticalResolution(), 150.0f);
}

// Frames, properties, palettes.

TEST(PlusImageFrameTest, APngHasOnePageFrame) {
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  std::vector<std::string> dimensions = {"stale"};
  ASSERT_TRUE(image.GetFrameDimensionsList(dimensions));
  EXPECT_EQ(dimensions, std::vector<std::string>{kPageDimensionText});
  EXPECT_EQ(image.GetFrameCount(kPageDimensionText), 1u);
  EXPECT_TRUE(image.SelectActiveFrame(kPageDimensionText, 0));
  EXPECT_EQ(image.GetFrameCount("not a GUID"), 0u);
  EXPECT_EQ(lastStatus, Gdiplus::InvalidParameter);
}

TEST(PlusImagePropertyTest, APngWithoutPropertiesHasNoneAndNoFrameDelays) {
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  std::vector<PROPID> ids = {1, 2, 3};
  EXPECT_EQ(image.GetPropertyIdList(ids), 0u);
  EXPECT_TRUE(ids.empty());

  std::vector<std::uint32_t> delays = {7, 8};
  EXPECT_FALSE(image.GetFrameDelays(delays));
  EXPECT_EQ(delays, (std::vector<std::uint32_t>{7, 8}));

  PropertyItem item{0x1234, 1, 2, {3}};
  EXPECT_FALSE(image.GetPropertyItem(PropertyTagFrameDelay, item));
  EXPECT_EQ(lastStatus, Gdiplus::PropertyNotFound);
  EXPECT_EQ(item.id, 0x1234u);
}

TEST(PlusImagePropertyTest, ThePropertiesOfAPngAreReadWithTheirValues) {
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPngWithProperties));
  std::vector<PROPID> ids;
  ASSERT_EQ(image.GetPropertyIdList(ids), 2u);
  EXPECT_EQ(ids, (std::vector<PROPID>{PropertyTagGamma, PropertyTagImageTitle}));

  struct Case {
    PROPID id;
    UINT type;
    ByteBuffer value;
  };
  const std::vector<Case> cases = {
      // 100000 / 45455, two 32-bit numbers.
      {PropertyTagGamma, PropertyTagTypeRational, {0xA0, 0x86, 0x01, 0x00, 0x8F, 0xB1, 0x00, 0x00}},
      {PropertyTagImageTitle, PropertyTagTypeASCII, {'T', 'a', 'v', 'r', 'e', 'l', 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "property 0x" << std::hex << c.id);
    PropertyItem item;
    ASSERT_TRUE(image.GetPropertyItem(c.id, item));
    EXPECT_EQ(item.id, c.id);
    EXPECT_EQ(item.type, c.type);
    EXPECT_EQ(item.length, c.value.size());
    EXPECT_EQ(item.value, c.value);
  }
}

TEST(PlusImagePropertyTest, SetPropertyItemThenGetItBackThenRemoveIt) {
  PlusBitmap image;
  ASSERT_TRUE(image.CreateFromStream(kPng3x2));
  const PropertyItem delays{PropertyTagFrameDelay, 8, PropertyTagTypeLong, {10, 0, 0, 0, 20, 0, 0, 0}};
  ASSERT_TRUE(image.SetPropertyItem(delays));
  PropertyItem item;
  if (RunningUnderWine()) {
    // Wine's GdipSetPropertyItem answers Ok and keeps nothing; GdipRemovePropertyItem is not
    // implemented.
    EXPECT_FALSE(image.GetPropertyItem(PropertyTagFrameDelay, item));
    EXPECT_EQ(lastStatus, Gdiplus::PropertyNotFound);
    EXPECT_FALSE(image.RemovePropertyItem(PropertyTagFrameDelay));
    EXPECT_EQ(lastStatus, Gdiplus::NotImplemented);
    return;
  }
  ASSERT_TRUE(image.GetPropertyItem(PropertyTagFrameDelay, item));
  EXPECT_EQ(item.id, delays.id);
  EXPECT_EQ(item.length, delays.length);
  EXPECT_EQ(item.type, delays.type);
  EXPECT_EQ(item.value, delays.value);
  std::vector<std::uint32_t> frameDelays;
  ASSERT_TRUE(image.GetFrameDelays(frameDelays));
  EXPECT_EQ(frameDelays, (std::vector<std::uint32_t>{10, 20}));
  EXPECT_TRUE(image.RemovePropertyItem(PropertyTagFrameDelay));
  EXPECT_FALSE(image.GetPropertyItem(PropertyTagFrameDelay, item));
}

TEST(PlusImagePaletteTest, AnArgbImageHasAnEmptyPalette) {
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  ColorPalette palette{9, 9, {1, 2, 3}};
  ASSERT_TRUE(image.GetPalette(palette));
  EXPECT_EQ(palette.count, 0u);
  EXPECT_TRUE(palette.entries.empty());
}

TEST(PlusImagePaletteTest, SetPaletteThenGetPalette) {
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(2, 2, PixelFormat8bppIndexed));
  const ColorPalette given{0, 3, {0xFF112233, 0xFF445566, 0x80778899}};
  ASSERT_TRUE(bitmap.SetPalette(given));
  ColorPalette palette;
  ASSERT_TRUE(bitmap.GetPalette(palette));
  EXPECT_EQ(palette.flags, given.flags);
  EXPECT_EQ(palette.count, 3u);
  EXPECT_EQ(palette.entries, given.entries);
}

// GUID texts.

TEST(GuidTextTest, GuidsAreBracedUpperCaseTextsBothWays) {
  struct Case {
    const char* name;
    GUID guid;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"PNG format", Gdiplus::ImageFormatPNG, kPngFormatText},
      {"BMP format", Gdiplus::ImageFormatBMP, kBmpFormatText},
      {"page dimension", Gdiplus::FrameDimensionPage, kPageDimensionText},
      {"all zeros", GUID{}, kZeroGuidText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GuidToText(c.guid), c.text);
    EXPECT_EQ(c.text.size(), 38u);
    EXPECT_TRUE(IsEqualGUID(TextToGuid(c.text), c.guid));
  }
}

TEST(GuidTextTest, TextToGuidReadsLowerCaseAndGivesZerosForNonGuids) {
  EXPECT_TRUE(IsEqualGUID(TextToGuid("{b96b3caf-0728-11d3-9d7b-0000f81ef32e}"), Gdiplus::ImageFormatPNG));
  for (const char* text : {"", "PNG", "B96B3CAF-0728-11D3-9D7B-0000F81EF32E"}) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(IsEqualGUID(TextToGuid(text), GUID{}));
  }
}

TEST(GuidTextTest, GetRawFormatWithoutAnImageIsTheZeroGuid) {
  PlusImage image;
  EXPECT_EQ(image.GetRawFormat(), kZeroGuidText);
  EXPECT_EQ(lastStatus, Gdiplus::InvalidParameter);
}

// Effects.

TEST(PlusBitmapEffectTest, ApplyEffectFreesTheOldAuxiliaryDataAndKeepsWhatGdiplusReturns) {
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(4, 4));
  ImageEffect effect;
  effect.auxData = Gdiplus::DllExports::GdipAlloc(32);
  effect.auxDataSize = 32;
  effect.useAuxData = true;
  const bool applied = bitmap.ApplyEffect(effect, RectI{0, 0, 2, 2});
  if (RunningUnderWine()) {
    // Wine has no effects.
    EXPECT_FALSE(applied);
    EXPECT_EQ(lastStatus, Gdiplus::NotImplemented);
  }
  EXPECT_EQ(applied, lastStatus == Gdiplus::Ok);
  EXPECT_EQ(effect.auxData == nullptr, effect.auxDataSize == 0);
  if (!applied) {
    EXPECT_EQ(effect.auxData, nullptr);
  }
}

// Every operation on an object without a handle: nothing crashes, the answer is false, zero or
// empty, and lastStatus holds what GDI+ said.

template <class Object>
struct SweepRow {
  const char* name;
  std::vector<std::string_view> functions;  // the GDI+ functions the operation calls
  std::optional<Status> status;             // none: the operation calls no GDI+ function
  std::function<bool(Object&)> answersNothing;
};

// Runs every row on a new object of the class Made; under Wine a row that would call a stub is
// left out, since the stub would end the program.
template <class Made, class Object>
void Sweep(const std::vector<SweepRow<Object>>& rows) {
  for (const SweepRow<Object>& row : rows) {
    SCOPED_TRACE(row.name);
    if (std::any_of(row.functions.begin(), row.functions.end(), IsWineStub)) continue;
    Made object;
    lastStatus = kUntouched;
    EXPECT_TRUE(row.answersNothing(object));
    EXPECT_EQ(lastStatus, row.status.value_or(kUntouched));
    EXPECT_EQ(object.GetHandle(), nullptr);
  }
}

constexpr Status kInvalid = Gdiplus::InvalidParameter;

TEST(PlusImageSweepTest, EveryOperationWithoutAHandle) {
  const std::string file = TempFilePath("tavrel_sweep.png");
  const tavrel::plus::EncoderParameters none;
  const std::vector<SweepRow<PlusImage>> imageRows = {
      {"Dispose", {}, std::nullopt, [](PlusImage& i) { return !i.Dispose(); }},
      {"LoadFromFile",
       {"GdipLoadImageFromFile"},
       kUnreadable,
       [](PlusImage& i) { return !i.LoadFromFile("C:\\tavrel\\no such file.png"); }},
      {"LoadFromStream", {"GdipLoadImageFromStream"}, kUnreadable, [](PlusImage& i) { return !i.LoadFromStream({}); }},
      {"Clone",
       {"GdipCloneImage"},
       kInvalid,
       [](PlusImage& i) {
         PlusImage target;
         return !i.Clone(target) && !target.GetHandle();
       }},
      {"SaveToFile", {"GdipSaveImageToFile"}, kInvalid, [&](PlusImage& i) { return !i.SaveToFile(file); }},
      {"SaveToStream", {"GdipSaveImageToStream"}, kInvalid, [](PlusImage& i) { return i.SaveToStream().empty(); }},
      {"SaveAdd", {"GdipSaveAdd"}, kInvalid, [&](PlusImage& i) { return !i.SaveAdd(none); }},
      {"SaveAddImage",
       {"GdipSaveAddImage"},
       kInvalid,
       [&](PlusImage& i) {
         PlusImage other;
         return !i.SaveAddImage(other, none);
       }},
      {"GetEncoderParameterList",
       {"GdipGetEncoderParameterListSize", "GdipGetEncoderParameterList"},
       kInvalid,
       [](PlusImage& i) {
         tavrel::plus::EncoderParameters params{7, {}};
         return !i.GetEncoderParameterList(kPngFormatText, params) && params.count == 7;
       }},
      {"GetRawFormat",
       {"GdipGetImageRawFormat"},
       kInvalid,
       [](PlusImage& i) { return i.GetRawFormat() == kZeroGuidText; }},
      {"GetBounds",
       {"GdipGetImageBounds"},
       kInvalid,
       [](PlusImage& i) {
         Gdiplus::Unit unit = Gdiplus::UnitPixel;
         return i.GetBounds(&unit) == RectF{};
       }},
      {"GetDimension", {"GdipGetImageDimension"}, kInvalid, [](PlusImage& i) { return i.GetDimension() == SizeF{}; }},
      {"GetType", {"GdipGetImageType"}, kInvalid, [](PlusImage& i) { return i.GetType() == 0; }},
      {"GetWidth", {"GdipGetImageWidth"}, kInvalid, [](PlusImage& i) { return i.GetWidth() == 0; }},
      {"GetHeight", {"GdipGetImageHeight"}, kInvalid, [](PlusImage& i) { return i.GetHeight() == 0; }},
      {"GetHorizontalResolution",
       {"GdipGetImageHorizontalResolution"},
       kInvalid,
       [](PlusImage& i) { return i.GetHorizontalResolution() == 0; }},
      {"GetVerticalResolution",
       {"GdipGetImageVerticalResolution"},
       kInvalid,
       [](PlusImage& i) { return i.GetVerticalResolution() == 0; }},
      {"GetFlags", {"GdipGetImageFlags"}, kInvalid, [](PlusImage& i) { return i.GetFlags() == 0; }},
      {"GetPixelFormat", {"GdipGetImagePixelFormat"}, kInvalid, [](PlusImage& i) { return i.GetPixelFormat() == 0; }},
      {"GetThumbnail",
       {"GdipGetImageThumbnail"},
       kInvalid,
       [](PlusImage& i) {
         PlusImage target;
         return !i.GetThumbnail(4, 4, target) && !target.GetHandle();
       }},
      {"GetFrameCount",
       {"GdipImageGetFrameCount"},
       kInvalid,
       [](PlusImage& i) { return i.GetFrameCount(kPageDimensionText) == 0; }},
      {"GetFrameDimensionsList",
       {"GdipImageGetFrameDimensionsCount"},
       kInvalid,
       [](PlusImage& i) {
         std::vector<std::string> dimensions = {"kept"};
         return !i.GetFrameDimensionsList(dimensions) && dimensions == std::vector<std::string>{"kept"};
       }},
      {"SelectActiveFrame",
       {"GdipImageSelectActiveFrame"},
       kInvalid,
       [](PlusImage& i) { return !i.SelectActiveFrame(kPageDimensionText, 0); }},
      {"GetFrameDelays",
       {"GdipGetPropertyItemSize"},
       kInvalid,
       [](PlusImage& i) {
         std::vector<std::uint32_t> delays = {5};
         return !i.GetFrameDelays(delays) && delays == std::vector<std::uint32_t>{5};
       }},
      {"GetPropertyItem",
       {"GdipGetPropertyItemSize"},
       kInvalid,
       [](PlusImage& i) {
         PropertyItem item{1, 2, 3, {4}};
         return !i.GetPropertyItem(PropertyTagFrameDelay, item) && item.id == 1 && item.value == ByteBuffer{4};
       }},
      {"SetPropertyItem",
       {"GdipSetPropertyItem"},
       kInvalid,
       [](PlusImage& i) {
         return !i.SetPropertyItem(PropertyItem{PropertyTagFrameDelay, 4, 4, {1, 0, 0, 0}});
       }},
      {"RemovePropertyItem",
       {"GdipRemovePropertyItem"},
       kInvalid,
       [](PlusImage& i) { return !i.RemovePropertyItem(PropertyTagFrameDelay); }},
      {"GetPropertyIdList",
       {"GdipGetPropertyCount"},
       kInvalid,
       [](PlusImage& i) {
         std::vector<PROPID> ids = {9};
         return i.GetPropertyIdList(ids) == 0 && ids == std::vector<PROPID>{9};
       }},
      {"RotateFlip",
       {"GdipImageRotateFlip"},
       kInvalid,
       [](PlusImage& i) { return !i.RotateFlip(Gdiplus::Rotate90FlipNone); }},
      {"GetPalette",
       {"GdipGetImagePaletteSize"},
       kInvalid,
       [](PlusImage& i) {
         ColorPalette palette{1, 1, {2}};
         return !i.GetPalette(palette) && palette.count == 1;
       }},
      {"SetPalette",
       {"GdipSetImagePalette"},
       kInvalid,
       [](PlusImage& i) {
         return !i.SetPalette(ColorPalette{0, 1, {0xFF000000}});
       }},
  };
  Sweep<PlusImage>(imageRows);
  Sweep<PlusBitmap>(imageRows);
}

TEST(PlusImageSweepTest, EveryBitmapOperationWithoutAHandle) {
  const std::vector<SweepRow<PlusBitmap>> rows = {
      {"Dispose", {}, std::nullopt, [](PlusBitmap& b) { return !b.Dispose(); }},
      {"CreateFromFile",
       {"GdipCreateBitmapFromFile"},
       kUnreadable,
       [](PlusBitmap& b) { return !b.CreateFromFile("C:\\tavrel\\no such file.png"); }},
      {"CreateFromStream",
       {"GdipCreateBitmapFromStream"},
       kUnreadable,
       [](PlusBitmap& b) { return !b.CreateFromStream({}); }},
      {"CreateFromScan0",
       {"GdipCreateBitmapFromScan0"},
       kInvalid,
       [](PlusBitmap& b) { return !b.CreateFromScan0(0, 0, 0, PixelFormat32bppARGB); }},
      {"Create", {"GdipCreateBitmapFromScan0"}, kInvalid, [](PlusBitmap& b) { return !b.Create(0, 5); }},
      {"CreateFromGraphics",
       {"GdipCreateBitmapFromGraphics"},
       kInvalid,
       [](PlusBitmap& b) {
         const PlusGraphics none;
         return !b.CreateFromGraphics(2, 2, none);
       }},
      {"CreateFromGdiDib",
       {"GdipCreateBitmapFromGdiDib"},
       kInvalid,
       [](PlusBitmap& b) { return !b.CreateFromGdiDib(nullptr, nullptr); }},
      {"CreateFromHBITMAP",
       {"GdipCreateBitmapFromHBITMAP"},
       kInvalid,
       [](PlusBitmap& b) { return !b.CreateFromHBITMAP(nullptr); }},
      {"CreateFromHICON",
       {"GdipCreateBitmapFromHICON"},
       kInvalid,
       [](PlusBitmap& b) { return !b.CreateFromHICON(nullptr); }},
      {"CreateFromResource",
       {"GdipCreateBitmapFromResource"},
       kInvalid,
       [](PlusBitmap& b) { return !b.CreateFromResource(nullptr, L"TAVREL_NONE"); }},
      {"GetHBITMAP",
       {"GdipCreateHBITMAPFromBitmap"},
       kInvalid,
       [](PlusBitmap& b) { return b.GetHBITMAP() == nullptr; }},
      {"GetHICON", {"GdipCreateHICONFromBitmap"}, kInvalid, [](PlusBitmap& b) { return b.GetHICON() == nullptr; }},
      {"CloneArea",
       {"GdipCloneBitmapArea"},
       kInvalid,
       [](PlusBitmap& b) {
         PlusBitmap target;
         return !b.CloneArea(RectF{0, 0, 1, 1}, PixelFormat32bppARGB, target) && !target.GetHandle();
       }},
      {"LockBits",
       {"GdipBitmapLockBits"},
       kInvalid,
       [](PlusBitmap& b) {
         BitmapData data{};
         return !b.LockBits(RectI{0, 0, 1, 1}, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, data);
       }},
      {"UnlockBits",
       {"GdipBitmapUnlockBits"},
       kInvalid,
       [](PlusBitmap& b) {
         BitmapData data{};
         return !b.UnlockBits(data);
       }},
      {"GetPixel", {"GdipBitmapGetPixel"}, kInvalid, [](PlusBitmap& b) { return b.GetPixel(0, 0) == 0; }},
      {"SetPixel", {"GdipBitmapSetPixel"}, kInvalid, [](PlusBitmap& b) { return !b.SetPixel(0, 0, 0xFF000000); }},
      {"SetResolution", {"GdipBitmapSetResolution"}, kInvalid, [](PlusBitmap& b) { return !b.SetResolution(96, 96); }},
      {"ApplyEffect",
       {"GdipBitmapApplyEffect"},
       Gdiplus::NotImplemented,
       [](PlusBitmap& b) {
         ImageEffect effect;
         return !b.ApplyEffect(effect) && effect.auxData == nullptr && effect.auxDataSize == 0;
       }},
  };
  Sweep<PlusBitmap>(rows);
}

}  // namespace
