// Writes its arguments, as the C runtime's rules split them, to "args.out" in its current
// directory, one per line in UTF-8: the quoting tests compare them with the names they gave.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr) return 2;
  std::FILE* out = _wfopen(L"args.out", L"wb");
  if (out == nullptr) return 3;
  for (int i = 1; i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, args[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, args[i], -1, text.data(), size, nullptr, nullptr);
    std::fprintf(out, "%s\n", text.c_str());
  }
  std::fclose(out);
  LocalFree(args);
  return 0;
}
