#include "archives/archive_panel.h"

#include <unordered_set>
#include <vector>

#include "archives/archive_operations.h"
#include "archives/archive_texts.h"
#include "archives/archives_state.h"
#include "config/archiver_defs.h"
#include "config/definition_lines.h"
#include "fileops/file_commands.h"
#include "panels/archive_listing.h"
#include "panels/name_fold.h"
#include "panels/read_dialogs.h"
#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"

namespace corvane {
namespace {

// A hostile archive can hold a message for every member: a read shows this many at most.
constexpr int MessagesShown = 8;

// Messages of a read in boxes, a few at most; nothing when quiet.
class MessageBoxes {
 public:
  explicit MessageBoxes(bool quiet) : quiet_(quiet) {}
  void show(std::string_view text) {
    if (quiet_ || shown_ >= MessagesShown) return;
    ++shown_;
    messageBox(text);
  }

 private:
  bool quiet_;
  int shown_ = 0;
};

// Fills the panel's listing with the members as they are read.
class ListingSink : public ArchiveSink {
 public:
  ListingSink(ArchiveListing& listing, MessageBoxes& boxes) : listing_(listing), boxes_(boxes) {}
  void member(const ArchiveMember& member) override {
    const ListedName listed = listedNameOf(member);
    FileEntry fields;
    fields.size = member.size;
    fields.time = member.time;
    fields.date = member.date;
    fields.attributes = member.directory ? AttrDirectory : 0;
    listing_.add(listed.path, fields);
  }
  void message(std::string_view text) override { boxes_.show(text); }

 private:
  ArchiveListing& listing_;
  MessageBoxes& boxes_;
};

// Collects every member.
class CollectingSink : public ArchiveSink {
 public:
  explicit CollectingSink(std::vector<PanelMember>& members) : members_(members) {}
  void member(const ArchiveMember& member) override {
    members_.push_back({member, listedNameOf(member)});
  }
  void message(std::string_view) override {}

 private:
  std::vector<PanelMember>& members_;
};

// Finds the member listed under a path: the first with that exact path, else the first whose
// path differs only in case (as the listing shows the first of those).
class FindingSink : public ArchiveSink {
 public:
  explicit FindingSink(std::string path) : path_(std::move(path)) {}
  void member(const ArchiveMember& member) override {
    if (exact_) return;
    ListedName listed = listedNameOf(member);
    if (listed.path == path_) {
      found_ = {member, std::move(listed)};
      exact_ = folded_ = true;
    } else if (!folded_ && equalFolded(listed.path, path_)) {
      found_ = {member, std::move(listed)};
      folded_ = true;
    }
  }
  void message(std::string_view) override {}
  bool found() const { return folded_; }
  const PanelMember& result() const { return found_; }

 private:
  std::string path_;
  PanelMember found_;
  bool exact_ = false, folded_ = false;
};

// Shows why an archive could not be opened, in its reader's words.
void reportOpenFailure(int type, std::string_view path, MessageBoxes& boxes) {
  const std::string name(path);
  switch (type) {
    case ArchiveZip:
      boxes.show(textf(FormatZipCannotOpen, name.c_str()));
      break;
    case ArchiveZoo:
      boxes.show(textf(FormatZooCannotOpen, name.c_str()));
      break;
    default:
      boxes.show(textf(FormatArjCannotOpen, name.c_str()));
      break;
  }
}

bool readMembersInto(std::string_view archivePath, int type, bool byContent, ArchiveSink& sink) {
  FileSource source;
  std::string opened;
  if (!openArchiveFile(type, archivePath, source, opened)) return false;
  (void)readArchive(type, source, sink, opened, byContent);
  return true;
}

}  // namespace

std::string archivePathOf(const Panel& panel) { return splitArchiveMask(panel.mask).archivePath; }

bool typedByContent(const Panel& panel) {
  return archiveTypeByExtension(archivePathOf(panel)) != panel.archiveType;
}

int readArchiveDirectory(Panel& panel, SortMode mode, bool quiet) {
  const std::string archive = archivePathOf(panel);
  ReadingNote note(!quiet);
  if (!quiet) loadArchiveDefinitions(archive);
  std::unordered_set<std::string> selected;
  for (NodeId id : chain(panel.list)) {
    const FileNode& n = panel.list.nodes[id];
    if ((n.mark & MarkSelected) != 0) selected.insert(n.entry.name);
  }

  MessageBoxes boxes(quiet);
  ArchiveListing listing(panel, mode);
  ListingSink sink(listing, boxes);
  FileSource source;
  std::string opened;
  int result;
  if (openArchiveFile(panel.archiveType, archive, source, opened)) {
    result = readArchive(panel.archiveType, source, sink, opened, typedByContent(panel));
  } else {
    reportOpenFailure(panel.archiveType, archive, boxes);
    result = ArchiveMissing;
  }
  listing.finish();
  if (!selected.empty()) {
    for (NodeId id : chain(panel.list)) {
      FileNode& n = panel.list.nodes[id];
      if (selected.contains(n.entry.name) && !isParentEntry(n.entry)) n.mark |= MarkSelected;
    }
    countList(panel);
  }
  return result;
}

bool readArchiveMembers(std::string_view archivePath, int type, bool byContent,
                        std::vector<PanelMember>& members) {
  CollectingSink sink(members);
  return readMembersInto(archivePath, type, byContent, sink);
}

bool findPanelMember(const Panel& panel, std::string_view name, PanelMember& found) {
  const ArchiveMaskParts parts = splitArchiveMask(panel.mask);
  FindingSink sink(parts.innerDirectory + std::string(name));
  if (!readMembersInto(parts.archivePath, panel.archiveType, typedByContent(panel), sink) ||
      !sink.found())
    return false;
  found = sink.result();
  return true;
}

int openArchiveCommand(CommandContext& context, CommandId) {
  Panel& panel = context.currentPanel();
  const FileNode* node = cursorEntry(context);
  if (node == nullptr || node->entry.isDirectory() || panel.archiveType != 0 ||
      context.inGlobalList()) {
    rejectBeep();
    return LoopContinue;
  }
  const std::string path = fullPath(joinPath(panel.currentDirectory, node->entry.name));
  bool byContent = false;
  const int type = archiveTypeOfFile(path, byContent);
  if (type == ArchiveNone) {
    if (!lastExtensionOf(path).empty()) messageBox(TextArchiveTypeUnknown);
    return LoopContinue;
  }

  Panel archive;
  archive.layout = panel.layout;
  archive.displayBits = panel.displayBits;
  archive.nameCase = 1;
  archive.volume = panel.volume;
  archive.currentDirectory = panel.currentDirectory;
  archive.mask = path + "/*.*";
  archive.archiveType = type;
  const int result = context.runNestedLoop(archive);
  releaseAllExtracted();
  freePanel(archive);
  context.reread = RereadInPlace;  // the archive may have changed
  return result;
}

namespace {

// The next pass reads the archive panel again, its marks cleared (another directory).
void readAgain(CommandContext& context) {
  clearMarks(context.currentPanel().list);
  context.reread = RereadInPlace;
  context.freshRead = true;
}

}  // namespace

int enterArchiveDirectoryCommand(CommandContext& context, std::string_view name) {
  Panel& panel = context.currentPanel();
  panel.mask = enterArchiveDirectory(panel.mask, name);
  readAgain(context);
  context.placement = PlaceFirst;
  return LoopContinue;
}

int leaveArchiveDirectoryCommand(CommandContext& context) {
  Panel& panel = context.currentPanel();
  const std::string inner = splitArchiveMask(panel.mask).innerDirectory;
  if (!leaveArchiveDirectory(panel.mask)) return LoopEnd;
  readAgain(context);
  // The cursor goes onto the directory that was left.
  const std::string_view left = std::string_view(inner).substr(0, inner.size() - 1);
  context.placement = PlaceLeftDirectory;
  context.leftDirectory = std::string(left.substr(left.rfind('/') + 1));
  return LoopContinue;
}

int archiveTopCommand(CommandContext& context) {
  Panel& panel = context.currentPanel();
  ArchiveMaskParts parts = splitArchiveMask(panel.mask);
  if (parts.innerDirectory.empty()) return LoopContinue;
  parts.innerDirectory.clear();
  panel.mask = joinArchiveMask(parts);
  readAgain(context);
  context.placement = PlaceFirst;
  return LoopContinue;
}

std::string archivePanelTitle(const Panel& panel) {
  const ArchiveMaskParts parts = splitArchiveMask(panel.mask);
  return parts.archivePath + "/" + parts.innerDirectory;
}

}  // namespace corvane
