#include "config/setup_block.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

TEST(SetupBlockTest, TextFieldsRefuseWhatDoesNotFit) {
  SetupText<9> comment;
  ASSERT_TRUE(comment.assign("12345678"));
  EXPECT_EQ(comment.text(), "12345678");
  EXPECT_FALSE(comment.assign("123456789"));
  EXPECT_EQ(comment.text(), "12345678");  // unchanged
  EXPECT_FALSE(comment.assign(std::string_view("ab\0c", 4)));
  ASSERT_TRUE(comment.assign("ab"));
  for (int i = 2; i < 9; ++i) EXPECT_EQ(comment.bytes[i], '\0') << i;  // rest zeroed

  SetupCommand command;
  EXPECT_TRUE(command.assign(std::string(80, 'x')));
  EXPECT_FALSE(command.assign(std::string(81, 'x')));
}

TEST(SetupBlockTest, UnterminatedTextStopsAtTheField) {
  SetupBlock block;
  for (char& c : block.version.bytes) c = 'V';
  block.screenLayout.set(0x4141);  // the bytes right behind the version
  EXPECT_EQ(block.version.text(), std::string(7, 'V'));
}

TEST(SetupBlockTest, PreferencesOutOfRangeAndTheChangedMark) {
  clearSetupChanged();
  EXPECT_EQ(preference(-1), 0);
  EXPECT_EQ(preference(100), 0);
  EXPECT_FALSE(setPreference(100, true));
  EXPECT_FALSE(setupChanged());
  ASSERT_TRUE(setPreference(99, false));
  EXPECT_EQ(preference(99), 0);
  EXPECT_EQ(setupBlock().preferences[99].bytes[0], 0);
  EXPECT_TRUE(setupChanged());
  setPreference(99, true);
  EXPECT_EQ(preference(99), 1);
  clearSetupChanged();
}

}  // namespace
}  // namespace corvane
