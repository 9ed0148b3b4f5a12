#include "platform/charset.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(Charset, DecodingFallsBackToCodePage437AndCountsCells) {
  char32_t ch = 0;
  EXPECT_EQ(decodeChar("\xC3\xB6", 0, ch), 2u);  // valid UTF-8: o umlaut
  EXPECT_EQ(ch, U'\u00F6');
  EXPECT_EQ(decodeChar("\xC4x", 0, ch), 1u);  // a stray byte shows its CP437 glyph
  EXPECT_EQ(ch, U'\u2500');
  EXPECT_EQ(decodeChar("\xE2\x82", 0, ch), 1u);  // a cut sequence is not taken whole
  EXPECT_EQ(textCells("a\xE4\xB8\xAD"
                      "b"),
            4);  // a wide character takes two cells
  EXPECT_EQ(textChars("a\xE4\xB8\xAD"
                      "b"),
            3u);
}

TEST(Charset, FittingPrefixNeverSplitsACharacter) {
  const std::string text =
      "ab\xE4\xB8\xAD"
      "c";  // a, b, a three-byte character, c
  EXPECT_EQ(fittingPrefix(text, 100), text.size());
  EXPECT_EQ(fittingPrefix(text, 4), 2u);
  EXPECT_EQ(fittingPrefix(text, 5), 5u);
  EXPECT_EQ(fittingPrefix(text, 0), 0u);
  EXPECT_EQ(fittingPrefix("\xFF\xFE", 1), 1u);  // invalid bytes count one each
}

}  // namespace
}  // namespace corvane
