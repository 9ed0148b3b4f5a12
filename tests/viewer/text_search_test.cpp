#include "viewer/text_search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "platform/file_system.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

char fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

std::ptrdiff_t naiveFind(const std::string& text, const std::string& pattern, bool ignoreCase) {
  if (pattern.empty()) return -1;
  for (std::size_t i = 0; i + pattern.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < pattern.size() &&
           (ignoreCase ? fold(text[i + k]) == fold(pattern[k]) : text[i + k] == pattern[k]))
      ++k;
    if (k == pattern.size()) return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

std::span<const unsigned char> bytesOf(const std::string& text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

// Both methods, both cases, against the plain definition over random chunks of a small
// alphabet (zero bytes, letters of both cases, bytes that are no letters).
TEST(FindText, BothMethodsFindTheFirstWholeOccurrence) {
  std::mt19937 random(17);
  const std::string alphabet("aAbB\0z[{@`", 10);
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 90, ' '), pattern(1 + random() % 4, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    for (char& c : pattern) c = alphabet[random() % alphabet.size()];
    for (bool ignoreCase : {false, true}) {
      const std::ptrdiff_t expected = naiveFind(text, pattern, ignoreCase);
      for (bool binary : {false, true})
        ASSERT_EQ(findText(bytesOf(text), pattern, binary, ignoreCase), expected)
            << "round " << round << " binary " << binary << " ignoreCase " << ignoreCase;
    }
  }
}

class FileSearchTest : public ::testing::Test {
 protected:
  std::int64_t find(const std::string& content, std::string_view pattern, bool ignoreCase = false,
                    std::int64_t from = 0) {
    EXPECT_TRUE(tree_.writeFile("f", content));
    FileHandle file(std::fopen(tree_.host("f").c_str(), "rb"));
    std::int64_t found = -1;
    const FileSearchResult result = findInFile(file.get(), from, pattern, ignoreCase, found);
    EXPECT_EQ(result == FileSearchResult::Found, found >= 0);
    return found;
  }

  testing::TempTree tree_;
};

TEST_F(FileSearchTest, FindsHitsAcrossChunkBoundariesAndAfterZeroBytes) {
  const std::string needle = "needle";
  const std::size_t chunk = SearchChunkBytes;
  // A long line without line ends, the needle placed around the first and second boundary.
  for (std::size_t boundary : {chunk, 2 * chunk - needle.size() + 1}) {
    for (std::size_t at = boundary - needle.size(); at <= boundary + needle.size(); ++at) {
      std::string content(3 * chunk, 'x');
      content.replace(at, needle.size(), needle);
      EXPECT_EQ(find(content, needle), static_cast<std::int64_t>(at)) << "at " << at;
    }
  }
  // Text in the first chunk, a zero byte in a later one before the hit.
  std::string content(chunk + 100, 't');
  content[chunk + 10] = '\0';
  content.replace(chunk + 20, needle.size(), needle);
  EXPECT_EQ(find(content, needle), static_cast<std::int64_t>(chunk + 20));
  // A binary first chunk (zero bytes) and a hit ignoring case after one.
  EXPECT_EQ(find(std::string("\0\0NeEdLe", 8), needle, true), 2);
  // At the very end, without a final line end.
  EXPECT_EQ(find("abc\nxyz needle", needle), 8);
}

TEST_F(FileSearchTest, CaseFlagAndStartOffset) {
  EXPECT_EQ(find("xx ABC aBc abc", "abc", true), 3);
  EXPECT_EQ(find("xx ABC aBc", "abc", false), -1);
  EXPECT_EQ(find("abc abc", "abc", false, 1), 4);
  EXPECT_EQ(find("abc abc", "abc", false, 5), -1);
  EXPECT_EQ(find("", "abc"), -1);
}

}  // namespace
}  // namespace corvane
