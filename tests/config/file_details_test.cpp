// The file details dialog on real files: attribute keys change the file at once, a refused
// change beeps and shows what the file has, a new time is checked before it is written; and
// the colour dialog with the two colour sets.
#include "config/file_details.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "config/color_dialog.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/find.h"
#include "support/headless_fixture.h"
#include "support/temp_tree.h"

namespace corvane::testing {
namespace {

class DialogTest : public HeadlessTest {
 protected:
  DialogTest() { initDriveMap(("T=" + tree_.root()).c_str()); }
  ~DialogTest() override { initDriveMap(nullptr); }

  // Each step checks what the keys before did and pushes the next keys.
  void script(std::vector<std::function<void()>> steps) {
    steps_ = std::move(steps);
    next_ = 0;
    console_.onInputExhausted = [this](HeadlessConsole& console) {
      while (next_ < steps_.size()) {
        steps_[next_++]();
        if (!console.input.empty()) return;
      }
      ADD_FAILURE() << "the dialog read more keys than the script has";
    };
  }
  bool shows(std::string_view text) const {
    for (int row = 0; row < console_.rows; ++row)
      if (console_.shownRow(row).find(text) != std::string::npos) return true;
    return false;
  }

  TempTree tree_;
  std::vector<std::function<void()>> steps_;
  std::size_t next_ = 0;
};

TEST_F(DialogTest, AttributeKeysChangeTheFileAndARefusalShowsWhatItHas) {
  tree_.writeFile("report.txt", "x");
  tree_.writeFile(".profile", "x");
  script({
      [&] {
        EXPECT_TRUE(shows(" File : report.txt"));
        EXPECT_TRUE(shows(" Attr : ...."));
        console_.pushText("r");
      },
      [&] {
        EXPECT_EQ(getAttributes("T:\\report.txt") & AttrReadOnly, AttrReadOnly);
        EXPECT_TRUE(shows(" Attr : ..R."));
        console_.pushText("R");
      },
      [&] {
        EXPECT_EQ(getAttributes("T:\\report.txt") & AttrReadOnly, 0);
        console_.pushKey(key::Enter);
      },
  });
  EXPECT_EQ(fileDetailsDialog("T:\\report.txt", "report.txt"), key::Enter);

  // A name beginning with "." stays hidden: the change is refused.
  script({
      [&] {
        EXPECT_TRUE(shows(" Attr : H..."));
        console_.pushText("h");
      },
      [&] {
        EXPECT_EQ(console_.beeps, 1);
        EXPECT_TRUE(shows(" Attr : H..."));
        console_.pushKey(key::Escape);
      },
  });
  EXPECT_EQ(fileDetailsDialog("T:\\.profile", ".profile"), key::Escape);
  EXPECT_EQ(attributeText(AttrReadOnly | AttrArchive), "..RA");
}

TEST_F(DialogTest, ANewTimeIsWrittenOnlyWhenItExists) {
  tree_.writeFile("a.txt", "x");
  tree_.makeDir("dir");
  const auto setTime = [&](std::string_view time, std::string_view date) {
    return [=, this] {
      console_.pushText("t");
      console_.pushText(time);
      console_.pushKey(key::Enter);
      console_.pushText(date);
      console_.pushKey(key::Enter);
    };
  };
  std::uint16_t date = 0, time = 0;
  script({
      setTime("10:30", "29.02.2024"),
      [&] {
        ASSERT_TRUE(getFileTime("T:\\a.txt", date, time));
        EXPECT_EQ(date, (44 << 9) | (2 << 5) | 29);
        EXPECT_EQ(time, (10 << 11) | (30 << 5));
        EXPECT_TRUE(shows(" Time : 10:30"));
        EXPECT_TRUE(shows(" Date : 29.02.2024"));
        EXPECT_EQ(console_.beeps, 0);
      },
      setTime("11:00", "29.02.2023"),
      [&] {
        EXPECT_EQ(console_.beeps, 1);
        std::uint16_t nowDate = 0, nowTime = 0;
        ASSERT_TRUE(getFileTime("T:\\a.txt", nowDate, nowTime));
        EXPECT_EQ(nowDate, date) << "nothing written";
        EXPECT_EQ(nowTime, time);
        EXPECT_TRUE(shows(" Date : 29.02.2024")) << "the file's time shown again";
        console_.pushKey(key::Escape);
      },
  });
  fileDetailsDialog("T:\\a.txt", "a.txt");

  script({[&] { console_.pushText("tX"); },
          [&] {
            EXPECT_EQ(console_.beeps, 3) << "no time for a directory, no key X";
            console_.pushKey(key::Escape);
          }});
  fileDetailsDialog("T:\\dir", "dir");
}

TEST(DosDateTime, TypedTimesAndDatesAreChecked) {
  struct Case {
    std::string_view time, date;
    bool valid;
  };
  const Case cases[] = {
      {"23:59", "31.12.2107", true},  {" 0:00", " 1.01.1980", true},
      {"24:00", "01.01.2000", false}, {"12:60", "01.01.2000", false},
      {"12:00", "31.04.2000", false}, {"12:00", "29.02.1900", false},
      {"12:00", "01.13.2000", false}, {"12:00", "01.01.1979", false},
      {"12:00", "01.01.2108", false}, {"12:00x", "01.01.2000", false},
      {"", "01.01.2000", false},      {"12:00", "1.1", false},
  };
  for (const Case& c : cases) {
    std::uint16_t date = 0, time = 0;
    EXPECT_EQ(parseDosDateTime(c.time, c.date, date, time), c.valid) << c.time << " " << c.date;
  }
}

TEST_F(DialogTest, ColoursWrapAndOnlyEnterStoresThem) {
  colorSlots()[ColorInfoWindow] = 0x0F;  // white on black
  script({
      [&] {
        console_.pushKeys({key::Down, key::Left});
      },
      [&] {
        EXPECT_TRUE(shows("FG : Black"));
        EXPECT_TRUE(shows("BG : White"));
        EXPECT_TRUE(shows("BG Cursor <>, FG \u2191\u2193"));
        EXPECT_EQ(imageAttr(screenColumns() / 2, 15), 0xF0) << "the box in the colour edited";
        console_.pushKey(key::Enter);
      },
  });
  EXPECT_TRUE(editColor(ColorInfoWindow));
  EXPECT_EQ(color(ColorInfoWindow), 0xF0);

  script({[&] { console_.pushKeys({key::Up, key::Right, key::Escape}); }});
  EXPECT_FALSE(editColor(ColorInfoWindow));
  EXPECT_EQ(color(ColorInfoWindow), 0xF0);

  colorSlots()[ColorSlot22] = 0x42;
  script({[&] { console_.pushText("n"); }});
  EXPECT_FALSE(setColorSet(ColorSet::Monochrome));
  EXPECT_EQ(color(ColorInfoWindow), 0xF0);
  script({[&] { console_.pushText("y"); }});
  EXPECT_TRUE(setColorSet(ColorSet::Monochrome));
  EXPECT_EQ(colorSlots()[ColorMainWindow], monochromeColorSet()[ColorMainWindow]);
  EXPECT_EQ(colorSlots()[ColorSlot22], 0x42);
}

}  // namespace
}  // namespace corvane::testing
