// Holds a file open without sharing, as a running game holds its cache, until killed or until
// the given number of seconds has passed. Prints "holding" once the file is open.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HANDLE file = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("cannot open\n");
    return 1;
  }
  std::printf("holding\n");
  std::fflush(stdout);
  Sleep(argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) * 1000 : 60000);
  CloseHandle(file);
  return 0;
}
