// The console error report: a failing console call is described on the terminal's ordinary
// screen and the user decides whether to go on.
#pragma once

#include <string>

namespace corvane {

// The text shown: "%s: Error %d from %s on line %d:\n", the system's message for the error
// wrapped at 40 characters, and "\n\nContinue execution?".
std::string consoleErrorText(const char* module, int line, const char* function, int errorCode);

// Shows the report and waits for y or n; n ends the program with status 1.
void consoleErrorReport(const char* module, int line, const char* function, int errorCode);

}  // namespace corvane
