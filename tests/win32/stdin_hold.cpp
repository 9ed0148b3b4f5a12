// Holds its standard input open and unread for the milliseconds of its argument, then makes
// the file its second argument names (when there is one) and ends with status 0: the printer
// port test's command that takes nothing.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  Sleep(argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 5000);
  if (argc > 2)
    CloseHandle(CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return 0;
}
