#include "panels/entry_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "config/setup_block.h"
#include "display_fixture.h"
#include "platform/charset.h"
#include "platform/drive_info.h"

namespace corvane {
namespace {

using testing::dosDate;
using testing::dosTime;

TEST(EntryFormatTest, DatesInBothStylesAndAllForms) {
  struct Case {
    int year, month, day, hour, minute;
    DateStyle style;
    DateForm form;
    const char* text;
  } cases[] = {
      {2003, 7, 4, 14, 5, DateStyle::European, DateForm::LongDisplay, " 04.07.03 14:05 "},
      {2003, 7, 4, 14, 5, DateStyle::TwelveHour, DateForm::LongDisplay, " 07-04-03 02:05p"},
      {2003, 7, 4, 14, 5, DateStyle::European, DateForm::InfoLine, "04.07.03 14:05"},
      {2003, 7, 4, 14, 5, DateStyle::TwelveHour, DateForm::InfoLine, "07-04-03 02:05p"},
      {2003, 7, 4, 14, 5, DateStyle::European, DateForm::ListFile, "  04.07.03  14:05  "},
      {2003, 7, 4, 14, 5, DateStyle::TwelveHour, DateForm::ListFile, "  07-04-03  02:05p "},
      // Around midnight and noon the 12-hour form keeps the hour up to 12:59 with "a".
      {2003, 7, 4, 0, 15, DateStyle::TwelveHour, DateForm::LongDisplay, " 07-04-03 00:15a"},
      {2003, 7, 4, 12, 30, DateStyle::TwelveHour, DateForm::LongDisplay, " 07-04-03 12:30a"},
      {2003, 7, 4, 12, 59, DateStyle::TwelveHour, DateForm::InfoLine, "07-04-03 12:59a"},
      {2003, 7, 4, 13, 0, DateStyle::TwelveHour, DateForm::InfoLine, "07-04-03 01:00p"},
      {2003, 7, 4, 23, 59, DateStyle::TwelveHour, DateForm::ListFile, "  07-04-03  11:59p "},
      {2003, 7, 4, 0, 0, DateStyle::European, DateForm::InfoLine, "04.07.03 00:00"},
      // Two-digit years on both sides of 2000.
      {1980, 1, 1, 0, 0, DateStyle::European, DateForm::InfoLine, "01.01.80 00:00"},
      {1999, 12, 31, 23, 59, DateStyle::European, DateForm::InfoLine, "31.12.99 23:59"},
      {2000, 2, 29, 8, 7, DateStyle::European, DateForm::InfoLine, "29.02.00 08:07"},
      // Past 2099 the year wraps rather than widening the column.
      {2107, 1, 2, 3, 4, DateStyle::European, DateForm::InfoLine, "02.01.07 03:04"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        dateTimeText(dosDate(c.year, c.month, c.day), dosTime(c.hour, c.minute), c.style, c.form),
        c.text)
        << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute;
  }
}

TEST(EntryFormatTest, DateStyleFollowsTheTwentyFourHourClockFlag) {
  SetupBlock& block = setupBlock();
  const std::uint16_t saved = block.clockFlags.get();
  block.clockFlags.set(ClockFlag24Hours | ClockFlagOn);
  EXPECT_EQ(currentDateStyle(), DateStyle::European);
  block.clockFlags.set(ClockFlagOn);
  EXPECT_EQ(currentDateStyle(), DateStyle::TwelveHour);
  block.clockFlags.set(saved);
}

TEST(EntryFormatTest, AttributeLettersAndCompareMarks) {
  EXPECT_EQ(attributeText(0), "....");
  EXPECT_EQ(attributeText(AttrHidden | AttrSystem | AttrReadOnly | AttrArchive), "HSRA");
  EXPECT_EQ(attributeText(AttrReadOnly | AttrDirectory), "..R.");

  struct Case {
    std::uint32_t mark;
    const char* longText;
    char32_t shortChar;
    char listChar;
  } cases[] = {
      {0, "    ", U' ', ' '},
      {MarkSelected, "    ", U' ', ' '},
      {MarkCompareOlder, " OLD", cp437ToUnicode(0x19), 'O'},
      {MarkCompareNewer, " NEW", cp437ToUnicode(0x18), 'N'},
      {MarkCompareMissing, " ---", U'-', '-'},
      {MarkCompareNotLarger, " <<<", U'<', '<'},
      {MarkCompareLarger, " >>>", U'>', '>'},
      {MarkCompareDiffer, " !!!", U'!', '!'},
      // The first bit in table order decides.
      {MarkCompareDiffer | MarkCompareNewer, " NEW", cp437ToUnicode(0x18), 'N'},
      {MarkCompareLarger | MarkCompareMissing | MarkSelected, " ---", U'-', '-'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(compareMarkLong(c.mark), c.longText) << std::hex << c.mark;
    EXPECT_EQ(compareMarkShort(c.mark), c.shortChar) << std::hex << c.mark;
    EXPECT_EQ(compareMarkList(c.mark), c.listChar) << std::hex << c.mark;
  }
}

TEST(EntryFormatTest, SizesNeverOverflowTheirColumn) {
  EXPECT_EQ(sizeColumnText(0), "       0");
  EXPECT_EQ(sizeColumnText(12345), "   12345");
  EXPECT_EQ(sizeColumnText(99999999), "99999999");
  EXPECT_EQ(sizeColumnText(100000000), "100.0 MB");
  // formatSize gives "1.000.0 MB" here, ten characters: cut to whole units.
  EXPECT_EQ(formatSize(1000000000), "1.000.0 MB");
  EXPECT_EQ(sizeColumnText(1000000000), " 1000 MB");
  EXPECT_EQ(sizeColumnText(2147483648ull), "  2.1 GB");
  for (std::uint64_t v : {999999999ull, 1023999999ull, 1000000000000ull, 18446744073709551615ull})
    EXPECT_EQ(sizeColumnText(v).size(), 8u) << v;

  EXPECT_EQ(fitSize(123456, 12), "123.456");
  EXPECT_EQ(fitSize(123456, 6), "123456");
  EXPECT_EQ(fitSize(1234567, 6), "1.2 MB");
  EXPECT_EQ(fitSize(1000000, 6), "1 MB");  // "1000 kB" would take 7
}

TEST(EntryFormatTest, ShortNameColumnsAndCase) {
  Panel panel;
  panel.nameCase = 2;
  const NodeId ab = testing::append(panel.list, testing::fileEntry("ab.c"));
  const NodeId longName = testing::append(panel.list, testing::fileEntry("my.long.name"));
  const NodeId parent = testing::append(panel.list, testing::directoryEntry(".."));
  const NodeId thirteen = testing::append(panel.list, testing::fileEntry("abcdefgh.ijkl"));
  const NodeId twelve = testing::append(panel.list, testing::fileEntry("abcdefgh.ijk"));
  const NodeId noDot = testing::append(panel.list, testing::fileEntry("Makefile"));
  EXPECT_EQ(displayName(panel, ab), "ab      .c");
  EXPECT_EQ(displayName(panel, longName), "my.long.name");
  EXPECT_EQ(displayName(panel, parent), "..");
  EXPECT_EQ(displayName(panel, thirteen), "abcdefgh.ijkl");
  EXPECT_EQ(displayName(panel, twelve), "abcdefgh.ijk");
  EXPECT_EQ(displayName(panel, noDot), "Makefile");
  // Short-name volumes store lower case and show upper case.
  panel.nameCase = 0;
  EXPECT_EQ(displayName(panel, ab), "AB      .C");
  EXPECT_EQ(listFileName(panel, ab), "AB.C");
}

TEST(EntryFormatTest, ColourRules) {
  loadDefaultColors();
  const ColorAttr normal = 0x17;
  auto nodeOf = [](FileEntry e, std::uint32_t mark) {
    FileNode n;
    n.entry = std::move(e);
    n.mark = mark;
    return n;
  };
  auto file = [](const char* name, std::uint8_t attributes = AttrArchive) {
    FileEntry e = testing::fileEntry(name);
    e.attributes = attributes;
    return e;
  };
  auto flipped = [](ColorAttr a) { return static_cast<ColorAttr>(a ^ 0x08); };
  const std::uint8_t hiddenReadOnly = AttrHidden | AttrReadOnly;
  struct Case {
    const char* what;
    FileNode node;
    bool cursor;
    ColorAttr expected;
  } cases[] = {
      {"plain file", nodeOf(file("a.txt"), 0), false, normal},
      {"prog.EXE", nodeOf(file("prog.EXE"), 0), false, color(ColorExecutableFiles)},
      {"run.Bat", nodeOf(file("run.Bat"), 0), false, color(ColorExecutableFiles)},
      {"x.com", nodeOf(file("x.com"), 0), false, color(ColorExecutableFiles)},
      {"prog.exe.txt", nodeOf(file("prog.exe.txt"), 0), false, normal},
      {"exe without dot", nodeOf(file("exe"), 0), false, normal},
      {"directory", nodeOf(testing::directoryEntry("d"), 0), false, color(ColorDirectories)},
      {"selected directory", nodeOf(testing::directoryEntry("d"), MarkSelected), false,
       color(ColorSelectFiles)},
      {"selected file", nodeOf(file("a.txt"), MarkSelected), false, color(ColorSelectFiles)},
      {"selected exe", nodeOf(file("a.exe"), MarkSelected), false, color(ColorSelectFiles)},
      {"cursor file", nodeOf(file("a.txt"), 0), true, color(ColorActFilecursor)},
      {"cursor selected file", nodeOf(file("a.txt"), MarkSelected), true,
       color(ColorQuestionWindow)},
      {"cursor directory", nodeOf(testing::directoryEntry("d"), MarkSelected), true,
       color(ColorSelectDirect)},
      {"hidden read-only selected", nodeOf(file("h.txt", hiddenReadOnly), MarkSelected), false,
       color(ColorSelectFiles)},
      {"hidden read-only", nodeOf(file("h.txt", hiddenReadOnly), 0), false, flipped(normal)},
      {"system exe", nodeOf(file("s.exe", AttrSystem), 0), false,
       flipped(color(ColorExecutableFiles))},
      {"read-only directory", nodeOf(testing::directoryEntry("d"), 0), false,
       color(ColorDirectories)},
      {"hidden directory",
       nodeOf(
           [] {
             FileEntry e = testing::directoryEntry(".git");
             e.attributes |= AttrHidden;
             return e;
           }(),
           0),
       false, flipped(color(ColorDirectories))},
      {"hidden file under the cursor", nodeOf(file("h.txt", AttrHidden), 0), true,
       flipped(color(ColorActFilecursor))},
  };
  for (const Case& c : cases) EXPECT_EQ(entryColor(c.node, c.cursor, normal), c.expected) << c.what;
}

TEST(EntryFormatTest, CellPaddingKeepsWideCharactersWhole) {
  EXPECT_EQ(padCells("abc", 5), "abc  ");
  EXPECT_EQ(padCells("abcdef", 3), "abc");
  EXPECT_EQ(padCells("a\xE6\x97\xA5\xE6\x9C\xAC", 4), "a\xE6\x97\xA5 ");  // 日 fits, 本 not
  EXPECT_EQ(textCells(padCells("\xFF\xFE\x01x", 3)), 3);
  EXPECT_EQ(tailCells("C:\\one\\two\\three", 9), "two\\three");
  EXPECT_EQ(tailCells("short", 9), "short");
}

}  // namespace
}  // namespace corvane
