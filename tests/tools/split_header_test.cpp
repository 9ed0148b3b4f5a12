#include "tools/split_header.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tools/split_build.h"

namespace corvane {
namespace {

// A header as bytes, built by hand: format, signature field, name field, size.
std::string headerBytes(std::uint16_t format, std::string_view name, std::uint32_t size,
                        std::uint32_t high = 0) {
  std::string bytes(SplitHeaderSize, '\0');
  bytes[0] = static_cast<char>(format & 0xFF);
  bytes[1] = static_cast<char>(format >> 8);
  std::memcpy(bytes.data() + 2, "ANY SIGNATURE", 13);
  for (int i = 0; i < 4; ++i) bytes[28 + i] = static_cast<char>((high >> (8 * i)) & 0xFF);
  std::memcpy(bytes.data() + 32, name.data(), std::min<std::size_t>(name.size(), 255));
  for (int i = 0; i < 4; ++i) bytes[287 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
  return bytes;
}

TEST(SplitHeader, ReaderAcceptsOnlyAHeaderWithOnePlainName) {
  const struct {
    std::string bytes;
    bool valid;
    const char* why;
  } cases[] = {
      {headerBytes(2, "report.doc", 3000000), true, "a plain header"},
      {headerBytes(2, "report.doc", 3000000).substr(0, 290), false, "one byte short"},
      {headerBytes(3, "report.doc", 1), false, "format 3"},
      {headerBytes(0x0102, "report.doc", 1), false, "format bytes swapped"},
      {headerBytes(2, "", 1), false, "empty name"},
      {headerBytes(2, std::string(255, 'n'), 1), false, "name without terminator"},
      {headerBytes(2, std::string(254, 'n'), 1), true, "254-byte name"},
      {headerBytes(2, "..\\x", 1), false, "backslash"},
      {headerBytes(2, "../x", 1), false, "slash"},
      {headerBytes(2, "C:x", 1), false, "drive colon"},
      {headerBytes(2, ".", 1), false, "dot"},
      {headerBytes(2, "..", 1), false, "dot dot"},
      {headerBytes(2, "...", 1), true, "three dots is a name"},
      {headerBytes(2, "a b\xff\xfe.txt", 1), true, "blanks and non-UTF-8 bytes"},
  };
  for (const auto& c : cases) {
    SplitHeader header;
    EXPECT_EQ(decodeSplitHeader(c.bytes, header), c.valid) << c.why;
  }
}

TEST(SplitHeader, SizesAreUnsignedAndTheHighHalfLivesInTheSignatureField) {
  SplitHeader header;
  ASSERT_TRUE(decodeSplitHeader(headerBytes(2, "big", 0xC0000000u), header));
  EXPECT_EQ(header.size, 3221225472u);
  ASSERT_TRUE(decodeSplitHeader(headerBytes(2, "huge", 1, 1), header));
  EXPECT_EQ(header.size, (std::uint64_t{1} << 32) + 1);

  // Under 4 GiB the signature field is the text and zeros; above it the last four bytes
  // carry the high half; both read back whole.
  for (std::uint64_t size : {std::uint64_t{0}, std::uint64_t{3000000}, std::uint64_t{0xFFFFFFFF},
                             std::uint64_t{0x100000001}, ~std::uint64_t{0}}) {
    SplitHeaderBytes bytes;
    ASSERT_TRUE(encodeSplitHeader({"file.bin", size}, bytes));
    const std::string_view text(bytes.data(), bytes.size());
    EXPECT_EQ(text.substr(0, 2), std::string_view("\x02\x00", 2));
    EXPECT_EQ(text.substr(2, SplitSignature.size()), SplitSignature);
    const std::string_view padding = text.substr(2 + SplitSignature.size(), 30 - 4 - SplitSignature.size());
    EXPECT_EQ(padding.find_first_not_of('\0'), std::string_view::npos);
    if (size <= 0xFFFFFFFF) {
      EXPECT_EQ(text.substr(28, 4), std::string_view("\0\0\0\0", 4)) << size;
    }
    SplitHeader back;
    ASSERT_TRUE(decodeSplitHeader(text, back));
    EXPECT_EQ(back.size, size);
    EXPECT_EQ(back.name, "file.bin");
  }
  SplitHeaderBytes bytes;
  EXPECT_FALSE(encodeSplitHeader({std::string(255, 'x'), 1}, bytes));
  EXPECT_FALSE(encodeSplitHeader({"a:b", 1}, bytes));
}

TEST(SplitHeader, PieceNamesAndSizes) {
  EXPECT_EQ(pieceName("data", 0), "DATA.000");
  EXPECT_EQ(pieceName("data", 10), "DATA.00A");
  EXPECT_EQ(pieceName("data", 16), "DATA.010");  // the seventeenth piece
  EXPECT_EQ(pieceName("data", 0x1234), "DATA.1234");
  EXPECT_EQ(pieceName("\xc3\xa4rger b", 1), "\xc3\xa4RGER B.001");  // ASCII letters only

  const struct {
    const char* name;
    const char* stem;
  } stems[] = {{"archive.tar.gz", "archive.tar"}, {".profile", ".profile"}, {"plain", "plain"},
               {"dot.", "dot"}};
  for (const auto& c : stems) EXPECT_EQ(nameWithoutExtension(c.name), c.stem) << c.name;
  EXPECT_EQ(firstPieceOf("T:\\dir.x\\Data.003"), "T:\\dir.x\\DATA.000");
  EXPECT_EQ(firstPieceOf("T:\\dir.x\\data"), "T:\\dir.x\\DATA.000");

  const struct {
    const char* text;
    bool valid;
    std::uint64_t size;
  } sizes[] = {{"1450000", true, 1450000},
               {"  292 ", true, 292},
               {"291", false, 0},
               {"0", false, 0},
               {"", false, 0},
               {"   ", false, 0},
               {"12a", false, 0},
               {"-5", false, 0},
               {"18446744073709551615", true, 18446744073709551615u},
               {"18446744073709551616", false, 0},
               {"99999999999999999999", false, 0}};
  for (const auto& c : sizes) {
    std::uint64_t size = 0;
    EXPECT_EQ(parseSplitSize(c.text, size), c.valid) << '"' << c.text << '"';
    if (c.valid) {
      EXPECT_EQ(size, c.size) << c.text;
    }
  }
}

}  // namespace
}  // namespace corvane
