// Terminal input over any bytes: the decoder gives the same records whether the bytes come
// at once or one at a time; the records go through the key reader into a line input, whose
// text stays within its maximum length and whose cursor stays inside the text. The first
// byte chooses the options (kitty mode, line breaks of pastes as Enter, erase byte, insert
// mode, field flags).
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/charset.h"
#include "platform/keyboard.h"
#include "platform/term_decoder.h"
#include "ui/input_history.h"
#include "ui/line_input.h"

namespace {

using corvane::InputRecord;

bool sameRecord(const InputRecord& a, const InputRecord& b) {
  return a.kind == b.kind && a.keyDown == b.keyDown && a.character == b.character &&
         a.scanCode == b.scanCode && a.modifierKey == b.modifierKey &&
         a.controlState == b.controlState && a.column == b.column && a.row == b.row &&
         a.buttons == b.buttons && a.moved == b.moved;
}

bool sameRecords(const std::vector<InputRecord>& a, const std::vector<InputRecord>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!sameRecord(a[i], b[i])) return false;
  return true;
}

std::vector<InputRecord> decode(std::string_view bytes, std::uint8_t options, bool oneByOne) {
  corvane::TermDecoder decoder((options & 4) != 0 ? 0x08 : 0x7F);
  decoder.setKittyMode((options & 1) != 0);
  decoder.setPasteLineBreaks((options & 2) != 0);
  std::vector<InputRecord> out;
  if (oneByOne) {
    for (std::size_t i = 0; i < bytes.size(); ++i) decoder.feed(bytes.substr(i, 1), out);
  } else {
    decoder.feed(bytes, out);
  }
  decoder.flushPending(out);
  return out;
}

constexpr int FieldFlags[] = {0, corvane::LineInputCommand | corvane::LineInputNoTypeOver,
                              corvane::LineInputForm, corvane::LineInputEditor,
                              corvane::LineInputVertical | corvane::LineInputStartEnd};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  if (size == 0) return 0;
  fuzz::prepareProcess();
  const std::uint8_t options = data[0];
  const std::string_view bytes = fuzz::asText(data + 1, size - 1);

  const std::vector<InputRecord> whole = decode(bytes, options, false);
  FUZZ_CHECK(sameRecords(whole, decode(bytes, options, true)), bytes);

  resetKeyReader();
  resetLineInputState();
  resetHistory();
  setInsertMode((options & 8) != 0);
  HeadlessConsole& console = fuzz::fuzzConsole();
  console.input.assign(whole.begin(), whole.end());
  const int flags = FieldFlags[(options >> 4) % std::size(FieldFlags)];
  constexpr int MaxLength = 40;
  std::string text = "preset";
  while (!console.input.empty()) {
    int cursor = 0;
    lineInput(1, 1, 20, text, MaxLength, flags, cursor);
    FUZZ_CHECK(text.size() <= MaxLength, text);
    FUZZ_CHECK(cursor >= 0 && static_cast<std::size_t>(cursor) <= textChars(text), text);
  }
  resetKeyReader();
  return 0;
}
