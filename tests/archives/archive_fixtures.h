// What the archive tests share: a sink that records what a reader delivers, archives written
// byte by byte (LZH and ZOO, which no packaged tool writes; ZIP in zip_builder.h), and the
// packaged archivers run on a temporary tree.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archives/archive_reader.h"
#include "zip_builder.h"

namespace corvane::testing {

// What a reader delivered: "path size yyyy-mm-dd hh:mm:ss" per member ("/" after a
// directory's path, "@" after a link's), and the messages.
struct ReadRecord : ArchiveSink {
  std::vector<std::string> members;
  std::vector<std::string> messages;
  std::vector<ArchiveMember> raw;
  void member(const ArchiveMember& m) override;
  void message(std::string_view text) override { messages.emplace_back(text); }
  std::string joined() const;  // the members, one per line
  std::string sorted() const;  // the same in byte order
};

// Reads bytes with the reader of a type.
ReadRecord readBytes(int type, std::string_view bytes, std::string_view name = "x",
                     int* result = nullptr);

// "yyyy-mm-dd hh:mm:ss" of DOS words.
std::string dosText(std::uint16_t date, std::uint16_t time);

// The test time 2021-03-14 15:26:58 as DOS words, and as Unix time in this zone.
constexpr std::uint16_t TestDosDate = 0x526E;
constexpr std::uint16_t TestDosTime = 0x7B5D;
std::int64_t testUnixTime();

std::uint16_t crc16Of(std::string_view bytes, std::uint16_t crc = 0);

// One LZH member as a writer of the level makes it, stored ("-lh0-", or "-lhd-" for a
// directory, whose data is empty). directory uses "/" and is written with the level's
// separators. headerCrc adds the header CRC extended header (levels 1 and 2).
struct LzhMember {
  int level = 1;
  std::string directory;
  std::string name;
  std::string data;
  bool isDirectory = false;
  bool headerCrc = false;
};
std::string lzhMember(const LzhMember& member);
// Members and the end byte.
std::string lzhArchive(const std::vector<LzhMember>& members);

// A ZOO archive of stored members, as zoo 2.10 writes it.
struct ZooMember {
  std::string name;       // the short name when it fits 8.3, else also the long name
  std::string directory;  // "" or "sub/deeper"
  std::string data;
  bool deleted = false;
};
std::string zooArchive(const std::vector<ZooMember>& members);

// Runs a shell command in a host directory; true when it exited with 0.
bool runIn(const std::string& directory, const std::string& command);
// Whether a program is on PATH (the tests that need a packaged archiver skip without it).
bool haveProgram(std::string_view name);

#define REQUIRE_PROGRAM(name) \
  if (!::corvane::testing::haveProgram(name)) GTEST_SKIP() << name " is not installed (make deps)"

}  // namespace corvane::testing
