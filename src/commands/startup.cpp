#include "commands/startup.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "commands/command_loop.h"
#include "commands/title_windows.h"
#include "config/previous_directories.h"
#include "config/setup_block.h"
#include "config/setup_file.h"
#include "config/setup_path.h"
#include "embedded_data.h"
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
#include "platform/screen.h"
#include "platform/system_info.h"
#include "platform/terminal_console.h"
#include "platform/terminal_session.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/frame_style.h"
#include "ui/help_viewer.h"
#include "ui/input_dialog.h"
#include "ui/input_history.h"

namespace corvane {
namespace {

constexpr int MinimumColumns = 80;
constexpr int MinimumRows = 24;
constexpr int DefaultColumns = 80;
constexpr int DefaultRows = 25;
constexpr std::string_view TreeCacheDirectory = "CS.TRE";

// Shows why the terminal is too small and waits for a resize or Escape. False on Escape.
bool waitForUsableTerminal(int& columns, int& rows) {
  for (;;) {
    console().terminalSize(columns, rows);
    if (columns >= MinimumColumns && rows >= MinimumRows) return true;
    int shownColumns = columns > 0 ? columns : 1, shownRows = rows > 0 ? rows : 1;
    initScreenImage(shownColumns, shownRows);
    std::string text = textf(
        "Corvane needs at least %d x %d (now %d x %d). Enlarge the "
        "terminal, or press Esc to quit.",
        MinimumColumns, MinimumRows, columns, rows);
    ScreenImage& image = screenImage();
    int column = 0, row = 0;
    for (std::size_t pos = 0; pos < text.size() && row < image.rows;) {
      char32_t ch;
      pos += decodeChar(text, pos, ch);
      image.at(column, row) = {ch, 0x07};
      if (++column >= image.columns) column = 0, ++row;
    }
    flushScreen();
    InputRecord record;
    for (;;) {
      if (!console().readInput(record, -1)) continue;
      if (record.kind == InputRecord::Kind::Resize) break;
      if (record.kind == InputRecord::Kind::Key && record.keyDown && record.character == 27)
        return false;
    }
  }
}

// Screen size and defaults: the switches' size, else the terminal's. Applied at start and
// before every further pass. False when the user gave up on a too small terminal.
bool applyScreenDefaults(const StartupSwitches& switches) {
  int columns = 0, rows = 0;
  if (switches.screenColumns == 0 && switches.screenRows == 0) {
    if (!waitForUsableTerminal(columns, rows)) return false;
  } else {
    console().terminalSize(columns, rows);
    columns = switches.screenColumns > 0 ? switches.screenColumns : DefaultColumns;
    rows = switches.screenRows > 0 ? switches.screenRows : DefaultRows;
  }
  initScreenImage(columns, rows);
  setCursorShape(CursorHidden);
  flushScreen();
  return true;
}

// The default files of data/ put beside the setup file where they are missing.
void installDefaultFiles(const std::string& setupPath) {
  for (const EmbeddedFile* file = embeddedFiles; file->name != nullptr; ++file) {
    std::string_view name = file->name;
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) continue;
    std::string target = siblingPath(setupPath, name.substr(dot));
    if (fileExists(target)) continue;
    FileHandle out = openFile(target, "wb");
    if (out) std::fwrite(file->bytes, 1, file->size, out.get());
  }
}

void noteHook(std::string_view text, int units) { timedNote(text, units); }
void messageHook(std::string_view text) { messageBox(text); }

void registerHooks() {
  KeyReaderHooks hooks;
  hooks.help = helpForCurrentWindow;
  hooks.helpOpen = helpIsOpen;
  hooks.replayCount = replayCountPrompt;
  hooks.note = noteHook;
  hooks.message = messageHook;
  setKeyReaderHooks(hooks);
}

// The setup file's program path, its directory made when missing.
std::string locateSetupFile(const std::string& programPath) {
  std::string programDir = programHostDirectory(programPath.c_str());
  std::string cs = environmentValue("CS"), xdg = environmentValue("XDG_CONFIG_HOME"),
              home = environmentValue("HOME"), tmp = environmentValue("TMP"),
              temp = environmentValue("TEMP");
  auto orNull = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
  std::string hostPath =
      setupFilePath(orNull(cs), programDir, hostDirectoryWritable(programDir), orNull(xdg),
                    orNull(home), orNull(tmp), orNull(temp), programPath);
  ensureHostDirectory(hostDirectoryOf(hostPath));
  std::string programForm = toProgramPath(hostPath);
  return programForm;
}

}  // namespace

int runProgram(StartupContext& context) {
  StartupSwitches& switches = context.switches;
  initDriveMap(environmentValue("CORVANE_DRIVES").c_str());
  std::string osText = osVersionText();
  std::string setupPath = locateSetupFile(context.programPath);

  // Console.
  if (!context.terminal->start(WindowTitle)) {
    consoleErrorReport("startup", __LINE__, "tcsetattr", errno);
    return 1;
  }
  setConsole(context.terminal);
  loadDefaultColors();
  chooseFrameStyle(switches.asciiFrames || !localeIsUtf8() ? FrameChoice::Ascii
                                                           : FrameChoice::Graphic);
  if (!applyScreenDefaults(switches)) {
    suspendOutput();
    context.terminal->stop();
    return 0;
  }
  registerHooks();
  setTestLogging(switches.testLogging);
  startClockThread();
  prebuildErrorWindow();

  // Setup.
  if (!setupPath.empty()) {
    loadSetup(setupPath);
    makeDirectory(besideSetup(setupPath, TreeCacheDirectory));
    installDefaultFiles(setupPath);
    setHelpFilePath(siblingPath(setupPath, HelpExtension));
    setHistoryFilePath(siblingPath(setupPath, HistoryExtension));
  } else {
    setHistoryFilePath("");
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
    if (!first && !applyScreenDefaults(switches)) break;
    TitleWindows titles;
    openTitleWindows(titles, setupBlock().keyboardLayout.get() == 0, osText);
    flushInput();
    settings.startDirectory1 = first ? start1 : std::string();
    settings.startDirectory2 = first ? start2 : std::string();
    int result = runCommandLoop(settings);
    settings.userMenu = result == RestartUserMenu;
    closeTitleWindows(titles);
    if (result != RestartRebuild && result != RestartUserMenu) break;
  }

  // Shutdown: no output from here on, the terminal back as it was, then the title line.
  suspendOutput();
  stopClock();
  context.terminal->stop();
  std::printf("%s\n", ProductTitleLine.data());
  return 0;
}

}  // namespace corvane
