// What the terminal back end writes, built as byte strings without touching the terminal:
// the session's enter and leave sequences, the cell-diff rendering of screen rectangles
// against a mirror of what the terminal shows, colours, cursor shapes and the title.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "platform/screen.h"

namespace corvane {

namespace term {
constexpr std::string_view KittyQuery = "\x1b[?u\x1b[c";  // flags, then device attributes
constexpr std::string_view KittyPush = "\x1b[>27u";       // disambiguate, events, all keys, text
constexpr std::string_view SyncBegin = "\x1b[?2026h";
constexpr std::string_view SyncEnd = "\x1b[?2026l";
constexpr std::string_view Bell = "\a";
constexpr std::string_view UserScreen = "\x1b[?1049l";     // the screen from before the start
constexpr std::string_view ProgramScreen = "\x1b[?1049h";  // the alternate screen (cleared)
constexpr std::string_view ClearScreen = "\x1b[0m\x1b[2J";
}  // namespace term

// What the terminal is sent for characters beyond ASCII: UTF-8, or an ASCII stand-in
// (asciiStandIn) for each cell, so that not one byte above 0x7F goes out.
enum class OutputCharset : std::uint8_t { Utf8, Ascii };

// The modes a session switches on; the leave sequence undoes exactly these.
struct TerminalModes {
  bool kittyKeyboard = false;  // kitty flags pushed (only after the terminal answered)
  bool focusEvents = true;
};

// Everything that makes the terminal the program's screen: title push and title, alternate
// screen, application cursor and keypad keys, Alt sends ESC, modifyOtherKeys, the kitty
// push when enabled, SGR mouse with drags, bracketed paste, focus events, no autowrap,
// hidden cursor, cleared screen.
std::string enterSequence(const TerminalModes& modes, std::string_view title,
                          OutputCharset charset = OutputCharset::Utf8);
// The reverse, ending on the user's screen with the title popped. It starts with CAN so
// that a sequence cut off by a signal does not swallow it.
std::string leaveSequence(const TerminalModes& modes);

// OSC 2 with the title, control characters removed.
std::string titleSequence(std::string_view title, OutputCharset charset = OutputCharset::Utf8);
// DECSCUSR and visibility for the cursor shapes of screen.h (0 underline, 1 block, 2 and 3
// hidden).
std::string cursorShapeSequence(int shape);
bool cursorShapeVisible(int shape);

// ANSI colour numbers for a console colour 0..15 (console order is BGR: 1 blue, 4 red);
// bright colours use 90-97 / 100-107.
int ansiForeground(int color);
int ansiBackground(int color);
// SGR for an attribute; reset first puts 0 in front (the first attribute of a flush).
void appendAttribute(std::string& out, ColorAttr attr, bool reset);
// CUP to a 0-based cell.
void appendCursorMove(std::string& out, int column, int row);

// What the terminal shows, as far as the back end knows. Cells never written (or no longer
// known) hold MirrorUnknown and differ from every image cell.
constexpr char32_t MirrorUnknown = 0x110001;
struct TerminalMirror {
  int columns = 0, rows = 0;
  std::vector<ScreenCell> cells;
  int cursorColumn = -1, cursorRow = -1;  // the terminal's cursor; -1 when unknown

  ScreenCell& at(int column, int row) {
    return cells[static_cast<std::size_t>(row) * columns + column];
  }
};
// Sizes the mirror and forgets everything in it.
void resetMirror(TerminalMirror& mirror, int columns, int rows);
void invalidateMirror(TerminalMirror& mirror);

// Appends the bytes that make the terminal show the inclusive rectangle of image, writing
// only cells that differ from the mirror (and the halves of wide characters such a write
// breaks), and updates the mirror. Nothing is appended when nothing differs. A cell
// followed by WideTail is written as the wide character; a lone half shows as a blank;
// control characters show as their code page 437 glyphs, never raw. With the ASCII charset
// every unit is its stand-in (a wide character "??").
void renderRect(const ScreenImage& image, int left, int top, int right, int bottom,
                TerminalMirror& mirror, std::string& out,
                OutputCharset charset = OutputCharset::Utf8);

}  // namespace corvane
