#include "config/setup_path.h"

namespace corvane {
namespace {

constexpr std::string_view DefaultProgramName = "corvane";
constexpr std::string_view XdgSubdirectory = "corvane";
constexpr std::string_view HomeConfigSubdirectory = ".config/corvane";

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Offset just behind the last separator (0 when there is none).
std::size_t nameStart(std::string_view path) {
  std::size_t i = path.size();
  while (i > 0 && !isSeparator(path[i - 1])) --i;
  return i;
}

// The value cut at its first ";"; empty for nullptr.
std::string_view cutAtSemicolon(const char* value) {
  if (value == nullptr) return {};
  std::string_view v = value;
  return v.substr(0, v.find(';'));
}

std::string joinHost(std::string_view dir, std::string_view name) {
  std::string path(dir);
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

}  // namespace

std::string siblingPath(std::string_view setupPath, std::string_view extension) {
  // A dot that begins the name (".corvane") is part of the name, not an extension.
  std::size_t start = nameStart(setupPath);
  std::size_t dot = setupPath.rfind('.');
  std::string path(
      setupPath.substr(0, dot != std::string_view::npos && dot > start ? dot : setupPath.size()));
  if (extension.empty() || extension.front() != '.') path += '.';
  path += extension;
  return path;
}

std::string besideSetup(std::string_view setupPath, std::string_view name) {
  std::string path(setupPath.substr(0, nameStart(setupPath)));
  path += name;
  return path;
}

std::string setupFileName(std::string_view programName) {
  std::string_view name = programName.substr(nameStart(programName));
  if (name.empty()) name = DefaultProgramName;
  return siblingPath(name, SetupExtension);
}

std::string setupFilePath(const char* csEnv, std::string_view programDir, bool programDirWritable,
                          const char* xdgConfigHome, const char* home, const char* tmp,
                          const char* temp, std::string_view programName) {
  const std::string name = setupFileName(programName);

  if (std::string_view cs = cutAtSemicolon(csEnv); !cs.empty()) return joinHost(cs, name);
  if (programDirWritable && !programDir.empty()) return joinHost(programDir, name);
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
    return joinHost(joinHost(xdgConfigHome, XdgSubdirectory), name);
  if (home != nullptr && home[0] != '\0')
    return joinHost(joinHost(home, HomeConfigSubdirectory), name);
  if (std::string_view t = cutAtSemicolon(tmp); !t.empty()) return joinHost(t, name);
  if (std::string_view t = cutAtSemicolon(temp); !t.empty()) return joinHost(t, name);
  return joinHost(programDir, name);
}

}  // namespace corvane
