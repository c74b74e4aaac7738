#include "tests/support/button_fixture.h"

#include <utility>

#include "resources/embedded_pictures.h"
#include "tests/support/pixels.h"

namespace tavrel::test {

namespace {

constexpr char kClassName[] = "TavrelButtonTestPopup";

const char* RegisteredClass() {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
  }();
  return registered ? kClassName : nullptr;
}

}  // namespace

SkinnedPopup::SkinnedPopup(RectI bounds, ColorRef background) : bounds(bounds) {
  // The real pointer must not wander over the window: its moves would reach the buttons between
  // the messages a test sends.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  window = CreateWindowExA(0, RegisteredClass(), "Button test", WS_POPUP, bounds.x, bounds.y, bounds.width,
                           bounds.height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  const resources::Bytes icon = resources::ProgramIcon();
  // As the program does: the skin is laid over the window before it is shown.
  skin.Attach(window, ByteBuffer(icon.begin(), icon.end()), 0, 0, background);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  Pump();
}

SkinnedPopup::~SkinnedPopup() {
  skin.Detach();
  DestroyWindow(window);
  Pump();
}

LRESULT SkinnedPopup::Send(UINT message, int x, int y) const {
  return SendMessageA(window, message, 0, MAKELPARAM(x, y));
}

void SkinnedPopup::Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

CompatibleBuffer::CompatibleBuffer(HWND window, int width, int height) : width(width), height(height) {
  HDC windowDc = GetDC(window);
  dc = CreateCompatibleDC(windowDc);
  bitmap = CreateCompatibleBitmap(windowDc, width, height);
  ReleaseDC(window, windowDc);
  previous = SelectObject(dc, bitmap);
}

CompatibleBuffer::~CompatibleBuffer() {
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

void CompatibleBuffer::CopyFrom(HDC source) { BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY); }

std::vector<Argb> ReadPixels(HDC dc, const RectI& rect) {
  DibSurface copy(rect.width, rect.height);
  BitBlt(copy.Dc(), 0, 0, rect.width, rect.height, dc, rect.x, rect.y, SRCCOPY);
  std::vector<Argb> pixels;
  pixels.reserve(static_cast<size_t>(rect.width) * rect.height);
  for (int y = 0; y < rect.height; ++y) {
    for (int x = 0; x < rect.width; ++x) pixels.push_back(copy.Pixel(x, y) & 0xFFFFFF);
  }
  return pixels;
}

std::vector<Argb> ReadWindowPixels(HWND window, const RectI& rect) {
  HDC dc = GetDC(window);
  std::vector<Argb> pixels = ReadPixels(dc, rect);
  ReleaseDC(window, dc);
  return pixels;
}

ScreenRecorder::ScreenRecorder(HWND window, const RectI& rect) : window(window), rect(rect) {
  pictures.push_back(ReadWindowPixels(window, rect));
  sampler = std::thread([this] {
    while (!stopping) {
      std::vector<Argb> pixels = ReadWindowPixels(this->window, this->rect);
      if (pixels != pictures.back()) pictures.push_back(std::move(pixels));
      ::Sleep(2);
    }
  });
}

ScreenRecorder::~ScreenRecorder() { Stop(); }

std::vector<std::vector<Argb>> ScreenRecorder::Stop() {
  stopping = true;
  if (sampler.joinable()) sampler.join();
  return pictures;
}

}  // namespace tavrel::test
