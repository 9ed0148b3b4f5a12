// User menu files over any bytes: a file that exists is always read, the menu never holds
// more entries than it may show, its title keeps to its length, no label or command holds a
// zero byte or a line break, settings stay within their bounds, and each line is reported at
// most once.
#include "exec/user_menu.h"

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/charset.h"

namespace {

bool holdsBreak(std::string_view text) {
  return text.find_first_of(std::string_view("\0\n", 2)) != std::string_view::npos;
}

bool inBounds(int value) { return value >= -9999 && value <= 9999; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  const std::string_view text = fuzz::asText(data, size);
  const std::string path = fuzz::writeScratchFile("menu.dat", text);
  const std::size_t lines =
      static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;

  for (int limit : {1, userMenuCapacity()}) {
    UserMenu menu;
    std::vector<std::string> problems;
    FUZZ_CHECK(readUserMenu(path, limit, menu, problems), path);
    FUZZ_CHECK(static_cast<int>(menu.entries.size()) <= limit, path);
    FUZZ_CHECK(problems.size() <= lines, path);
    FUZZ_CHECK(textChars(menu.title) <= UserMenuTitleChars && !holdsBreak(menu.title), menu.title);
    FUZZ_CHECK(inBounds(menu.x) && inBounds(menu.y) && inBounds(menu.minimumWidth), path);
    for (const UserMenuEntry& entry : menu.entries) {
      FUZZ_CHECK(!holdsBreak(entry.label) && entry.label.size() <= UserMenuLineLimit, entry.label);
      FUZZ_CHECK(!holdsBreak(entry.command), entry.command);
      FUZZ_CHECK(
          entry.command.empty() || (entry.command.front() != ' ' && entry.command.front() != '\t'),
          entry.command);
      for (int value : {entry.swap, entry.window, entry.windowX, entry.windowY, entry.windowWidth,
                        entry.windowHeight, entry.cursor, entry.wait, entry.parameter})
        FUZZ_CHECK(inBounds(value), entry.label);
    }
  }
  return 0;
}
