// Holds its standard input open and unread for the milliseconds of its argument, then ends
// with status 0: the printer port test's command that takes nothing.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  Sleep(argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 5000);
  return 0;
}
