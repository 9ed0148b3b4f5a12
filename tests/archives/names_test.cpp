#include <gtest/gtest.h>

#include "archives/archiver_names.h"
#include "archives/member_names.h"

namespace corvane {
namespace {

TEST(MemberNames, ListedNamesAreCleanedAndMarked) {
  struct Case {
    std::string_view stored;
    NameEncoding encoding;
    std::string_view listed;
    bool unsafe;
  };
  using E = NameEncoding;
  const Case cases[] = {
      {"sub/deeper/c.txt", E::Utf8IfValid, "sub/deeper/c.txt", false},
      {"win\\path.c", E::Cp437, "win/path.c", false},
      {"../x", E::Utf8IfValid, "x", true},
      {"a/../../etc/passwd", E::Utf8IfValid, "a/etc/passwd", true},
      {"/etc/passwd", E::Utf8IfValid, "etc/passwd", true},
      {"C:\\boot.ini", E::Cp437, "boot.ini", true},
      {"c:x", E::Cp437, "x", true},
      {"a//b", E::Utf8IfValid, "a/b", true},
      {"./a", E::Utf8IfValid, "a", true},
      {".", E::Utf8IfValid, "_", true},
      {"..", E::Utf8IfValid, "_", true},
      {std::string_view("nul\0x", 5), E::Utf8IfValid, "nul?x", true},
      {"bell\a\x7f", E::Utf8IfValid, "bell??", true},
      {".hidden", E::Utf8IfValid, ".hidden", false},
      {"\xc3\xa9t\xc3\xa9", E::Utf8IfValid, "\xc3\xa9t\xc3\xa9", false},  // UTF-8
      {"\x82t\x82", E::Utf8IfValid, "\xc3\xa9t\xc3\xa9", false},          // code page 437
      {"\xc3\xa9", E::Cp437, "\xe2\x94\x9c\xe2\x8c\x90", false},          // as 437 says
      {"\xc3\xa9\x82", E::Utf8, "\xc3\xa9\xc3\xa9", false},  // a stray byte within UTF-8
  };
  for (const Case& c : cases) {
    ArchiveMember member;
    member.storedPath = std::string(c.stored);
    member.encoding = c.encoding;
    const ListedName listed = listedNameOf(member);
    EXPECT_EQ(listed.path, c.listed) << c.stored;
    EXPECT_EQ(listed.unsafe, c.unsafe) << c.stored;
  }
  ArchiveMember truncated;
  truncated.storedPath = "long";
  truncated.truncated = true;
  EXPECT_TRUE(listedNameOf(truncated).unsafe);
}

// Each archiver reads the names after the archive its own way; every name must mean exactly
// itself (measured with zip 3.0, unzip 6.0, ARJ 3.10, lhasa 0.3.1, unar 1.10).
TEST(ArchiverNames, NamesMeanExactlyThemselves) {
  struct Case {
    std::string_view program;
    std::string_view options;
    ArchiverAction action;
    std::string_view name;
    std::string_view options2;  // the options given
    std::string_view words;     // "" when refused
  };
  using A = ArchiverAction;
  const Case cases[] = {
      {"zip", "-q -nw -d", A::Delete, "x[1].txt", "-q -nw -d", "-- 'x[1].txt'"},
      {"zip", "-q -d", A::Delete, "a*b", "-q -d -nw", "-- 'a*b'"},
      {"/usr/bin/zip", "-q", A::Add, "-x", "-q", "-- -x"},
      {"zip", "-q", A::Add, "x?.txt", "-q", ""},
      {"unzip", "-q", A::Extract, "x[1].txt", "-q", "'x[[]1].txt'"},
      {"unzip", "-q", A::Extract, "-x", "-q", "'[-]x'"},
      {"unzip", "-q", A::Extract, "a*b?", "-q", "'a[*]b[?]'"},
      {"unzip", "-q", A::Extract, "a\\b.txt", "-q", ""},
      {"unar", "-q -D", A::Extract, "-x", "-q -D", "'[-]x'"},
      {"arj", "x", A::Extract, "sub/c.txt", "x -p", "-- sub/c.txt"},
      {"arj", "d -y -p1", A::Delete, "-x", "d -y -p1", "-- -x"},
      {"arj", "a -y", A::Add, "x[1].txt", "a -y", "-- 'x[[]1].txt'"},
      {"arj", "x -p", A::Extract, "!list", "x -p", ""},
      {"lhasa", "xq", A::Extract, "x[1].txt", "xq", "'x[1].txt'"},
      {"lhasa", "xq", A::Extract, "-x", "xq", "-x"},
      {"lhasa", "xq", A::Extract, "x?.txt", "xq", ""},
      {"7zz", "x", A::Extract, "plain name.txt", "x", "'plain name.txt'"},
      {"7zz", "x", A::Extract, "@list", "x", ""},
      {"7zz", "x", A::Extract, "a[1]", "x", ""},
  };
  for (const Case& c : cases) {
    const std::string names[] = {std::string(c.name)};
    const ArchiverNames got = archiverNames(c.program, c.options, c.action, names);
    EXPECT_EQ(got.options, c.options2) << c.program << " " << c.name;
    if (c.words.empty()) {
      EXPECT_EQ(got.refused, c.name) << c.program << " " << c.name;
    } else {
      EXPECT_EQ(got.words, c.words) << c.program << " " << c.name;
      EXPECT_TRUE(got.refused.empty()) << c.program << " " << c.name;
    }
  }
}

}  // namespace
}  // namespace corvane
