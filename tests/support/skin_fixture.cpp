#include "tests/support/skin_fixture.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/application.h"
#include "resources/embedded_pictures.h"
#include "tests/support/pixels.h"

namespace tavrel::test {

namespace {

constexpr char kClassName[] = "TavrelSkinTestWindow";

const char* RegisteredClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
  }();
  return registered ? kClassName : nullptr;
}

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

RecordingWindow::RecordingWindow(const RectI& bounds, const char* title) {
  window = CreateWindowExA(0, RegisteredClass(&Procedure), title, WS_POPUP, bounds.x, bounds.y, bounds.width,
                           bounds.height, nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

RecordingWindow::~RecordingWindow() {
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
  Pump();
}

WNDPROC RecordingWindow::OwnProcedure() { return &Procedure; }

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self) {
    self->seen.push_back({message, wParam, lParam});
    if (message == WM_NCLBUTTONDOWN && self->holdDrags) return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RecordingWindow::Show() {
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  Pump();
}

RectI RecordingWindow::ScreenRect() const {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int RecordingWindow::SeenCount(UINT message) const {
  return static_cast<int>(
      std::count_if(seen.begin(), seen.end(), [message](const SeenMessage& m) { return m.message == message; }));
}

bool RecordingWindow::Saw(UINT message, WPARAM wParam, LPARAM lParam) const {
  return std::any_of(seen.begin(), seen.end(), [&](const SeenMessage& m) {
    return m.message == message && m.wParam == wParam && m.lParam == lParam;
  });
}

SkinnedWindow::SkinnedWindow(const RectI& bounds, const SkinOptions& options) : window(bounds) {
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  ByteBuffer icon;
  if (options.icon) {
    icon = *options.icon;
  } else {
    const resources::Bytes programIcon = resources::ProgramIcon();
    icon.assign(programIcon.begin(), programIcon.end());
  }
  attached = skin.Attach(window.Handle(), icon, options.showCaptionButtons, options.showMaximizeButton,
                         options.background, options.image);
  if (options.show) window.Show();
}

SkinnedWindow::~SkinnedWindow() { skin.Detach(); }

LRESULT SkinnedWindow::Send(UINT message, int x, int y) {
  return SendMessageA(window.Handle(), message, 0, MAKELPARAM(x, y));
}

std::vector<Argb> PixelGrid::Area(const RectI& rect) const {
  std::vector<Argb> area;
  for (int y = rect.y; y < rect.y + rect.height; ++y) {
    for (int x = rect.x; x < rect.x + rect.width; ++x) area.push_back(At(x, y));
  }
  return area;
}

PixelGrid ReadBuffer(HDC memoryDc) {
  PixelGrid grid;
  auto* bitmap = static_cast<HBITMAP>(GetCurrentObject(memoryDc, OBJ_BITMAP));
  BITMAP size{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(size), &size)) return grid;
  grid.width = size.bmWidth;
  grid.height = size.bmHeight;
  grid.pixels.resize(static_cast<size_t>(grid.width) * grid.height);
  BITMAPINFO info = TopDown32(grid.width, grid.height);
  GdiFlush();
  if (GetDIBits(memoryDc, bitmap, 0, grid.height, grid.pixels.data(), &info, DIB_RGB_COLORS) != grid.height) {
    return {};
  }
  for (Argb& pixel : grid.pixels) pixel &= 0xFFFFFF;
  return grid;
}

PixelGrid ReadScreen(const RectI& screenRect) {
  PixelGrid grid{screenRect.width, screenRect.height, {}};
  DibSurface copy(screenRect.width, screenRect.height);
  HDC screen = GetDC(nullptr);
  BitBlt(copy.Dc(), 0, 0, screenRect.width, screenRect.height, screen, screenRect.x, screenRect.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  grid.pixels.reserve(static_cast<size_t>(screenRect.width) * screenRect.height);
  for (int y = 0; y < screenRect.height; ++y) {
    for (int x = 0; x < screenRect.width; ++x) grid.pixels.push_back(copy.Pixel(x, y) & 0xFFFFFF);
  }
  return grid;
}

int Red(Argb color) { return static_cast<int>((color >> 16) & 0xFF); }
int Green(Argb color) { return static_cast<int>((color >> 8) & 0xFF); }
int Blue(Argb color) { return static_cast<int>(color & 0xFF); }
int Brightness(Argb color) { return Red(color) + Green(color) + Blue(color); }
int ColorDistance(Argb a, Argb b) { return ChannelDistance(a & 0xFFFFFF, b & 0xFFFFFF); }

void Pump(int milliseconds) {
  const double end = framework::Uptime() + milliseconds;
  MSG message;
  do {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    const double left = end - framework::Uptime();
    if (left > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
  } while (framework::Uptime() < end);
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

std::optional<DWORD> RunPumping(const std::string& commandLine, int timeoutMilliseconds) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::string line = commandLine;  // CreateProcessA may write into it
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  const double end = framework::Uptime() + timeoutMilliseconds;
  std::optional<DWORD> exitCode;
  while (framework::Uptime() < end) {
    const DWORD waited = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT);
    if (waited == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      exitCode = code;
      break;
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  if (!exitCode) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  return exitCode;
}

std::optional<int> RunHostPumping(const std::string& shellCommand, int timeoutMilliseconds) {
  static int runs = 0;
  const std::string marker =
      "/tmp/tavrel_skin_host_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++runs);
  std::string windowsMarker = "Z:" + marker;
  std::replace(windowsMarker.begin(), windowsMarker.end(), '/', '\\');
  DeleteFileA(windowsMarker.c_str());
  // Written under another name and renamed, so that the marker never holds a half-written status.
  const std::string command =
      "Z:\\bin\\sh -c \"" + shellCommand + "; echo $? >" + marker + ".part; mv " + marker + ".part " + marker + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::string line = command;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return std::nullopt;
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  const double end = framework::Uptime() + timeoutMilliseconds;
  while (framework::Uptime() < end) {
    Pump(20);
    HANDLE file = CreateFileA(windowsMarker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    char status[16] = {};
    DWORD read = 0;
    ReadFile(file, status, sizeof(status) - 1, &read, nullptr);
    CloseHandle(file);
    DeleteFileA(windowsMarker.c_str());
    return std::atoi(status);
  }
  return std::nullopt;
}

bool SaveScreenshot(const std::string& name) {
  Pump(300);  // Wine copies window surfaces to the display a little later
  return RunHostPumping("import -window root /tmp/skinwin_" + name + ".png") == 0;
}

std::string OwnExecutable() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

ByteBuffer GarbageBytes() {
  ByteBuffer bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<std::uint8_t>((i * 37 + 11) & 0xFF));
  return bytes;
}

ByteBuffer BmpFile(int width, int height, const std::vector<Argb>& pixels) {
  const int stride = (width * 3 + 3) & ~3;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(stride) * height;
  const std::uint32_t offset = 14 + 40;
  ByteBuffer file;
  auto put16 = [&file](std::uint32_t v) {
    for (int i = 0; i < 2; ++i) file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto put32 = [&file](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  file.push_back('B');
  file.push_back('M');
  put32(offset + imageSize);
  put32(0);
  put32(offset);
  put32(40);
  put32(static_cast<std::uint32_t>(width));
  put32(static_cast<std::uint32_t>(height));  // bottom-up
  put16(1);
  put16(24);
  put32(BI_RGB);
  put32(imageSize);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Argb pixel = pixels[static_cast<size_t>(y) * width + x];
      file.push_back(static_cast<std::uint8_t>(Blue(pixel)));
      file.push_back(static_cast<std::uint8_t>(Green(pixel)));
      file.push_back(static_cast<std::uint8_t>(Red(pixel)));
    }
    for (int pad = width * 3; pad < stride; ++pad) file.push_back(0);
  }
  return file;
}

}  // namespace tavrel::test
