// Drives and the current directory per drive, on a map from drive letters to host
// directories. C: is "/" unless CORVANE_DRIVES says otherwise ("D=/home/ann;T=/tmp/t").
// Program paths are converted to host paths only here and in the file functions.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Builds the drive map: C: = "/", then the entries of mapText ("X=/dir;Y=/other", letters in
// either case, later entries win; "X=" unmaps X:, but the map always keeps at least C:;
// relative directories are taken from the process's working directory). nullptr or ""
// leaves only C:. The current drive becomes
// C: (or the first mapped drive) with each drive's current directory at its root; when the
// process's host working directory lies on a drive, that drive and directory become current.
void initDriveMap(const char* mapText);

// A letter is a drive when it is mapped (either case).
bool driveMapped(char letter);
// Host directory of a drive ("" when not mapped).
std::string driveHostRoot(char letter);
// Mapped and its host directory exists and can be read.
bool driveAccessible(char letter);

// Host path of a program path (made full first); "" when its drive is not mapped.
std::string toHostPath(std::string_view programPath);
// Program path of an absolute host path: the drive whose host directory is the longest
// prefix (the current drive among equals). "" when no drive holds it or it would exceed
// MaxPath.
std::string toProgramPath(std::string_view hostPath);

// A host name as it appears in program paths. Host names may hold "\", the separator of
// program paths; such a backslash becomes U+F05C, which toHostPath turns back into "\", so
// that every host name can be reached and none is mistaken for a deeper path.
std::string programNameOfHostName(std::string_view hostName);
// The host name a program path component stands for (U+F05C back to "\").
std::string hostNameOfProgramName(std::string_view programName);

// Current drive (upper-case letter) and the current directory of a drive (full program
// path, "C:\" at the root). currentDirectory(0) is that of the current drive.
char currentDrive();
std::string currentDirectory(char letter = 0);
// Makes a mapped drive current; false when it is not mapped.
bool setCurrentDrive(char letter);
// Changes the current directory of the path's drive (the current drive when the path has
// none) and makes that drive current. False, with nothing changed, when the path is not an
// existing directory.
bool changeDirectory(std::string_view path);

// The full path of a path, resolved against the current drive and directories: "X:name" is
// relative to X:'s current directory, "\name" to the drive root, "." and ".." are folded,
// "/" is taken as "\". A trailing backslash stays only on a drive root. "" when the drive
// is not mapped or the result would exceed MaxPath.
std::string fullPath(std::string_view path);

}  // namespace corvane
