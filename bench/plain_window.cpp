// The start-up reference for Tavrel.exe: a minimal Win32 program that opens one plain window, titled
// "TavrelPlain", and runs its message loop until the window is closed. It ends by itself after a minute
// so that a benchmark that lost track of it leaves nothing behind.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSW description{};
  description.lpfnWndProc = Procedure;
  description.hInstance = instance;
  description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  description.lpszClassName = L"TavrelPlainWindow";
  if (!RegisterClassW(&description)) return 1;
  // As large as Tavrel's window and in the same place.
  HWND window = CreateWindowExW(0, description.lpszClassName, L"TavrelPlain", WS_OVERLAPPEDWINDOW, 50, 50, 480, 233,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  SetTimer(window, 1, 60000, [](HWND timed, UINT, UINT_PTR, DWORD) { DestroyWindow(timed); });
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
