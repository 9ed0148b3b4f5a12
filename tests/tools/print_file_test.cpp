#include "tools/print_file.h"

#include <unistd.h>

#include <chrono>

#include "fileops/fileops_fixture.h"
#include "fileops/fileops_texts.h"
#include "support/scoped_env.h"
#include "tools/tools_texts.h"

namespace corvane {
namespace {

using testing::FileopsTest;
using testing::ScopedEnv;

class PrintFileTest : public FileopsTest {
 protected:
  PrintFileTest() {
    setupBlock().printerPort.set(1);
    setPreference(5, false);
  }
  int countText(std::string_view text) const {
    int count = 0;
    for (std::size_t read = 0; read < screen_.screens.size(); ++read)
      for (int row = 0; row < screen_.rows; ++row)
        if (screen_.rowAtRead(static_cast<int>(read), row).find(text) != std::string::npos) {
          ++count;
          break;
        }
    return count;
  }
};

TEST_F(PrintFileTest, FilesAndCommandsGetTheBytesAndAFormFeed) {
  std::string content;
  for (int i = 0; i < 2500; ++i) content += static_cast<char>('a' + i % 26);
  ASSERT_TRUE(t_.writeFile("page.txt", content));
  {
    // Port 9 is port 1; a file port is appended to, so both printouts stay.
    ScopedEnv port("CORVANE_LPT1", u_.host("printer.out").c_str());
    setupBlock().printerPort.set(9);
    EXPECT_EQ(printFile("T:\\page.txt"), PrintDone);
    setupBlock().printerPort.set(0);
    EXPECT_EQ(printFile("T:\\page.txt"), PrintDone);
    EXPECT_EQ(u_.readFile("printer.out"), content + "\f" + content + "\f");
  }
  {
    ScopedEnv port("CORVANE_LPT1", ("|cat > '" + u_.host("piped.out") + "'").c_str());
    EXPECT_EQ(printFile("T:\\page.txt"), PrintDone);
    EXPECT_EQ(u_.readFile("piped.out"), content + "\f");
  }
  EXPECT_EQ(countText(std::string(TextWriteError)), 0);
}

TEST_F(PrintFileTest, APortThatFailsIsReportedOnceAndStopsTheFile) {
  ASSERT_TRUE(t_.writeFile("page.txt", std::string(300000, 'x')));
  {
    ScopedEnv port("CORVANE_LPT1", "|false");
    dismiss();
    EXPECT_EQ(printFile("T:\\page.txt"), PrintPortFailed);
    EXPECT_EQ(countText(std::string(TextWriteError)), 1);
  }
  {
    const std::string missing = "/nonexistent-corvane/out";
    ScopedEnv port("CORVANE_LPT1", missing.c_str());
    dismiss();
    EXPECT_EQ(printFile("T:\\page.txt"), PrintPortFailed);
    EXPECT_TRUE(sawText("File open error LPT1 (" + missing + ": No such file or directory)"));
  }
  {
    ScopedEnv port("CORVANE_LPT1", nullptr);
    ScopedEnv other("CORVANE_LPT3", nullptr);
    setupBlock().printerPort.set(3);
    dismiss();
    // /dev/lp2 is not there on a test machine; where it is, it is not writable by tests.
    EXPECT_EQ(printFile("T:\\page.txt"), PrintPortFailed);
    EXPECT_TRUE(sawText("File open error LPT3 (/dev/lp2: "));
  }
}

TEST_F(PrintFileTest, EscapeGivesUpAPortThatTakesNothing) {
  // One block, then the command is waited for; a file larger than the pipe takes Esc
  // between blocks.
  ASSERT_TRUE(t_.writeFile("small.txt", std::string(500, 'x')));
  ASSERT_TRUE(t_.writeFile("large.txt", std::string(1 << 20, 'x')));
  ScopedEnv port("CORVANE_LPT1", "|sleep 30");
  for (const char* name : {"T:\\small.txt", "T:\\large.txt"}) {
    answerKeys({key::Escape, 'y'});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(printFile(name), PrintCancelled) << name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << name;
  }
  EXPECT_EQ(countText(" Cancel operation ? "), 2);
  EXPECT_EQ(countText(std::string(TextWriteError)), 0);
}

TEST_F(PrintFileTest, SelectedFilesStopAtTheFirstPortFailure) {
  ASSERT_TRUE(t_.writeFile("a.txt", "first"));
  ASSERT_TRUE(t_.writeFile("b.txt", "second"));
  SelectedFilesRun run;
  SelectedFile a, b;
  a.path = "T:\\a.txt";
  a.entry.name = "a.txt";
  b.path = "T:\\b.txt";
  b.entry.name = "b.txt";
  {
    ScopedEnv port("CORVANE_LPT1", u_.host("out").c_str());
    run.confirm = true;
    answer("ny");
    EXPECT_EQ(printSelectedFile(run, a), SelectedKept);
    EXPECT_EQ(printSelectedFile(run, b), SelectedHandled);
    EXPECT_TRUE(sawText("Print 'a.txt' ? "));
    EXPECT_EQ(u_.readFile("out"), "second\f");
  }
  ScopedEnv port("CORVANE_LPT1", u_.host("none/out").c_str());
  run.confirm = false;
  dismiss();
  EXPECT_EQ(printSelectedFile(run, a), SelectedKept | SelectedStop);
}

}  // namespace
}  // namespace corvane
