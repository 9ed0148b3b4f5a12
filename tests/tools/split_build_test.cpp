#include "tools/split_build.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <random>

#include "fileops/fileops_fixture.h"
#include "tools/split_header.h"

namespace corvane {
namespace {

using testing::FileopsTest;

class SplitBuildTest : public FileopsTest {
 protected:
  SplitBuildTest() { setPreference(5, false); }

  static std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
  }
  static std::int64_t hostSize(const std::string& host) {
    struct stat st {};
    return lstat(host.c_str(), &st) == 0 ? st.st_size : -1;
  }
  // Whether two host files hold the same bytes: every data extent of either is compared
  // with the other (what is a hole in both reads as zeros in both).
  static bool sameBytes(const std::string& a, const std::string& b) {
    const int x = open(a.c_str(), O_RDONLY), y = open(b.c_str(), O_RDONLY);
    struct stat sx {}, sy {};
    bool same = x >= 0 && y >= 0 && fstat(x, &sx) == 0 && fstat(y, &sy) == 0 &&
                sx.st_size == sy.st_size;
    std::string p(1 << 20, '\0'), q(1 << 20, '\0');
    for (int scanned : {x, y}) {
      for (off_t at = 0; same;) {
        const off_t data = lseek(scanned, at, SEEK_DATA);
        if (data < 0) break;
        const off_t hole = lseek(scanned, data, SEEK_HOLE);
        for (off_t pos = data; same && pos < hole;) {
          const auto want = static_cast<std::size_t>(std::min<off_t>(hole - pos, 1 << 20));
          same = pread(x, p.data(), want, pos) == static_cast<ssize_t>(want) &&
                 pread(y, q.data(), want, pos) == static_cast<ssize_t>(want) &&
                 std::memcmp(p.data(), q.data(), want) == 0;
          pos += static_cast<off_t>(want);
        }
        at = hole;
      }
    }
    if (x >= 0) close(x);
    if (y >= 0) close(y);
    return same;
  }
  // How many entries a directory of a tree holds.
  static int entries(const testing::TempTree& tree, std::string_view relative) {
    std::error_code error;
    int count = 0;
    for (auto it = std::filesystem::directory_iterator(tree.host(relative), error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
      ++count;
    return error ? -1 : count;
  }
};

TEST_F(SplitBuildTest, SplitThenBuildGivesTheSameBytesBackAndRemovesThePieces) {
  const struct {
    const char* name;
    const char* stem;
    std::size_t size;
    std::uint64_t pieceSize;
    std::vector<std::int64_t> pieces;  // sizes of the pieces, in order
  } cases[] = {
      {"report.doc", "REPORT", 3000000, 1450000, {1450000, 1450000, 100291}},
      {"empty", "EMPTY", 0, 1450000, {291}},
      {"exact.bin", "EXACT", 1449709, 1450000, {1450000}},
      {"two.bin", "TWO", 1449710, 1450000, {1450000, 1}},
      {"a b\xff\xfe.dat", "A B\xff\xfe", 777, 300, {300, 300, 300, 168}},
      {"seventeen", "SEVENTEEN", 709 + 16 * 1000, 1000, std::vector<std::int64_t>(17, 1000)},
  };
  ASSERT_TRUE(t_.makeDir("out"));
  unsigned seed = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string content = randomBytes(c.size, seed++);
    ASSERT_TRUE(t_.writeFile(c.name, content));
    ASSERT_EQ(splitFile(std::string("T:\\") + c.name, {c.pieceSize, "U:\\", false}), SplitDone);
    for (std::size_t k = 0; k < c.pieces.size(); ++k)
      EXPECT_EQ(hostSize(u_.host(pieceName(c.stem, k))), c.pieces[k]) << pieceName(c.stem, k);
    EXPECT_FALSE(u_.exists(pieceName(c.stem, c.pieces.size()))) << "no empty last piece";
    const std::string first = u_.readFile(pieceName(c.stem, 0));
    SplitHeader header;
    ASSERT_TRUE(decodeSplitHeader(first, header));
    EXPECT_EQ(header.name, c.name);
    EXPECT_EQ(header.size, c.size);

    // Built from any piece's name, the first piece's time carried over.
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1500000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, u_.host(pieceName(c.stem, 0)).c_str(), times, 0), 0);
    const std::string named = "U:\\" + pieceName(c.stem, c.pieces.size() - 1);
    ASSERT_EQ(buildFile(named, "T:\\out"), SplitDone);
    EXPECT_EQ(t_.readFile(std::string("out/") + c.name), content);
    struct stat st {};
    ASSERT_EQ(stat(t_.host(std::string("out/") + c.name).c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1500000000);
    EXPECT_EQ(entries(u_, ""), 0) << "the pieces are deleted";
  }
  EXPECT_FALSE(sawText("rror"));
}

TEST_F(SplitBuildTest, AFileOfFourGigabytesAndOneByteKeepsItsSizeInTheHeader) {
  const std::uint64_t size = (std::uint64_t{4} << 30) + 1;
  const std::string host = t_.host("disk.img");
  const int fd = open(host.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  bool made = ftruncate(fd, static_cast<off_t>(size)) == 0;
  for (std::uint64_t at : {std::uint64_t{0}, std::uint64_t{1} << 30, (std::uint64_t{4} << 30) - 3,
                           size - 1})
    made = made && pwrite(fd, "DATA", std::min<std::uint64_t>(4, size - at), static_cast<off_t>(at)) > 0;
  close(fd);
  if (!made) GTEST_SKIP() << "no sparse file of 4 GiB here";

  ASSERT_EQ(splitFile("T:\\disk.img", {std::uint64_t{1} << 30, "U:\\", false}), SplitDone);
  std::string first(SplitHeaderSize, '\0');
  const int piece = open(u_.host("DISK.000").c_str(), O_RDONLY);
  ASSERT_GE(piece, 0);
  EXPECT_EQ(pread(piece, first.data(), first.size(), 0), static_cast<ssize_t>(first.size()));
  close(piece);
  EXPECT_EQ(first.substr(28, 4), std::string("\x01\x00\x00\x00", 4));   // high half
  EXPECT_EQ(first.substr(287, 4), std::string("\x01\x00\x00\x00", 4));  // low half
  EXPECT_EQ(hostSize(u_.host("DISK.004")), 292);
  EXPECT_FALSE(u_.exists("DISK.005"));
  ASSERT_TRUE(t_.makeDir("out"));
  ASSERT_EQ(buildFile("U:\\DISK.000", "T:\\out"), SplitDone);
  EXPECT_EQ(hostSize(t_.host("out/disk.img")), static_cast<std::int64_t>(size));
  EXPECT_TRUE(sameBytes(host, t_.host("out/disk.img")));
}

TEST_F(SplitBuildTest, AMissingOrShortPieceLeavesTheOldTargetAndEveryPiece) {
  const std::string content = randomBytes(5000, 7);
  ASSERT_TRUE(t_.writeFile("data.bin", content));
  ASSERT_EQ(splitFile("T:\\data.bin", {1000, "U:\\", false}), SplitDone);
  ASSERT_TRUE(u_.exists("DATA.005"));
  ASSERT_TRUE(t_.makeDir("out"));
  ASSERT_TRUE(t_.writeFile("out/data.bin", "the user's own file"));
  setPreference(5, true);

  // A piece cut short, then one missing: each asked about the existing target first.
  const std::string third = u_.readFile("DATA.002");
  ASSERT_EQ(truncate(u_.host("DATA.002").c_str(), 10), 0);
  answer("y");
  dismiss();
  EXPECT_EQ(buildFile("U:\\DATA.000", "T:\\out"), SplitFailed);
  // The pieces after it follow it: only the total tells.
  EXPECT_TRUE(sawText("4010 Bytes written, expected size : 5000 Bytes"));
  ASSERT_EQ(unlink(u_.host("DATA.002").c_str()), 0);
  answer("y");
  dismiss();
  EXPECT_EQ(buildFile("U:\\DATA.000", "T:\\out"), SplitFailed);
  EXPECT_TRUE(sawText("1709 Bytes written, expected size : 5000 Bytes"));
  EXPECT_EQ(t_.readFile("out/data.bin"), "the user's own file");
  EXPECT_EQ(entries(t_, "out"), 1) << "no temporary left";
  EXPECT_EQ(entries(u_, ""), 5);

  // Answering No leaves everything; Yes with all pieces back replaces the file.
  ASSERT_TRUE(u_.writeFile("DATA.002", third));
  answer("n");
  EXPECT_EQ(buildFile("U:\\DATA.000", "T:\\out"), SplitFailed);
  EXPECT_EQ(t_.readFile("out/data.bin"), "the user's own file");
  answer("y");
  EXPECT_EQ(buildFile("U:\\data.003", "T:\\out"), SplitDone);
  EXPECT_EQ(t_.readFile("out/data.bin"), content);
}

TEST_F(SplitBuildTest, NextPiecesAreFoundWhateverTheirCase) {
  const std::string content = randomBytes(2500, 9);
  ASSERT_TRUE(t_.writeFile("mixed", content));
  ASSERT_EQ(splitFile("T:\\mixed", {1000, "U:\\", false}), SplitDone);
  ASSERT_EQ(rename(u_.host("MIXED.001").c_str(), u_.host("mixed.001").c_str()), 0);
  ASSERT_TRUE(t_.makeDir("o"));
  ASSERT_EQ(buildFile("U:\\MIXED.000", "T:\\o"), SplitDone);
  EXPECT_EQ(t_.readFile("o/mixed"), content);
}

TEST_F(SplitBuildTest, AFirstPieceThatIsNotOneWritesNothing) {
  std::string header(SplitHeaderSize, '\0');
  header[0] = 2;
  const auto named = [&](std::string_view name) {
    std::string bytes = header;
    std::memcpy(bytes.data() + 32, name.data(), name.size());
    bytes[287] = 3;
    return bytes + "abc";
  };
  const struct {
    std::string bytes;
    const char* why;
  } cases[] = {
      {named("x").substr(0, 200), "short"},
      {"\x03" + named("x").substr(1), "format 3"},
      {named(""), "no name"},
      {named("..\\x"), "a path"},
      {named(".."), "the parent"},
  };
  ASSERT_TRUE(t_.makeDir("out"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    ASSERT_TRUE(u_.writeFile("BAD.000", c.bytes));
    dismiss();
    EXPECT_EQ(buildFile("U:\\BAD.000", "T:\\out"), SplitFailed);
    EXPECT_TRUE(sawText(" Source file error 'U:\\BAD.000' ! "));
    EXPECT_EQ(entries(t_, "out"), 0);
    EXPECT_TRUE(u_.exists("BAD.000"));
  }

  // A header naming the first piece itself, built beside it: refused, the piece kept.
  ASSERT_TRUE(u_.writeFile("BAD.000", named("BAD.000")));
  dismiss();
  EXPECT_EQ(buildFile("U:\\BAD.000", "U:\\"), SplitFailed);
  EXPECT_TRUE(sawText("Source and Destination are identical !"));
  EXPECT_EQ(u_.readFile("BAD.000"), named("BAD.000"));
}

TEST_F(SplitBuildTest, SplitRefusesItsSourceAndAsksBeforeReplacingAPiece) {
  ASSERT_TRUE(t_.writeFile("DATA.001", randomBytes(3000, 2)));
  dismiss();
  EXPECT_EQ(splitFile("T:\\DATA.001", {1000, "T:\\", false}), SplitFailed);
  EXPECT_TRUE(sawText("Source and Destination are identical !"));
  EXPECT_FALSE(t_.exists("DATA.000"));
  EXPECT_EQ(hostSize(t_.host("DATA.001")), 3000);

  // A destination that does not exist: the piece named, nothing written.
  dismiss();
  EXPECT_EQ(splitFile("T:\\DATA.001", {1000, "U:\\nowhere", false}), SplitFailed);
  EXPECT_TRUE(sawText("File open error U:\\nowhere\\DATA.000"));

  // A name the header cannot hold (no room for its terminator).
  const std::string longName(255, 'n');
  ASSERT_TRUE(t_.writeFile(longName, "x"));
  dismiss();
  EXPECT_EQ(splitFile("T:\\" + longName, {1000, "U:\\", false}), SplitFailed);
  EXPECT_TRUE(sawText("(at most 254 bytes, no ':')"));
  EXPECT_EQ(entries(u_, ""), 0);

  setPreference(5, true);
  ASSERT_TRUE(u_.writeFile("DATA.000", "an older piece"));
  answer("n");
  EXPECT_EQ(splitFile("T:\\DATA.001", {1000, "U:\\", false}), SplitFailed);
  EXPECT_EQ(u_.readFile("DATA.000"), "an older piece");
  EXPECT_FALSE(u_.exists("DATA.001"));
  answer("y");
  EXPECT_EQ(splitFile("T:\\DATA.001", {1000, "U:\\", false}), SplitDone);
  EXPECT_EQ(hostSize(u_.host("DATA.000")), 1000);
  EXPECT_EQ(hostSize(u_.host("DATA.003")), 291);
}

TEST_F(SplitBuildTest, AFailedWriteRemovesThePieceOrTheTemporaryAndReturnsAnError) {
  ASSERT_TRUE(t_.writeFile("big", randomBytes(20000, 5)));
  ASSERT_TRUE(u_.makeDir("out"));
  ASSERT_TRUE(u_.writeFile("out/big", "kept"));
  const auto limited = [&](const std::function<int()>& work) {
    const pid_t child = fork();
    if (child == 0) {
      signal(SIGXFSZ, SIG_IGN);
      const struct rlimit limit = {3000, 3000};
      setrlimit(RLIMIT_FSIZE, &limit);
      dismiss();  // the write error's message
      _exit(work());
    }
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(limited([] { return splitFile("T:\\big", {5000, "U:\\", false}); }), SplitFailed);
  EXPECT_FALSE(u_.exists("BIG.000")) << "the piece that failed is removed";

  ASSERT_EQ(splitFile("T:\\big", {10000, "U:\\", false}), SplitDone);
  EXPECT_EQ(limited([] { return buildFile("U:\\BIG.000", "U:\\out"); }), SplitFailed);
  EXPECT_EQ(u_.readFile("out/big"), "kept");
  EXPECT_EQ(entries(u_, "out"), 1);
  EXPECT_TRUE(u_.exists("BIG.001"));
}

TEST_F(SplitBuildTest, EscapeStopsASplitAndABuildWithNothingHalfWritten) {
  const std::string content = randomBytes(6 << 20, 11);
  ASSERT_TRUE(t_.writeFile("movie", content));
  answerKeys({key::Escape, 'y'});
  EXPECT_EQ(splitFile("T:\\movie", {5 << 20, "U:\\", false}), SplitFailed);
  EXPECT_TRUE(sawText(" Cancel operation ? "));
  EXPECT_EQ(entries(u_, ""), 0);

  ASSERT_EQ(splitFile("T:\\movie", {3 << 20, "U:\\", false}), SplitDone);
  ASSERT_TRUE(u_.makeDir("out"));
  answerKeys({key::Escape, 'y'});
  EXPECT_EQ(buildFile("U:\\MOVIE.000", "U:\\out"), SplitFailed);
  EXPECT_EQ(entries(u_, "out"), 0);
  EXPECT_TRUE(u_.exists("MOVIE.001"));
}

}  // namespace
}  // namespace corvane
