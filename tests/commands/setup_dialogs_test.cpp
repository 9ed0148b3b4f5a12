// The setup items with dialogs of their own, through the loop: each stores what was entered
// and marks the setup as changed, Esc and values out of range change nothing, and the
// effects follow at once (preferences, command-window labels, colours); the defined
// directories on "." and the file details on "a".
#include <gtest/gtest.h>

#include "commands/loop_fixture.h"
#include "config/setup_file.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/find.h"

namespace corvane::testing {
namespace {

class SetupDialogsTest : public LoopTest {
 protected:
  SetupDialogsTest() {
    t_.writeFile("a.txt", "a");
    t_.makeDir("sub");
    useLayout(KeyboardCorvane, LayoutSingleList);
  }
  // The setup menu with its item n highlighted (0 " ^Programs", separators not counted).
  void setupItem(int n) {
    pushKeys({key::alt('T'), key::Home});
    for (int i = 0; i < n; ++i) pushKeys({key::Down});
    pushKeys({key::Enter});
  }
  void type(std::string_view text) { console_.pushText(text); }
  static constexpr int Programs = 0, Colors = 1, DarkScreen = 3, Preferences = 4, FunctionKeys = 6,
                       Clock = 8, Directories = 9, Confirmations = 15;
};

TEST_F(SetupDialogsTest, LineInputsStoreWhatIsInRange) {
  const std::uint16_t idle = setupBlock().idleMinutes.get();
  run({
      [&] { setupItem(Programs); },
      [&] {
        EXPECT_TRUE(shows("File Differences"));
        type("e");
      },
      [&] {
        EXPECT_TRUE(shows("Editor :"));
        type("nano -w");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_EQ(setupBlock().editorCommand.text(), "nano -w");
        EXPECT_TRUE(setupChanged());
        clearSetupChanged();
        setupItem(Programs);
        type("v");
      },
      [&] {
        type("less");
        pushKeys({key::Escape});
      },
      [&] {
        pushKeys({key::Escape, key::Escape});
      },
      [&] {
        EXPECT_EQ(setupBlock().viewerCommand.text(), "") << "Esc keeps the old value";
        EXPECT_FALSE(setupChanged());
        setupItem(DarkScreen);
      },
      [&] {
        EXPECT_TRUE(shows("Time (min) :"));
        type("10000");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_TRUE(shows("Illegal time"));
        pushKeys({key::Escape, key::Escape});  // the message, the setup menu
        setupItem(DarkScreen);
        type("0");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_TRUE(shows("Illegal time"));
        EXPECT_EQ(setupBlock().idleMinutes.get(), idle);
        pushKeys({key::Escape, key::Escape});
        setupItem(DarkScreen);
        type("15");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_EQ(setupBlock().idleMinutes.get(), 15);
        pushKeys({key::Escape});
      },
      [&] { type("n"); },
  });
}

TEST_F(SetupDialogsTest, SeveralSettingsTakeEffectAtOnce) {
  setupBlock().preferences[13].set(0);
  EXPECT_EQ(run({
                [&] { setupItem(Confirmations); },
                [&] {
                  EXPECT_TRUE(shows("Several Settings"));
                  pushKeys({key::Space, key::Escape});
                },
                [&] {
                  EXPECT_EQ(preference(0), 1) << "Esc changes nothing";
                  EXPECT_FALSE(setupChanged());
                  setupItem(Confirmations);
                },
                [&] {
                  pushKeys({key::Space});  // 0, deleting
                  for (int i = 0; i < 11; ++i) pushKeys({key::Down});
                  pushKeys({key::Space, key::Enter});  // 13, the pulldown in the first line
                },
            }),
            LoopRebuild);
  EXPECT_EQ(preference(0), 0);
  EXPECT_EQ(preference(13), 1);
  EXPECT_EQ(preference(12), 1);
  EXPECT_TRUE(setupChanged());
}

TEST_F(SetupDialogsTest, UserDefinedProfileSwitchesTheLabelsTheyName) {
  run({
      [&] { setupItem(Preferences); },
      [&] {
        type("u");
        EXPECT_TRUE(shows("Professionel"));
      },
      [&] {
        EXPECT_TRUE(shows("Kommanodofenster parametrieren"));
        EXPECT_TRUE(shows("Ausf\u00fchren           (eXe]"));
        pushKeys({key::Space, key::Down, key::Down, key::Down, key::Down, key::Down, key::Space,
                  key::Enter});  // "Autoview (*)" and "Attribute (^Att)"
      },
      [&] {
        EXPECT_EQ(entrySwitch(20), 0);
        EXPECT_EQ(entrySwitch(0), 0);
        EXPECT_EQ(entrySwitch(4), 1);
        EXPECT_EQ(setupBlock().userProfile.get(), ProfileUserDefined);
        EXPECT_FALSE(entryVisible(20));
        EXPECT_FALSE(entryVisible(0));
        EXPECT_TRUE(entryVisible(7));
        EXPECT_FALSE(shows("Att Cop"));
        pushKeys({key::Escape});
      },
      [&] { type("n"); },
  });
}

TEST_F(SetupDialogsTest, FunctionKeyPagesAndDirectories) {
  run({
      [&] { setupItem(FunctionKeys); },
      [&] {
        EXPECT_TRUE(shows("Define Function Keys"));
        EXPECT_TRUE(shows("Page 1 of 3"));
        type("Hi");
        pushKeys({key::Tab});
        type("echo %");
        // Back past the page line to the button.
        pushKeys({key::ShiftTab, key::ShiftTab, key::Enter});
      },
      [&] {
        EXPECT_TRUE(shows("Page 2 of 3"));
        EXPECT_FALSE(shows("echo %"));
        type("P2");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_EQ(setupBlock().functionKeysPage1[0].comment.text(), "Hi");
        EXPECT_EQ(setupBlock().functionKeysPage1[0].command.text(), "echo %");
        EXPECT_EQ(setupBlock().functionKeysPages23[0].comment.text(), "P2");
        pushKeys({'.'});
      },
      [&] {
        EXPECT_EQ(console_.beeps, 1) << "no directory defined";
        setupItem(Directories);
      },
      [&] {
        EXPECT_TRUE(shows("CTRL-F10  :"));
        pushKeys({key::Down, key::Down});
        type("T:\\sub");
        pushKeys({key::Enter});
      },
      [&] {
        EXPECT_EQ(setupBlock().directories[2].text(), "T:\\sub");
        pushKeys({'.'});
      },
      [&] {
        EXPECT_TRUE(shows("Change Directory"));
        type("c");  // the third key's
      },
      [&] {
        EXPECT_EQ(panel().currentDirectory, "T:\\sub");
        pushKeys({key::Escape});
      },
      [&] { type("n"); },
  });
}

TEST_F(SetupDialogsTest, ColourAndClockChangesShowAtOnce) {
  const ColorAttr main = color(ColorMainWindow);
  EXPECT_EQ(run({
                [&] { setupItem(Colors); },
                [&] {
                  EXPECT_TRUE(shows("Monochrome-colors"));
                  pushKeys({key::Down, key::Down, key::Enter});  // "^Main window"
                },
                [&] {
                  EXPECT_TRUE(shows("FG : Light grey"));
                  pushKeys({key::Right, key::Enter});
                },
            }),
            LoopRebuild)
      << "a full redraw in the new colours";
  EXPECT_EQ(color(ColorMainWindow), main + 0x10);
  EXPECT_TRUE(setupChanged());

  const std::uint16_t flags = setupBlock().clockFlags.get();
  run({
      [&] { setupItem(Clock); },
      [&] {
        EXPECT_TRUE(shows("Position in centre"));
        pushKeys({key::Down, key::Space, key::Down, key::Down, key::Space, key::Enter});
      },
      [&] {
        EXPECT_EQ(setupBlock().clockFlags.get(), flags ^ ClockFlag24Hours);
        EXPECT_EQ(setupBlock().clockSeconds.get(), 1);
        EXPECT_TRUE(statusLineSettings().showSeconds);
        EXPECT_EQ(statusLineSettings().dayMonthStyle, (flags & ClockFlag24Hours) == 0);
        pushKeys({key::Escape});
      },
      [&] { type("n"); },
  });
}

TEST_F(SetupDialogsTest, DetailsOfTheCursorEntry) {
  t_.writeFile("sub/a.txt", "a");
  t_.writeFile("sub/b.txt", "b");
  run({
          [&] { pushKeys({'a'}); },  // ".." first
          [&] {
            EXPECT_EQ(console_.beeps, 1);
            pushKeys({key::End, 'a'});
          },
          [&] {
            EXPECT_TRUE(shows(" File : b.txt"));
            type("r");
            pushKeys({key::Enter});
          },
          [&] {
            EXPECT_EQ(getAttributes("T:\\sub\\b.txt") & AttrReadOnly, AttrReadOnly);
            EXPECT_EQ(panel().list.nodes[panel().cursor].entry.attributes & AttrReadOnly,
                      AttrReadOnly);
            EXPECT_EQ(cursorName(), "b.txt");
            // The selected files one after the other: Enter goes on, Esc ends the loop.
            pushKeys({key::Up, '!', key::Down, '!', key::alt('A')});
          },
          [&] { type("n"); },  // " With confirmation ? "
          [&] {
            EXPECT_TRUE(shows(" File : a.txt"));
            type("r");
            pushKeys({key::Enter});
          },
          [&] {
            EXPECT_TRUE(shows(" File : b.txt"));
            pushKeys({key::Escape});
          },
          [&] {
            EXPECT_EQ(getAttributes("T:\\sub\\a.txt") & AttrReadOnly, AttrReadOnly);
            EXPECT_EQ(selectedNames(), std::vector<std::string>{"b.txt"});
            pushKeys({key::Escape});
          },
      },
      "T:\\sub");
}

}  // namespace
}  // namespace corvane::testing
