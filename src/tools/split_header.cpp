#include "tools/split_header.h"

#include <algorithm>
#include <cstring>

#include "platform/textf.h"

namespace corvane {
namespace {

void putLittle(char* at, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t getLittle(const char* at, int bytes) {
  std::uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(at[i]);
  return value;
}

}  // namespace

bool plainFileName(std::string_view name) {
  if (name.empty() || name.size() >= SplitNameField) return false;
  if (name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("\0\\/:", 4)) == std::string_view::npos;
}

bool encodeSplitHeader(const SplitHeader& header, SplitHeaderBytes& bytes) {
  if (!plainFileName(header.name)) return false;
  bytes.fill('\0');
  putLittle(bytes.data(), SplitFormat, 2);
  std::memcpy(bytes.data() + SplitSignatureOffset, SplitSignature.data(), SplitSignature.size());
  putLittle(bytes.data() + SplitHighSizeOffset, header.size >> 32, 4);
  std::memcpy(bytes.data() + SplitNameOffset, header.name.data(), header.name.size());
  putLittle(bytes.data() + SplitSizeOffset, header.size & 0xFFFFFFFFu, 4);
  return true;
}

bool decodeSplitHeader(std::string_view bytes, SplitHeader& header) {
  if (bytes.size() < SplitHeaderSize) return false;
  if (getLittle(bytes.data(), 2) != SplitFormat) return false;
  const std::string_view field = bytes.substr(SplitNameOffset, SplitNameField);
  const std::size_t end = field.find('\0');
  if (end == std::string_view::npos) return false;
  const std::string_view name = field.substr(0, end);
  if (!plainFileName(name)) return false;
  header.name.assign(name);
  header.size = (getLittle(bytes.data() + SplitHighSizeOffset, 4) << 32) |
                getLittle(bytes.data() + SplitSizeOffset, 4);
  return true;
}

std::string upperAscii(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return out;
}

std::string_view nameWithoutExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return name;
  return name.substr(0, dot);
}

std::string pieceName(std::string_view stem, std::uint64_t number) {
  return upperAscii(std::string(stem) + textf(".%03llx", static_cast<unsigned long long>(number)));
}

}  // namespace corvane
