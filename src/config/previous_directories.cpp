#include "config/previous_directories.h"

#include <cstdio>

#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace corvane {
namespace {

constexpr std::string_view CurrentDirectory = ".\\";
// Bytes of a line kept before trimming; a longer line cannot hold a usable path.
constexpr std::size_t MaxLineBytes = 4 * MaxPath;

bool isLineBreak(char c) { return c == '\n' || c == '\r'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool writeLine(std::FILE* file, std::string_view path) {
  for (char c : path)
    if (isLineBreak(c)) {
      path = {};
      break;
    }
  if (!path.empty() && std::fwrite(path.data(), 1, path.size(), file) != path.size()) return false;
  return std::fputc('\n', file) != EOF;
}

// One line without its line end; the result is empty when the line is longer than a path
// may be (the rest of the line is still consumed).
std::string readLine(std::FILE* file) {
  std::string line;
  bool tooLong = false;
  for (int c = std::getc(file); c != EOF && c != '\n'; c = std::getc(file)) {
    if (line.size() >= MaxLineBytes) tooLong = true;
    if (!tooLong) line += static_cast<char>(c);
  }
  std::size_t first = 0, last = line.size();
  while (first < last && isBlank(line[first])) ++first;
  while (last > first && isBlank(line[last - 1])) --last;
  line = line.substr(first, last - first);
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
  FileHandle file = openFile(filePath, "w");
  if (!file) return false;
  bool written = writeLine(file.get(), panel1) && writeLine(file.get(), panel2);
  written &= std::fclose(file.release()) == 0;
  return written;
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
