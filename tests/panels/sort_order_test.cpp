#include "panels/sort_order.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "panels/list_test_helpers.h"
#include "panels/name_fold.h"

namespace corvane {
namespace {

using testing::append;
using testing::chainConsistent;
using testing::directoryEntry;
using testing::fileEntry;
using testing::names;

constexpr std::uint64_t ThreeGigabytes = 3ull << 30;

struct OrderCase {
  const char* label;
  SortMode mode;
  std::vector<FileEntry> delivered;
  const char* expected;
};

std::vector<OrderCase> orderCases() {
  return {
      {"Name: directories first by name, equal names in delivery order",
       SortMode::Name,
       {fileEntry("b.txt"), directoryEntry("zdir"), fileEntry("A.txt"), directoryEntry("Adir"),
        fileEntry("a.TXT"), directoryEntry("..")},
       ".. Adir zdir A.txt a.TXT b.txt"},
      {"Size: larger first, equal sizes by name, 3 GB above all",
       SortMode::Size,
       {fileEntry("b", 100), fileEntry("a", 100), fileEntry("c", ThreeGigabytes), fileEntry("d", 5),
        directoryEntry("x"), fileEntry("e", 0x7FFFFFFF)},
       "x c e a b d"},
      {"Date: newest first, time breaks ties, then name",
       SortMode::Date,
       {fileEntry("m", 0, 0x5000, 0x100), fileEntry("k", 0, 0x5000, 0x200),
        fileEntry("z", 0, 0x5100, 0), fileEntry("a", 0, 0x5100, 0)},
       "a z k m"},
      {"Extension: from the first dot, names without extension last",
       SortMode::Extension,
       {fileEntry("readme"), fileEntry("zeta.txt"), fileEntry("a.b.c"), fileEntry("b.c"),
        fileEntry("Makefile"), fileEntry("x.TXT"), directoryEntry("d.z"), directoryEntry("c")},
       "c d.z a.b.c b.c x.TXT zeta.txt Makefile readme"},
      {"Unsorted: files in delivery order, directories still by name",
       SortMode::Unsorted,
       {fileEntry("z"), directoryEntry("q"), fileEntry("a"), directoryEntry("b"), fileEntry("m")},
       "b q z a m"},
      {"Mode inserts by name",
       SortMode::Mode,
       {fileEntry("b"), fileEntry("a"), directoryEntry("c")},
       "c a b"},
  };
}

TEST(SortOrder, InsertionRuleGivesTheSameOrderOneByOneAndInBulk) {
  for (const OrderCase& c : orderCases()) {
    FileList oneByOne;
    for (const FileEntry& e : c.delivered) insertSorted(oneByOne, e, 0, c.mode);
    EXPECT_EQ(names(oneByOne), c.expected) << c.label << " (one by one)";
    EXPECT_TRUE(chainConsistent(oneByOne)) << c.label;

    FileList bulk;
    for (const FileEntry& e : c.delivered) append(bulk, e);
    sortList(bulk, c.mode);
    EXPECT_EQ(names(bulk), c.expected) << c.label << " (bulk)";
    EXPECT_TRUE(chainConsistent(bulk)) << c.label;

    FileList batch;
    std::vector<PendingEntry> pending;
    for (const FileEntry& e : c.delivered) pending.push_back({e, 0});
    insertEntries(batch, pending, c.mode);
    EXPECT_EQ(names(batch), c.expected) << c.label << " (batch)";
  }
}

TEST(SortOrder, FirstEntryBehindAPlaceholderTakesItOver) {
  FileList list;
  FileEntry placeholder = directoryEntry("..");
  const NodeId p = append(list, placeholder, MarkError);
  EXPECT_EQ(insertSorted(list, fileEntry("f"), 0, SortMode::Name), p);
  EXPECT_EQ(names(list), "f");
  EXPECT_EQ(list.nodes[p].mark, 0u);

  // A directory that sorts before ".." does not reach the end; the file after it does.
  FileList batch;
  append(batch, placeholder, MarkError);
  insertEntries(batch, {{directoryEntry("!"), 0}, {fileEntry("f"), 0}}, SortMode::Name);
  EXPECT_EQ(names(batch), "! f");
  EXPECT_TRUE(chainConsistent(batch));
}

// The re-sort rule written out independently: must q come before its predecessor p?
bool resortRule(const FileNode& q, const FileNode& p, SortMode mode) {
  const bool qd = q.entry.isDirectory(), pd = p.entry.isDirectory();
  if (qd != pd) return qd;
  const int byName = compareFolded(q.entry.name, p.entry.name);
  switch (mode) {
    case SortMode::Name:
      return byName < 0;
    case SortMode::Size:
      if (q.entry.size != p.entry.size) return p.entry.size < q.entry.size;
      return byName < 0;
    case SortMode::Date: {
      const auto stamp = [](const FileEntry& e) { return (e.date << 16) | e.time; };
      if (stamp(q.entry) != stamp(p.entry)) return stamp(p.entry) < stamp(q.entry);
      return byName < 0;
    }
    case SortMode::Extension: {
      const std::string_view qe = extensionOf(q.entry.name), pe = extensionOf(p.entry.name);
      if (!qe.empty() && pe.empty()) return true;
      if (qe.empty() || pe.empty()) return false;
      const int byExtension = compareFolded(qe, pe);
      return byExtension != 0 ? byExtension < 0 : byName < 0;
    }
    case SortMode::Mode:
      if (q.mark != p.mark) return p.mark < q.mark;
      return byName < 0;
    case SortMode::Unsorted:
      return false;
  }
  return false;
}

// Exchange passes until nothing moves: the reference for resortList.
void bubbleResort(FileList& list, SortMode mode) {
  for (bool exchanged = true; exchanged;) {
    exchanged = false;
    for (NodeId q = nextNode(list, list.head); q != NoNode; q = nextNode(list, q)) {
      FileNode& qn = list.nodes[q];
      FileNode& pn = list.nodes[qn.prev];
      if (resortRule(qn, pn, mode)) {
        std::swap(qn.entry, pn.entry);
        std::swap(qn.mark, pn.mark);
        std::swap(qn.directory, pn.directory);
        exchanged = true;
      }
    }
  }
}

// A signature of the whole list, to compare two lists entry by entry.
std::string signature(const FileList& list) {
  std::string out;
  for (NodeId id : chain(list)) {
    const FileNode& n = list.nodes[id];
    out += n.entry.name + "/" + std::to_string(n.entry.size) + "/" + std::to_string(n.entry.date) +
           "/" + std::to_string(n.mark) + "/" + (n.entry.isDirectory() ? "d" : "f") + " ";
  }
  return out;
}

FileEntry randomEntry(std::mt19937& rng) {
  static const char* const stems[] = {"a",     "B",    "a.c",   "A.C", "b.txt", "readme",
                                      "x.y.z", "Zeta", "m.TXT", "..",  "c.",    "q"};
  FileEntry e;
  e.name = stems[rng() % std::size(stems)];
  e.size = (rng() % 4) * 100 + ((rng() % 8) == 0 ? ThreeGigabytes : 0);
  e.date = static_cast<std::uint16_t>(0x5000 + rng() % 3);
  e.time = static_cast<std::uint16_t>(rng() % 2);
  e.attributes = (rng() % 4) == 0 ? AttrDirectory : AttrArchive;
  return e;
}

constexpr SortMode AllModes[] = {SortMode::Name,      SortMode::Size, SortMode::Date,
                                 SortMode::Extension, SortMode::Mode, SortMode::Unsorted};

TEST(SortOrder, ResortEqualsExchangePassesForEveryMode) {
  std::mt19937 rng(7);
  for (int round = 0; round < 60; ++round) {
    for (SortMode mode : AllModes) {
      FileList stable, reference;
      const int count = 1 + static_cast<int>(rng() % 25);
      for (int i = 0; i < count; ++i) {
        const FileEntry e = randomEntry(rng);
        const std::uint32_t mark =
            (rng() % 3 == 0 ? MarkSelected : 0) | (rng() % 5 == 0 ? MarkCompareNewer : 0);
        append(stable, e, mark);
        append(reference, e, mark);
      }
      resortList(stable, mode);
      bubbleResort(reference, mode);
      ASSERT_EQ(signature(stable), signature(reference))
          << "mode " << static_cast<int>(mode) << " round " << round;
    }
  }
}

TEST(SortOrder, BatchInsertionMatchesOneByOneAlsoAfterAResort) {
  std::mt19937 rng(11);
  for (int round = 0; round < 60; ++round) {
    for (SortMode mode : AllModes) {
      for (SortMode resortedBy : {mode, SortMode::Mode, SortMode::Size, SortMode::Extension}) {
        FileList oneByOne, batch;
        const int count = static_cast<int>(rng() % 20);
        for (int i = 0; i < count; ++i) {
          const FileEntry e = randomEntry(rng);
          const std::uint32_t mark = rng() % 3 == 0 ? MarkSelected : 0;
          insertSorted(oneByOne, e, mark, mode);
          insertSorted(batch, e, mark, mode);
        }
        resortList(oneByOne, resortedBy);
        resortList(batch, resortedBy);

        std::vector<PendingEntry> pending;
        const int more = 1 + static_cast<int>(rng() % 12);
        for (int i = 0; i < more; ++i) {
          PendingEntry p{randomEntry(rng), rng() % 2 == 0 ? MarkSelected : 0u};
          insertSorted(oneByOne, p.entry, p.mark, mode);
          pending.push_back(std::move(p));
        }
        insertEntries(batch, std::move(pending), mode);
        ASSERT_EQ(signature(batch), signature(oneByOne))
            << "mode " << static_cast<int>(mode) << " resorted by " << static_cast<int>(resortedBy)
            << " round " << round;
        ASSERT_TRUE(chainConsistent(batch));
      }
    }
  }
}

TEST(SortOrder, ResortByModeGathersSelectedEntriesKeepingNameOrder) {
  FileList list;
  for (const char* n : {"a", "b", "c", "d"})
    append(list, fileEntry(n), (n[0] == 'a' || n[0] == 'c') ? MarkSelected : 0);
  append(list, directoryEntry("x"));
  append(list, directoryEntry("y"), MarkSelected);
  resortList(list, SortMode::Mode);
  EXPECT_EQ(names(list), "y x a c b d");
}

TEST(SortOrder, ResortOrdersDirectoriesByTheModeKey) {
  FileList list;
  FileEntry small = directoryEntry("a");
  FileEntry large = directoryEntry("b");
  large.size = 500;
  append(list, small);
  append(list, large, MarkSizeComputed);
  append(list, fileEntry("f", 1));
  resortList(list, SortMode::Size);
  EXPECT_EQ(names(list), "b a f");
}

TEST(SortOrder, ResortKeepsNodesInPlaceAndMovesTheContents) {
  FileList list;
  append(list, fileEntry("c"));
  append(list, fileEntry("b"), MarkSelected);
  const NodeId third = append(list, fileEntry("a"));
  resortList(list, SortMode::Name);
  EXPECT_EQ(names(list), "a b c");
  EXPECT_EQ(nodeIndex(list, third), 2);
  EXPECT_EQ(list.nodes[third].entry.name, "c");
  EXPECT_EQ(list.nodes[nodeAtIndex(list, 1)].mark, MarkSelected);
}

TEST(SortOrder, ResortByExtensionLeavesNamesWithoutExtensionAsTheyWere) {
  FileList list;
  for (const char* n : {"zz", "aa", "m.c", "Q"}) append(list, fileEntry(n));
  resortList(list, SortMode::Extension);
  EXPECT_EQ(names(list), "m.c zz aa Q");

  FileList unsorted;
  for (const char* n : {"f1", "d2", "f0", "d1"})
    append(unsorted, n[0] == 'd' ? directoryEntry(n) : fileEntry(n));
  resortList(unsorted, SortMode::Unsorted);
  EXPECT_EQ(names(unsorted), "d2 d1 f1 f0");
}

TEST(SortOrder, InsertionUsesItsOwnRuleOnAResortedList) {
  // After a re-sort by Mode the selected "d" leads; a new "c" goes before the first file
  // whose name is greater, which is that "d".
  FileList list;
  insertSorted(list, fileEntry("a"), 0, SortMode::Mode);
  insertSorted(list, fileEntry("d"), MarkSelected, SortMode::Mode);
  resortList(list, SortMode::Mode);
  EXPECT_EQ(names(list), "d a");
  insertEntries(list, {{fileEntry("c"), 0}}, SortMode::Mode);
  EXPECT_EQ(names(list), "c d a");
}

}  // namespace
}  // namespace corvane
