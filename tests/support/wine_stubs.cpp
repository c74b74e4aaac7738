#include "tests/support/wine_stubs.h"

#include <windows.h>

#include <algorithm>

namespace tavrel::test {

bool RunningUnderWine() {
  static const bool underWine = [] {
    const HMODULE ntdll = GetModuleHandleA("ntdll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return underWine;
}

bool IsWineStub(std::string_view gdipFunction) {
  return RunningUnderWine() &&
         std::find(kWineStubFunctions.begin(), kWineStubFunctions.end(), gdipFunction) != kWineStubFunctions.end();
}

}  // namespace tavrel::test
