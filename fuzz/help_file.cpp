// The help file and its viewer over any bytes: the viewer shows a page of the file and pages
// through it with keys; a number the page line holds is taken exactly or not at all (a page
// number that does not fit is no page line). Input: a page selector byte, a key count byte,
// that many key selector bytes, then the file.
#include <algorithm>
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

// The digits a page line states after ">", blanks and a sign, without leading zeros ("0" for
// none): what a page number taken from the line must print as.
std::string statedDigits(std::string_view line) {
  std::string_view rest = line.substr(line.find('>') + 1);
  rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) rest.remove_prefix(1);
  rest = rest.substr(0, rest.find_first_not_of("0123456789"));
  rest.remove_prefix(std::min(rest.find_first_not_of('0'), rest.size()));
  return rest.empty() ? "0" : std::string(rest);
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
      const long long magnitude = *number < 0 ? -static_cast<long long>(*number) : *number;
      FUZZ_CHECK(statedDigits(line) == std::to_string(magnitude), line);
    }
    begin = end + 1;
  }
  console.input.clear();
  return 0;
}
