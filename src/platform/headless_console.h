// A console back end without a terminal: it keeps what was flushed, counts beeps, takes
// scripted input and runs on a fake clock. Unit tests drive the program through it.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/keycodes.h"
#include "platform/screen.h"

namespace corvane {

struct FlushedRect {
  int left, top, right, bottom;
};

class HeadlessConsole : public ConsoleBackend {
 public:
  HeadlessConsole(int columns = 80, int rows = 25);

  void writeRect(const ScreenImage& image, int left, int top, int right, int bottom) override;
  void setCursorShape(int shape) override { cursorShape = shape; }
  void setCursorPosition(int column, int row) override { cursorColumn = column, cursorRow = row; }
  void setTitle(std::string_view t) override { title = t; }
  void beep(int frequency, int ticks) override;
  bool readInput(InputRecord& record, int timeoutMs) override;
  bool escapePending() override;
  void wake() override { ++wakes; }
  void flushInput() override { input.clear(); }
  void sleepMs(int ms) override { now += static_cast<std::uint64_t>(ms); }
  std::uint64_t nowMs() override { return now; }
  void terminalSize(int& c, int& r) override { c = columns, r = rows; }
  void leaveScreen() override { ++leaveCount; }
  void enterScreen() override { ++enterCount; }
  void showUserScreen() override { ++userScreenShown; }

  // Scripted input.
  void pushRecord(const InputRecord& record) { input.push_back(record); }
  // A key code as the terminal would deliver it (the key reader gives the same code back).
  void pushKey(KeyCode code);
  void pushKeys(std::initializer_list<KeyCode> codes);
  // Plain characters of a text, one key each.
  void pushText(std::string_view text);
  // A bracketed paste of the text, as the terminal decoder delivers it.
  void pushPaste(std::string_view text);
  // Shift, Ctrl or Alt pressed alone (gives the modifier event 0x0100), or released.
  void pushModifier(ModifierKey key, bool down = true);
  // A mouse press at a 0-based cell; right = the right button.
  void pushClick(int column, int row, bool right = false, std::uint16_t controlState = 0);
  void pushIdle();
  // The terminal takes a new size when the reader comes to this record (the shown cells
  // start blank).
  void pushResize(int newColumns, int newRows);

  // What the console shows (only what was flushed).
  const ScreenCell& shownAt(int column, int row) const;
  std::string shownRow(int row) const;  // UTF-8, the whole row

  int columns, rows;
  std::vector<ScreenCell> shown;
  std::vector<FlushedRect> writes;
  std::deque<InputRecord> input;
  std::uint64_t now = 1'000'000;
  int beeps = 0;
  int lastBeepFrequency = 0;
  int cursorShape = 2, cursorColumn = 0, cursorRow = 0;
  std::string title;
  int leaveCount = 0, enterCount = 0, userScreenShown = 0;
  std::atomic<int> wakes{0};  // wake() may come from another thread
  // Called when a read that may wait finds no scripted input left; it may push more. When it
  // pushes nothing, the read gives Escape so that no loop waits for ever.
  std::function<void(HeadlessConsole&)> onInputExhausted;
  int exhaustedReads = 0;
};

}  // namespace corvane
