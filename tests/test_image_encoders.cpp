// The GDI+ encoders and saving: the encoder list and lookup, saving to files and into memory,
// multi-frame saves, and the EncoderParameters blocks exchanged with GDI+, checked on bytes the
// tests lay out themselves in the layout of the platform they run on (28-byte parameters on
// 32-bit Windows, 32-byte ones behind an 8-byte count on 64-bit Windows).
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "gdiplus_objects/plus_image.h"
#include "tests/support/image_fixtures.h"
#include "tests/support/wine_stubs.h"

namespace {

using tavrel::Argb;
using tavrel::ByteBuffer;
using tavrel::plus::BuildEncoderParametersBlock;
using tavrel::plus::EncoderInfo;
using tavrel::plus::EncoderParameter;
using tavrel::plus::EncoderParameters;
using tavrel::plus::FindEncoderClsid;
using tavrel::plus::GetImageEncoders;
using tavrel::plus::GuidToText;
using tavrel::plus::lastStatus;
using tavrel::plus::ParseEncoderParameters;
using tavrel::plus::PlusBitmap;
using tavrel::plus::PlusImage;
using namespace tavrel::test;

const std::string kJpegFormatText = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
const std::string kTiffFormatText = "{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}";
const std::string kQualityText = "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}";
const std::string kSaveFlagText = "{292266FC-AC40-47BF-8CFC-A85B89A655DE}";
// EncoderQuality in its 16-byte form: Data1 to Data3 little-endian, then Data4.
const ByteBuffer kQualityBytes = {0xB5, 0xE4, 0x5B, 0x1D, 0x4A, 0xFA, 0x2D, 0x45,
                                  0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB};

// GDI+'s EncoderParameters layout on this platform: the count, padded to the alignment of an
// address, then entries of GUID, number of values, type and value address.
constexpr size_t kAddressSize = sizeof(void*);
constexpr size_t kFirstEntry = kAddressSize;
constexpr size_t kEntrySize = 16 + 4 + 4 + kAddressSize;

// Bytes laid out by hand.
class Layout {
 public:
  explicit Layout(size_t size) : bytes(size, 0) {}
  void Word(size_t offset, std::uint32_t value) { std::memcpy(bytes.data() + offset, &value, 4); }
  void Address(size_t offset, const void* address) {
    const auto value = reinterpret_cast<std::uintptr_t>(address);
    std::memcpy(bytes.data() + offset, &value, kAddressSize);
  }
  void Bytes(size_t offset, const ByteBuffer& value) { std::copy(value.begin(), value.end(), bytes.begin() + offset); }
  void Entry(size_t k, const ByteBuffer& guid, std::uint32_t numberOfValues, std::uint32_t type, const void* value) {
    const size_t at = kFirstEntry + k * kEntrySize;
    Bytes(at, guid);
    Word(at + 16, numberOfValues);
    Word(at + 20, type);
    Address(at + 24, value);
  }
  ByteBuffer bytes;
};

ByteBuffer ReadFile(const std::string& path) {
  ByteBuffer bytes;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

bool StartsWith(const ByteBuffer& bytes, const ByteBuffer& prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// Decodes encoded bytes and compares them with the fixture's pixels, alpha included when the
// format keeps it.
void ExpectFixturePixels(const ByteBuffer& encoded, bool withAlpha) {
  PlusBitmap decoded;
  ASSERT_TRUE(decoded.CreateFromStream(encoded));
  ASSERT_EQ(decoded.GetWidth(), 3u);
  ASSERT_EQ(decoded.GetHeight(), 2u);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
      const Argb expected = kPng3x2Pixels[y][x];
      if (withAlpha) {
        EXPECT_EQ(decoded.GetPixel(x, y), expected);
      } else if (expected >> 24 == 0xFF) {
        EXPECT_EQ(decoded.GetPixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF);
      }
    }
  }
}

EncoderParameters SaveFlag(Gdiplus::EncoderValue value) {
  const auto word = static_cast<std::uint32_t>(value);
  ByteBuffer bytes(4);
  std::memcpy(bytes.data(), &word, 4);
  return {1, {{kSaveFlagText, 1, Gdiplus::EncoderParameterValueTypeLong, bytes}}};
}

// The parameter blocks.

TEST(EncoderParametersBlockTest, TheBlockForASaveHasGdiplusLayout) {
  static_assert(kEntrySize == sizeof(Gdiplus::EncoderParameter));
  const EncoderParameters params = {
      2,
      {{kQualityText, 1, Gdiplus::EncoderParameterValueTypeLong, {75, 0, 0, 0}},
       {kSaveFlagText, 0, Gdiplus::EncoderParameterValueTypeLong, {}}},
  };
  Layout expected(kFirstEntry + 2 * kEntrySize);
  expected.Word(0, 2);
  expected.Entry(0, kQualityBytes, 1, 4, params.parameters[0].value.data());
  ByteBuffer saveFlagBytes(16);
  std::memcpy(saveFlagBytes.data(), &Gdiplus::EncoderSaveFlag, 16);
  expected.Entry(1, saveFlagBytes, 0, 4, nullptr);  // an empty value passes a null address
  EXPECT_EQ(BuildEncoderParametersBlock(params), expected.bytes);
}

TEST(EncoderParametersBlockTest, TheCountIsWrittenAsTheCallerSetIt) {
  struct Case {
    const char* name;
    EncoderParameters params;
    size_t size;
  };
  const std::vector<Case> cases = {
      {"no parameters", {}, kFirstEntry},
      {"a count below the entries",
       {1, {{kQualityText, 0, 4, {}}, {kQualityText, 0, 4, {}}}},
       kFirstEntry + 2 * kEntrySize},
      {"a count of 0 with an entry", {0, {{kQualityText, 0, 4, {}}}}, kFirstEntry + kEntrySize},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ByteBuffer block = BuildEncoderParametersBlock(c.params);
    ASSERT_EQ(block.size(), c.size);
    std::uint32_t count = 0;
    std::memcpy(&count, block.data(), 4);
    EXPECT_EQ(count, c.params.count);
  }
}

TEST(EncoderParametersBlockTest, AReturnedListIsParsedByTheTableOfValueLengths) {
  ByteBuffer values(64);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<std::uint8_t>(i + 1);
  struct Case {
    const char* name;
    std::uint32_t type;
    std::uint32_t numberOfValues;
    const void* value;
    size_t bytes;
  };
  const std::vector<Case> cases = {
      {"byte", 1, 3, values.data(), 3},
      {"ASCII", 2, 3, values.data(), 3},
      {"short", 3, 3, values.data(), 6},
      {"long", 4, 3, values.data(), 12},
      {"rational", 5, 3, values.data(), 24},
      {"long range", 6, 3, values.data(), 24},
      {"undefined", 7, 3, values.data(), 3},
      {"rational range", 8, 3, values.data(), 48},
      {"a type outside the table", 9, 3, values.data(), 0},
      {"a null value address", 4, 3, nullptr, 0},
  };
  Layout list(kFirstEntry + cases.size() * kEntrySize);
  list.Word(0, static_cast<std::uint32_t>(cases.size()));
  for (size_t k = 0; k < cases.size(); ++k)
    list.Entry(k, kQualityBytes, cases[k].numberOfValues, cases[k].type, cases[k].value);

  const EncoderParameters params = ParseEncoderParameters(list.bytes.data());
  EXPECT_EQ(params.count, cases.size());
  ASSERT_EQ(params.parameters.size(), cases.size());
  for (size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(cases[k].name);
    const EncoderParameter& parameter = params.parameters[k];
    EXPECT_EQ(parameter.guid, kQualityText);
    EXPECT_EQ(parameter.numberOfValues, cases[k].numberOfValues);
    EXPECT_EQ(parameter.type, cases[k].type);
    EXPECT_EQ(parameter.value, ByteBuffer(values.begin(), values.begin() + cases[k].bytes));
  }
}

TEST(EncoderParametersBlockTest, ParsingTheBlockOfASaveGivesTheParametersBack) {
  const EncoderParameters params = {
      2,
      {{kQualityText, 1, Gdiplus::EncoderParameterValueTypeLong, {90, 0, 0, 0}},
       {kSaveFlagText, 2, Gdiplus::EncoderParameterValueTypeShort, {1, 2, 3, 4}}},
  };
  const ByteBuffer block = BuildEncoderParametersBlock(params);
  const EncoderParameters parsed = ParseEncoderParameters(block.data());
  EXPECT_EQ(parsed.count, 2u);
  ASSERT_EQ(parsed.parameters.size(), 2u);
  for (size_t k = 0; k < 2; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(parsed.parameters[k].guid, params.parameters[k].guid);
    EXPECT_EQ(parsed.parameters[k].numberOfValues, params.parameters[k].numberOfValues);
    EXPECT_EQ(parsed.parameters[k].type, params.parameters[k].type);
    EXPECT_EQ(parsed.parameters[k].value, params.parameters[k].value);
  }
  EXPECT_EQ(ParseEncoderParameters(nullptr).count, 0u);
}

// The encoder list and lookup.

TEST(ImageEncodersTest, GetImageEncodersListsWhatGdiplusCounts) {
  UINT count = 0;
  UINT size = 0;
  ASSERT_EQ(Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &size), Gdiplus::Ok);
  std::vector<EncoderInfo> encoders(1);
  ASSERT_EQ(GetImageEncoders(encoders), count);
  ASSERT_EQ(encoders.size(), count);
  EXPECT_EQ(lastStatus, Gdiplus::Ok);
  const EncoderInfo* png = nullptr;
  for (const EncoderInfo& encoder : encoders) {
    SCOPED_TRACE(encoder.codecName);
    for (const std::string& guid : {encoder.clsid, encoder.formatId}) {
      EXPECT_EQ(guid.size(), 38u);
      EXPECT_EQ(guid.front(), '{');
      EXPECT_EQ(guid.find_first_of("abcdef"), std::string::npos);
    }
    EXPECT_FALSE(encoder.codecName.empty());
    EXPECT_TRUE(encoder.flags & Gdiplus::ImageCodecFlagsEncoder);
    EXPECT_EQ(encoder.sigPattern.size(), size_t{encoder.sigCount} * encoder.sigSize);
    EXPECT_EQ(encoder.sigMask.size(), encoder.sigPattern.size());
    if (encoder.formatId == kPngFormatText) png = &encoder;
  }
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->mimeType, "image/png");
  EXPECT_NE(png->filenameExtension.find("PNG"), std::string::npos);
  EXPECT_EQ(png->clsid, GuidToText(FlatEncoderClsid(Gdiplus::ImageFormatPNG)));
  EXPECT_TRUE(StartsWith(png->sigPattern, {0x89, 'P', 'N', 'G'}));
}

TEST(ImageEncodersTest, FindEncoderClsidComparesTheTextExactly) {
  const std::string pngEncoder = GuidToText(FlatEncoderClsid(Gdiplus::ImageFormatPNG));
  const std::string bmpEncoder = GuidToText(FlatEncoderClsid(Gdiplus::ImageFormatBMP));
  struct Case {
    const char* name;
    std::string format;
    std::string clsid;
  };
  const std::vector<Case> cases = {
      {"PNG", kPngFormatText, pngEncoder},
      {"BMP", kBmpFormatText, bmpEncoder},
      {"PNG in lower case", "{b96b3caf-0728-11d3-9d7b-0000f81ef32e}", ""},
      {"PNG without braces", "B96B3CAF-0728-11D3-9D7B-0000F81EF32E", ""},
      {"a memory bitmap, which has no encoder", kMemoryBmpFormatText, ""},
      {"the zero GUID", kZeroGuidText, ""},
      {"an empty text", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindEncoderClsid(c.format), c.clsid);
  }
  EXPECT_NE(pngEncoder, kZeroGuidText);
}

// Saving.

TEST(ImageSaveTest, SaveToFileWithoutAFormatWritesTheImagesOwnFormat) {
  const std::string path = TempFilePath("tavrel_saved.png");
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  ASSERT_TRUE(image.SaveToFile(path));
  EXPECT_EQ(lastStatus, Gdiplus::Ok);
  const ByteBuffer file = ReadFile(path);
  EXPECT_TRUE(HasPngSignature(file));
  ExpectFixturePixels(file, true);
  DeleteFileA(path.c_str());
}

TEST(ImageSaveTest, SaveToFileInAGivenFormat) {
  struct Case {
    const char* name;
    std::string format;
    std::optional<EncoderParameters> params;
    ByteBuffer signature;
    bool withAlpha;
  };
  const std::vector<Case> cases = {
      {"PNG", kPngFormatText, std::nullopt, {0x89, 'P', 'N', 'G'}, true},
      {"BMP", kBmpFormatText, std::nullopt, {'B', 'M'}, false},
      {"JPEG at quality 100",
       kJpegFormatText,
       EncoderParameters{1, {{kQualityText, 1, Gdiplus::EncoderParameterValueTypeLong, {100, 0, 0, 0}}}},
       {0xFF, 0xD8, 0xFF},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = TempFilePath("tavrel_saved_as.bin");
    PlusImage image;
    ASSERT_TRUE(image.LoadFromStream(kPng3x2));
    ASSERT_TRUE(image.SaveToFile(path, c.format, c.params));
    const ByteBuffer file = ReadFile(path);
    EXPECT_TRUE(StartsWith(file, c.signature));
    if (c.format != kJpegFormatText) ExpectFixturePixels(file, c.withAlpha);
    DeleteFileA(path.c_str());
  }
}

TEST(ImageSaveTest, AFormatThatNamesNoEncoderFailsInGdiplus) {
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  for (const std::string format : {"{b96b3caf-0728-11d3-9d7b-0000f81ef32e}", "PNG", ""}) {
    SCOPED_TRACE(format);
    EXPECT_FALSE(image.SaveToFile(TempFilePath("tavrel_not_saved.png"), format));
    EXPECT_EQ(lastStatus, Gdiplus::UnknownImageFormat);
    EXPECT_TRUE(image.SaveToStream(format).empty());
    EXPECT_EQ(lastStatus, Gdiplus::UnknownImageFormat);
  }
  DeleteFileA(TempFilePath("tavrel_not_saved.png").c_str());
}

TEST(ImageSaveTest, SaveToStreamOfAPngWritesAPngThatDecodesToTheSamePixels) {
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  for (const std::optional<std::string>& format : {std::optional<std::string>{}, std::optional{kPngFormatText}}) {
    SCOPED_TRACE(format.value_or("no format"));
    const ByteBuffer bytes = image.SaveToStream(format);
    EXPECT_EQ(lastStatus, Gdiplus::Ok);
    EXPECT_TRUE(HasPngSignature(bytes));
    ExpectFixturePixels(bytes, true);
  }
  const ByteBuffer bmp = image.SaveToStream(kBmpFormatText);
  EXPECT_TRUE(StartsWith(bmp, {'B', 'M'}));
  ExpectFixturePixels(bmp, false);
}

TEST(ImageSaveTest, SaveToStreamOfAMemoryBitmapWithoutAFormatIsEmpty) {
  PlusBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(4, 4));
  ASSERT_EQ(bitmap.GetRawFormat(), kMemoryBmpFormatText);
  EXPECT_TRUE(bitmap.SaveToStream().empty());
  EXPECT_EQ(lastStatus, Gdiplus::UnknownImageFormat);
  const ByteBuffer png = bitmap.SaveToStream(kPngFormatText);
  EXPECT_TRUE(HasPngSignature(png));
}

TEST(ImageSaveTest, SaveAddImageAndSaveAddContinueAMultiFrameTiff) {
  const std::string path = TempFilePath("tavrel_frames.tif");
  PlusBitmap first;
  ASSERT_TRUE(first.CreateFromStream(kPng3x2));
  PlusBitmap second;
  ASSERT_TRUE(second.Create(3, 2));
  ASSERT_TRUE(second.SetPixel(0, 0, 0xFF00FFFF));

  ASSERT_TRUE(first.SaveToFile(path, kTiffFormatText, SaveFlag(Gdiplus::EncoderValueMultiFrame)));
  EXPECT_TRUE(first.SaveAddImage(second, SaveFlag(Gdiplus::EncoderValueFrameDimensionPage)));
  EXPECT_TRUE(first.SaveAdd(SaveFlag(Gdiplus::EncoderValueFlush)));

  PlusImage saved;
  ASSERT_TRUE(saved.LoadFromFile(path));
  EXPECT_EQ(saved.GetRawFormat(), kTiffFormatText);
  EXPECT_EQ(saved.GetFrameCount(GuidToText(Gdiplus::FrameDimensionPage)), 2u);
  EXPECT_TRUE(saved.Dispose());
  DeleteFileA(path.c_str());
}

TEST(ImageSaveTest, SaveAddWithoutASaveToContinueFails) {
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  PlusBitmap other;
  ASSERT_TRUE(other.Create(2, 2));
  EXPECT_FALSE(image.SaveAdd(SaveFlag(Gdiplus::EncoderValueFlush)));
  EXPECT_EQ(lastStatus, Gdiplus::Win32Error);
  EXPECT_FALSE(image.SaveAddImage(other, SaveFlag(Gdiplus::EncoderValueFrameDimensionPage)));
  EXPECT_EQ(lastStatus, Gdiplus::Win32Error);
}

// The encoder's parameter list. Under Wine the size query answers NotImplemented, so the list
// itself, a stub there that would end the program, is never asked for.
TEST(ImageEncoderParameterListTest, GetEncoderParameterListOfTheJpegEncoder) {
  PlusImage image;
  ASSERT_TRUE(image.LoadFromStream(kPng3x2));
  EncoderParameters params{5, {}};
  if (RunningUnderWine()) {
    if (IsWineStub("GdipGetEncoderParameterListSize")) GTEST_SKIP() << "the size query is a Wine stub";
    EXPECT_FALSE(image.GetEncoderParameterList(kJpegFormatText, params));
    EXPECT_EQ(lastStatus, Gdiplus::NotImplemented);
    EXPECT_EQ(params.count, 5u);
    return;
  }
  ASSERT_TRUE(image.GetEncoderParameterList(kJpegFormatText, params));
  EXPECT_EQ(params.parameters.size(), params.count);
  bool quality = false;
  for (const EncoderParameter& parameter : params.parameters) quality |= parameter.guid == kQualityText;
  EXPECT_TRUE(quality);
}

}  // namespace
