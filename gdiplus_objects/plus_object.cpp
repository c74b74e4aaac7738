#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

ULONG_PTR StartGdiplus(std::optional<UINT32> version) {
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = version.value_or(1);
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  return token;
}

ByteBuffer AnsiToWide(const char* text) {
  if (!text) return {};
  const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  ByteBuffer wide(2 * static_cast<size_t>(units), 0);
  // Without the terminator: the buffer's last two zero bytes are the terminator.
  MultiByteToWideChar(CP_ACP, 0, text, lstrlenA(text), reinterpret_cast<WCHAR*>(wide.data()), units);
  return wide;
}

std::string WideToOem(const WCHAR* text) {
  if (!text) return {};
  const int bytes = WideCharToMultiByte(CP_OEMCP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string ansi(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_OEMCP, 0, text, -1, ansi.data(), bytes, nullptr, nullptr);
  ansi.resize(static_cast<size_t>(bytes) - 1);
  return ansi;
}

}  // namespace tavrel::plus
