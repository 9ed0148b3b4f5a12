#include "platform/paths.h"

#include <vector>

namespace corvane {
namespace {

bool hasDrivePrefix(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return false;
  char c = path[0];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Length of the root part that a path keeps whatever follows: "X:\" (3), "X:" (2), "\" (1),
// nothing (0).
std::size_t rootLength(std::string_view path) {
  if (hasDrivePrefix(path)) return path.size() > 2 && path[2] == '\\' ? 3 : 2;
  return !path.empty() && path[0] == '\\' ? 1 : 0;
}

}  // namespace

char driveLetterOf(std::string_view path) {
  if (!hasDrivePrefix(path)) return 0;
  char c = path[0];
  return c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isDriveRoot(std::string_view path) {
  if (path == "\\") return true;
  return hasDrivePrefix(path) && (path.size() == 2 || (path.size() == 3 && path[2] == '\\'));
}

std::string joinPath(std::string_view dir, std::string_view name) {
  std::string result(dir);
  if (!result.empty() && result.back() != '\\') result += '\\';
  result += name;
  return result;
}

std::string_view baseName(std::string_view path) {
  std::size_t root = rootLength(path);
  std::size_t slash = path.rfind('\\');
  if (slash != std::string_view::npos && slash + 1 > root) return path.substr(slash + 1);
  return path.substr(root);
}

std::string parentPath(std::string_view path) {
  std::string trimmed = withoutTrailingBackslash(path);
  std::string_view p = trimmed;
  std::size_t root = rootLength(p);
  if (p.size() <= root) return std::string(p);  // a root is its own parent
  std::size_t slash = p.rfind('\\');
  if (slash == std::string_view::npos || slash < root) return std::string(p.substr(0, root));
  if (slash + 1 == root) return std::string(p.substr(0, root));  // "C:\a" gives "C:\"
  return std::string(p.substr(0, slash));
}

std::string withoutTrailingBackslash(std::string_view path) {
  std::size_t root = rootLength(path);
  std::size_t end = path.size();
  while (end > root && path[end - 1] == '\\') --end;
  return std::string(path.substr(0, end));
}

std::string withTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (!result.empty() && result.back() != '\\') result += '\\';
  return result;
}

char foldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string foldCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = foldCase(c);
  return result;
}

int compareNames(std::string_view a, std::string_view b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(foldCase(a[i]));
    auto cb = static_cast<unsigned char>(foldCase(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string resolvedPath(char letter, std::string_view current, std::string_view path) {
  // Components of the base directory (after "X:\"), then of the path, folded as they come.
  std::vector<std::string_view> parts;
  auto addComponents = [&parts](std::string_view text) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
      std::size_t end = pos;
      while (end < text.size() && text[end] != '\\' && text[end] != '/') ++end;
      std::string_view part = text.substr(pos, end - pos);
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      pos = end + 1;
    }
  };
  bool fromRoot = !path.empty() && (path[0] == '\\' || path[0] == '/');
  if (!fromRoot && current.size() > 3) addComponents(current.substr(3));
  addComponents(path);

  std::string result = std::string(1, letter) + ":\\";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) result += '\\';
    result += parts[i];
    if (result.size() > MaxPath) return {};
  }
  return result;
}

}  // namespace corvane
