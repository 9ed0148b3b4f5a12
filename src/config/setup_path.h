// Where the setup file lives and how the files beside it are named.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// Told once at start when no directory can hold the setup file: the program then writes no
// setup, history, last-directories or tree cache file at all.
constexpr std::string_view TextNoSetupDirectory =
    "No setup directory (CS, HOME, TMP): settings and history are not saved";

struct SetupEnvironment {
  const char* cs = nullptr;  // the values of the variables; nullptr when unset
  const char* xdgConfigHome = nullptr;
  const char* home = nullptr;
  const char* tmp = nullptr;
  const char* temp = nullptr;
  std::string_view workingDirectory;  // host directory that relative values are taken from
  std::string_view programDirectory;  // host directory of the program ("" when unknown)
  // The program's directory is where its setup file belongs (platform/host_directories.h
  // programDirectoryKeepsSetup: a portable folder, or any writable one on Windows).
  bool programDirectoryHoldsSetup = false;
};

// A host directory that may hold the setup file, in the order they are tried.
struct SetupDirectoryCandidate {
  std::string directory;
  bool create = false;  // made when missing (only the per-user configuration directory)
};

// The directories tried for the setup file: CS (cut at its first ";"); the program's
// directory when it is the setup file's place; $XDG_CONFIG_HOME/corvane (an absolute
// XDG_CONFIG_HOME only), else $HOME/.config/corvane; TMP; TEMP (each cut at ";"). Unset and
// empty values are skipped; relative ones are taken from the working directory. Pure text work.
std::vector<SetupDirectoryCandidate> setupDirectoryCandidates(const SetupEnvironment& environment);

// The program path of the setup file (setupFileName of programName) in the first candidate
// that is an existing directory (or, where asked, could be made) on a drive, within the path
// limit. A directory named by CS that does not exist is not made: the next one is tried. ""
// when none serves.
std::string locateSetupFile(const std::vector<SetupDirectoryCandidate>& candidates,
                            std::string_view programName);

}  // namespace corvane
