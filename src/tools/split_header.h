// The header at the start of the first piece of a split file, and the names of the pieces.
//
// Layout (291 bytes, little-endian): the format number 2 (2 bytes), a signature text in a
// 30-byte field, the split file's name in a 255-byte field (zero-padded, always terminated),
// its size (4 bytes). The size's high 32 bits go into the last four bytes of the signature
// field, so a file under 4 GiB has a header whose signature field is the text and zeros.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

constexpr std::size_t SplitHeaderSize = 291;
constexpr std::uint16_t SplitFormat = 2;
constexpr std::size_t SplitSignatureOffset = 2;
constexpr std::size_t SplitSignatureField = 30;
constexpr std::size_t SplitNameOffset = 32;
constexpr std::size_t SplitNameField = 255;
constexpr std::size_t SplitSizeOffset = 287;
// The high half of the size: the last four bytes of the signature field.
constexpr std::size_t SplitHighSizeOffset = SplitSignatureOffset + SplitSignatureField - 4;
constexpr std::string_view SplitSignature = "CORVANE SPLIT FILE";
static_assert(SplitSignature.size() <= SplitSignatureField - 5);
static_assert(SplitSizeOffset + 4 == SplitHeaderSize);
static_assert(SplitNameOffset + SplitNameField == SplitSizeOffset);

struct SplitHeader {
  std::string name;  // the split file's name, without a directory
  std::uint64_t size = 0;
};

using SplitHeaderBytes = std::array<char, SplitHeaderSize>;

// Whether a name can stand in the header and be a file's name again: not empty, at most 254
// bytes, no NUL, "\", "/" or ":", and neither "." nor "..".
bool plainFileName(std::string_view name);

// The header of a file; false (nothing filled) when its name is not a plain file name.
bool encodeSplitHeader(const SplitHeader& header, SplitHeaderBytes& bytes);

// Reads a header from the first bytes of a piece; false when they are not one: fewer than
// 291 bytes, another format number, a name field that is empty, unterminated or not a plain
// file name. The signature text is not looked at.
bool decodeSplitHeader(std::string_view bytes, SplitHeader& header);

// A name's ASCII letters in upper case; every other byte as it is.
std::string upperAscii(std::string_view text);

// The part of a name before its extension: what precedes the last dot, unless that dot leads
// the name ("archive.tar.gz" gives "archive.tar", ".profile" stays whole).
std::string_view nameWithoutExtension(std::string_view name);

// The name of piece number n of a file whose name without extension is stem: the stem and
// the number as three (or more) hexadecimal digits, upper-cased ("DATA.00A").
std::string pieceName(std::string_view stem, std::uint64_t number);

}  // namespace corvane
