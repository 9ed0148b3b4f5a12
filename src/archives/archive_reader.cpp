#include "archives/archive_reader.h"

#include <algorithm>
#include <cstring>

#include "archives/archive_bytes.h"
#include "config/archiver_defs.h"
#include "config/setup_path.h"
#include "platform/paths.h"

namespace corvane {

std::size_t MemorySource::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) {
  if (offset >= bytes_.size()) return 0;
  const std::size_t count =
      static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), bytes_.size() - offset));
  std::memcpy(buffer.data(), bytes_.data() + offset, count);
  return count;
}

bool FileSource::open(std::string_view path) {
  FileHandle file;
  if (!openRegularFile(path, file)) return false;
  const std::int64_t length = openFileLength(file.get());
  if (length < 0) return false;
  file_ = std::move(file);
  size_ = static_cast<std::uint64_t>(length);
  return true;
}

std::size_t FileSource::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) {
  if (!file_ || offset >= size_) return 0;
  std::size_t got = 0;
  (void)readFileAt(file_.get(), static_cast<std::int64_t>(offset), buffer.data(), buffer.size(),
                   got);
  return got;
}

int readArchive(int type, ArchiveSource& source, ArchiveSink& sink, std::string_view name,
                bool typeByContent) {
  const bool selfExtracting = typeByContent || isSelfExtractorName(name);
  switch (type) {
    case ArchiveZip:
      return readZipArchive(source, sink);
    case ArchiveLzh:
      return readLzhArchive(source, sink, selfExtracting);
    case ArchiveZoo:
      return readZooArchive(source, sink);
    case ArchiveArj:
      return readArjArchive(source, sink, name, selfExtracting);
    default:
      return ArchiveBadHeader;
  }
}

int archiveTypeByContent(ArchiveSource& source) {
  std::uint64_t position = 0;
  if (hasZipEndRecord(source)) return ArchiveZip;
  if (hasZooHeader(source)) return ArchiveZoo;
  if (findArjMainHeader(source, position)) return ArchiveArj;
  if (findLzhHeader(source, position)) return ArchiveLzh;
  return ArchiveNone;
}

namespace {

bool containsFolded(std::string_view text, std::string_view part) {
  return foldCase(text).find(foldCase(part)) != std::string::npos;
}

}  // namespace

int archiveTypeOfFile(std::string_view path, bool& byContent) {
  byContent = false;
  if (const int type = archiveTypeByExtension(path); type != ArchiveNone) return type;
  FileSource source;
  if (!source.open(path)) return ArchiveNone;
  const int type = archiveTypeByContent(source);
  byContent = type != ArchiveNone;
  return type;
}

bool openArchiveFile(int type, std::string_view path, FileSource& source, std::string& opened) {
  opened = std::string(path);
  if (source.open(path)) return true;
  switch (type) {
    case ArchiveZip:
      opened += ".zip";
      break;
    case ArchiveLzh:
      opened = siblingPath(path, ".lzh");
      break;
    case ArchiveZoo:
      if (containsFolded(path, ".zoo")) return false;
      opened += ".zoo";
      break;
    default:
      return false;
  }
  return source.open(opened);
}

}  // namespace corvane
