#include "panels/mask.h"

#include <algorithm>
#include <cstdint>

#include "panels/name_fold.h"

namespace corvane {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// One character of a name or pattern: a valid UTF-8 sequence is one character; any other
// byte stands alone (as a value above the Unicode range, so it equals only itself).
// Letters A to Z are folded.
std::uint32_t readChar(std::string_view text, std::size_t pos, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char b0 = byte(0);
  length = 1;
  if (b0 < 0x80) return foldByte(b0);
  std::size_t need = 0;
  std::uint32_t cp = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    cp = b0 & 0x07;
  } else {
    return 0x110000u + b0;
  }
  if (pos + need >= text.size()) return 0x110000u + b0;
  for (std::size_t i = 1; i <= need; ++i) {
    const unsigned char b = byte(i);
    if ((b & 0xC0) != 0x80) return 0x110000u + b0;
    cp = (cp << 6) | (b & 0x3F);
  }
  const std::uint32_t minimum = need == 1 ? 0x80 : need == 2 ? 0x800 : 0x10000;
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0x110000u + b0;
  length = need + 1;
  return cp;
}

// Tries the set starting at pattern[pos] == '[' against c. Returns false with end == npos
// when the set is not closed (the "[" then stands for itself).
bool matchSet(std::string_view pattern, std::size_t pos, std::uint32_t c, std::size_t& end) {
  std::size_t i = pos + 1;
  bool negate = false;
  if (i < pattern.size() && pattern[i] == '!') {
    negate = true;
    ++i;
  }
  bool found = false;
  bool first = true;
  while (i < pattern.size()) {
    if (pattern[i] == ']' && !first) {
      end = i + 1;
      return found != negate;
    }
    first = false;
    if (pattern[i] == '\\' && i + 1 < pattern.size()) ++i;
    std::size_t len = 0;
    const std::uint32_t low = readChar(pattern, i, len);
    i += len;
    std::uint32_t high = low;
    if (i + 1 < pattern.size() && pattern[i] == '-' && pattern[i + 1] != ']') {
      ++i;
      if (pattern[i] == '\\' && i + 1 < pattern.size()) ++i;
      high = readChar(pattern, i, len);
      i += len;
    }
    if (c >= low && c <= high) found = true;
  }
  end = npos;
  return false;
}

// Matches one pattern character at pattern[p] against the name character c; advances p.
bool matchOne(std::string_view pattern, std::size_t& p, std::uint32_t c) {
  if (pattern[p] == '?') {
    ++p;
    return true;
  }
  if (pattern[p] == '[') {
    std::size_t end = npos;
    const bool hit = matchSet(pattern, p, c, end);
    if (end != npos) {
      p = end;
      return hit;
    }
  }
  std::size_t len = 0;
  const std::uint32_t own = readChar(pattern, p, len);
  p += len;
  return own == c;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
      continue;
    }
    if (p < pattern.size()) {
      std::size_t q = p, len = 0;
      const std::uint32_t c = readChar(name, n, len);
      if (matchOne(pattern, q, c)) {
        p = q;
        n += len;
        continue;
      }
    }
    if (starP == npos) return false;
    std::size_t len = 0;
    readChar(name, starN, len);
    starN += len;
    n = starN;
    p = starP;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Whether a name has an extension in the sense of a final "." in a pattern: its last "."
// is followed by at least one character.
bool hasTrailingExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot != npos && dot + 1 < name.size();
}

CompiledMask::Pattern compilePattern(std::string_view text, bool exclusion) {
  CompiledMask::Pattern p;
  p.exclusion = exclusion;
  appendFolded(p.text, text);
  if (p.text == MaskAll) {
    p.matchesAll = true;
  } else if (!p.text.empty() && p.text.back() == '.') {
    p.withoutExtension = true;
    p.text.pop_back();
  }
  // "*" before plain ASCII: a name matches when it ends in those bytes (an ASCII byte always
  // begins a character, so the star's run ends on a character boundary).
  if (!p.matchesAll && p.text.size() > 1 && p.text.front() == '*' &&
      p.text.find_first_of("*?[\\", 1) == npos &&
      std::all_of(p.text.begin(), p.text.end(), [](char c) { return (c & 0x80) == 0; })) {
    p.suffixOnly = true;
    p.text.erase(0, 1);
  }
  return p;
}

bool matchesPattern(const CompiledMask::Pattern& p, std::string_view name) {
  if (p.matchesAll) return true;
  if (p.withoutExtension && hasTrailingExtension(name)) return false;
  if (!p.suffixOnly) return wildcardMatch(p.text, name);
  return name.size() >= p.text.size() &&
         equalFolded(name.substr(name.size() - p.text.size()), p.text);
}

}  // namespace

CompiledMask compileMask(std::string_view mask) {
  CompiledMask compiled;
  compiled.weighed = mask.find('<') != npos;
  std::size_t start = 0;
  while (true) {
    const std::size_t semicolon = mask.find(';', start);
    std::string_view part = mask.substr(start, semicolon == npos ? npos : semicolon - start);
    const bool exclusion = !part.empty() && part.front() == '<';
    if (exclusion) part.remove_prefix(1);
    compiled.patterns.push_back(compilePattern(part, exclusion));
    if (semicolon == npos) break;
    start = semicolon + 1;
  }
  return compiled;
}

bool maskMatches(const CompiledMask& mask, std::string_view name) {
  if (!mask.weighed) {
    for (const CompiledMask::Pattern& p : mask.patterns)
      if (matchesPattern(p, name)) return true;
    return false;
  }
  bool counted = false;
  for (const CompiledMask::Pattern& p : mask.patterns) {
    const bool hit = matchesPattern(p, name);
    if (p.exclusion) {
      if (hit) return false;
      counted = true;
    } else if (hit) {
      counted = true;
    }
  }
  return counted;
}

bool maskMatches(std::string_view mask, std::string_view name) {
  return maskMatches(compileMask(mask), name);
}

bool patternMatches(std::string_view pattern, std::string_view name) {
  return matchesPattern(compilePattern(pattern, false), name);
}

NodeId firstMatchingNode(const FileList& list, std::string_view mask) {
  const CompiledMask compiled = compileMask(mask);
  for (NodeId id : chain(list))
    if (maskMatches(compiled, list.nodes[id].entry.name)) return id;
  return NoNode;
}

}  // namespace corvane
