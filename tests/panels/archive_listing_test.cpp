#include "panels/archive_listing.h"

#include <gtest/gtest.h>

#include "panels/list_test_helpers.h"

namespace corvane {
namespace {

using testing::names;

constexpr const char* Stored[] = {"src/a.c", "src/b.h", "src/sub/x.c",   "docs/",   "top.txt",
                                  "src/",    "SRC/c.c", "\\win\\path.c", "src/sub/"};

void fill(Panel& panel) {
  ArchiveListing listing(panel, SortMode::Name);
  for (const char* path : Stored) {
    FileEntry fields = testing::fileEntry("", 10);
    listing.add(path, fields);
  }
  listing.finish();
}

TEST(ArchiveListing, TopLevelShowsFirstComponentsOnce) {
  Panel panel;
  panel.mask = "C:\\pack.zip/*.*";
  fill(panel);
  EXPECT_EQ(names(panel.list), ".. docs src win top.txt");
  EXPECT_EQ(panel.fileCount, 5);
  EXPECT_EQ(panel.totalSize, 10u);
}

TEST(ArchiveListing, InnerDirectoryWithMask) {
  Panel panel;
  panel.mask = "C:\\pack.zip/src/*.c";
  fill(panel);
  EXPECT_EQ(names(panel.list), ".. sub a.c c.c");
  const FileNode& sub = panel.list.nodes[nodeAtIndex(panel.list, 1)];
  EXPECT_EQ(sub.entry.size, 0u);
  EXPECT_TRUE(sub.entry.isDirectory());

  panel.mask = "C:\\pack.zip/src/sub/*.*";
  fill(panel);
  EXPECT_EQ(names(panel.list), ".. x.c");
}

TEST(ArchiveListing, EnterAndLeaveDirectories) {
  std::string mask = "C:\\a b\\pack.zip/*.c";
  mask = enterArchiveDirectory(mask, "src");
  EXPECT_EQ(mask, "C:\\a b\\pack.zip/src/*.c");
  mask = enterArchiveDirectory(mask, "sub");
  EXPECT_EQ(mask, "C:\\a b\\pack.zip/src/sub/*.c");
  const ArchiveMaskParts parts = splitArchiveMask(mask);
  EXPECT_EQ(parts.archivePath, "C:\\a b\\pack.zip");
  EXPECT_EQ(parts.innerDirectory, "src/sub/");
  EXPECT_EQ(parts.fileMask, "*.c");
  EXPECT_TRUE(leaveArchiveDirectory(mask));
  EXPECT_EQ(mask, "C:\\a b\\pack.zip/src/*.c");
  EXPECT_TRUE(leaveArchiveDirectory(mask));
  EXPECT_EQ(mask, "C:\\a b\\pack.zip/*.c");
  EXPECT_FALSE(leaveArchiveDirectory(mask));
  EXPECT_EQ(mask, "C:\\a b\\pack.zip/*.c");
}

}  // namespace
}  // namespace corvane
