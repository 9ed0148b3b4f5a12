#include "panels/archive_listing.h"

#include <utility>

#include "panels/mask.h"
#include "panels/name_fold.h"

namespace corvane {

namespace {

constexpr std::size_t npos = std::string_view::npos;

std::string normalisedPath(std::string_view stored) {
  std::string path(stored);
  for (char& c : path)
    if (c == '\\') c = '/';
  while (!path.empty() && path.front() == '/') path.erase(0, 1);
  return path;
}

std::string folded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendFolded(out, text);
  return out;
}

}  // namespace

ArchiveMaskParts splitArchiveMask(std::string_view panelMask) {
  ArchiveMaskParts parts;
  const std::size_t first = panelMask.find('/');
  if (first == npos) {
    parts.archivePath = std::string(panelMask);
    parts.fileMask = "*.*";
    return parts;
  }
  const std::size_t last = panelMask.rfind('/');
  parts.archivePath = std::string(panelMask.substr(0, first));
  parts.innerDirectory = std::string(panelMask.substr(first + 1, last - first));
  parts.fileMask = std::string(panelMask.substr(last + 1));
  return parts;
}

std::string joinArchiveMask(const ArchiveMaskParts& parts) {
  return parts.archivePath + "/" + parts.innerDirectory + parts.fileMask;
}

std::string enterArchiveDirectory(std::string_view panelMask, std::string_view name) {
  ArchiveMaskParts parts = splitArchiveMask(panelMask);
  parts.innerDirectory += name;
  parts.innerDirectory += '/';
  return joinArchiveMask(parts);
}

bool leaveArchiveDirectory(std::string& panelMask) {
  ArchiveMaskParts parts = splitArchiveMask(panelMask);
  if (parts.innerDirectory.empty()) return false;
  std::string& inner = parts.innerDirectory;
  inner.pop_back();  // the final "/"
  const std::size_t slash = inner.rfind('/');
  inner.erase(slash == npos ? 0 : slash + 1);
  panelMask = joinArchiveMask(parts);
  return true;
}

ArchiveListing::ArchiveListing(Panel& panel, SortMode mode) : panel_(panel), mode_(mode) {
  const ArchiveMaskParts parts = splitArchiveMask(panel.mask);
  inner_ = folded(normalisedPath(parts.innerDirectory));
  if (!inner_.empty() && inner_.back() != '/') inner_ += '/';
  fileMask_ = parts.fileMask.empty() ? std::string("*.*") : parts.fileMask;
  freePanelList(panel_);
  const NodeId up = allocateNode(panel_.list, parentEntry());
  linkBefore(panel_.list, up, NoNode);
  seen_.insert("..");
}

void ArchiveListing::add(std::string_view storedPath, const FileEntry& fields) {
  std::string path = normalisedPath(storedPath);
  bool directory = fields.isDirectory();
  if (!path.empty() && path.back() == '/') {
    directory = true;
    path.pop_back();
  }
  if (path.size() <= inner_.size()) return;  // the inner directory itself, or elsewhere
  std::string_view rest = path;
  if (!equalFolded(rest.substr(0, inner_.size()), inner_)) return;
  rest.remove_prefix(inner_.size());
  const std::size_t slash = rest.find('/');
  if (slash != npos) {
    rest = rest.substr(0, slash);  // something deeper: its first component is a directory
    directory = true;
  }
  if (rest.empty()) return;
  if (!directory && !maskMatches(fileMask_, rest)) return;
  if (!seen_.insert(folded(rest)).second) return;

  FileEntry e = fields;
  e.name = std::string(rest);
  if (slash != npos) {  // implied by a deeper entry
    e.attributes = AttrDirectory;
    e.size = 0;
  } else if (directory) {
    e.attributes = static_cast<std::uint8_t>(e.attributes | AttrDirectory);
  }
  const NodeId id = allocateNode(panel_.list, std::move(e));
  linkBefore(panel_.list, id, NoNode);
}

void ArchiveListing::finish() {
  sortList(panel_.list, mode_);
  countList(panel_);
  panel_.cursor = panel_.top = panel_.list.head;
  panel_.cursorRow = panel_.cursorColumn = 0;
}

}  // namespace corvane
