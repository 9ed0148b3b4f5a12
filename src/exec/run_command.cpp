#include "exec/run_command.h"

#include <string>
#include <utility>
#include <vector>

#include "config/setup_block.h"
#include "exec/exec_state.h"
#include "exec/exec_texts.h"
#include "exec/shell_words.h"
#include "panels/read_texts.h"
#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/color.h"
#include "platform/console.h"
#include "platform/drives.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr std::string_view ChangeDirectoryPrefix = "cd ";
constexpr std::string_view EditPrefix = "[CSEDIT]";
constexpr std::string_view ViewPrefix = "[CSVIEW]";
constexpr std::string_view NewLine = "\n";
constexpr char DisabledLineMark = '0';

// Preference 3: " Wait after command execution on a key".
constexpr int PreferenceWaitForKey = 3;

constexpr int KeyWindowFlags = WindowClear | WindowShadow | WindowBlock;

NormalScreenOps& normalScreen() { return execState().normalScreen; }

InternalProgramHooks& hooks() { return execState().hooks; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A host path as the program knows it; anything else is left to the program's own rules.
std::string programFormOf(std::string_view name) {
  if (name.starts_with('/')) {
    std::string path = toProgramPath(name);
    if (!path.empty()) return path;
  }
  return std::string(name);
}

bool changeToDirectory(std::string_view path) {
  if (path.starts_with('/')) {
    std::string programPath = toProgramPath(path);
    return !programPath.empty() && changeDirectory(programPath);
  }
  return changeDirectory(path);
}

int refused() {
  rejectBeep();
  return BuiltinRefused;
}

// The built-in commands, told apart once for both running them and asking about them.
enum class BuiltinKind { None, ChangeDirectory, Drive, Edit, View };
struct Builtin {
  BuiltinKind kind = BuiltinKind::None;
  std::string argument;  // the directory or file, unquoted ("" for a tag alone)
};

Builtin parseBuiltin(std::string_view command) {
  if (command.size() > ChangeDirectoryPrefix.size() &&
      sameName(command.substr(0, ChangeDirectoryPrefix.size()), ChangeDirectoryPrefix)) {
    // Every path counts, one-character ones too: "cd /" or "cd a" handed to a subshell would
    // change nothing and say nothing.
    std::string path = unquoteShellText(trimBlanks(command.substr(ChangeDirectoryPrefix.size())));
    if (path.empty()) return {};
    return {BuiltinKind::ChangeDirectory, std::move(path)};
  }
  if (command.size() == 2 && command[1] == ':' && driveLetterOf(command) != 0)
    return {BuiltinKind::Drive, std::string(command)};
  // "[CSEDIT] name" and "[CSVIEW] name" (the tag alone too, which has no file to open).
  for (const auto& [tag, kind] :
       {std::pair{EditPrefix, BuiltinKind::Edit}, std::pair{ViewPrefix, BuiltinKind::View}}) {
    if (!command.starts_with(tag)) continue;
    const std::string_view rest = command.substr(tag.size());
    if (!rest.empty() && !isBlank(rest.front())) continue;
    return {kind, unquoteShellText(trimBlanks(rest))};
  }
  return {};
}

// Carries out a built-in command (command without surrounding blanks). False when the
// command is none.
bool runBuiltin(std::string_view command, int& result) {
  const Builtin builtin = parseBuiltin(command);
  switch (builtin.kind) {
    case BuiltinKind::None:
      return false;
    case BuiltinKind::ChangeDirectory:
      result = changeToDirectory(builtin.argument) ? BuiltinDone : refused();
      return true;
    case BuiltinKind::Drive: {
      const char letter = driveLetterOf(builtin.argument);
      result = driveAccessible(letter) && setCurrentDrive(letter) ? BuiltinDone : refused();
      return true;
    }
    case BuiltinKind::Edit:
    case BuiltinKind::View: {
      const FileHook hook = builtin.kind == BuiltinKind::Edit ? hooks().editFile : hooks().viewFile;
      if (hook == nullptr || builtin.argument.empty()) {
        result = refused();
      } else {
        hook(programFormOf(builtin.argument));
        result = BuiltinDone;
      }
      return true;
    }
  }
  return false;
}

bool isBuiltin(std::string_view command) { return parseBuiltin(command).kind != BuiltinKind::None; }

// Says why a command could not start (nothing when it started): its directory could not be
// entered, or the interpreter could not be run.
void reportStartFailure(const CommandStartFailure& failure, const std::string& directory) {
  if (failure.reason.empty()) return;
  messageBox(failure.directory
                 ? textf(exec_text::CannotEnterFormat, directory.c_str(), failure.reason.c_str())
                 : textf(exec_text::CannotStartFormat, commandInterpreter().c_str(),
                         failure.reason.c_str()));
}

// The small window of the KeepScreen variant: "Press any key !" until a key other than the
// modifier and idle events.
void pressAnyKeyWindow() {
  const int width = textCells(exec_text::PressAnyKey) + 4;
  const int height = 3;
  ScopedWindow box;
  const ColorAttr attr = color(ColorMessageWindow);
  if (box.open((screenColumns() - width) / 2 + 1, (screenRows() - height) / 2 + 1, width, height,
               attr, attr, KeyWindowFlags) != 0)
    return;
  writeText(exec_text::PressAnyKey, textCells(exec_text::PressAnyKey) - 1, 2, 1);
  KeyCode code;
  do {
    code = readKey();
  } while (code == key::ModifierEvent || code == key::IdleEvent);
}

int runExternal(std::string_view command, bool save, bool wait, bool clear, ScreenVariant variant) {
  if (!hasConsole()) return -1;
  SavedScreen saved = save ? saveScreen() : nullptr;
  const bool askKey = wait && preference(PreferenceWaitForKey) != 0;
  const NormalScreenOps& ops = normalScreen();

  flushInput();  // keys typed ahead are the program's, not the command's
  setExternalProgramRunning(true);
  console().leaveScreen();
  if (clear && variant == ScreenVariant::Console) ops.clear();
  ops.write(NewLine);
  const std::string directory = currentDirectory();
  CommandStartFailure failure;
  const int status = runShellCommand(command, directory, &failure);
  ops.write(NewLine);
  if (askKey && variant == ScreenVariant::Console) ops.waitKey(exec_text::PressAnyKey);
  console().enterScreen();

  // The terminal forgot the program's screen: show the whole image again.
  const bool restored = saved != nullptr;
  if (restored) restoreScreen(std::move(saved));
  if (!restored || holdLevel() != 0) flushScreen();
  flushInput();
  setExternalProgramRunning(false);
  if (askKey && variant == ScreenVariant::KeepScreen) pressAnyKeyWindow();
  reportStartFailure(failure, directory);
  return status;
}

int runInVariant(std::string_view command, bool save, bool wait, bool clear,
                 ScreenVariant variant) {
  std::string_view trimmed = trimBlanks(command);
  if (trimmed.empty()) return BuiltinDone;
  int result = BuiltinDone;
  if (runBuiltin(trimmed, result)) return result;
  return runExternal(trimmed, save, wait, clear, variant);
}

}  // namespace

void setInternalProgramHooks(const InternalProgramHooks& registered) { hooks() = registered; }
const InternalProgramHooks& internalProgramHooks() { return hooks(); }

void setNormalScreenOps(const NormalScreenOps& ops) { normalScreen() = ops; }
void resetNormalScreenOps() { normalScreen() = platformNormalScreenOps(); }

NormalScreenOps platformNormalScreenOps() {
  return {clearNormalScreen, writeNormalScreen, waitKeyOnNormalScreen, escapeTypedOnNormalScreen};
}

ExecState& execState() {
  static ExecState state;
  return state;
}

void resetExecState() { execState() = ExecState{}; }

int runCommand(std::string_view command, bool saveScreen, bool wait, bool clearScreen) {
  return runInVariant(command, saveScreen, wait, clearScreen, ScreenVariant::Console);
}

int runCommandKeepScreen(std::string_view command, bool saveScreen, bool wait) {
  return runInVariant(command, saveScreen, wait, false, ScreenVariant::KeepScreen);
}

std::size_t runCommandBatch(std::span<const std::string> commands, bool wait) {
  constexpr int InterruptedStatus = 128 + 2;  // killed by SIGINT
  if (commands.empty() || !hasConsole()) return 0;
  const NormalScreenOps& ops = normalScreen();
  bool away = false;
  CommandStartFailure failure;
  std::string failedDirectory;
  auto comeBack = [&] {
    if (!away) return;
    console().enterScreen();
    flushScreen();
    flushInput();
    setExternalProgramRunning(false);
    away = false;
  };
  std::size_t ran = 0;
  for (const std::string& text : commands) {
    const std::string_view command = trimBlanks(text);
    if (command.empty()) continue;
    if (away && ops.escapeTyped != nullptr && ops.escapeTyped()) {
      comeBack();
      if (question(QuestionDefaultNo, TextCancelOperation) == QuestionYes) break;
    }
    ++ran;
    int result = BuiltinDone;
    if (isBuiltin(command)) {
      comeBack();
      (void)runBuiltin(command, result);
      continue;
    }
    if (!away) {
      flushInput();
      setExternalProgramRunning(true);
      console().leaveScreen();
      away = true;
    }
    ops.write(NewLine);
    const std::string directory = currentDirectory();
    CommandStartFailure started;
    const int status = runShellCommand(command, directory, &started);
    if (!started.reason.empty() && failure.reason.empty()) {
      failure = started;
      failedDirectory = directory;
    }
    if (status == InterruptedStatus || !started.reason.empty()) break;
  }
  if (away) {
    ops.write(NewLine);
    if (wait && preference(PreferenceWaitForKey) != 0) ops.waitKey(exec_text::PressAnyKey);
  }
  comeBack();
  reportStartFailure(failure, failedDirectory);
  return ran;
}

bool askCommandLine(std::string& line, int maxLength) {
  if (inputDialog(line, exec_text::CommandPrompt, 1, screenRows() / 2 - 2, screenColumns(),
                  maxLength) != key::Enter)
    return false;
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return true;
}

int runCommandLine(std::string_view line, std::string_view fileName, ScreenVariant variant,
                   bool append, bool wait, bool prepare, NameQuoting quoting) {
  if (line.starts_with(DisabledLineMark)) return ExpandDone;
  const std::vector<std::string_view> commands = splitCommandLine(line);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    std::string command(commands[i]);
    const int expanded = expandCommand(fileName, command, CommandLengthLimit, append, quoting);
    if (expanded == ExpandError) {
      messageBox(exec_text::CommandError);
      return ExpandError;
    }
    if (expanded != ExpandDone) return expanded;
    const bool last = i + 1 == commands.size();
    if (variant == ScreenVariant::Console) {
      runCommand(command, true, wait && last, prepare && i == 0);
    } else {
      runCommandKeepScreen(command, true, wait && last);
    }
  }
  return ExpandDone;
}

}  // namespace corvane
