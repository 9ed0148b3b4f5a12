#include "fileops/make_directory.h"

#include "config/setup_block.h"
#include "fileops/copy_engine.h"
#include "fileops/file_commands.h"
#include "fileops/fileops_state.h"
#include "fileops/fileops_texts.h"
#include "panels/panel_geometry.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"

namespace corvane {
namespace {

constexpr std::string_view ForbiddenInNames = "/[]:|<>+=;,*?";
constexpr std::size_t CreatePathShown = 45;
constexpr int PathInputMaxLength = static_cast<int>(MaxPath);

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

int classifyPath(std::string& path) {
  if (path.empty()) return PathBlocked;
  if (path.size() == 2 && path[1] == ':') return PathDriveOnly;
  if (path.size() == 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) {
    const char letter = driveLetterOf(path);
    path = std::string(1, letter != 0 ? letter : path[0]) + ":\\";
    if (letter != 0 && driveAccessible(letter)) return PathDirectory;
    messageBox(TextAccessCritical);
    return PathBlocked;
  }
  const std::string full = fullPath(path);
  if (full.empty()) return PathBlocked;
  path = withoutTrailingBackslash(full);
  if (directoryExists(path)) return PathDirectory;
  return fileExists(path) ? PathBlocked : PathMissing;
}

int makeDirectory(std::string& path) {
  const int kind = classifyPath(path);
  if (kind != PathMissing) return kind;
  return makeDirectory(std::string_view(path)) ? PathMissing : PathBlocked;
}

bool nameAcceptable(std::string_view name) {
  if (setupBlock().keyboardLayout.get() != KeyboardCorvane) return true;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (ForbiddenInNames.find(name[i]) == std::string_view::npos) continue;
    if (name[i] == ':' && i == 1 && name.find(':', 2) == std::string_view::npos) continue;
    return false;
  }
  return true;
}

int nameTest(std::string_view name) {
  if (nameAcceptable(name)) return 0;
  messageBox(textf(FormatErrorInName, std::string(name).c_str()));
  return PathDriveOnly;
}

int createPath(std::string& path) {
  if (!nameAcceptable(path)) return PathDriveOnly;
  const std::string full = fullPath(path);
  if (full.empty()) return PathBlocked;
  path = withoutTrailingBackslash(full);
  for (std::size_t slash = path.find('\\'); slash != std::string::npos;
       slash = path.find('\\', slash + 1)) {
    if (slash == 2 && path[1] == ':') continue;  // the drive itself
    std::string part = path.substr(0, slash);
    if (makeDirectory(part) == PathBlocked) return PathBlocked;
  }
  std::string whole = path;
  return makeDirectory(whole);
}

int createPathReported(std::string& path) {
  const std::string typed = path;
  switch (createPath(path)) {
    case PathMissing:
      fileopsState().directoryCreated = true;
      return 0;
    case PathDirectory:
      messageBox(textf(FormatDirectoryExists, path.c_str()));
      return 0;
    case PathDriveOnly:
      messageBox(textf(FormatErrorInName, typed.c_str()));
      return PathDriveOnly;
    default:
      messageBox(textf(FormatCriticalCreating, path.c_str()));
      return PathBlocked;
  }
}

int makeDirectoryCommand(CommandContext& context, CommandId) {
  std::string typed;
  if (inputDialog(typed, TextCreatePathPrompt, 1, screenRows() / 2 - 2, screenColumns(),
                  PathInputMaxLength) != key::Enter)
    return LoopContinue;
  std::string path = trimmed(typed);
  if (path.empty()) return LoopContinue;
  const int kind = classifyPath(path);
  if (nameTest(path) != 0 || kind != PathMissing) return LoopContinue;
  if (preference(2) != 0 &&
      question(QuestionDefaultYes,
               textf(FormatCreatePathQuestion, shortenedLeft(path, CreatePathShown).c_str())) !=
          QuestionYes)
    return LoopContinue;
  if (createPathReported(path) != 0) return LoopContinue;
  requestPanelsReread(context, path);
  if (FileopsHooks& hooks = fileopsState().hooks; hooks.directoryMade != nullptr)
    hooks.directoryMade(path);
  return LoopContinue;
}

}  // namespace corvane
