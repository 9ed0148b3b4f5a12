#include "config/setup_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "config/config_test_files.h"
#include "config/user_profile.h"
#include "platform/clock.h"
#include "platform/color.h"

namespace corvane {
namespace {

using testing::Bytes;

class SetupFileTest : public testing::TempDirTest {
 protected:
  SetupFileTest() { colorSlots() = defaultColorSet(); }

  // Writes bytes as the setup file, loads it and returns what was saved back.
  Bytes loadAndResave(const Bytes& bytes, bool* read = nullptr) {
    writeBytes(hostPath("corvane.SET"), bytes);
    bool wasRead = loadSetup(programPath("corvane.SET"));
    if (read != nullptr) *read = wasRead;
    Bytes saved = readBytes(hostPath("corvane.SET"));
    EXPECT_EQ(saved.size(), SetupBlockSize);
    saved.resize(SetupBlockSize);
    return saved;
  }
};

TEST_F(SetupFileTest, MissingFileGivesDefaultsAndIsWritten) {
  EXPECT_FALSE(loadSetup(programPath("corvane.SET")));
  Bytes saved = readBytes(hostPath("corvane.SET"));
  ASSERT_EQ(saved.size(), SetupBlockSize);
  EXPECT_EQ(std::memcmp(saved.data(), defaultColorSet().data(), 23), 0);
  EXPECT_EQ(wordAt(saved, 23), 1);
  EXPECT_EQ(wordAt(saved, 598), 5);   // idle
  EXPECT_EQ(wordAt(saved, 600), 1);   // profile
  EXPECT_EQ(wordAt(saved, 1152), 3);  // two lists
  EXPECT_EQ(wordAt(saved, 1160), 3);  // 24 hours, clock on
  EXPECT_EQ(wordAt(saved, 3058), 1);  // LPT1
  EXPECT_EQ(wordAt(saved, 3060), 1);  // COMMANDER
  for (int i = 0; i < 200; ++i) ASSERT_EQ(wordAt(saved, 3066 + 2 * i), 1) << "switch " << i;
  EXPECT_EQ(preference(15), 1);
  EXPECT_FALSE(setupChanged());
}

TEST_F(SetupFileTest, ZeroFileKeepsBuiltInColoursAndIsRewrittenWithVersion) {
  colorSlots()[ColorNormal] = 0x42;  // the live table stays as it is
  bool read = false;
  Bytes saved = loadAndResave(Bytes(SetupBlockSize, 0), &read);
  EXPECT_TRUE(read);
  EXPECT_EQ(colorSlots()[ColorNormal], 0x42);
  EXPECT_EQ(saved[ColorNormal], 0x42);
  EXPECT_EQ(setupBlock().idleMinutes.get(), 5);
  EXPECT_EQ(std::memcmp(&saved[1144], "2.2 \0\0\0\0", 8), 0);
  EXPECT_EQ(wordAt(saved, 1152), 0);  // a stored single list stands
  EXPECT_EQ(wordAt(saved, 1160), 1);  // 24 hours forced on
  EXPECT_EQ(wordAt(saved, 3060), 1);
  EXPECT_EQ(preference(5), 0);  // the file's switches, not the defaults
}

TEST_F(SetupFileTest, ShortFileOverwritesOnlyAsFarAsItReaches) {
  Bytes bytes(100, 0);
  for (int i = 0; i < 23; ++i) bytes[i] = static_cast<unsigned char>(0x10 + i);
  std::memcpy(&bytes[29], "myedit %s", 9);
  Bytes saved = loadAndResave(bytes);
  for (int i = 0; i < 23; ++i) EXPECT_EQ(colorSlots()[i], 0x10 + i) << "slot " << i;
  EXPECT_EQ(setupBlock().editorCommand.text(), "myedit %s");
  EXPECT_EQ(setupBlock().viewerCommand.text(), "");
  EXPECT_EQ(wordAt(saved, 598), 5);
  EXPECT_EQ(wordAt(saved, 1152), 3);
  EXPECT_EQ(preference(0), 1);
}

TEST_F(SetupFileTest, LongerFileUsesOnlyTheBlock) {
  Bytes bytes(5000, 0);
  putWord(bytes, 598, 12);
  putWord(bytes, 3466, 0x7777);
  Bytes saved = loadAndResave(bytes);
  EXPECT_EQ(readBytes(hostPath("corvane.SET")).size(), SetupBlockSize);
  EXPECT_EQ(wordAt(saved, 598), 12);
}

TEST_F(SetupFileTest, ReservedFieldsAreResetOnlyForAnotherVersion) {
  for (const char* version : {"2.2 ", "2.1 ", ""}) {
    Bytes bytes(SetupBlockSize, 0);
    putWord(bytes, 23, 7);
    putWord(bytes, 25, 8);
    std::memset(&bytes[434], 0xAA, 81);
    putWord(bytes, 1142, 9);
    std::memset(&bytes[1154], 0x55, 4);
    std::memcpy(&bytes[1144], version, std::strlen(version));
    Bytes saved = loadAndResave(bytes);
    bool kept = std::strcmp(version, "2.2 ") == 0;
    EXPECT_EQ(wordAt(saved, 23), kept ? 7 : 1) << version;
    EXPECT_EQ(wordAt(saved, 25), kept ? 8 : 0) << version;
    EXPECT_EQ(saved[500], kept ? 0xAA : 0) << version;
    EXPECT_EQ(wordAt(saved, 1142), kept ? 9 : 0) << version;
    EXPECT_EQ(saved[1157], kept ? 0x55 : 0) << version;
    EXPECT_EQ(std::memcmp(&saved[1144], "2.2 \0\0\0\0", 8), 0) << version;
  }
}

TEST_F(SetupFileTest, UnusableNumbersAreReplaced) {
  struct Case {
    std::size_t offset;
    int stored, loaded;
  } const cases[] = {
      {596, 6, 5},       {596, 5, 5},         {1152, 2, 3},
      {1152, 0xFFFF, 3}, {1152, 1, 1},        {1974, 3, 0},
      {1974, 2, 2},      {1976, 0xFFFF, 0},   {3058, 0, 1},
      {3058, 10, 1},     {3058, 9, 9},        {598, 0xFFFF, 5},
      {598, 30000, 5},   {598, 29999, 29999}, {3060, 2, 1},
      {3062, 4, 0},      {1158, 7, 1},        {1160, 0xFFF2, 3},
      {1972, 5, 0},      {600, 2, 1},         {3266 + 2 * 7, 0x100, 1},
  };
  for (const Case& c : cases) {
    Bytes bytes(SetupBlockSize, 0);
    std::memcpy(&bytes[1144], "2.2 ", 4);
    putWord(bytes, c.offset, c.stored);
    Bytes saved = loadAndResave(bytes);
    EXPECT_EQ(wordAt(saved, c.offset), c.loaded) << "offset " << c.offset << " value " << c.stored;
  }
}

TEST_F(SetupFileTest, TextFieldsWithoutTerminatorsReadWithinTheirField) {
  Bytes saved = loadAndResave(Bytes(SetupBlockSize, 'A'));
  const SetupBlock& b = setupBlock();
  EXPECT_EQ(b.editorCommand.text(), std::string(80, 'A'));
  EXPECT_EQ(b.directories[9].text(), std::string(80, 'A'));
  EXPECT_EQ(functionKeyRecord(b, 17)->comment.text(), std::string(8, 'A'));
  EXPECT_EQ(functionKeyRecord(b, 17)->command.text(), std::string(80, 'A'));
  EXPECT_EQ(saved[29 + 80], 0);
  EXPECT_EQ(saved[602 + 8], 0);  // first function-key comment
  EXPECT_EQ(saved[1978 + 11 * 90 + 89], 0);
  EXPECT_EQ(colorSlots()[0], 'A');
  EXPECT_EQ(wordAt(saved, 23), 1);  // "AAAAAAAA" is not "2.2 "
}

TEST_F(SetupFileTest, RandomFilesLoadIntoUsableSettings) {
  std::mt19937 random(20240611);
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{2000}, SetupBlockSize - 1,
                           SetupBlockSize, std::size_t{9000}}) {
    for (int round = 0; round < 5; ++round) {
      Bytes bytes(size);
      for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
      loadAndResave(bytes);
      const SetupBlock& b = setupBlock();
      EXPECT_LE(b.sortMode.get(), 5);
      EXPECT_TRUE(b.screenLayout.get() <= 1 || b.screenLayout.get() == 3);
      EXPECT_LE(b.fileDisplay.get(), 2);
      EXPECT_LE(b.screenSize.get(), 2);
      EXPECT_GE(b.printerPort.get(), 1);
      EXPECT_LE(b.printerPort.get(), 9);
      EXPECT_GE(b.idleMinutes.get(), 1);
      EXPECT_LT(b.idleMinutes.get(), 30000);
      for (int n = 0; n < 100; ++n) ASSERT_LE(preference(n), 1);
      EXPECT_EQ(b.version.text(), "2.2 ");
    }
  }
}

TEST_F(SetupFileTest, LongPathIsCutInTheBlockButKeptInFull) {
  std::string name;
  for (int i = 0; i < 60; ++i) name += "\xC3\xA9";  // "é" repeated: two bytes each
  name += ".SET";
  std::string path = programPath(name);
  ASSERT_GT(path.size(), 80u);
  loadSetup(path);
  std::string_view stored = setupBlock().setupPath.text();
  EXPECT_GE(stored.size(), 79u);
  EXPECT_LE(stored.size(), 80u);
  EXPECT_EQ(path.compare(0, stored.size(), stored), 0);
  EXPECT_NE(static_cast<unsigned char>(stored.back()), 0xC3);  // no half character
  EXPECT_EQ(loadedSetupPath(), path);
}

TEST_F(SetupFileTest, SaveWritesColoursAndFieldsAtTheirOffsets) {
  loadSetup(programPath("corvane.SET"));
  colorSlots()[22] = 0x5A;
  setupBlock().keyboardLayout.set(1);
  ASSERT_TRUE(setupBlock().viewerCommand.assign("less"));
  ASSERT_TRUE(saveSetup(programPath("corvane.SET")));
  Bytes saved = readBytes(hostPath("corvane.SET"));
  ASSERT_EQ(saved.size(), SetupBlockSize);
  EXPECT_EQ(saved[22], 0x5A);
  EXPECT_EQ(saved[0], defaultColorSet()[0]);
  EXPECT_EQ(wordAt(saved, 3060), 1);
  EXPECT_EQ(std::memcmp(&saved[1144], "2.2 ", 5), 0);
  EXPECT_EQ(std::memcmp(&saved[110], "less", 5), 0);
}

TEST_F(SetupFileTest, UnwritableSetupFileIsIgnored) {
  std::string path = programPath("missing-dir") + "\\corvane.SET";
  EXPECT_FALSE(loadSetup(path));
  EXPECT_FALSE(saveSetup(path));
  EXPECT_EQ(setupBlock().idleMinutes.get(), 5);
  EXPECT_EQ(preference(0), 1);
}

TEST_F(SetupFileTest, ClockAndIdleSettingsReachThePlatform) {
  Bytes bytes(SetupBlockSize, 0);
  putWord(bytes, 598, 7);
  putWord(bytes, 1158, 1);
  loadAndResave(bytes);
  EXPECT_TRUE(statusLineSettings().dayMonthStyle);
  EXPECT_TRUE(statusLineSettings().showSeconds);
  noteActivity();
  advanceTicks(7 * 60 - 1);
  EXPECT_FALSE(idleTimeExpired());
  advanceTicks(1);
  EXPECT_TRUE(idleTimeExpired());
}

TEST_F(SetupFileTest, LoadingShowsEveryCommandWindowEntry) {
  commandWindowFlags().fill(EntryHidden);
  loadSetup(programPath("corvane.SET"));
  for (int i = 0; i < CommandWindowEntryCount; ++i) EXPECT_NE(commandWindowFlags()[i], 0) << i;
  commandWindowFlags() = initialEntryFlags();
}

}  // namespace
}  // namespace corvane
