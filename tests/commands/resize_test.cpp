// The terminal changes its size while the program runs: every state stays, open dialogs
// stay open on top, no key is lost, and a terminal too small says so until it grows or the
// user leaves through the normal exit.
#include <gtest/gtest.h>

#include "commands/loop_fixture.h"
#include "commands/loop_texts.h"
#include "commands/screen_size.h"
#include "panels/selection_texts.h"
#include "platform/clock.h"
#include "platform/textf.h"

namespace corvane::testing {
namespace {

using Names = std::vector<std::string>;

class ResizeTest : public LoopTest {
 protected:
  ResizeTest() {
    useLayout(KeyboardCommander, LayoutTwoLists);
    for (int i = 0; i < 60; ++i) t_.writeFile(textf("file%02d.txt", i), "x");
    u_.writeFile("u.txt", "u");
    KeyReaderHooks hooks;
    hooks.resize = followTerminalSize;
    setKeyReaderHooks(hooks);
    setupPath_ = "U:\\corvane.SET";
  }
  ~ResizeTest() override { setKeyReaderHooks({}); }

  // The text of a screen row as the console shows it.
  std::string row(int r) const { return console_.shownRow(r); }
  Panel& leftPanel() { return *programState().panels[0]; }
  Panel& rightPanel() { return *programState().panels[1]; }
};

TEST_F(ResizeTest, EveryStateStaysAndTheDialogStaysOnTop) {
  setupBlock().preferences[1].set(1);  // Esc asks
  const int result =
      run({
              [&] {
                pushKeys(
                    {key::Down, key::Ins, key::Tab, key::fkey(1, key::ModAlt), key::Tab, key::End});
                pushKeys({key::KeypadPlus});
              },
              [&] {
                ASSERT_TRUE(shows(TextSelectTitle));
                console_.pushResize(100, 30);
              },
              [&] {
                // Redrawn at the new size with the form on top, still waiting for its keys.
                EXPECT_NE(row(2).find("\u2557\u2554"), std::string::npos) << "two halves of 50";
                EXPECT_TRUE(shows(TextSelectTitle));
                pushKeys({key::Escape});
              },
              [&] {
                EXPECT_FALSE(shows(TextSelectTitle));
                EXPECT_EQ(&panel(), &leftPanel()) << "the active panel stays";
                EXPECT_EQ(cursorName(), "file59.txt");
                EXPECT_EQ(selectedNames(), Names{"file01.txt"});
                EXPECT_EQ(panel().displayBits & DisplayModeBits, DisplayShort);
                EXPECT_EQ(rightPanel().displayBits & DisplayModeBits, DisplayLongAttributes);
                // The cursor entry is on screen.
                EXPECT_TRUE(shows("\u25C4file59  .txt"));
                // A burst of sizes, and the key after it is answered.
                console_.pushResize(1, 1);
                console_.pushResize(300, 100);
                console_.pushResize(80, 24);
                pushKeys({key::Up});
              },
              [&] {
                EXPECT_EQ(screenColumns(), 80);
                EXPECT_EQ(screenRows(), 24);
                EXPECT_EQ(cursorName(), "file58.txt");
                EXPECT_TRUE(shows("\u25C4file58  .txt"));
                console_.pushResize(60, 20);
              },
              [&] {
                EXPECT_NE(row(0).find("needs at least 80 x 24 (now 60 x 20)"), std::string::npos);
                EXPECT_TRUE(externalProgramRunning()) << "no status line over the message";
                setupBlock().sortMode.set(1);
                markSetupChanged();
                pushKeys({key::Escape});
              },
              [&] {
                EXPECT_FALSE(externalProgramRunning());
                EXPECT_TRUE(shows(TextExitQuestion));
                console_.pushText("y");
              },
              [&] {
                EXPECT_TRUE(shows(TextSaveSetupQuestion));
                console_.pushText("n");
              },
          },
          "T:\\", "U:\\");
  EXPECT_EQ(result, LoopEnd);
  EXPECT_TRUE(u_.exists("corvane.__S")) << "the last directories written on the way out";
}

TEST_F(ResizeTest, ADisplayModeChangeKeepsTheCursorEntryOnScreen) {
  run({
          [&] {
            for (int i = 0; i < 30; ++i) pushKeys({key::Down});  // the second short column
          },
          [&] {
            EXPECT_TRUE(shows("\u25C4file30  .txt"));
            // Full, then Long: one column of 16 rows (Long leaves the name room to read).
            pushKeys({key::fkey(1, key::ModAlt), key::fkey(1, key::ModAlt)});
          },
          [&] {
            EXPECT_EQ(cursorName(), "file30.txt");
            EXPECT_TRUE(shows("\u2551 file30  .txt")) << "the cursor entry is on the new page";
            EXPECT_FALSE(shows("\u2551 file00  .txt")) << "the first page is gone";
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

TEST_F(ResizeTest, SwitchesLargerThanTheTerminalGiveTheTerminalsSize) {
  int columns = 0, rows = 0;
  setScreenSizeSwitches(0, 50);  // "/Z50"
  EXPECT_TRUE(screenSizeFor(80, 24, columns, rows));
  EXPECT_EQ(rows, 24);
  EXPECT_TRUE(screenSizeFor(132, 60, columns, rows));
  EXPECT_EQ(rows, 50);
  EXPECT_EQ(columns, 132);
  EXPECT_FALSE(screenSizeFor(80, 20, columns, rows));
  setScreenSizeSwitches(90, 20);  // asked for fewer rows than the minimum: allowed
  EXPECT_TRUE(screenSizeFor(100, 30, columns, rows));
  EXPECT_EQ(columns, 90);
  EXPECT_EQ(rows, 20);
  EXPECT_FALSE(screenSizeFor(79, 30, columns, rows));
  setScreenSizeSwitches(0, 0);
}

TEST_F(ResizeTest, WindowLayoutAndArrangementKeepThePanels) {
  run(
      {
          [&] {
            pushKeys({key::Down, key::Ins, key::Tab, key::fkey(1, key::ModAlt), key::ctrl('Q')});
          },
      },
      "T:\\", "U:\\");
  // Ctrl-Q rebuilds; the next run shows the same panels with the right one active.
  programState().innermost = nullptr;
  run({
          [&] {
            EXPECT_EQ(&panel(), &rightPanel());
            EXPECT_EQ(selectedNames(), Names{});
            EXPECT_EQ(rightPanel().displayBits & DisplayModeBits, DisplayLongAttributes);
            pushKeys({key::Tab});
          },
          [&] {
            EXPECT_EQ(selectedNames(), Names{"file01.txt"});
            EXPECT_EQ(cursorName(), "file02.txt");
            pushKeys({key::Escape});
          },
      },
      "T:\\", "U:\\");
}

}  // namespace
}  // namespace corvane::testing
