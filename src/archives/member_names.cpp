#include "archives/member_names.h"

#include <string_view>

#include "platform/charset.h"

namespace corvane {
namespace {

constexpr std::string_view EmptyName = "_";

bool isControl(std::uint8_t byte) { return byte < 0x20 || byte == 0x7F; }

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// Every byte above 0x7F belongs to a valid UTF-8 sequence.
bool validUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t codePoint = 0;
    const std::size_t taken = decodeChar(bytes, i, codePoint);
    if (taken == 1 && static_cast<std::uint8_t>(bytes[i]) >= 0x80) return false;
    i += taken;
  }
  return true;
}

// The component decoded for the screen; control bytes become "?".
void appendDecoded(std::string& out, std::string_view bytes, bool utf8) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto byte = static_cast<std::uint8_t>(bytes[i]);
    if (isControl(byte)) {
      out += '?';
      ++i;
    } else if (byte < 0x80) {
      out += static_cast<char>(byte);
      ++i;
    } else if (utf8) {
      char32_t codePoint = 0;
      const std::size_t taken = decodeChar(bytes, i, codePoint);
      appendUtf8(out, codePoint);
      i += taken;
    } else {
      appendUtf8(out, cp437ToUnicode(byte));
      ++i;
    }
  }
}

bool isDriveComponent(std::string_view component) {
  return component.size() >= 2 && component[1] == ':' &&
         ((component[0] >= 'A' && component[0] <= 'Z') ||
          (component[0] >= 'a' && component[0] <= 'z'));
}

}  // namespace

ListedName listedNameOf(const ArchiveMember& member) {
  ListedName listed;
  const std::string_view stored = member.storedPath;
  const bool utf8 = member.encoding == NameEncoding::Utf8 ||
                    (member.encoding == NameEncoding::Utf8IfValid && validUtf8(stored));
  listed.unsafe = member.truncated;
  bool first = true;
  for (std::size_t start = 0; start <= stored.size();) {
    std::size_t end = start;
    while (end < stored.size() && !isSeparator(stored[end])) ++end;
    std::string_view component = stored.substr(start, end - start);
    start = end + 1;
    if (first && isDriveComponent(component)) {
      component.remove_prefix(2);
      listed.unsafe = true;
    }
    first = false;
    if (component.empty() || component == "." || component == "..") {
      listed.unsafe = true;
      continue;
    }
    for (char c : component)
      if (isControl(static_cast<std::uint8_t>(c))) listed.unsafe = true;
    if (!listed.path.empty()) listed.path += '/';
    appendDecoded(listed.path, component, utf8);
  }
  if (listed.path.empty()) listed.path = EmptyName;
  return listed;
}

}  // namespace corvane
