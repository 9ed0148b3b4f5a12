#include "commands/command_line.h"

#include <algorithm>

#include "commands/commands_state.h"
#include "commands/loop_texts.h"
#include "platform/charset.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/input_history.h"
#include "ui/line_input.h"

namespace corvane {
namespace {

constexpr std::string_view PromptCut = "...";
constexpr int CommandLineFlags = LineInputCommand | LineInputNoTypeOver | LineInputStartCursor;

// The longest start of a text that fits into the line without splitting a character.
std::string fittingLine(std::string_view text) {
  if (text.size() <= static_cast<std::size_t>(CommandLineMaxLength)) return std::string(text);
  std::size_t end = 0;
  while (end < text.size()) {
    char32_t ch;
    const std::size_t next = end + decodeChar(text, end, ch);
    if (next > static_cast<std::size_t>(CommandLineMaxLength)) break;
    end = next;
  }
  return std::string(text.substr(0, end));
}

void replaceLine(std::string_view text) {
  CommandLine& line = commandLine();
  line.text = fittingLine(text);
  line.cursor = static_cast<int>(textChars(line.text));
}

// Draws the prompt; the cells it takes.
int drawPrompt(ScreenWindow& window, std::string_view directory) {
  const std::string prompt = commandPrompt(directory, windowLastColumn(window));
  const int cells = textCells(prompt);
  if (cells > 0) writeText(prompt, cells - 1, 1, 1);
  return cells;
}

}  // namespace

CommandLine& commandLine() { return commandsState().commandLine; }

void resetCommandLine() { commandLine() = CommandLine{}; }

std::string commandPrompt(std::string_view directory, int width) {
  std::string prompt = textf(FormatCommandPrompt, std::string(directory).c_str());
  const int limit =
      std::max(width - CommandLineMinFieldCells, static_cast<int>(PromptCut.size()) + 2);
  int cells = textCells(prompt);
  if (cells <= limit) return prompt;
  std::size_t pos = 0;
  while (pos < prompt.size() && cells + static_cast<int>(PromptCut.size()) > limit) {
    char32_t ch;
    pos += decodeChar(prompt, pos, ch);
    cells -= charCells(ch);
  }
  return std::string(PromptCut) + prompt.substr(pos);
}

void drawCommandLine(ScreenWindow& window, std::string_view directory) {
  CurrentWindowScope scope(window);
  raiseHold(1);
  const int last = windowLastColumn(window);
  const int promptCells = drawPrompt(window, directory);
  if (promptCells < last)
    writeText(commandLine().text, last - promptCells - 1, promptCells + 1, 1, WritePad);
  if (lowerHold(1) == 0) flushWindowRect(window.x, window.y, window.width, window.height);
}

MouseZone commandLineZone(const ScreenWindow& window, std::string_view directory) {
  const int promptCells = textCells(commandPrompt(directory, windowLastColumn(window)));
  const int cells = std::max(windowLastColumn(window) - promptCells, 1);
  return windowZone(window, promptCells + 1, cells, 1, KeyFieldClick);
}

KeyCode readCommandLineKey(ScreenWindow& window, std::string_view directory) {
  CommandLine& line = commandLine();
  // F1 while typing shows the help of the panel the line belongs to.
  const int helpContext = currentHelpContext();
  CurrentWindowScope scope(window);
  setHelpContext(helpContext);
  const int promptCells = drawPrompt(window, directory);
  const int fieldCells = std::max(windowLastColumn(window) - promptCells, 1);
  int cursor = line.cursor;
  const KeyCode key = lineInput(promptCells + 1, 1, fieldCells, line.text, CommandLineMaxLength,
                                CommandLineFlags, cursor);
  if (key == KeyFieldClick || key == KeyFieldClickOther) {
    int column = -1, row = -1;
    lastClickPosition(column, row);
    if (row != windowScreenRow(window, 1)) cursor = line.cursor;
  }
  line.cursor = cursor;
  return key;
}

bool trimCommandLine() {
  CommandLine& line = commandLine();
  const std::size_t end = line.text.find_last_not_of(' ');
  line.text.resize(end == std::string::npos ? 0 : end + 1);
  line.cursor = std::min(line.cursor, static_cast<int>(textChars(line.text)));
  return !line.text.empty();
}

std::string takeCommandLine() {
  if (!trimCommandLine()) return {};
  CommandLine& line = commandLine();
  std::string text = std::move(line.text);
  line.text.clear();
  line.cursor = 0;
  addToHistory(text, HistoryKindInput);
  noteExecuted(line.history, historyCount());
  return text;
}

bool stepCommandLineHistory(HistoryDirection direction) {
  const int index = stepHistory(commandLine().history, historyCount(), direction);
  if (index < 0) {
    rejectBeep();
    return false;
  }
  replaceLine(historyEntry(index).text);
  return true;
}

void pickCommandLineFromHistory() {
  std::optional<std::string> chosen = pickFromHistory(HistoryAllKinds);
  if (chosen) replaceLine(*chosen);
}

bool appendToCommandLine(std::string_view word) {
  CommandLine& line = commandLine();
  if (line.text.size() + 1 + word.size() > static_cast<std::size_t>(CommandLineMaxLength)) {
    rejectBeep();
    return false;
  }
  line.text += ' ';
  line.text += word;
  line.cursor = static_cast<int>(textChars(line.text));
  return true;
}

}  // namespace corvane
