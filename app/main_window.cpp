#include <windows.h>

#include "gdiplus_objects/plus_object.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tavrel::plus::StartGdiplus();
  extern const char kHello[]; MessageBoxA(nullptr, kHello, "Tavrel", 0);
  return 0;
}
