#include "exec/command_template.h"

#include <algorithm>
#include <array>
#include <utility>

#include "exec/exec_texts.h"
#include "exec/shell_words.h"
#include "platform/drives.h"
#include "platform/keycodes.h"
#include "platform/paths.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"
#include "ui/window.h"

namespace corvane {
namespace {

// Where the parameter input opens, in coordinates of the current window, and its width.
constexpr int ParameterColumn = 10;
constexpr int ParameterRow = 10;
constexpr int ParameterWidth = 40;

constexpr std::string_view ParameterMark = "[ ]";

// A host name that holds "\" appears in program names as U+F05C (see drives.h).
constexpr std::string_view EscapedBackslash = "\xEF\x81\x9C";

std::array<std::string, 2>& directories() {
  static std::array<std::string, 2> dirs;
  return dirs;
}

// The directory in the form a command sees: its host path when its drive is mapped.
std::string hostFormOfDirectory(const std::string& directory) {
  std::string host = toHostPath(directory);
  return host.empty() ? directory : host;
}

bool isFullProgramPath(std::string_view name) {
  return name.size() >= 3 && driveLetterOf(name) != 0 && name[2] == '\\';
}

// The 1-based screen position of a window coordinate of the current window.
void parameterPosition(int& column, int& row) {
  column = ParameterColumn;
  row = ParameterRow;
  if (const ScreenWindow* window = currentWindow()) {
    column = windowScreenColumn(*window, ParameterColumn) + 1;
    row = windowScreenRow(*window, ParameterRow) + 1;
  }
}

}  // namespace

void setTemplateDirectories(std::string_view first, std::string_view second) {
  directories()[0] = first;
  directories()[1] = second;
}

const std::string& templateDirectory(int n) {
  static const std::string none;
  return n == 1 || n == 2 ? directories()[static_cast<std::size_t>(n - 1)] : none;
}

KeyCode askParameter(std::string& text) {
  int column = 0, row = 0;
  parameterPosition(column, row);
  return inputDialog(text, exec_text::ParameterPrompt, column, row, ParameterWidth,
                     ParameterLengthLimit);
}

std::string hostFormOfName(std::string_view fileName) {
  if (isFullProgramPath(fileName)) {
    std::string host = toHostPath(fileName);
    if (!host.empty()) return host;
  }
  std::string out;
  out.reserve(fileName.size());
  for (std::size_t i = 0; i < fileName.size(); ++i) {
    if (fileName[i] == '\\') {
      out += '/';
    } else if (fileName.substr(i).starts_with(EscapedBackslash)) {
      out += '\\';
      i += EscapedBackslash.size() - 1;
    } else {
      out += fileName[i];
    }
  }
  return out;
}

TemplateExpansion expandPlaceholders(std::string_view fileName, std::string_view templateText,
                                     int maxLength, bool append, NameQuoting quoting) {
  TemplateExpansion result;
  const std::size_t limit = maxLength < 0 ? 0 : static_cast<std::size_t>(maxLength);
  const bool shell = quoting == NameQuoting::Shell;
  const std::string name = shell ? hostFormOfName(fileName) : std::string(fileName);
  // Each name is written for the place it lands in: after the text so far, inside whatever
  // quote or substitution that leaves open.
  const auto asWord = [shell](std::string_view before, std::string_view text,
                              std::string_view after) {
    return shell ? shellWordAt(before, text, after) : std::string(text);
  };
  // A name the interpreter cannot be given as one word stops the expansion (a verbatim
  // file name is the user's text and goes in as it is).
  const auto refused = [&result](bool quoted, std::string_view text) {
    if (quoted) result.error = shellWordRefusal(text, false);
    return !result.error.empty();
  };

  if (templateText.find('%') == std::string_view::npos) {
    result.text = templateText;
    result.parameterAt = result.text.find(ParameterMark);
    if (append && !name.empty()) {
      if (refused(shell, name)) return result;
      result.text += ' ';
      result.text += asWord(result.text, name, {});
    }
  } else {
    // The base name ends at the last dot of the last component only: a dot in a directory
    // name does not make "%%" cut the path there.
    const std::size_t separator = name.find_last_of("/\\");
    const std::size_t dot = name.rfind('.');
    const bool hasDot =
        dot != std::string::npos && (separator == std::string::npos || dot > separator);
    const std::string_view baseName = hasDot ? std::string_view(name).substr(0, dot) : name;

    std::string& out = result.text;
    for (std::size_t i = 0; i < templateText.size(); ++i) {
      const char c = templateText[i];
      if (c != '%') {
        if (result.parameterAt == std::string::npos &&
            templateText.substr(i).starts_with(ParameterMark))
          result.parameterAt = out.size();
        out += c;
        continue;
      }
      const char next = i + 1 < templateText.size() ? templateText[i + 1] : '\0';
      // What the line goes on with after a two-character placeholder.
      const std::string_view afterPair = templateText.substr(std::min(i + 2, templateText.size()));
      std::string insertion;
      std::string_view overflow = exec_text::OverflowOther;
      if (next == '1' || next == '2') {
        const std::string& directory = templateDirectory(next - '0');
        const std::string word = directory.empty() ? std::string() : hostFormOfDirectory(directory);
        if (directory.empty() ? refused(shell, name) : refused(true, word)) return result;
        insertion = directory.empty() ? asWord(out, name, afterPair) : shellWordAt(out, word, afterPair);
        ++i;
      } else if (next == '%') {
        if (refused(shell, name)) return result;
        insertion = asWord(out, baseName, afterPair);
        overflow = hasDot ? exec_text::OverflowBaseName : exec_text::OverflowWholeName;
        ++i;
      } else {
        if (refused(shell, name)) return result;
        // the following character is copied on the next turn
        insertion = asWord(out, name, templateText.substr(i + 1));
      }
      if (out.size() + insertion.size() > limit) {
        result.error = overflow;
        return result;
      }
      out += insertion;
    }
  }
  if (result.text.size() >= limit) result.error = exec_text::TooLong;
  return result;
}

int expandCommand(std::string_view fileName, std::string& command, int maxLength, bool append,
                  NameQuoting quoting) {
  TemplateExpansion expansion = expandPlaceholders(fileName, command, maxLength, append, quoting);
  if (!expansion.error.empty()) {
    messageBox(expansion.error);
    return ExpandError;
  }
  if (expansion.parameterAt == std::string::npos) {
    command = std::move(expansion.text);
    return ExpandDone;
  }

  std::string parameter;
  const KeyCode ending = askParameter(parameter);
  if (ending != key::Enter) {
    command = std::move(expansion.text);
    return ending;
  }
  std::string withParameter = expansion.text;
  withParameter.replace(expansion.parameterAt, ParameterMark.size(), parameter);
  if (withParameter.size() >= static_cast<std::size_t>(maxLength < 0 ? 0 : maxLength)) {
    messageBox(exec_text::ParameterTooLong);
    return ExpandError;
  }
  command = std::move(withParameter);
  return ExpandDone;
}

}  // namespace corvane
