#include "exec/user_menu.h"

#include <algorithm>
#include <optional>

#include "config/definition_lines.h"
#include "config/setup_block.h"
#include "config/setup_file.h"
#include "config/setup_path.h"
#include "exec/command_template.h"
#include "exec/exec_texts.h"
#include "exec/run_command.h"
#include "panels/file_dialog.h"
#include "platform/charset.h"
#include "platform/color.h"
#include "platform/file_system.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/pulldown.h"
#include "ui/window.h"

namespace corvane {
namespace {

constexpr char KeywordMark = '>';
// The column width of the file selection that offers the menu files.
constexpr int UserMenuSelectionWidth = 15;
constexpr char DefinitionAssign = '=';
// The most a definition's value holds either way; more digits are not read.
constexpr int DefinitionValueLimit = 9999;
// The first row a menu opens on when its file says nothing else: below the top line.
constexpr int MenuFirstRow = 2;
constexpr int EntryWindowFlags = WindowClear | WindowShadow | WindowSingle;
constexpr int SmallestFramedWindow = 3;
// The help page of the user menus.
constexpr int HelpUserPulldown = 409;
// Preference 12: " Refresh filelist after command".
constexpr int PreferenceRefreshAfterCommand = 12;

// The definitions of the D> lines: a value of the menu or one of the entry.
struct DefinitionName {
  std::string_view name;
  int UserMenu::*menuValue = nullptr;
  int UserMenuEntry::*entryValue = nullptr;
};
constexpr DefinitionName DefinitionNames[] = {
    {"XPOS", &UserMenu::x},
    {"YPOS", &UserMenu::y},
    {"XWIDTH", &UserMenu::minimumWidth},
    {"SWAP", nullptr, &UserMenuEntry::swap},
    {"WINDOW", nullptr, &UserMenuEntry::window},
    {"WINXPOS", nullptr, &UserMenuEntry::windowX},
    {"WINYPOS", nullptr, &UserMenuEntry::windowY},
    {"WINXWIDTH", nullptr, &UserMenuEntry::windowWidth},
    {"WINYWIDTH", nullptr, &UserMenuEntry::windowHeight},
    {"CURSOR", nullptr, &UserMenuEntry::cursor},
    {"WAIT", nullptr, &UserMenuEntry::wait},
    {"PARAMETER", nullptr, &UserMenuEntry::parameter},
};

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// A decimal number after blanks, with an optional sign; what follows it is ignored.
int definitionValue(std::string_view text) {
  text = skipBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(value * 10 + (c - '0'), DefinitionValueLimit);
  }
  return negative ? -value : value;
}

// The reader while it goes through a file.
class MenuReader {
 public:
  MenuReader(int entryLimit, UserMenu& menu, std::vector<std::string>& problems)
      : entryLimit_(entryLimit), menu_(menu), problems_(problems) {}

  void read(const DefinitionLine& line) {
    if (line.tooLong || line.hasNul) return fileError(line.text);
    if (isCommentOrBlank(line.text)) return;
    const std::string_view text = skipBlanks(line.text);
    if (text.size() >= 2 && isLetter(text[0]) && text[1] == KeywordMark) {
      const std::string_view rest = text.substr(2);
      switch (upper(text[0])) {
        case 'P':
          return title(line.text, rest);
        case 'E':
          return entry(line.text, rest);
        case 'D':
          return definition(line.text, rest);
        default:
          return fileError(line.text);
      }
    }
    if (UserMenuEntry* current = currentEntry(line.text)) current->command = trimDefinition(text);
  }

 private:
  enum class Current { None, Entry, Skipped };

  void fileError(std::string_view line) {
    problems_.push_back(textf(exec_text::FormatDefinitionFileError, shownLine(line).c_str()));
  }

  // The entry lines belong to; nullptr when there is none (reported before the first E>).
  UserMenuEntry* currentEntry(std::string_view line) {
    if (current_ == Current::Entry) return &menu_.entries.back();
    if (current_ == Current::None) fileError(line);
    return nullptr;
  }

  void title(std::string_view line, std::string_view rest) {
    const std::string_view title = trimDefinition(rest);
    if (textChars(title) > UserMenuTitleChars) {
      fileError(line);
      menu_.title = title.substr(0, charOffset(title, UserMenuTitleChars));
    } else {
      menu_.title = title;
    }
  }

  void entry(std::string_view line, std::string_view rest) {
    if (static_cast<int>(menu_.entries.size()) >= entryLimit_) {
      fileError(line);
      current_ = Current::Skipped;
      return;
    }
    UserMenuEntry& added = menu_.entries.emplace_back();
    std::string_view label = rest;
    while (!label.empty() && (label.back() == ' ' || label.back() == '\t')) label.remove_suffix(1);
    added.label = label;
    current_ = Current::Entry;
  }

  void definition(std::string_view line, std::string_view rest) {
    const std::size_t assign = rest.find(DefinitionAssign);
    if (assign == std::string_view::npos) return fileError(line);
    menu_.definitionRead = true;
    std::string name(trimDefinition(rest.substr(0, assign)));
    for (char& c : name) c = upper(c);
    const int value = definitionValue(rest.substr(assign + 1));
    for (const DefinitionName& known : DefinitionNames) {
      if (known.name != name) continue;
      if (known.menuValue != nullptr) {
        menu_.*known.menuValue = value;
      } else if (UserMenuEntry* current = currentEntry(line)) {
        current->*known.entryValue = value;
      }
      return;
    }
    problems_.push_back(textf(exec_text::FormatDefinitionError, shownLine(name).c_str()));
  }

  int entryLimit_;
  UserMenu& menu_;
  std::vector<std::string>& problems_;
  Current current_ = Current::None;
};

struct EntryWindowPlace {
  int x = 1, y = 1, width = 0, height = 0;
};

// A window of the given size at the given place, moved and sized so that it shows whole
// with its shadow (at least a frame's size).
EntryWindowPlace wholeOnScreen(int x, int y, int width, int height) {
  const int columns = screenColumns(), rows = screenRows();
  EntryWindowPlace rect;
  rect.width = std::clamp(width, SmallestFramedWindow, std::max(columns - 1, SmallestFramedWindow));
  rect.height = std::clamp(height, SmallestFramedWindow, std::max(rows - 1, SmallestFramedWindow));
  rect.x = std::clamp(x, 1, std::max(columns - rect.width, 1));
  rect.y = std::clamp(y, 1, std::max(rows - rect.height, 1));
  return rect;
}

}  // namespace

bool readUserMenu(std::string_view path, int entryLimit, UserMenu& menu,
                  std::vector<std::string>& problems) {
  menu = UserMenu{};
  FileHandle file;
  if (!openRegularFile(path, file)) return false;
  MenuReader reader(entryLimit, menu, problems);
  DefinitionLine line;
  while (readDefinitionLine(file.get(), UserMenuLineLimit, line)) reader.read(line);
  return true;
}

int userMenuCapacity() { return std::clamp(screenRows() - 2, 1, MaxPulldownItems); }

int runMenuEntry(const UserMenuEntry& entry) {
  std::string parameter;
  if (entry.parameter != 0) {
    const KeyCode key = askParameter(parameter);
    if (key != key::Enter) return key;
  }
  ScopedWindow frame;
  if (entry.window != 0) {
    const EntryWindowPlace rect =
        wholeOnScreen(entry.windowX, entry.windowY, entry.windowWidth, entry.windowHeight);
    (void)frame.open(rect.x, rect.y, rect.width, rect.height, color(ColorPulldown),
                     color(ColorPulldownFrame), EntryWindowFlags);
  }
  if (entry.cursor != 0) setCursorShape(CursorSmall);
  const int result =
      runCommandLine(entry.command, parameter,
                     entry.wait != 0 ? ScreenVariant::Console : ScreenVariant::KeepScreen, false,
                     false, entry.wait != 0, NameQuoting::Verbatim);
  if (entry.cursor != 0) setCursorShape(CursorHidden);
  return result;
}

int runUserMenu(std::string_view fileName, bool keepExtension) {
  const std::string path =
      keepExtension ? std::string(fileName) : siblingPath(fileName, UserMenuExtension);
  UserMenu menu;
  std::vector<std::string> problems;
  if (!readUserMenu(path, userMenuCapacity(), menu, problems)) {
    messageBox(textf(exec_text::FormatFileOpenError, path.c_str()));
    return -1;
  }
  for (const std::string& problem : problems) messageBox(problem);
  if (!menu.definitionRead || menu.entries.empty()) {
    messageBox(textf(exec_text::FormatDefinitionFileError, ""));
    return MenuCancelled;
  }

  std::vector<MenuItem> items;
  items.reserve(menu.entries.size());
  for (std::size_t i = 0; i < menu.entries.size(); ++i)
    items.push_back({.label = menu.entries[i].label,
                     .helpContext = HelpUserPulldown,
                     .command = static_cast<int>(i) + 1});
  PulldownMenu pulldown;
  pulldown.x = std::max(menu.x, 1);
  pulldown.y = std::max(menu.y, MenuFirstRow);
  pulldown.minimumWidth = std::clamp(std::max(menu.minimumWidth, textCells(menu.title) + 2), 0,
                                     std::max(screenColumns() - 4, 0));
  pulldown.title = menu.title;
  pulldown.showTitle = !menu.title.empty();
  pulldown.items = items;
  int command = 0;
  if (runPulldown(pulldown, command) != MenuChosen || command < 1 ||
      command > static_cast<int>(menu.entries.size()))
    return MenuCancelled;
  runMenuEntry(menu.entries[static_cast<std::size_t>(command - 1)]);
  return MenuChosen;
}

std::optional<std::string> chooseUserMenuFile() {
  const std::string& setupPath = loadedSetupPath();
  if (setupPath.empty()) {
    rejectBeep();
    return std::nullopt;
  }
  return selectFile(besideSetup(setupPath, UserMenuMask), UserMenuSelectionWidth,
                    FileDialogBrowseTitled);
}

int openUserPulldown() {
  const std::optional<std::string> chosen = chooseUserMenuFile();
  return chosen ? runUserMenu(*chosen, true) : MenuCancelled;
}

int userPulldownCommand(CommandContext& context, CommandId) {
  const Panel* other = context.otherPanel();
  setTemplateDirectories(context.currentPanel().currentDirectory,
                         other != nullptr ? std::string_view(other->currentDirectory) : "");
  if (openUserPulldown() != MenuChosen) return LoopContinue;
  if (preference(PreferenceRefreshAfterCommand) != 0) {
    context.reread = RereadInPlace;
    if (!context.inGlobalList()) context.otherRequest = OtherIfSameDirectory;
  } else {
    context.reread = RereadRedraw;
  }
  return LoopContinue;
}

}  // namespace corvane
