// Where the setup file lives and how the files beside it are named. Pure text work.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Extensions of the files named after the setup file.
constexpr std::string_view SetupExtension = ".SET";
constexpr std::string_view HistoryExtension = "._C_";
constexpr std::string_view HelpExtension = ".hlp";
constexpr std::string_view EditorStateExtension = ".EST";
constexpr std::string_view EditorStateTempExtension = ".ETM";
constexpr std::string_view KeywordExtension = ".COL";
constexpr std::string_view ArchiverDefinitionsExtension = ".ASE";
constexpr std::string_view AssociationsExtension = ".pre";
constexpr std::string_view PreviousDirectoriesExtension = ".__S";
// The directory of the tree cache files, beside the setup file.
constexpr std::string_view TreeCacheDirectoryName = "CS.TRE";

// The setup path with the extension of its last component replaced (appended when the name
// has none): ("C:\home\ann\corvane.SET", ".__S") gives "C:\home\ann\corvane.__S". Takes
// "\" and "/" as separators, so it serves program and host paths alike. An extension given
// without its dot gets one.
std::string siblingPath(std::string_view setupPath, std::string_view extension);

// The directory of the setup path with its separator, followed by name:
// ("C:\home\ann\corvane.SET", "CS.TRE") gives "C:\home\ann\CS.TRE".
std::string besideSetup(std::string_view setupPath, std::string_view name);

// The setup file's name for a program name (its last component with the extension replaced
// by "SET", ".SET" appended when it has none): "/usr/bin/corvane" gives "corvane.SET".
std::string setupFileName(std::string_view programName);

// The host path of the setup file. The directory is the first that applies: CS (cut at its
// first ";"); the program's directory when it is writable; $XDG_CONFIG_HOME/corvane (an
// absolute XDG_CONFIG_HOME only), else $HOME/.config/corvane; TMP; TEMP (each cut at ";");
// as a last resort the program's directory anyway. Unset and empty values are skipped. The
// caller creates the directory when it is missing and converts the result to a program path.
std::string setupFilePath(const char* csEnv, std::string_view programDir, bool programDirWritable,
                          const char* xdgConfigHome, const char* home, const char* tmp,
                          const char* temp, std::string_view programName);

}  // namespace corvane
