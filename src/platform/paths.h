// Program paths: a drive letter, a colon and backslash-separated components ("C:\home\ann").
// Names compare without regard to case (A to Z folded to a to z). Pure text work, no OS.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

constexpr std::size_t MaxPath = 260;  // characters; buffers of 261 bytes in stored formats

// Upper-case drive letter of a path that starts with "X:", else 0.
char driveLetterOf(std::string_view path);
// "C:\" and "C:" are roots; so is "\".
bool isDriveRoot(std::string_view path);
// dir + "\" (when dir does not end in one) + name; name alone when dir is empty.
std::string joinPath(std::string_view dir, std::string_view name);
// The part after the last "\" (or after "X:").
std::string_view baseName(std::string_view path);
// The directory part: "C:\a\b" gives "C:\a", "C:\a" gives "C:\", "C:\" gives "C:\".
std::string parentPath(std::string_view path);
// Removes a trailing backslash except from a drive root.
std::string withoutTrailingBackslash(std::string_view path);
// With a trailing backslash (an empty path stays empty).
std::string withTrailingBackslash(std::string_view path);

// The full path of path (without its drive prefix) on drive letter whose current directory
// is current ("X:\..."): "\name" from the root, else from current; "." and ".." folded, "/"
// taken as "\", a trailing backslash only on the root. "" past MaxPath.
std::string resolvedPath(char letter, std::string_view current, std::string_view path);

// A to Z folded to a to z, nothing else.
char foldCase(char c);
std::string foldCase(std::string_view text);
// Case-insensitive comparison in the folded order: <0, 0, >0.
int compareNames(std::string_view a, std::string_view b);
inline bool sameName(std::string_view a, std::string_view b) { return compareNames(a, b) == 0; }

}  // namespace corvane
