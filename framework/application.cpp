#include "framework/application.h"

#include <commctrl.h>
#include <objbase.h>

#include "framework/form.h"

namespace tavrel::framework {

namespace {

void (*terminationRoutine)() = nullptr;
bool terminated = false;

}  // namespace

void Initialize() {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

void RegisterTermination(void (*routine)()) { terminationRoutine = routine; }

void RunTermination() {
  if (terminated) return;
  terminated = true;
  if (terminationRoutine) terminationRoutine();
}

void RunMessageLoop() {
  if (OpenFormWindowCount() == 0) return;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void EndProgram(int exitCode) {
  RunTermination();
  ExitProcess(static_cast<UINT>(exitCode));
}

int ShowMessageBox(const std::string& text, UINT style, const std::string& title) {
  if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
  return MessageBoxA(nullptr, text.c_str(), title.c_str(), style);
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

double Uptime() {
  static const double ticksPerMillisecond = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMillisecond;
}

void Sleep(int milliseconds) { ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

}  // namespace tavrel::framework
