// "Write filelist": the panel's list written to a text file, one line per entry, each line
// beginning with a line feed. Short display: name and the compare mark character; long
// displays: name, size, date and time, attribute letters and the compare mark text.
#pragma once

#include <string>
#include <string_view>

#include "panels/panel.h"

namespace corvane {

inline constexpr int ListFileWritten = 13;
inline constexpr int ListFileCancelled = 27;
inline constexpr int ListFileFailed = 0;

// The line of one entry, its leading line feed included.
std::string fileListLine(const Panel& panel, NodeId id);
// Every line of the list (the placeholder of an unreadable directory left out).
std::string fileListText(const Panel& panel);

// The preset of the name question: the current drive's root and "_CV_.LST".
std::string defaultListFileName();

// Writes the list to path (an existing file is replaced only once the list is complete). On
// failure reports "File open error %s \n" with the path and the system's reason in a message
// box and returns ListFileFailed; else ListFileWritten.
int writeFileListTo(const Panel& panel, std::string_view path);

// Asks " Filename : " (a 45-column field of up to 260 characters, preset with
// defaultListFileName) and writes the list there on Enter. ListFileCancelled on Escape.
int writeFileList(const Panel& panel);

}  // namespace corvane
