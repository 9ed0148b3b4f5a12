#include "viewer/viewer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "config/config_state.h"
#include "config/setup_block.h"
#include "panels/panel_geometry.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "support/follow_resizes.h"
#include "support/headless_fixture.h"
#include "support/temp_tree.h"
#include "ui/ui_state.h"
#include "ui/window.h"
#include "viewer/viewer_state.h"
#include "viewer/viewer_texts.h"

namespace corvane {
namespace {

class ViewerTest : public testing::HeadlessTest {
 protected:
  ViewerTest() {
    initDriveMap(("T=" + tree_.root()).c_str());
    resetKeyReader();
    resetUiState();
    resetConfigState();
    resetViewerState();
  }
  ~ViewerTest() override {
    resetViewerState();
    resetConfigState();
    resetUiState();
    resetKeyReader();
    initDriveMap(nullptr);
  }

  // Runs the viewer; steps run one after the other whenever the scripted keys are used up.
  int view(ViewRequest request, std::vector<std::function<void()>> steps) {
    std::size_t next = 0;
    console_.onInputExhausted = [&](HeadlessConsole& console) {
      while (next < steps.size()) {
        steps[next++]();
        if (!console.input.empty()) return;
      }
      ADD_FAILURE() << "the viewer read more keys than the script has";
      console.pushKey(key::Escape);
    };
    return viewFile(request);
  }
  static ViewRequest file(std::string_view name) {
    ViewRequest request;
    request.fileName = name;
    return request;
  }
  std::string row(int r) const { return console_.shownRow(r); }
  std::string screenText() const {
    std::string text;
    for (int r = 0; r < console_.rows; ++r) text += row(r) + "\n";
    return text;
  }
  void keys(std::initializer_list<KeyCode> codes) { console_.pushKeys(codes); }

  static std::string numberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\n";
    return text;
  }

  testing::TempTree tree_;
};

TEST_F(ViewerTest, CommanderScreenAndItsKeysThenTheScreenAsItWas) {
  ASSERT_TRUE(tree_.writeFile("notes.txt", numberedLines(100)));
  ScopedWindow under;
  ASSERT_EQ(under.open(5, 5, 20, 5, 0x1F, 0x1F, WindowDouble | WindowClear, " under "), 0);
  const ScreenImage before = screenImage();
  const int result = view(
      file("T:\\notes.txt"),
      {
          [&] {
            EXPECT_EQ(row(0), "T:\\notes.txt" + std::string(18, ' ') +
                                  " Delta      0 Size    790  [ ] [ ]" + std::string(16, ' '));
            EXPECT_TRUE(row(24).starts_with(" 1Help   2Wrap   3      4Hex   5Filter")) << row(24);
            EXPECT_TRUE(row(1).starts_with("line 0 "));
            EXPECT_TRUE(row(23).starts_with("line 22 "));
            EXPECT_EQ(imageAttr(0, 0), color(ColorBackground));
            EXPECT_EQ(imageAttr(0, 1), color(ColorInfoWindow));
            EXPECT_EQ(imageAttr(79, 24), color(ColorPulldown));
            keys({key::F2, key::F5, key::PgDn});
          },
          [&] {
            EXPECT_TRUE(row(0).find("Delta    174 Size    790  [*] [W]") != std::string::npos);
            EXPECT_TRUE(row(1).starts_with("line 23 "));
            keys({key::F4, key::End});
          },
          [&] {
            EXPECT_TRUE(row(23).starts_with("00000306 6c 69")) << row(23);  // 790 - 23 * 16 = 0x1a6
            keys({key::F7});
          },
          [&] {
            EXPECT_TRUE(screenText().find(TextSearchFormTitle) != std::string::npos);
            keys({key::Escape, key::F10});
          },
      });
  EXPECT_EQ(result, ViewLeft);
  EXPECT_EQ(screenImage().cells, before.cells);
  EXPECT_EQ(viewerState().filter, FilterPrint);  // the settings live on for the run
  EXPECT_TRUE(viewerState().wordWrap);
}

TEST_F(ViewerTest, MenuBarAndStatusMarksOfTheOtherLayouts) {
  setupBlock().keyboardLayout.set(KeyboardCorvane);
  ASSERT_TRUE(tree_.writeFile("notes.txt", numberedLines(100)));
  const int result =
      view(file("T:\\notes.txt"),
           {
               [&] {
                 EXPECT_TRUE(row(0).starts_with("  File   Position ")) << row(0);
                 EXPECT_TRUE(row(24).starts_with("T:\\notes.txt"));
                 EXPECT_TRUE(row(24).find("[ ] [ ]") != std::string::npos);
                 EXPECT_TRUE(row(24).ends_with(" ▲▼▀▄")) << row(24);
                 console_.pushClick(77, 24);  // ▼: Page Down
               },
               [&] {
                 EXPECT_TRUE(row(1).starts_with("line 23 "));
                 console_.pushClick(10, 10);        // nothing there
                 console_.pushClick(76, 24, true);  // ▲ with the right button: Up
               },
               [&] {
                 EXPECT_TRUE(row(1).starts_with("line 22 "));
                 keys({key::alt('P')});
               },
               [&] {
                 EXPECT_TRUE(screenText().find("End of file  END") != std::string::npos);
                 keys({key::Down, key::Enter});  // "End of file"
               },
               [&] {
                 EXPECT_TRUE(row(23).starts_with("line 99 "));
                 keys({key::alt('F'), 'h'});  // "Hexadezimal"
               },
               [&] {
                 EXPECT_TRUE(row(1).starts_with("00000")) << row(1);
                 keys({'q', key::CtrlHome, key::Escape});
               },
           });
  EXPECT_EQ(result, ViewLeft);
  EXPECT_EQ(console_.beeps, 1);  // "q" only
}

// A hit at the file's start and then search again: the second hit, not the first again; an
// absent string leaves the view where it was.
TEST_F(ViewerTest, SearchAgainAfterAHitAtOffsetZero) {
  ASSERT_TRUE(
      tree_.writeFile("f.txt", "needle\n" + numberedLines(50) + "NEEDLE\n" + numberedLines(50)));
  view(file("T:\\f.txt"),
       {
           [&] {
             keys({key::ctrl('S')});
             console_.pushText("needle");
             keys({key::Enter});
           },
           [&] {
             EXPECT_EQ(viewerState().caseFlag, 0);
             EXPECT_TRUE(row(0).find("Delta      0 ") != std::string::npos) << row(0);
             keys({'n'});
           },
           [&] {
             // Exact case: the upper-case one is no hit, the message says so, the view stays.
             EXPECT_TRUE(screenText().find("String 'needle' not found !") != std::string::npos);
             EXPECT_TRUE(row(0).find("Delta      0 ") != std::string::npos) << row(0);
             // Ignoring case, the same string: from the top line, the first again; then the
             // upper-case one, two lines below the top.
             keys({key::Escape, key::ctrl('I'), key::Enter, key::Space});
           },
           [&] {
             EXPECT_EQ(viewerState().caseFlag, 1);
             EXPECT_TRUE(row(1).starts_with("line 48 ")) << row(1);
             EXPECT_TRUE(row(3).starts_with("NEEDLE"));
             keys({key::Space});
           },
           [&] {
             EXPECT_TRUE(row(3).starts_with("NEEDLE")) << "no third hit: the view stays";
             keys({key::Escape, key::Escape});
           },
       });
}

TEST_F(ViewerTest, EscStopsALongSearch) {
  ASSERT_TRUE(tree_.writeFile("big.txt", std::string(1 << 20, 'x')));
  view(file("T:\\big.txt"),
       {
           [&] {
             keys({key::ctrl('S')});
             console_.pushText("absent");
             keys({key::Enter, key::Escape});  // Esc during the search: " Cancel operation ? "
           },
           [&] {
             EXPECT_TRUE(screenText().find("Cancel operation") != std::string::npos);
             console_.pushText("y");
           },
           [&] {
             EXPECT_TRUE(screenText().find("not found") == std::string::npos);
             EXPECT_TRUE(row(0).find("Delta      0 ") != std::string::npos);
             keys({key::Escape});
           },
       });
}

TEST_F(ViewerTest, SearchResultMode) {
  ASSERT_TRUE(tree_.writeFile("f.txt", numberedLines(40) + "the hit\n" + numberedLines(40)));
  const ScreenImage before = screenImage();
  ViewRequest request = file("T:\\f.txt");
  request.searchString = "absent";
  EXPECT_EQ(view(request, {}), ViewDone);
  EXPECT_EQ(screenImage().cells, before.cells);

  request.searchString = "hit";
  for (KeyCode answer : {'E', 'f', 'I', 's'}) {
    const int result = view(
        request, {
                     [&] {
                       EXPECT_TRUE(row(3).starts_with("the hit"));
                       EXPECT_TRUE(row(23).starts_with("Abort = ESC     File skip   Hexdump"))
                           << row(23);
                       EXPECT_TRUE(row(22).starts_with("line 18 "));  // one row less for the text
                       keys({answer});
                     },
                 });
    EXPECT_EQ(result, answer);
  }
  EXPECT_EQ(viewerState().searchString, "hit");
}

TEST_F(ViewerTest, OnlyRegularFilesOpenAndNothingWaits) {
  ASSERT_EQ(::mkfifo(tree_.host("fifo").c_str(), 0644), 0);
  ASSERT_TRUE(tree_.makeDir("dir"));
  ASSERT_TRUE(tree_.writeFile("secret", "x"));
  for (const char* name : {"T:\\fifo", "T:\\dir", "T:\\missing"}) {
    EXPECT_EQ(view(file(name), {[&] {
                     EXPECT_TRUE(screenText().find(std::string("File open error ") + name) !=
                                 std::string::npos);
                     keys({key::Enter});
                   }}),
              ViewOpenFailed);
  }
  ViewRequest request = file("T:\\fifo");
  ScopedWindow target;
  ASSERT_EQ(target.open(1, 1, 40, 10, 0x07, 0x07, WindowSingle | WindowClear), 0);
  request.target = target.get();
  request.mode = ViewDrawOnce;
  EXPECT_EQ(view(request, {}), ViewOpenFailed);  // Autoview: nothing said, nothing drawn

  ASSERT_EQ(::chmod(tree_.root().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(tree_.host("secret").c_str(), 0), 0);
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
    console_.pushKey(key::Enter);  // the message's key
    _exit(viewFile(file("T:\\secret")) == ViewOpenFailed ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(ViewerTest, InsideAWindowOfTheCaller) {
  ASSERT_TRUE(tree_.writeFile("f.txt", numberedLines(50)));
  ScopedWindow target;
  ASSERT_EQ(target.open(41, 3, 40, 12, 0x30, 0x30, WindowDouble | WindowClear, " D:\\ "), 0);
  ViewRequest request = file("T:\\f.txt");
  request.target = target.get();
  request.mode = ViewDrawOnce;
  request.hex = true;
  EXPECT_EQ(view(request, {}), ViewDone);  // no key read
  EXPECT_EQ(imageText(40, 3, 10), "║00000000 ") << row(3);
  EXPECT_EQ(imageText(40, 2, 10), "╔═════════");
  EXPECT_TRUE(row(0).find("Delta") == std::string::npos);  // no status line in a window

  // A caller's open file is read instead of the name, and stays open.
  FileHandle own(std::fopen(tree_.host("f.txt").c_str(), "rb"));
  request.file = own.get();
  request.fileName = "T:\\not there";
  EXPECT_EQ(view(request, {}), ViewDone);
  EXPECT_EQ(std::fgetc(own.get()), 'l');
  request.file = nullptr;
  // A name of any bytes.
  const std::string odd = "odd\xff\x01name";
  ASSERT_TRUE(tree_.writeFile(odd, "odd content\n"));
  const std::string oddPath = "T:\\" + odd;
  request.fileName = oddPath;
  request.hex = false;
  EXPECT_EQ(view(request, {}), ViewDone);
  EXPECT_EQ(imageText(40, 3, 12), "║odd content");

  request.fileName = "T:\\f.txt";
  request.mode = ViewInWindow;
  for (KeyCode end : {key::Tab, KeyCode('z'), KeyCode('Z'), key::Enter, key::Escape}) {
    const int result = view(request, {[&] {
                              EXPECT_EQ(imageText(40, 3, 7), "║line 0");
                              keys({key::Down, end});
                            }});
    EXPECT_EQ(result, end == key::Enter ? ViewEnter : end == key::Escape ? ViewLeft : end);
    EXPECT_EQ(imageText(40, 3, 7), "║line 1");
  }
}

TEST_F(ViewerTest, ResizeKeepsTheTop) {
  ASSERT_TRUE(tree_.writeFile("f.txt", numberedLines(100)));
  testing::followResizes();
  view(file("T:\\f.txt"), {
                              [&] {
                                keys({key::Down, key::Down});
                              },
                              [&] { console_.pushResize(100, 30); },
                              [&] {
                                EXPECT_TRUE(row(1).starts_with("line 2 "));
                                EXPECT_TRUE(row(28).starts_with("line 29 "));
                                EXPECT_TRUE(row(29).starts_with(" 1Help"));
                                EXPECT_TRUE(row(0).find("Delta     14 ") != std::string::npos)
                                    << row(0);
                                keys({key::Escape});
                              },
                          });
  setKeyReaderHooks({});
}

}  // namespace
}  // namespace corvane
