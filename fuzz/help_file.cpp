// The help file and its viewer over any bytes: the viewer shows a page of the file and pages
// through it with keys; a number the page line holds is taken exactly or not at all (a page
// number that does not fit is no page line). Input: a page selector byte, a key count byte,
// that many key selector bytes, then the file.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "platform/keycodes.h"
#include "ui/help_viewer.h"

namespace {

constexpr corvane::KeyCode Keys[] = {corvane::key::Down,  corvane::key::PgDn, corvane::key::Enter,
                                     corvane::key::Space, corvane::key::F1,   corvane::key::Escape};
constexpr std::size_t MaxKeys = 16;

// The number a page line states: the digits after ">" and an optional sign, exactly (not
// limited to int); nothing when the line is no page line by that rule's first part.
std::optional<long double> statedNumber(std::string_view line) {
  std::size_t pos = line.find_first_not_of(" \t");
  if (pos == std::string_view::npos || line[pos] != '>') return std::nullopt;
  pos = line.find_first_not_of(" \t", pos + 1);
  if (pos == std::string_view::npos) return 0;
  bool negative = false;
  if (line[pos] == '-' || line[pos] == '+') negative = line[pos++] == '-';
  long double number = 0;
  for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos)
    number = number * 10 + (line[pos] - '0');
  return negative ? -number : number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  std::string_view input = fuzz::asText(data, size);
  const int page = input.empty() ? 0 : static_cast<std::uint8_t>(input[0]) % 64;
  if (!input.empty()) input.remove_prefix(1);
  std::size_t keys = input.empty() ? 0 : static_cast<std::uint8_t>(input[0]) % (MaxKeys + 1);
  if (!input.empty()) input.remove_prefix(1);
  keys = std::min(keys, input.size());

  HeadlessConsole& console = fuzz::fuzzConsole();
  console.input.clear();
  for (std::size_t i = 0; i < keys; ++i)
    console.pushKey(Keys[static_cast<std::uint8_t>(input[i]) % std::size(Keys)]);
  const std::string_view file = input.substr(keys);
  setHelpFilePath(fuzz::writeScratchFile("corvane.hlp", file));
  help(page);  // an input that runs out gives Escape

  for (std::size_t begin = 0; begin < file.size();) {
    std::size_t end = file.find('\n', begin);
    if (end == std::string_view::npos) end = file.size();
    const std::string_view line = file.substr(begin, end - begin);
    if (const std::optional<int> number = helpPageNumber(line)) {
      const std::optional<long double> stated = statedNumber(line);
      FUZZ_CHECK(stated && *stated == static_cast<long double>(*number), line);
    }
    begin = end + 1;
  }
  console.input.clear();
  return 0;
}
