// User menus: a pulldown of the user's own commands, described in a text file ("*.dat"
// beside the setup file), read again each time it is opened.
//
// Format (lines of at most UserMenuLineLimit bytes; blank lines and lines whose first
// non-blank character is "#" are skipped). A line that starts, after blanks, with a letter
// and ">" is a keyword line; a ">" anywhere later is command text:
//   P> title             the menu's title (at most UserMenuTitleChars characters)
//   E> label             a new entry with this hotkey label ("^" before its letter)
//   D> NAME = value      a number: XPOS, YPOS, XWIDTH for the menu (wherever they stand);
//                        SWAP, WINDOW, WINXPOS, WINYPOS, WINXWIDTH, WINYWIDTH, CURSOR, WAIT,
//                        PARAMETER for the entry they follow (names in any case)
//   any other line       the command of the entry (its last such line counts)
// A menu is shown only when the file has at least one D> line and one E> line. Keyword
// lines of another letter, D> lines without "=", over-long lines, a title too long (it is
// cut), entry keys and commands before the first E>, and entries beyond what the pulldown
// can show are reported and skipped; reading goes on.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/command_context.h"

namespace corvane {

constexpr std::size_t UserMenuLineLimit = 200;
constexpr std::size_t UserMenuTitleChars = 39;
constexpr std::string_view UserMenuExtension = "DAT";
constexpr std::string_view UserMenuMask = "*.dat";

struct UserMenuEntry {
  std::string label;
  std::string command;
  int swap = 0;  // accepted and kept; it changes nothing
  int window = 0, windowX = 0, windowY = 0, windowWidth = 0, windowHeight = 0;
  int cursor = 0;
  int wait = 0;  // the console variant, the terminal's screen cleared first
  int parameter = 0;
};

struct UserMenu {
  std::string title;
  int x = 0, y = 0, minimumWidth = 0;
  bool definitionRead = false;  // a D> line was read
  std::vector<UserMenuEntry> entries;
};

// Reads a menu file (a program path) with at most entryLimit entries, showing nothing:
// every problem is added to problems as the text of its message. False when the file
// cannot be opened (it is missing, or not a regular file).
bool readUserMenu(std::string_view path, int entryLimit, UserMenu& menu,
                  std::vector<std::string>& problems);

// The most entries a pulldown shows on the screen as it is now.
int userMenuCapacity();

// Opens the menu of a file: with keepExtension false the name's extension is replaced by
// "DAT" first. Shows the problems of the file, then the pulldown at the file's position
// (moved so that it shows whole), and runs the chosen entry. Returns MenuChosen when an entry
// ran, MenuCancelled when none did (also when the file holds no menu: "DEFINITIONFILE ERROR
// \n%s" with an empty text), -1 when the file cannot be opened ("File open error %s \n").
// The directories the entries' %1 and %2 stand for are the caller's to set.
int runUserMenu(std::string_view fileName, bool keepExtension);

// Runs one entry: with PARAMETER "Enter parameter  :" first (anything but Enter runs
// nothing); with WINDOW a framed window in the pulldown colours, moved so that it shows
// whole, while it runs; with CURSOR the cursor shown. The command runs as a command line
// with the typed parameter in place of the file name, inserted as typed; WAIT runs it in the
// console variant with the terminal's screen cleared first, otherwise in the keep-screen
// variant; nothing is appended and no key awaited. Returns what runCommandLine returns, or the key
// that left the parameter input.
int runMenuEntry(const UserMenuEntry& entry);

// The file selection of "*.dat" in the setup file's directory: the chosen file, nothing after
// Esc (and after the rejection beep without a setup file).
std::optional<std::string> chooseUserMenuFile();
// The chosen file's menu (runUserMenu keeping its name).
int openUserPulldown();

// The user pulldown (2113): the directories of the panels for %1 and %2, openUserPulldown,
// and after an entry ran the panels re-read (preference 12) or redrawn.
int userPulldownCommand(CommandContext& context, CommandId code);

}  // namespace corvane
