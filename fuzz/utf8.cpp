// The UTF-8 helpers every text on screen goes through, over any bytes: each step of
// decodeChar takes 1 to 4 bytes, the counts agree with those steps, a fitting prefix ends on a
// step within its limit, and a code point decoded from valid UTF-8 encodes back to its bytes.
#include <string>

#include "fuzz_support.h"
#include "platform/charset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  const std::string_view text = fuzz::asText(data, size);

  std::size_t steps = 0, cells = 0;
  for (std::size_t pos = 0; pos < text.size(); ++steps) {
    char32_t codePoint = 0;
    const std::size_t taken = decodeChar(text, pos, codePoint);
    FUZZ_CHECK(taken >= 1 && taken <= 4 && pos + taken <= text.size(), text);
    FUZZ_CHECK(charOffset(text, steps) == pos, text);
    const int width = charCells(codePoint);
    FUZZ_CHECK(width >= 0 && width <= 2, text);
    cells += static_cast<std::size_t>(width);
    if (taken > 1) {
      std::string bytes;
      appendUtf8(bytes, codePoint);
      FUZZ_CHECK(bytes == text.substr(pos, taken), text);
    }
    pos += taken;
  }
  FUZZ_CHECK(textChars(text) == steps, text);
  FUZZ_CHECK(static_cast<std::size_t>(textCells(text)) == cells, text);
  FUZZ_CHECK(charOffset(text, steps) == text.size(), text);

  for (std::size_t limit : {std::size_t{0}, std::size_t{1}, text.size() / 2, text.size()}) {
    const std::size_t prefix = fittingPrefix(text, limit);
    FUZZ_CHECK(prefix <= limit && prefix <= text.size(), text);
    // The prefix ends where a step of the whole text ends, and the next step passes the limit.
    FUZZ_CHECK(charOffset(text, textChars(text.substr(0, prefix))) == prefix, text);
    if (prefix < text.size()) {
      char32_t next = 0;
      FUZZ_CHECK(prefix + decodeChar(text, prefix, next) > limit, text);
    }
  }

  // Code page 437: every byte has a glyph; typed text keeps ASCII as it is.
  for (std::size_t i = 0; i < text.size() && i < 16; ++i) {
    const auto byte = static_cast<std::uint8_t>(text[i]);
    FUZZ_CHECK(cp437ToUnicode(byte) != 0, text);
    const std::string typed = cp437CharToText(byte);
    FUZZ_CHECK(!typed.empty() && (byte >= 0x80 || typed == std::string(1, text[i])), text);
  }
  return 0;
}
