#include "ui/input_history.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/drives.h"
#include "scripted_console.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using namespace std::string_literals;

// A headless console and a temporary directory mapped as T:, the history file in it.
class InputHistoryTest : public testing::DialogTest {
 protected:
  InputHistoryTest() {
    initDriveMap(("T=" + tree_.root()).c_str());
    resetHistory();
  }
  ~InputHistoryTest() override {
    resetHistory();
    initDriveMap(nullptr);
  }

  std::vector<std::string> texts() {
    std::vector<std::string> out;
    for (int i = 0; i < historyCount(); ++i) out.push_back(historyEntry(i).text);
    return out;
  }

  static constexpr const char* FilePath = "T:\\corvane._C_";
  testing::TempTree tree_;
};

TEST_F(InputHistoryTest, AddingKeepsFiveHundredDistinctTextsNewestLast) {
  for (int i = 0; i < HistoryCapacity; ++i) EXPECT_TRUE(addToHistory("t" + std::to_string(i), 0));
  ASSERT_EQ(historyCount(), HistoryCapacity);
  EXPECT_TRUE(addToHistory("t500", 0));
  ASSERT_EQ(historyCount(), HistoryCapacity);
  EXPECT_EQ(historyEntry(0).text, "t1");
  EXPECT_EQ(historyEntry(HistoryCapacity - 1).text, "t500");
  // An existing text moves to the newest place, nothing is dropped.
  EXPECT_TRUE(addToHistory("t1", 7));
  ASSERT_EQ(historyCount(), HistoryCapacity);
  EXPECT_EQ(historyEntry(0).text, "t2");
  EXPECT_EQ(historyEntry(HistoryCapacity - 1).text, "t1");
  EXPECT_EQ(historyEntry(HistoryCapacity - 1).kind, 7);
}

TEST_F(InputHistoryTest, EmptyAndOverlongTextsAreNotAdded) {
  EXPECT_FALSE(addToHistory("", 0));
  EXPECT_FALSE(addToHistory(std::string(HistoryTextLimit + 1, 'x'), 0));
  EXPECT_TRUE(addToHistory(std::string(HistoryTextLimit, 'x'), 0));
  EXPECT_EQ(historyCount(), 1);
}

TEST_F(InputHistoryTest, FileRoundTripIsByteExact) {
  setHistoryFilePath(FilePath);
  EXPECT_TRUE(historySaving());
  ASSERT_TRUE(addToHistory("ab", 1));
  ASSERT_TRUE(addToHistory("grüße", 0x0203));
  ASSERT_TRUE(addToHistory(std::string(261, 'z'), 0));
  const std::string expected =
      "\x02\x00"s
      "ab"
      "\x01\x00"s
      "\x07\x00"s
      "gr\xC3\xBC\xC3\x9F"
      "e"
      "\x03\x02"s
      "\x05\x01"s +
      std::string(261, 'z') + "\x00\x00"s;
  EXPECT_EQ(tree_.readFile("corvane._C_"), expected);
  EXPECT_EQ(encodeHistory(decodeHistory(expected)), expected);

  // Read again when first needed after the path was set anew.
  resetHistory();
  setHistoryFilePath(FilePath);
  ASSERT_EQ(historyCount(), 3);
  EXPECT_EQ(historyEntry(1).text, "grüße");
  EXPECT_EQ(historyEntry(1).kind, 0x0203);
  ASSERT_TRUE(saveHistory());
  EXPECT_EQ(tree_.readFile("corvane._C_"), expected);
}

TEST_F(InputHistoryTest, WithoutAFileOrWithSavingOffNothingIsWritten) {
  EXPECT_TRUE(addToHistory("memory only", 0));
  EXPECT_FALSE(saveHistory());
  setHistoryFilePath(FilePath);
  setHistorySaving(false);
  EXPECT_TRUE(addToHistory("not saved", 0));
  EXPECT_FALSE(tree_.exists("corvane._C_"));
  EXPECT_EQ(texts(), std::vector<std::string>{"not saved"});  // the old list was forgotten
  // No setup directory: memory only, and no file anywhere.
  setHistoryFilePath("");
  EXPECT_FALSE(historySaving());
  EXPECT_TRUE(addToHistory("nowhere", 0));
  EXPECT_FALSE(saveHistory());
}

// Two instances: what the other one saved since this one read the file is merged in, older
// than what this one added since, and every text stays once.
TEST_F(InputHistoryTest, SavingMergesWhatAnotherInstanceSavedMeanwhile) {
  setHistoryFilePath(FilePath);
  addToHistory("old1", 0);
  addToHistory("old2", 0);
  auto otherInstanceSaves = [&](std::vector<HistoryEntry> list) {
    ASSERT_TRUE(tree_.writeFile("corvane._C_", encodeHistory(list)));
  };
  otherInstanceSaves({{"old1", 0}, {"old2", 0}, {"b1", 3}, {"b2", 0}});
  addToHistory("a1", 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"old1", "old2", "b1", "b2", "a1"}));
  EXPECT_EQ(historyEntry(2).kind, 3);
  otherInstanceSaves({{"old2", 0}, {"b1", 3}, {"b2", 0}, {"old1", 0}, {"a1", 0}, {"b3", 0}});
  addToHistory("b3", 0);  // typed here too: once, as the newest
  addToHistory("a2", 0);
  EXPECT_EQ(texts(), (std::vector<std::string>{"old1", "old2", "b1", "b2", "a1", "b3", "a2"}));
  EXPECT_EQ(decodeHistory(tree_.readFile("corvane._C_")).size(), 7u);
  EXPECT_EQ(tree_.readFile("corvane._C_"),
            encodeHistory(decodeHistory(tree_.readFile("corvane._C_"))));
}

TEST_F(InputHistoryTest, TruncatedFilesAreReadUpToTheLastWholeEntry) {
  const std::vector<HistoryEntry> entries = {{"one", 1}, {"two two", 2}, {"", 3}, {"four", 4}};
  const std::string image = encodeHistory(entries);
  // Entry ends: 2+3+2, then +2+7+2, +2+0+2, +2+4+2.
  const std::size_t ends[] = {7, 18, 22, 30};
  ASSERT_EQ(image.size(), 30u);
  for (std::size_t cut = 0; cut <= image.size(); ++cut) {
    std::size_t whole = 0;
    while (whole < 4 && ends[whole] <= cut) ++whole;
    std::vector<HistoryEntry> read = decodeHistory(std::string_view(image).substr(0, cut));
    ASSERT_EQ(read.size(), whole) << "cut at " << cut;
    for (std::size_t i = 0; i < whole; ++i) {
      EXPECT_EQ(read[i].text, entries[i].text);
      EXPECT_EQ(read[i].kind, entries[i].kind);
    }
  }
  // The same through the file.
  ASSERT_TRUE(tree_.writeFile("corvane._C_", image.substr(0, 25)));
  setHistoryFilePath(FilePath);
  EXPECT_EQ(texts(), (std::vector<std::string>{"one", "two two", ""}));
}

TEST_F(InputHistoryTest, LengthsAboveTheLimitEndTheReading) {
  std::string image = encodeHistory(std::vector<HistoryEntry>{{"kept", 0}});
  image += "\x06\x01"s + std::string(262, 'x') + "\x00\x00"s;  // 262 bytes
  image += encodeHistory(std::vector<HistoryEntry>{{"after", 0}});
  std::vector<HistoryEntry> read = decodeHistory(image);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].text, "kept");
}

TEST_F(InputHistoryTest, GarbageNeverGivesMoreThanTheLimits) {
  std::mt19937 random(7);
  for (int run = 0; run < 200; ++run) {
    std::string image(random() % 4000, '\0');
    for (char& c : image)
      c = static_cast<char>(random() % (run % 2 ? 256 : 8));  // small lengths too
    std::vector<HistoryEntry> read = decodeHistory(image);
    EXPECT_LE(read.size(), static_cast<std::size_t>(HistoryCapacity));
    for (const HistoryEntry& e : read) EXPECT_LE(e.text.size(), HistoryTextLimit);
  }
  // More than 500 entries in a file: the newest 500 are kept.
  std::vector<HistoryEntry> many;
  for (int i = 0; i < 600; ++i) many.push_back({std::to_string(i), 0});
  std::vector<HistoryEntry> read = decodeHistory(encodeHistory(many));
  ASSERT_EQ(read.size(), 500u);
  EXPECT_EQ(read.front().text, "100");
  EXPECT_EQ(read.back().text, "599");
}

TEST_F(InputHistoryTest, PickStartsAtTheNewestAndChoosesWithEnter) {
  addToHistory("alpha", 0);
  addToHistory("beta", 1);
  addToHistory("gamma", 0);
  screen_.pushKeys({key::Up, key::Enter});
  EXPECT_EQ(pickFromHistory(), "beta");
  // The window: title, newest entry highlighted at first, in the Act. filecursor colour.
  bool titled = false;
  int highlightedRow = -1, firstRow = -1;
  for (int row = 0; row < 25; ++row) {
    std::string line = screen_.rowAtRead(0, row);
    if (line.find(HistoryPickTitle) != std::string::npos) titled = true;
    std::size_t at = line.find("alpha");
    if (at != std::string::npos) firstRow = row;
    if (line.find("gamma") != std::string::npos &&
        screen_.attrAtRead(0, static_cast<int>(line.find("gamma")), row) ==
            color(ColorActFilecursor))
      highlightedRow = row;
  }
  EXPECT_TRUE(titled);
  EXPECT_EQ(highlightedRow, firstRow + 2);

  screen_.pushKey(key::Escape);
  EXPECT_EQ(pickFromHistory(), std::nullopt);
  screen_.pushKeys({key::Home, key::Enter});
  EXPECT_EQ(pickFromHistory(0), "alpha");
  screen_.pushKeys({key::Enter});
  EXPECT_EQ(pickFromHistory(1), "beta");        // only entries of that kind
  EXPECT_EQ(pickFromHistory(9), std::nullopt);  // none: a beep, no window
  EXPECT_EQ(screen_.beeps, 1);
}

TEST_F(InputHistoryTest, DelRemovesEntriesAndTheFileIsRewrittenOnClose) {
  setHistoryFilePath(FilePath);
  addToHistory("alpha", 0);
  addToHistory("beta", 0);
  addToHistory("gamma", 0);
  const std::string before = tree_.readFile("corvane._C_");
  // Del on "gamma" leaves "beta" highlighted; Up, Del removes "alpha"; Enter takes "beta".
  screen_.pushKeys({key::Del, key::Up, key::Del, key::Enter});
  EXPECT_EQ(pickFromHistory(), "beta");
  EXPECT_EQ(texts(), std::vector<std::string>{"beta"});
  EXPECT_NE(tree_.readFile("corvane._C_"), before);
  resetHistory();
  setHistoryFilePath(FilePath);
  EXPECT_EQ(texts(), std::vector<std::string>{"beta"});
  // Deleting the last entry closes the window.
  screen_.pushKeys({key::Del});
  EXPECT_EQ(pickFromHistory(), std::nullopt);
  EXPECT_EQ(historyCount(), 0);
  EXPECT_EQ(tree_.readFile("corvane._C_"), "");
}

TEST_F(InputHistoryTest, PickWindowTakesClicksAndGivesBackTheCallersZones) {
  const MouseZone callerZones[] = {{.x1 = 0, .y1 = 0, .x2 = 3, .y2 = 0, .leftCode = 'q'}};
  registerMouseZones(callerZones);
  for (const char* text : {"one", "two", "three"}) addToHistory(text, 0);
  // A first run shows where the window stands.
  screen_.pushKey(key::Escape);
  EXPECT_EQ(pickFromHistory(), std::nullopt);
  int row = -1, column = -1;
  for (int r = 0; r < 25 && row < 0; ++r) {
    std::size_t at = screen_.rowAtRead(0, r).find("one");
    if (at != std::string::npos) row = r, column = static_cast<int>(at);
  }
  ASSERT_GE(row, 0);
  // Two clicks on "one": the first highlights it, the second is a double click and chooses.
  screen_.pushClick(column, row);
  screen_.pushClick(column, row);
  EXPECT_EQ(pickFromHistory(), "one");
  // A click outside the window closes it with nothing.
  screen_.now += 1000;
  screen_.pushClick(0, 24);
  EXPECT_EQ(pickFromHistory(), std::nullopt);
  // The caller's table is active again.
  screen_.pushClick(1, 0);
  EXPECT_EQ(readKey(), 'q');
}

}  // namespace
}  // namespace corvane
