// Prints a top-level window (by default Tavrel) and its child controls, one line each, for the
// end-to-end scripts; with "ok" after the title it presses the OK button of that window instead:
//   window <x> <y> <width> <height> <visible> <title>
//   control <class> <x> <y> <width> <height> <visible> <text>     (client coordinates)
#include <windows.h>

#include <cstdio>

namespace {

void PrintControl(HWND control, HWND parent) {
  char windowClass[64] = {};
  char text[256] = {};
  GetClassNameA(control, windowClass, sizeof(windowClass));
  GetWindowTextA(control, text, sizeof(text));
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  std::printf("control %s %ld %ld %ld %ld %d %s\n", windowClass, r.left, r.top, r.right - r.left, r.bottom - r.top,
              IsWindowVisible(control) ? 1 : 0, text);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* title = argc > 1 ? argv[1] : L"Tavrel";
  HWND window = nullptr;
  for (int i = 0; i < 100 && !window; ++i, Sleep(100)) window = FindWindowW(nullptr, title);
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  if (argc > 2 && lstrcmpW(argv[2], L"ok") == 0) {
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return 0;
  }
  RECT r;
  GetWindowRect(window, &r);
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  std::printf("window %ld %ld %ld %ld %d %s\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
              IsWindowVisible(window) ? 1 : 0, text);
  EnumChildWindows(
      window,
      [](HWND control, LPARAM parent) {
        PrintControl(control, reinterpret_cast<HWND>(parent));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(window));
  std::fflush(stdout);
  return 0;
}
