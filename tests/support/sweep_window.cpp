#include "tests/support/sweep_window.h"

#include "resources/embedded_pictures.h"
#include "tests/support/chinese_texts.h"
#include "tests/support/sweep_texts.h"

namespace tavrel::test {

namespace {

constexpr char kClassName[] = "TavrelSweepWindow";

void DoNothing() {}

skin::TextOptions TextAt(RectF layout, int size) {
  skin::TextOptions options;
  options.layout = layout;
  options.size = size;
  return options;
}

}  // namespace

SweepWindow::SweepWindow(const SweepOptions& options) {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
  }();
  // The real pointer stays off the window: its moves would reach the buttons between the messages a sweep sends.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  window = CreateWindowExA(0, registered ? kClassName : "Static", "Tavrel", WS_POPUP, 50, 50, 480, 233, nullptr,
                           nullptr, GetModuleHandleA(nullptr), this);
  // The skin reads its caption pictures when it is made, the icon here, the frame and the button strip when drawing.
  skinWindow = std::make_unique<skin::SkinWindow>();
  const resources::Bytes icon = resources::ProgramIcon();
  skinWindow->Attach(window, ByteBuffer(icon.begin(), icon.end()), options.showCaptionButtons,
                     options.showMaximizeButton, 0xC06000);
  if (options.firstMouseHandler) skinWindow->AddMouseHandler(options.firstMouseHandler);
  const auto orNothing = [](skin::HandlerAddress handler) {
    return handler ? handler : skin::AsHandler(skin::CodeAddress(&DoNothing));
  };
  clearButton.Create(*skinWindow, kSweepClearRect, kClearCaption936, kSweepButtonFontSize, orNothing(options.onClear));
  exitButton.Create(*skinWindow, kSweepExitRect, kSweepExitCaption936, kSweepButtonFontSize, orNothing(options.onExit));
  skinWindow->AddText(kSweepWarning936, Gdiplus::FontStyleItalic, TextAt({72, 48, 360, 48}, 14));
  skinWindow->AddText(kSweepMicroblog936, Gdiplus::FontStyleUnderline, TextAt({16, 176, 120, 38}, 13));
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  PumpMessages();
}

SweepWindow::~SweepWindow() {
  clearButton.Remove(*skinWindow);
  exitButton.Remove(*skinWindow);
  skinWindow->Detach();
  skinWindow.reset();
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
  PumpMessages();
}

LRESULT CALLBACK SweepWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<SweepWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self) {
    if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
      self->mouseSeen.push_back(MSG{window, message, wParam, lParam, 0, {}});
    }
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
      ++self->dragRequests;
      return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<std::uint32_t> ReadArea(HDC dc, const RectI& area) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = area.width;
  info.bmiHeader.biHeight = -area.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<std::uint32_t> pixels;
  if (!dib) return pixels;
  HDC copy = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(copy, dib);
  BitBlt(copy, 0, 0, area.width, area.height, dc, area.x, area.y, SRCCOPY);
  GdiFlush();
  const auto* data = static_cast<const std::uint32_t*>(bits);
  pixels.assign(data, data + static_cast<std::size_t>(area.width) * area.height);
  // GDI keeps no alpha on these surfaces: the top byte means nothing.
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  SelectObject(copy, previous);
  DeleteDC(copy);
  DeleteObject(dib);
  return pixels;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace tavrel::test
