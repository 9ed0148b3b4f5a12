// What the archive reader harnesses share: the input read as an archive of one type, every
// member checked on the way into a panel listing, and the reader's own promises checked at
// the end (it ends, it never delivers more members than the input has headers for, every
// listed name is clean).
#pragma once

#include <string>

#include "archives/archive_reader.h"
#include "archives/member_names.h"
#include "fuzz_support.h"
#include "panels/archive_listing.h"

namespace corvane::fuzz {

class CheckingSink : public ArchiveSink {
 public:
  explicit CheckingSink(ArchiveListing& listing) : listing_(listing) {}
  void member(const ArchiveMember& member) override {
    ++members;
    FUZZ_CHECK(!member.storedPath.empty(), "an empty stored name");
    const ListedName listed = listedNameOf(member);
    FUZZ_CHECK(!listed.path.empty() && listed.path.front() != '/' && listed.path.back() != '/',
               listed.path);
    FUZZ_CHECK(listed.path.find("//") == std::string::npos, listed.path);
    const std::string padded = "/" + listed.path + "/";
    FUZZ_CHECK(padded.find("/../") == std::string::npos, listed.path);
    FUZZ_CHECK(padded.find("/./") == std::string::npos, listed.path);
    for (unsigned char c : listed.path) FUZZ_CHECK(c >= 0x20 && c != 0x7F, listed.path);
    FileEntry fields;
    fields.size = member.size;
    fields.attributes = member.directory ? AttrDirectory : 0;
    listing_.add(listed.path, fields);
  }
  void message(std::string_view text) override {
    ++messages;
    FUZZ_CHECK(!text.empty(), "an empty message");
  }
  std::size_t members = 0, messages = 0;

 private:
  ArchiveListing& listing_;
};

// Reads the input as an archive of the type named name (which may make it a self-extractor)
// into a panel whose inner directory is inner.
inline void readAsArchive(int type, const std::uint8_t* data, std::size_t size,
                          std::string_view name, std::string_view inner) {
  prepareProcess();
  const std::string_view bytes = asText(data, size);
  MemorySource source(bytes);
  Panel panel;
  panel.mask = "T:\\" + std::string(name) + "/" + std::string(inner) + "*.*";
  ArchiveListing listing(panel, SortMode::Name);
  CheckingSink sink(listing);
  const int result = readArchive(type, source, sink, name);
  listing.finish();
  FUZZ_CHECK(result == ArchiveRead || result == ArchiveBadHeader || result == ArchiveEndedEarly,
             std::to_string(result));
  // A member takes at least a header's worth of bytes of the input.
  FUZZ_CHECK(sink.members <= size / 20 + 1, std::to_string(sink.members));
  FUZZ_CHECK(panel.list.length >= 1 && panel.fileCount == static_cast<int>(panel.list.length),
             "the listing's counters");
  (void)archiveTypeByContent(source);
}

}  // namespace corvane::fuzz
