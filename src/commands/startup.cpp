#include "commands/startup.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "archives/archive_operations.h"
#include "commands/command_loop.h"
#include "commands/external_commands.h"
#include "commands/loop_state.h"
#include "commands/screen_size.h"
#include "commands/title_windows.h"
#include "commands/tree_focus.h"
#include "config/previous_directories.h"
#include "config/setup_block.h"
#include "config/setup_file.h"
#include "config/setup_path.h"
#include "editor/editor_entry.h"
#include "embedded_data.h"
#include "exec/run_command.h"
#include "exec/user_menu.h"
#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/error_report.h"
#include "platform/file_system.h"
#include "platform/host_directories.h"
#include "platform/keyboard.h"
#include "platform/product.h"
#include "platform/replace_file.h"
#include "platform/screen.h"
#include "platform/session.h"
#include "platform/signals.h"
#include "platform/system_info.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/frame_style.h"
#include "ui/help_viewer.h"
#include "ui/input_dialog.h"
#include "ui/input_history.h"
#include "viewer/viewer_commands.h"

namespace corvane {
namespace {

constexpr std::string_view TreeCacheDirectory = "CS.TRE";
constexpr std::string_view TextAbortProgram = "Abort program ";
constexpr int AbortStatus = 255;
constexpr int BadOptionStatus = 2;
constexpr const char* CwdFileVariable = "CORVANE_CWD_FILE";

constexpr std::string_view TextUsage =
    "Usage: corvane [switch...] [--cwd-file=FILE] [file]\n"
    "A two-panel file manager for the terminal.\n"
    "\n"
    "Switches (upper or lower case):\n"
    "  /Zn, /Sn           screen rows, columns (default: the terminal's size)\n"
    "  /1path, /2path     start directory of the first, second panel\n"
    "  /ASC               plain ASCII frames; nothing but ASCII is sent\n"
    "  /MEN               open the user menu before the panels\n"
    "  /TST               show (and log) the code of every key and click\n"
    "  /FS                directory-reading mode flag\n"
    "  file               a file for the internal editor\n"
    "  --cwd-file=FILE    at a normal end, write the active panel's directory to FILE\n"
    "  --help, --version  this text; the name and version\n"
    "\n"
    "Environment: CS (setup directory), CORVANE_DRIVES (drive letters, e.g. D=/home/ann;T=/tmp),\n"
    "CORVANE_CWD_FILE, COMSPEC or SHELL, TMP, TEMP, XDG_CONFIG_HOME, CORVANE_LPT1 ... 8.\n"
    "The manual: man corvane\n";
constexpr const char* TextUnknownOption =
    "corvane: unknown option '%s' (corvane --help lists them)\n";
constexpr const char* TextOptionNeedsFile = "corvane: '%s' needs a file name\n";
constexpr const char* TextCwdFileFailed = "corvane: cannot write the directory to '%s': %s\n";

// The screen size for the terminal and the switches at start, after the "too small"
// message while the terminal is too small. False when the user gave up on it.
bool applyScreenDefaults(const StartupSwitches& switches) {
  setScreenSizeSwitches(switches.screenColumns, switches.screenRows);
  int columns = 0, rows = 0;
  if (!waitForUsableTerminal(columns, rows)) return false;
  initScreenImage(columns, rows);
  setCursorShape(CursorHidden);
  flushScreen();
  return true;
}

// A restart takes the terminal as it is; the loop shows the "too small" message itself when
// it needs to, so that leaving from there goes through the normal exit.
void applyRestartSize() {
  int terminalColumns = 0, terminalRows = 0, columns = 0, rows = 0;
  console().terminalSize(terminalColumns, terminalRows);
  (void)screenSizeFor(terminalColumns, terminalRows, columns, rows);
  initScreenImage(std::max(columns, 1), std::max(rows, 1));
  setCursorShape(CursorHidden);
  flushScreen();
}

// The default files of data/ put beside the setup file where they are missing. A regular
// file of the same name in shareDirectory (the installed defaults, which an administrator
// may have changed) is copied instead of the one compiled in.
void installDefaultFiles(const std::string& setupPath, const std::string& shareDirectory) {
  for (const EmbeddedFile* file = embeddedFiles; file->name != nullptr; ++file) {
    std::string_view name = file->name;
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) continue;
    std::string target = siblingPath(setupPath, name.substr(dot));
    if (fileExists(target)) continue;
    FileHandle shared;
    if (!shareDirectory.empty() &&
        openRegularHostFile(shareDirectory + "/" + std::string(name), shared)) {
      (void)replaceFile(target, [&shared](FileSink& sink) {
        char buffer[8192];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, shared.get())) > 0;)
          if (!sink.write(std::string_view(buffer, got))) return false;
        return std::ferror(shared.get()) == 0;
      });
    } else {
      (void)replaceFile(target,
                        std::string_view(reinterpret_cast<const char*>(file->bytes), file->size));
    }
  }
}

// The file "--cwd-file" or CORVANE_CWD_FILE names, as a host path taken from the working
// directory of the start (the program changes directories while it runs); "" for none.
std::string cwdFileOf(const StartupSwitches& switches) {
  std::string file =
      !switches.cwdFile.empty() ? switches.cwdFile : environmentValue(CwdFileVariable);
  if (file.empty() || file.front() == '/') return file;
  const std::string working = hostWorkingDirectory();
  return working.empty() ? std::string() : working + (working.back() == '/' ? "" : "/") + file;
}

// The active panel's directory at the end of the run into the cwd file, so that a shell
// can follow it. Without a line end: a name may end in one.
void writeCwdFile(const std::string& cwdFile, const std::string& directory) {
  if (cwdFile.empty() || directory.empty()) return;
  const std::string host = toHostPath(directory);
  FileResult result = host.empty() ? fileFailure(ENOENT) : replaceHostFile(cwdFile, host);
  if (!result)
    std::fputs(textf(TextCwdFileFailed, cwdFile.c_str(), fileErrorText(result).c_str()).c_str(),
               stderr);
}

// Alt-F7 in the CORVANE layout: a user menu for the panels of the innermost loop.
void userMenuHook() {
  if (const LoopContext* loop = programState().innermost) setPanelDirectoriesForTemplates(*loop);
  (void)openUserPulldown();
}

void noteHook(std::string_view text, int units) { timedNote(text, units); }
void messageHook(std::string_view text) { messageBox(text); }

// The console given back and the title line below the user's screen.
void shutdownConsole() {
  suspendOutput();
  stopClock();
  stopConsoleSession();
  writeExitLine(ProductTitleLine);
}

// An interrupt from outside: Yes ends the program at once.
void interruptHook() {
  if (question(QuestionDefaultNo, TextAbortProgram) != QuestionYes) return;
  suspendOutput();
  stopClock();
  stopConsoleSession();
  std::exit(AbortStatus);
}

// The demand to end from outside: no questions, the last directories written.
void endHook() {
  writeLastDirectories();
  shutdownConsole();
  std::exit(0);
}

void registerHooks() {
  setSignalRequestHooks({.interrupt = interruptHook, .end = endHook});
  KeyReaderHooks hooks;
  hooks.help = helpForCurrentWindow;
  hooks.helpOpen = helpIsOpen;
  hooks.replayCount = replayCountPrompt;
  hooks.note = noteHook;
  hooks.message = messageHook;
  hooks.resize = followTerminalSize;
  hooks.userHook = userMenuHook;
  setKeyReaderHooks(hooks);
  registerEditorHooks();
  InternalProgramHooks programs = internalProgramHooks();
  programs.viewFile = viewFileByName;
  setInternalProgramHooks(programs);
  registerArchiveHooks();
  registerTreeHooks();
}

// The setup file's program path; "" when no directory can hold it.
std::string setupFileOf(const std::string& programPath) {
  const std::string programDir = programHostDirectory(programPath.c_str());
  const std::string workingDir = hostWorkingDirectory();
  std::string cs = environmentValue("CS"), xdg = userConfigHome(),
              home = environmentValue("HOME"), tmp = environmentValue("TMP"),
              temp = environmentValue("TEMP");
  auto orNull = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
  SetupEnvironment env;
  env.cs = orNull(cs), env.xdgConfigHome = orNull(xdg), env.home = orNull(home);
  env.tmp = orNull(tmp), env.temp = orNull(temp);
  env.workingDirectory = workingDir;
  env.programDirectory = programDir;
  env.programDirectoryHoldsSetup =
      !programDir.empty() && programDirectoryKeepsSetup(programDir, setupFileName(programPath));
  return locateSetupFile(setupDirectoryCandidates(env), programPath);
}

}  // namespace

int answerInformationOptions(const StartupSwitches& switches) {
  if (!switches.badOption.empty()) {
    const bool needsFile = switches.badOption.rfind("--cwd-file", 0) == 0;
    std::fputs(
        textf(needsFile ? TextOptionNeedsFile : TextUnknownOption, switches.badOption.c_str())
            .c_str(),
        stderr);
    return BadOptionStatus;
  }
  if (switches.help) {
    std::fwrite(TextUsage.data(), 1, TextUsage.size(), stdout);
    return 0;
  }
  if (switches.version) {
    std::printf("%.*s\n", static_cast<int>(ProductTitle.size()), ProductTitle.data());
    return 0;
  }
  return -1;
}

int runProgram(StartupContext& context) {
  StartupSwitches& switches = context.switches;
  initDriveMap(environmentValue("CORVANE_DRIVES").c_str());
  std::string osText = osVersionText();
  std::string setupPath = setupFileOf(context.programPath);
  const std::string cwdFile = cwdFileOf(switches);

  // Console.
  const bool asciiOnly = switches.asciiFrames || !localeIsUtf8();
  if (!startConsoleSession(WindowTitle, {.asciiOnly = asciiOnly})) {
    consoleErrorReport("startup", __LINE__, "tcsetattr", errno);
    return 1;
  }
  loadDefaultColors();
  chooseFrameStyle(asciiOnly ? FrameChoice::Ascii : FrameChoice::Graphic);
  if (!applyScreenDefaults(switches)) {
    stopConsoleSession();
    return 0;
  }
  registerHooks();
  setTestLogging(switches.testLogging);
  startClockThread();
  prebuildErrorWindow();

  // Setup. Without a setup directory the defaults hold and nothing is written.
  loadSetup(setupPath);
  if (!setupPath.empty()) {
    (void)makeDirectory(besideSetup(setupPath, TreeCacheDirectory));
    installDefaultFiles(setupPath, programShareDirectory(context.programPath.c_str()));
    setHelpFilePath(siblingPath(setupPath, HelpExtension));
    setHistoryFilePath(siblingPath(setupPath, HistoryExtension));
  } else {
    setHistoryFilePath("");
    messageBox(TextNoSetupDirectory);
  }
  setCursorShape(CursorHidden);

  std::string start1 = switches.startDirectory1, start2 = switches.startDirectory2;
  if (preference(15) && switches.fileArgument.empty() && !setupPath.empty()) {
    PreviousDirectories previous =
        readPreviousDirectories(siblingPath(setupPath, PreviousDirectoriesExtension));
    // A directory given with "/1" or "/2" wins over the one saved by the last run.
    if (!previous.panel1.empty() && start1.empty()) start1 = previous.panel1;
    if (!previous.panel2.empty() && start2.empty()) start2 = previous.panel2;
  }

  CommandLoopSettings settings;
  settings.setupPath = setupPath;
  settings.osText = osText;
  settings.userMenu = switches.userMenu;
  for (bool first = true;; first = false) {
    if (!first) applyRestartSize();
    TitleWindows titles;
    openTitleWindows(titles, setupBlock().keyboardLayout.get() == 0, osText);
    flushInput();
    if (first && !switches.fileArgument.empty()) {
      // The program ends with the editor, which keys and clock see in the setup's layout.
      applyKeyboardLayout(keyboardLayout());
      (void)editStartupFile(switches.fileArgument);
      closeTitleWindows(titles);
      break;
    }
    settings.startDirectory1 = first ? start1 : std::string();
    settings.startDirectory2 = first ? start2 : std::string();
    int result = runCommandLoop(settings);
    settings.userMenu = result == RestartUserMenu;
    closeTitleWindows(titles);
    if (result != RestartRebuild && result != RestartUserMenu) break;
  }

  // Shutdown: no output from here on, the terminal back as it was, then the title line.
  shutdownConsole();
  writeCwdFile(cwdFile, programState().endDirectory);
  return 0;
}

}  // namespace corvane
