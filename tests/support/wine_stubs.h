// GDI+ functions that Wine 8.0 exports only as unimplemented stubs. Calling one raises
// EXCEPTION_WINE_STUB (0x80000100), which nothing handles: the process ends. Tests that sweep over
// wrapper operations skip the operations that call one of these when they run under Wine;
// tests/test_wine_stubs.cpp checks the list against the real gdiplus.dll.
#pragma once

#include <array>
#include <string_view>

namespace tavrel::test {

inline constexpr unsigned long kWineStubException = 0x80000100;

inline constexpr std::array<std::string_view, 15> kWineStubFunctions = {
    "GdipConvertToEmfPlusToStream",
    "GdipCreateBitmapFromDirectDrawSurface",
    "GdipDrawImageFX",
    "GdipEnumerateMetafileDestPoints",
    "GdipEnumerateMetafileDestPointsI",
    "GdipEnumerateMetafileSrcRectDestPoint",
    "GdipEnumerateMetafileSrcRectDestPointI",
    "GdipEnumerateMetafileSrcRectDestPointsI",
    "GdipFindNextImageItem",
    "GdipGetCustomLineCapStrokeCaps",
    "GdipGetEffectParameterSize",
    "GdipGetEffectParameters",
    "GdipGetEncoderParameterList",
    "GdipPlayTSClientRecord",
    "GdipSetPenUnit",
};

// Whether the program runs under Wine: ntdll then exports wine_get_version.
bool RunningUnderWine();

// Whether calling the GDI+ function would end the process here: under Wine and in the list.
bool IsWineStub(std::string_view gdipFunction);

}  // namespace tavrel::test
