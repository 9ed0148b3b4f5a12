// The small centred windows that carry the program's messages: the message box that waits
// for a key, the information window that stays up while work goes on, the timed note, the
// Yes/No question and the button box. All take the finished text (format it with textf);
// lines are separated by line feeds and carets mark hotkeys as in every label.
#pragma once

#include <array>
#include <string_view>

#include "platform/color.h"
#include "platform/keycodes.h"
#include "ui/window.h"

namespace corvane {

constexpr std::string_view PressAnyKeyText = "Press any key !";
constexpr std::string_view QuestionNoButton = "< ^No >";
constexpr std::string_view QuestionYesButton = "< ^Yes >";
constexpr std::string_view ErrorWindowTitle = " ERROR ";

// Answers of question(); 0 means Escape.
constexpr int QuestionYes = 'Y';
constexpr int QuestionNo = 'N';
constexpr int QuestionDefaultYes = 1;
constexpr int QuestionDefaultNo = 0;

// The timed note's time in units of 32 ms (320 ms).
constexpr int NoteUnits = 10;

// Geometry of a box for a text (1-based x and y as openWindow takes them).
struct BoxLayout {
  int x = 1, y = 1, width = 30, height = 4;
  int lineFeeds = 0;    // n: line feeds in the text
  int longestLine = 0;  // m: cells of the longest line counting its line feed, plus 1
};

// Width 30, or m + 2 when m is above 30; height n + extraRows; centred across, at row 15
// when the box leaves room below it, else centred down; never left of or above the screen.
BoxLayout layoutBox(std::string_view text, int extraRows);

// Shows the text and "Press any key !" and waits for a key other than the modifier event
// and the idle event. Returns that key (0 when the box could not be opened).
KeyCode messageBox(std::string_view text);
// The same when the key does not matter (the key reader's message hook).
inline void showMessage(std::string_view text) { messageBox(text); }

// Waits for a key other than the modifier event and the idle event (the boxes' "any key").
KeyCode readRealKey();

// Opens an information window with the text and returns at once (0, or -1 with the handle
// left empty when it could not be opened). closeInfoWindow closes and frees it.
int openInfoWindow(WindowHandle& handle, std::string_view text);
void closeInfoWindow(WindowHandle& handle);

// An information window for units of 32 ms, then closed ("Macro starts").
void timedNote(std::string_view text, int units);
inline void timedNote(std::string_view text) { timedNote(text, NoteUnits); }

// Asks a Yes/No question. defaultAnswer 1 selects Yes at first, 0 No. "y"/"Y" or a click on
// Yes answer QuestionYes at once, "n"/"N" or a click on No QuestionNo; Left and Right move the
// selection, Enter takes it; Escape returns 0.
int question(int defaultAnswer, std::string_view text);

// A button line: up to MaxButtons buttons, each between "<" and ">" with a caret before its
// hotkey letter, e.g. "   < ^Skip >   < ^All >   < ^Cancel >".
constexpr int MaxButtons = 20;
struct ButtonLine {
  int count = 0;
  std::array<int, MaxButtons> letters{};                       // hotkey letters, upper case
  std::array<int, MaxButtons> first{};                         // cell of "<" within the line
  std::array<int, MaxButtons> last{};                          // cell of ">" within the line
  std::array<std::size_t, MaxButtons> textBegin{}, textEnd{};  // bytes of the button's text
  int cells = 0;                                               // cells of the whole line
};
ButtonLine parseButtonLine(std::string_view line);

// Shows the text above a separator and the button line; the first button is selected.
// Returns the hotkey letter (upper case) of the chosen button: by its letter typed in either
// case, a click, or Enter on the selected one (Left and Right wrap around). 0 on Escape.
int buttonBox(std::string_view buttonLine, std::string_view text);

// The error window (60 x 8 at column 10, row 13, " ERROR "): built once at console
// initialisation while drawing off-screen and closed, so that showing it later needs no
// memory. prebuildErrorWindow returns 0, or -1 when it could not be built.
int prebuildErrorWindow();
// Shows the error window again (building it now if start-up did not): 0 or -1.
int reopenErrorWindow();
void closeErrorWindow();
// The error window record while it exists (for printing into it).
ScreenWindow* errorWindow();

}  // namespace corvane
