#include "config/previous_directories.h"

#include <cstdio>

#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/replace_file.h"

namespace corvane {
namespace {

constexpr std::string_view CurrentDirectory = ".\\";
// Bytes of a line kept before trimming; a longer line cannot hold a usable path.
constexpr std::size_t MaxLineBytes = 4 * MaxPath;

bool isLineBreak(char c) { return c == '\n' || c == '\r'; }

bool writeLine(FileSink& out, std::string_view path) {
  for (char c : path)
    if (isLineBreak(c)) {
      path = {};
      break;
    }
  return out.write(path) && out.put('\n');
}

// One line without its line end (LF or CR LF); blanks are part of a path and stay. The
// result is empty when the line is longer than a path may be (the rest of the line is still
// consumed).
std::string readLine(std::FILE* file) {
  std::string line;
  bool tooLong = false;
  for (int c = std::getc(file); c != EOF && c != '\n'; c = std::getc(file)) {
    if (line.size() >= MaxLineBytes) tooLong = true;
    if (!tooLong) line += static_cast<char>(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (tooLong || line.size() > MaxPath) line.clear();
  return line;
}

std::string usableDirectory(std::string path) {
  if (path.empty()) return path;
  char drive = driveLetterOf(path);
  if (drive == 0 || !driveAccessible(drive)) return std::string(CurrentDirectory);
  return path;
}

}  // namespace

bool writePreviousDirectories(std::string_view filePath, std::string_view panel1,
                              std::string_view panel2) {
  return static_cast<bool>(replaceFile(
      filePath, [&](FileSink& out) { return writeLine(out, panel1) && writeLine(out, panel2); }));
}

PreviousDirectories readPreviousDirectories(std::string_view filePath) {
  PreviousDirectories dirs;
  FileHandle file = openFile(filePath, "r");
  if (!file) return dirs;
  dirs.panel1 = usableDirectory(readLine(file.get()));
  dirs.panel2 = usableDirectory(readLine(file.get()));
  return dirs;
}

}  // namespace corvane
