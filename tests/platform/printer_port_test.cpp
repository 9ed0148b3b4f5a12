#include "platform/printer_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "support/scoped_env.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using testing::ScopedEnv;
using testing::TempTree;

const PrinterWait waitOn = [] { return true; };

TEST(PrinterPortTest, PortsLeadToDevicesFilesOrCommands) {
  ScopedEnv unset("CORVANE_LPT2", nullptr);
  ScopedEnv file("CORVANE_LPT1", "/tmp/printed");
  ScopedEnv command("CORVANE_LPT8", "|lpr -P x");
  EXPECT_EQ(printerTarget(2).destination, "/dev/lp1");
  EXPECT_FALSE(printerTarget(2).configured);
  EXPECT_EQ(printerTarget(9).port, "LPT1");  // out of range: the first port
  EXPECT_EQ(printerTarget(1).destination, "/tmp/printed");
  EXPECT_TRUE(printerTarget(8).command);
  EXPECT_EQ(printerTarget(8).destination, "lpr -P x");
}

TEST(PrinterPortTest, AFileIsCreatedAndAppendedTo) {
  TempTree tree;
  ScopedEnv port("CORVANE_LPT3", tree.host("out").c_str());
  for (const char* text : {"first\r\n", "second\r\n"}) {
    PrinterPort printer;
    ASSERT_TRUE(printer.open(3));
    EXPECT_TRUE(printer.write(text, waitOn));
    EXPECT_TRUE(printer.close(waitOn));
  }
  EXPECT_EQ(tree.readFile("out"), "first\r\nsecond\r\n");
  // A directory cannot be printed to; nothing is made in its place.
  ScopedEnv directory("CORVANE_LPT3", tree.root().c_str());
  PrinterPort printer;
  EXPECT_EQ(printer.open(3).error, EISDIR);
}

TEST(PrinterPortTest, ACommandGetsTheBytesAndItsOutputAndStatusAreKept) {
  TempTree tree;
  const std::string line = "|cat >'" + tree.host("copy") + "'; echo done; exit 3";
  ScopedEnv port("CORVANE_LPT4", line.c_str());
  PrinterPort printer;
  ASSERT_TRUE(printer.open(4));
  EXPECT_TRUE(printer.write("page\n", waitOn));
  EXPECT_EQ(printer.close(waitOn).error, EIO);  // a status other than 0 failed the output
  EXPECT_EQ(printer.exitStatus(), 3);
  EXPECT_EQ(printer.capturedOutput(), "done\n");
  EXPECT_EQ(tree.readFile("copy"), "page\n");

  // A command that stops reading: a failure, never a signal that ends the program.
  ScopedEnv early("CORVANE_LPT4", "|head -c 1 >/dev/null");
  PrinterPort reader;
  ASSERT_TRUE(reader.open(4));
  FileResult result;
  const std::string block(65536, 'x');
  for (int i = 0; i < 64 && result; ++i) result = reader.write(block, waitOn);
  EXPECT_EQ(result.error, EPIPE);
  EXPECT_TRUE(reader.close(waitOn));
}

// A port that takes nothing is waited on without blocking: the caller's answer gives up, and
// so does the time limit.
TEST(PrinterPortTest, APortThatTakesNothingIsGivenUp) {
  TempTree tree;
  ASSERT_EQ(mkfifo(tree.host("fifo").c_str(), 0600), 0);
  const int reader = open(tree.host("fifo").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ScopedEnv port("CORVANE_LPT5", tree.host("fifo").c_str());
  const std::string block(1 << 20, 'x');
  int asked = 0;
  {
    PrinterPort printer;
    ASSERT_TRUE(printer.open(5));
    EXPECT_EQ(printer.write(block, [&] { return ++asked < 3; }).error, ECANCELED);
    EXPECT_EQ(asked, 3);
  }
  PrinterPort printer;
  ASSERT_TRUE(printer.open(5));
  printer.setTimeout(3 * PrinterPollStepMs);
  EXPECT_EQ(printer.write(block, waitOn).error, ETIMEDOUT);
  close(reader);
}

// A command given up ends with everything it started (here a sleep its shell waits for).
TEST(PrinterPortTest, AGivenUpCommandEndsWithWhatItStarted) {
  TempTree tree;
  const std::string pidFile = tree.host("pid");
  ScopedEnv port("CORVANE_LPT6", ("|echo $$ >'" + pidFile + "'; sleep 30; true").c_str());
  pid_t group = 0;
  {
    PrinterPort printer;
    ASSERT_TRUE(printer.open(6));
    for (int waited = 0; group == 0 && waited < 5000; waited += 10) {
      group = static_cast<pid_t>(std::atoi(tree.readFile("pid").c_str()));
      if (group == 0) usleep(10000);
    }
    ASSERT_GT(group, 0);
    // A full pipe: the shell reads nothing while its sleep runs.
    EXPECT_EQ(printer.write(std::string(1 << 20, 'x'), [] { return false; }).error, ECANCELED);
  }
  bool gone = false;
  for (int waited = 0; !gone && waited < 5000; waited += 10) {
    gone = kill(-group, 0) != 0 && errno == ESRCH;
    if (!gone) usleep(10000);
  }
  EXPECT_TRUE(gone) << "the sleep outlived its command";
}

}  // namespace
}  // namespace corvane
