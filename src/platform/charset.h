// Characters on screen: code page 437 for the program's own glyphs (frames, shades, arrows),
// UTF-8 for text from files and the file system, and the cell width of a code point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// The Unicode code point shown for a code page 437 byte (0x00 shows as a blank).
char32_t cp437ToUnicode(std::uint8_t byte);

// The code page 437 byte of a code point, or -1 when the code page has none.
int unicodeToCp437(char32_t codePoint);

// Decodes one character of text at pos. Valid UTF-8 sequences of two to four bytes give their
// code point; every other byte (ASCII included) goes through the code page 437 table, so
// control bytes show as the PC glyphs and stray high bytes still show as something.
// Returns the number of bytes taken (at least 1 while pos < text.size()).
std::size_t decodeChar(std::string_view text, std::size_t pos, char32_t& codePoint);

// The ASCII character shown for a code point on a console that takes nothing else: ASCII
// as it is, a control character or code page 437 glyph by its likeness (a frame corner "+",
// a shade ":", an arrow "^", an accented letter its base letter), anything else "?".
char asciiStandIn(char32_t codePoint);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

// The text form of a typed code page 437 character: control bytes and ASCII stay single
// bytes, others become the UTF-8 of their glyph.
std::string cp437CharToText(std::uint8_t byte);

// Cells a code point takes on a terminal: 0 for combining marks, 2 for wide (East Asian)
// characters, 1 otherwise.
int charCells(char32_t codePoint);

// Cells taken by a whole text (decoded with decodeChar).
int textCells(std::string_view text);

// Number of characters of a text as decodeChar walks it.
std::size_t textChars(std::string_view text);

// Length in bytes of the longest start of text within limit bytes that ends on a whole
// character (decodeChar's steps).
std::size_t fittingPrefix(std::string_view text, std::size_t limit);

// Byte offset of the character with the given index (text.size() when beyond the end).
std::size_t charOffset(std::string_view text, std::size_t index);

}  // namespace corvane
