#include "panels/mask.h"

#include <gtest/gtest.h>

#include <random>

#include "panels/list_test_helpers.h"

namespace corvane {
namespace {

struct MaskCase {
  const char* mask;
  const char* name;
  bool matches;
};

constexpr MaskCase MaskCases[] = {
    // "*.*" and "*."
    {"*.*", "makefile", true},
    {"*.*", "a.txt", true},
    {"*.", "makefile", true},
    {"*.", "a.txt", false},
    {"*.", "trailing.", true},
    // a final "." limits to names without extension
    {"readme.", "readme", true},
    {"readme.", "README", true},
    {"readme.", "readme.txt", false},
    // "*" spans dots, "?" is exactly one character
    {"*.c", "main.c", true},
    {"*.c", "main.cpp", false},
    {"*.c", "a.b.c", true},
    {"a*", "a", true},
    {"*z*", "abc", false},
    {"?.c", "x.c", true},
    {"?.c", "xy.c", false},
    {"?.txt", "\xC3\xA4.txt", true},   // one UTF-8 character
    {"??.txt", "\xC4\xC5.txt", true},  // two stray bytes are two characters
    // case-insensitive both ways
    {"*.TXT", "notes.txt", true},
    {"NOTES.*", "notes.TxT", true},
    // sets, ranges, negation, escapes
    {"[abc]*", "beta", true},
    {"[abc]*", "delta", false},
    {"[a-f]1", "E1", true},
    {"[!a-f]1", "e1", false},
    {"[!a-f]1", "x1", true},
    {"[\\]]x", "]x", true},
    {"[\\!]x", "!x", true},
    {"[]]x", "]x", true},
    {"[a-", "[a-", true},  // an open set stands for itself
    {"f[0-9][0-9]", "f42", true},
    {"f[0-9][0-9]", "f4x", false},
    // several patterns
    {"*.c;*.h", "x.h", true},
    {"*.c;*.h", "x.o", false},
    // exclusions weighed left to right
    {"<*.bak", "a.bak", false},
    {"<*.bak", "a.txt", true},
    {"<*.bak", "makefile", true},
    {"*.c;<test*", "test.c", false},
    {"*.c;<test*", "main.h", true},  // the unmatched exclusion counts
    {"<test*;*.c", "test.c", false},
    {"*.c;<*.c", "x.c", false},
};

TEST(Mask, MatchesTheTable) {
  for (const MaskCase& c : MaskCases)
    EXPECT_EQ(maskMatches(c.mask, c.name), c.matches) << c.mask << " vs " << c.name;
}

TEST(Mask, CompiledMaskIsReusable) {
  const CompiledMask mask = compileMask("*.cpp;*.h;<*_test.*");
  EXPECT_TRUE(maskMatches(mask, "mask.cpp"));
  EXPECT_TRUE(maskMatches(mask, "mask.h"));
  EXPECT_FALSE(maskMatches(mask, "mask_test.cpp"));
}

TEST(Mask, FirstMatchingNodeFollowsTheChain) {
  FileList list;
  testing::append(list, testing::directoryEntry(".."));
  testing::append(list, testing::fileEntry("a.txt"));
  const NodeId c = testing::append(list, testing::fileEntry("b.C"));
  testing::append(list, testing::fileEntry("z.c"));
  EXPECT_EQ(firstMatchingNode(list, "*.c"), c);
  EXPECT_EQ(firstMatchingNode(list, "*.obj"), NoNode);
}

// "*" before plain ASCII takes a shortcut (a suffix test): it must agree with the general
// matcher ("**..." takes no shortcut) on names of any bytes and either case.
TEST(Mask, SuffixShortcutAgreesWithTheGeneralMatcher) {
  std::mt19937 random(7);
  const std::string pieces[] = {".c", ".C", "c", ".tar.gz", "a", "\xC3\xA9", "\xFF", ".", "x.C"};
  const std::string tails[] = {".c", ".tar.gz", "c", ".", "x.c", "\xC3\xA9.c"};
  for (int round = 0; round < 3000; ++round) {
    std::string name;
    for (int n = static_cast<int>(random() % 4); n >= 0; --n)
      name += pieces[random() % std::size(pieces)];
    const std::string& tail = tails[random() % std::size(tails)];
    for (const std::string& suffix : {tail, tail + "."})
      EXPECT_EQ(patternMatches("*" + suffix, name), patternMatches("**" + suffix, name))
          << "*" << suffix << " against " << name;
  }
}

}  // namespace
}  // namespace corvane
