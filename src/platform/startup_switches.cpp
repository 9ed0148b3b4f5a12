#include "platform/startup_switches.h"

#include <cstdlib>

#include "platform/paths.h"

namespace corvane {
namespace {

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// Leading decimal digits (after optional blanks and sign), 0 when there are none.
int decimal(std::string_view text) { return std::atoi(std::string(text).c_str()); }

constexpr std::string_view CwdFileOption = "--cwd-file";

// One "--" option word; next is the word after it, taken by an option that wants a value
// (and then advanced). An unknown word or a missing value is kept as badOption.
void takeOption(const std::string& word, std::vector<std::string>::const_iterator& next,
                std::vector<std::string>::const_iterator end, StartupSwitches& s) {
  if (word == "--help") {
    s.help = true;
  } else if (word == "--version") {
    s.version = true;
  } else if (word.rfind(CwdFileOption, 0) == 0 &&
             (word.size() == CwdFileOption.size() || word[CwdFileOption.size()] == '=')) {
    std::string value;
    if (word.size() > CwdFileOption.size()) {
      value = word.substr(CwdFileOption.size() + 1);
    } else if (next != end) {
      value = *next++;
    }
    if (!value.empty()) {
      s.cwdFile = value;
    } else if (s.badOption.empty()) {
      s.badOption = word;
    }
  } else if (s.badOption.empty()) {
    s.badOption = word;
  }
}

}  // namespace

StartupSwitches parseSwitches(const std::vector<std::string>& arguments) {
  StartupSwitches s;
  bool options = true;
  for (auto it = arguments.begin(); it != arguments.end();) {
    const std::string& argument = *it++;
    if (options && argument == "--") {
      options = false;
      continue;
    }
    if (options && argument.rfind("--", 0) == 0) {
      takeOption(argument, it, arguments.end(), s);
      continue;
    }
    std::string word = upper(argument);
    auto starts = [&](std::string_view prefix) { return word.rfind(prefix, 0) == 0; };
    std::string_view rest2 =
        std::string_view(argument).substr(std::min<std::size_t>(2, argument.size()));
    if (word == "/WIN" || word == "/LFN" || word == "/DEB") {
      continue;
    } else if (word == "/ASC") {
      s.asciiFrames = true;
    } else if (word == "/FS") {
      s.directoryReadingMode = true;
    } else if (word == "/TST") {
      s.testLogging = true;
    } else if (word == "/MEN") {
      s.userMenu = true;
    } else if (starts("/CVT")) {
      s.cvtValue = decimal(std::string_view(argument).substr(4));
    } else if (word == "/FDEB") {
      continue;
    } else if (starts("/Z")) {
      s.screenRows = decimal(rest2);
    } else if (starts("/S")) {
      s.screenColumns = decimal(rest2);
    } else if (starts("/1")) {
      if (!rest2.empty()) s.startDirectory1 = std::string(rest2);
    } else if (starts("/2")) {
      if (!rest2.empty()) s.startDirectory2 = std::string(rest2);
    } else if (argument.size() >= 2 && argument[0] != '/') {
      s.fileArgument = argument;
    }
  }
  return s;
}

}  // namespace corvane
