// The command line: switches and the file argument.
#pragma once

#include <string>
#include <vector>

namespace corvane {

struct StartupSwitches {
  int screenRows = 0;                            // "/Z": 0 means the terminal's size
  int screenColumns = 0;                         // "/S"
  bool asciiFrames = false;                      // "/ASC"
  bool testLogging = false;                      // "/TST"
  bool userMenu = false;                         // "/MEN"
  bool directoryReadingMode = false;             // "/FS"
  int cvtValue = 1000;                           // "/CVT": stored, no effect
  std::string startDirectory1, startDirectory2;  // "/1", "/2"
  std::string fileArgument;  // the last word not starting with "/" of two or more characters

  // The options of a terminal program, words beginning with "--" (compared as typed).
  bool help = false;     // "--help"
  bool version = false;  // "--version"
  // "--cwd-file=FILE" or "--cwd-file FILE": where the last directory goes at the end.
  std::string cwdFile;
  // The first "--" word that is no option, or "--cwd-file" without its file ("" when none).
  std::string badOption;
};

// Parses the arguments after the program name. Each is compared upper-cased, in the order
// of the switch table; the first match wins. Paths and the file argument keep the case they
// were typed in: host file names are case-sensitive. A word beginning with "--" is an option;
// a lone "--" ends the options, so that later words (a file named "--x") take the rules of
// the switch table.
StartupSwitches parseSwitches(const std::vector<std::string>& arguments);

}  // namespace corvane
