// ZOO: the archive header, then the chain of directory entries from the offset it names;
// deleted entries stay in the chain and are passed by, the entry whose next offset is 0
// ends it.
#include <string>

#include "archives/archive_bytes.h"
#include "archives/archive_reader.h"
#include "archives/archive_texts.h"
#include "platform/textf.h"

namespace corvane {
namespace {

constexpr std::uint32_t ZooTag = 0xFDC4A7DC;
constexpr std::size_t OldHeaderSize = 34;
constexpr std::size_t TypeOneSize = 51;
constexpr std::size_t TypeTwoFixed = 56;
constexpr std::size_t EntryCrcOffset = 54;  // a type 2 entry's CRC of itself
constexpr std::size_t ShortNameOffset = 38;
constexpr std::size_t ShortNameSize = 13;
constexpr std::size_t EntryRead = 512;
constexpr int NewestMajor = 2, NewestMinor = 0;

// Every check of the reader, with the message it gives and whether the listing ends there.
enum class ZooCheck { HeaderTag, HeaderConsistency, NewerVersion, EntryTag, EntryInvalid, Chain };
enum class Severity { Warning, Error, Fatal };
struct ZooCheckRule {
  ZooCheck check;
  Severity severity;
  std::string_view text;  // FormatZooNeedsVersion is formatted with the version instead
  bool restLost;          // the bytes from the failing entry on are reported as lost
};
constexpr ZooCheckRule ZooChecks[] = {
    {ZooCheck::HeaderTag, Severity::Fatal, TextZooCorrupted, false},
    {ZooCheck::HeaderConsistency, Severity::Fatal, TextZooHeaderCheck, false},
    {ZooCheck::NewerVersion, Severity::Warning, {}, false},
    {ZooCheck::EntryTag, Severity::Error, TextZooCorrupted, true},
    {ZooCheck::EntryInvalid, Severity::Error, TextZooEntryInvalid, true},
    {ZooCheck::Chain, Severity::Error, TextZooCorrupted, true},
};

std::string zooMessage(Severity severity, std::string_view text) {
  std::string message(TextZooPrefix);
  message += severity == Severity::Warning ? TextZooWarning
             : severity == Severity::Error ? TextZooError
                                           : TextZooFatal;
  message += text;
  return message;
}

// Reports a failed check; the entry at position was the one that failed (for the rest).
void report(ArchiveSink& sink, ZooCheck check, std::uint64_t size, std::uint64_t position,
            std::string_view detail = {}) {
  for (const ZooCheckRule& rule : ZooChecks) {
    if (rule.check != check) continue;
    std::string message = zooMessage(rule.severity, detail.empty() ? rule.text : detail);
    if (rule.restLost) {
      const std::uint64_t rest = position < size ? size - position : 0;
      message +=
          zooMessage(rule.severity, textf(FormatZooRestLost, static_cast<unsigned long>(rest)));
    }
    sink.message(message);
    return;
  }
}

// A stored text up to its first zero byte.
std::string cString(std::span<const std::uint8_t> bytes) {
  std::size_t length = 0;
  while (length < bytes.size() && bytes[length] != 0) ++length;
  return {reinterpret_cast<const char*>(bytes.data()), length};
}

}  // namespace

bool hasZooHeader(ArchiveSource& source) {
  std::uint8_t header[OldHeaderSize];
  return source.readAt(0, header) == OldHeaderSize && le32(header, 20) == ZooTag &&
         static_cast<std::uint32_t>(le32(header, 24) + le32(header, 28)) == 0;
}

int readZooArchive(ArchiveSource& source, ArchiveSink& sink) {
  const std::uint64_t size = source.size();
  HeaderWindow window(source, EntryRead);
  const std::span<const std::uint8_t> header = window.at(0, OldHeaderSize);
  if (header.size() < OldHeaderSize || le32(header, 20) != ZooTag) {
    report(sink, ZooCheck::HeaderTag, size, 0);
    return ArchiveBadHeader;
  }
  const std::uint32_t start = le32(header, 24);
  if (static_cast<std::uint32_t>(start + le32(header, 28)) != 0) {
    report(sink, ZooCheck::HeaderConsistency, size, 0);
    return ArchiveBadHeader;
  }
  const int major = header[32], minor = header[33];
  if (major > NewestMajor || (major == NewestMajor && minor > NewestMinor))
    report(sink, ZooCheck::NewerVersion, size, 0, textf(FormatZooNeedsVersion, major, minor));

  ArchiveMember member;
  for (std::uint64_t position = start;;) {
    std::span<const std::uint8_t> e = window.at(position, TypeTwoFixed);
    if (e.size() < 4 || le32(e, 0) != ZooTag) {
      report(sink, ZooCheck::EntryTag, size, position);
      return ArchiveBadHeader;
    }
    const int type = e.size() > 4 ? e[4] : 0;
    std::size_t length = TypeOneSize;
    if (type == 2) {
      length = e.size() >= TypeTwoFixed ? TypeTwoFixed + le16(e, 51) : TypeTwoFixed;
      e = window.at(position, length);
    }
    if ((type != 1 && type != 2) || e.size() < length) {
      report(sink, ZooCheck::EntryInvalid, size, position);
      return ArchiveBadHeader;
    }
    e = e.first(length);
    const std::uint64_t next = le32(e, 6);
    std::string name = cString(e.subspan(ShortNameOffset, ShortNameSize));
    std::string directory;
    if (type == 2) {
      // The entry's own CRC, taken with its field as 0.
      const std::uint16_t crc = crc16WithoutField(e, EntryCrcOffset);
      const std::span<const std::uint8_t> variable = e.subspan(TypeTwoFixed);
      const std::size_t nameLength = variable.size() > 0 ? variable[0] : 0;
      const std::size_t directoryLength = variable.size() > 1 ? variable[1] : 0;
      const bool fits =
          nameLength + directoryLength == 0 || 2 + nameLength + directoryLength <= variable.size();
      if (crc != le16(e, EntryCrcOffset) || !fits) {
        report(sink, ZooCheck::EntryInvalid, size, position);
        return ArchiveBadHeader;
      }
      if (nameLength > 0) name = cString(variable.subspan(2, nameLength));
      if (directoryLength > 0)
        directory = cString(variable.subspan(2 + nameLength, directoryLength));
    }
    if (next == 0) return ArchiveRead;  // the terminator
    if (e[30] == 0 && !name.empty()) {
      member = ArchiveMember{};
      member.storedPath = directory.empty() ? name : directory + "/" + name;
      member.encoding = NameEncoding::Utf8IfValid;
      member.date = le16(e, 14);
      member.time = le16(e, 16);
      member.size = le32(e, 20);
      sink.member(member);
    }
    if (next <= position) {
      report(sink, ZooCheck::Chain, size, position);
      return ArchiveBadHeader;
    }
    position = next;
  }
}

}  // namespace corvane
