#include "config/setup_path.h"

#include "platform/drives.h"
#include "platform/host_directories.h"
#include "platform/paths.h"

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

std::vector<SetupDirectoryCandidate> setupDirectoryCandidates(const SetupEnvironment& env) {
  std::vector<SetupDirectoryCandidate> candidates;
  auto add = [&](std::string_view directory, bool create = false) {
    if (directory.empty()) return;
    std::string absolute = hostPathIsAbsolute(directory) || env.workingDirectory.empty()
                               ? std::string(directory)
                               : joinHost(env.workingDirectory, directory);
    candidates.push_back({std::move(absolute), create});
  };
  add(cutAtSemicolon(env.cs));
  if (env.programDirectoryHoldsSetup) add(env.programDirectory);
  if (env.xdgConfigHome != nullptr && hostPathIsAbsolute(env.xdgConfigHome)) {
    add(joinHost(env.xdgConfigHome, XdgSubdirectory), true);
  } else if (env.home != nullptr && hostPathIsAbsolute(env.home)) {
    add(joinHost(env.home, HomeConfigSubdirectory), true);
  }
  add(cutAtSemicolon(env.tmp));
  add(cutAtSemicolon(env.temp));
  return candidates;
}

std::string locateSetupFile(const std::vector<SetupDirectoryCandidate>& candidates,
                            std::string_view programName) {
  const std::string name = setupFileName(programName);
  for (const SetupDirectoryCandidate& candidate : candidates) {
    const bool usable = candidate.create ? ensureHostDirectory(candidate.directory)
                                         : hostIsDirectory(candidate.directory);
    if (!usable) continue;
    std::string path = toProgramPath(joinHost(candidate.directory, name));
    if (!path.empty()) return path;
  }
  return {};
}

}  // namespace corvane
