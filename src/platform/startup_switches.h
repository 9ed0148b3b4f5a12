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
};

// Parses the arguments after the program name. Each is compared upper-cased, in the order
// of the switch table; the first match wins. Paths and the file argument keep the case they
// were typed in: host file names are case-sensitive.
StartupSwitches parseSwitches(const std::vector<std::string>& arguments);

}  // namespace corvane
