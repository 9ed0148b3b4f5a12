#include "platform/process.h"

#include <cerrno>
#include <cstring>

#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/file_result.h"
#include "platform/paths.h"
#include "platform/win32/win_console.h"
#include "platform/win32/win_process.h"
#include "platform/win32/win_text.h"

namespace corvane {
namespace {

bool isExecutableFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The word as it is, then with each extension of PATHEXT.
bool findWithExtensions(const std::wstring& base) {
  if (isExecutableFile(base)) return true;
  std::string extensions = environmentValue("PATHEXT");
  if (extensions.empty()) extensions = ".COM;.EXE;.BAT;.CMD";
  std::size_t pos = 0;
  while (pos <= extensions.size()) {
    std::size_t end = extensions.find(';', pos);
    if (end == std::string::npos) end = extensions.size();
    if (end > pos && isExecutableFile(base + wideOf(extensions.substr(pos, end - pos)))) return true;
    pos = end + 1;
  }
  return false;
}

}  // namespace

std::wstring interpreterLine(std::string_view commandLine) {
  return L"\"" + wideOf(commandInterpreter()) + L"\" /v:off /s /c \"" + wideOf(commandLine) + L"\"";
}

CommandSyntax commandSyntax() { return CommandSyntax::WindowsCmd; }

std::string commandInterpreter() {
  std::string comspec = environmentValue("COMSPEC");
  return comspec.empty() ? std::string("cmd.exe") : comspec;
}

int runShellCommand(std::string_view commandLine, std::string_view workingDirectory,
                    CommandStartFailure* failure) {
  std::wstring directory;
  if (!workingDirectory.empty()) {
    directory = hostWidePath(workingDirectory);
    const DWORD attributes = directory.empty() ? INVALID_FILE_ATTRIBUTES
                                               : GetFileAttributesW(directory.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      if (failure != nullptr) {
        failure->directory = true;
        failure->reason = fileErrorText(fileFailure(attributes == INVALID_FILE_ATTRIBUTES ? ENOENT : ENOTDIR));
      }
      return -1;
    }
  }
  std::wstring line = interpreterLine(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
    if (failure != nullptr) {
      failure->directory = false;
      failure->reason = fileErrorText(fileFailure(lastErrno()));
    }
    return -1;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  if (!GetExitCodeProcess(process.hProcess, &status)) status = static_cast<DWORD>(-1);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}

bool findExecutable(std::string_view word, std::string_view workingDirectory) {
  if (word.empty()) return false;
  if (word.find_first_of("\\/:") != std::string_view::npos) {
    std::string path(word);
    if (driveLetterOf(path) == 0 && !workingDirectory.empty() && path[0] != '\\' && path[0] != '/')
      path = toHostPath(workingDirectory) + "\\" + path;
    return findWithExtensions(widePath(path));
  }
  if (!workingDirectory.empty() && findWithExtensions(widePath(toHostPath(workingDirectory) + "\\" + std::string(word))))
    return true;
  const std::string paths = environmentValue("PATH");
  std::size_t pos = 0;
  while (pos <= paths.size()) {
    std::size_t end = paths.find(';', pos);
    if (end == std::string::npos) end = paths.size();
    if (end > pos && findWithExtensions(widePath(paths.substr(pos, end - pos) + "\\" + std::string(word))))
      return true;
    pos = end + 1;
  }
  return false;
}

void clearNormalScreen() {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(output, &info)) return;
  const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
  DWORD written = 0;
  FillConsoleOutputCharacterW(output, L' ', cells, COORD{0, 0}, &written);
  FillConsoleOutputAttribute(output, info.wAttributes, cells, COORD{0, 0}, &written);
  SetConsoleCursorPosition(output, COORD{0, 0});
}

void writeNormalScreen(std::string_view text) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0, written = 0;
  if (!GetConsoleMode(output, &mode)) return;
  std::wstring wide;
  for (wchar_t c : wideOf(text)) {
    if (c == L'\n') wide += L'\r';
    wide += c;
  }
  WriteConsoleW(output, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

void waitKeyOnNormalScreen(std::string_view prompt) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(input, &mode)) return;
  writeNormalScreen(prompt);
  SetConsoleMode(input, ENABLE_EXTENDED_FLAGS);
  waitKeyPress(input);
  SetConsoleMode(input, mode);
}

// Terminals given as descriptors do not exist on the Windows console.
bool waitKeyOnTerminal(int, int, std::string_view) { return false; }

bool escapeTypedOnNormalScreen() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(input, &mode)) return false;
  bool escape = false;
  DWORD pending = 0;
  while (GetNumberOfConsoleInputEvents(input, &pending) && pending > 0) {
    INPUT_RECORD in;
    DWORD count = 0;
    if (!ReadConsoleInputW(input, &in, 1, &count) || count == 0) break;
    if (in.EventType == KEY_EVENT && in.Event.KeyEvent.bKeyDown &&
        in.Event.KeyEvent.wVirtualKeyCode == VK_ESCAPE)
      escape = true;
  }
  return escape;
}

// Terminals given as descriptors do not exist on the Windows console.
bool escapeTypedOnTerminal(int) { return false; }

}  // namespace corvane
