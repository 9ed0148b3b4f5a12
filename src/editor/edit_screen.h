// The editor's screen: a top row, the text window and a bottom row. Outside the COMMANDER
// layout the menu titles stand on the top row and the status on the bottom row; in it the
// status stands on the top row and the function-key bar on the bottom row.
#pragma once

#include <span>
#include <string_view>

#include "editor/editor_state.h"
#include "platform/color.h"
#include "ui/menu_bar.h"

namespace corvane {

// Commands only menu items give (the keys of the table are the rest).
constexpr KeyCode EditShell = 0x2101;
constexpr KeyCode EditPrintFile = 0x2102;
constexpr KeyCode EditKeywords = 0x2103;
constexpr KeyCode EditPasteScreen = 0x2104;
constexpr KeyCode EditPrintBlock = 0x2105;

// Keys of the table that keycodes.h does not name.
constexpr KeyCode KeyCtrlF1 = key::fkey(1, key::ModCtrl);
constexpr KeyCode KeyShiftF10 = key::fkey(10, key::ModShift);

// The short display's column width of the file-selection dialogs the editor opens.
constexpr int FileDialogColumnWidth = 13;

// Help page of the editor's keys.
constexpr int EditorHelpContext = 300;

// Opens the three windows over the whole screen (each follows a resize of the screen and
// draws itself again). False when they could not be opened.
bool openEditorScreen();
void closeEditorScreen();

// Rows of the text window.
int textRows();
// Cells across the text window.
int textColumns();

// Draws one text row (1-based) of the text window from the character firstColumn on, in
// colour, and clears the rest of the row. state carries what the row leaves open for the next
// one (a block comment); the same call draws every row of the editor.
void drawTextRow(std::string_view text, int row, int firstColumn, ColorAttr colour,
                 RowState& state);
// The colour of a line's row.
ColorAttr lineColour(const EditLine& line);

// Draws every row of the text window from the current file's top line, the current row from
// currentText when it is given (the field's text).
void drawTextWindow(const EditedFile& file, const std::string_view* currentText = nullptr);
// Draws the current row alone from text (the field's text).
void drawCurrentRow(const EditedFile& file, std::string_view text);
// The status text and the file name, for the given cursor column and insert state.
void drawStatus(const EditedFile& file, int column, bool insert);
// The menu titles or the function-key bar, whichever the layout shows.
void drawBars();
// Everything.
void drawEditor();

// The mouse zones: the text window (left click 0xFE0D, right drag 0xFD0D), the menu titles or
// the function-key slots.
void registerEditorZones();

// The menu bar over the editor's pulldowns (File, Block, Line, Search). The command of a
// chosen item (its key), 0 when none; an Alt key of no title comes back unchanged.
KeyCode runEditorMenuBar(KeyCode altKey);

// The window row (1-based) and column (0-based, counting from the left column shown) of the
// last click inside the text window; false when it lay outside.
bool clickInText(int& row, int& column);

}  // namespace corvane
