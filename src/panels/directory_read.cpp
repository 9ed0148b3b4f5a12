#include "panels/directory_read.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "panels/mask.h"
#include "panels/name_fold.h"
#include "panels/read_dialogs.h"
#include "panels/read_texts.h"
#include "platform/drive_info.h"
#include "platform/find.h"
#include "platform/paths.h"
#include "platform/textf.h"

namespace corvane {

namespace {

bool showsReadingNote(const Panel& panel, const ReadOptions& options) {
  return panel.layout == LayoutSingleList && options.ownKeyboardLayout;
}

std::string searchPattern(const Panel& panel) { return joinPath(panel.currentDirectory, "*.*"); }

void lowerCaseLetters(std::string& name) {
  for (char& c : name) c = static_cast<char>(foldByte(static_cast<unsigned char>(c)));
}

// Takes a found record as an entry when the list shows it: a directory other than ".", a
// file whose name matches the mask.
bool acceptRecord(const FindRecord& record, const CompiledMask& mask) {
  if ((record.attribute & AttrDirectory) != 0) return record.name != ".";
  return maskMatches(mask, record.name);
}

FileEntry entryOf(const FindRecord& record, int nameCase) {
  FileEntry e;
  e.name = record.name;
  if (nameCase == 0) lowerCaseLetters(e.name);
  e.attributes = record.attribute;
  e.time = record.time;
  e.date = record.date;
  e.size = record.size;
  return e;
}

// The list becomes one node holding entry with the given mark.
void makeSingleNode(Panel& panel, FileEntry entry, std::uint32_t mark) {
  freeList(panel.list);
  const NodeId id = allocateNode(panel.list, std::move(entry), mark);
  linkBefore(panel.list, id, NoNode);
}

void homeCursor(Panel& panel) {
  panel.cursor = panel.top = panel.list.head;
  panel.cursorRow = panel.cursorColumn = 0;
}

// Finds the listed node a re-read name belongs to. Buckets chain the nodes in list order;
// a node once matched is not matched again, so two names that differ only in case (one
// directory on a case-sensitive host) keep two nodes.
class NameIndex {
 public:
  explicit NameIndex(const FileList& list) : list_(list) {
    std::size_t size = 16;
    while (size < static_cast<std::size_t>(list.length) * 2) size <<= 1;
    buckets_.assign(size, NoNode);
    chainNext_.assign(list.nodes.size(), NoNode);
    matched_.assign(list.nodes.size(), 0);
    const std::vector<NodeId> order = chainOrder(list);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      const FileEntry& e = list.nodes[*it].entry;
      NodeId& bucket = buckets_[slot(e.name, e.isDirectory())];
      chainNext_[*it] = bucket;
      bucket = *it;
    }
  }

  NodeId take(std::string_view name, bool directory) {
    NodeId folded = NoNode;
    for (NodeId id = buckets_[slot(name, directory)]; id != NoNode; id = chainNext_[id]) {
      const FileEntry& e = list_.nodes[id].entry;
      if (matched_[id] != 0 || e.isDirectory() != directory || !equalFolded(e.name, name)) continue;
      if (e.name == name) {
        folded = id;
        break;
      }
      if (folded == NoNode) folded = id;
    }
    if (folded != NoNode) matched_[folded] = 1;
    return folded;
  }

 private:
  std::size_t slot(std::string_view name, bool directory) const {
    return static_cast<std::size_t>(foldedHash(name) ^ (directory ? 0x9E3779B97F4A7C15ull : 0)) &
           (buckets_.size() - 1);
  }

  const FileList& list_;
  std::vector<NodeId> buckets_;
  std::vector<NodeId> chainNext_;
  std::vector<std::uint8_t> matched_;
};

}  // namespace

void readVolumeInformation(Panel& panel) {
  DriveInfo info;
  const char letter = driveLetterOf(panel.currentDirectory);
  if (letter != 0) getDriveInfo(letter - 'A' + 1, info);
  panel.volume.totalClusters = info.totalClusters;
  panel.volume.freeClusters = info.availableClusters;
  panel.volume.sectorsPerCluster = info.sectorsPerCluster;
  panel.volume.bytesPerSector = info.bytesPerSector;
  panel.volume.fileSystemClass = info.fileSystemType;
  panel.volume.volumeName = info.volumeLabel;
  panel.nameCase = info.fileSystemType == FileSystemLongNames ? 2 : 0;
}

int readDirectory(Panel& panel, const ReadOptions& options) {
  ReadingNote note(showsReadingNote(panel, options));
  panel.archiveType = 0;
  freePanelList(panel);
  panel.nameCase = 0;
  readVolumeInformation(panel);

  FindRecord record;
  if (findFirst(searchPattern(panel), 0, record) != 0) {
    if (record.failure.accessDenied()) reportAccessError();
    makeSingleNode(panel, parentEntry(), 0);
    countList(panel);
    homeCursor(panel);
    return ReadDone;
  }

  const CompiledMask mask = compileMask(panel.mask);
  CancelPoll poll;
  int result = ReadDone;
  do {
    if (acceptRecord(record, mask)) {
      const NodeId id = allocateNode(panel.list, entryOf(record, panel.nameCase));
      linkBefore(panel.list, id, NoNode);
    }
    if (panel.list.length > 0 && poll.cancelled()) {
      result = ReadCancelled;
      break;
    }
  } while (findNext(record) == 0);
  findClose(record);

  if (panel.list.length == 0)
    makeSingleNode(panel, parentEntry(), MarkError);
  else
    sortList(panel.list, options.sortMode);
  countList(panel);
  homeCursor(panel);
  return result;
}

int rereadDirectory(Panel& panel, const ReadOptions& options) {
  FileList& list = panel.list;
  for (NodeId id : chain(list)) list.nodes[id].mark |= MarkNotSeen;
  ReadingNote note(showsReadingNote(panel, options));
  panel.nameCase = 0;
  readVolumeInformation(panel);

  FindRecord record;
  int result = ReadDone;
  bool nothingAccepted = false;
  if (findFirst(searchPattern(panel), 0, record) != 0) {
    if (record.failure.accessDenied()) reportAccessError();
    if (list.head == NoNode) {
      makeSingleNode(panel, parentEntry(), 0);
    } else {
      FileNode& head = list.nodes[list.head];
      head.entry = parentEntry();
      head.mark = 0;  // a selection or placeholder mark does not carry over to ".."
      head.directory = NoDirectory;
    }
  } else {
    const CompiledMask mask = compileMask(panel.mask);
    NameIndex index(list);
    std::vector<PendingEntry> pending;
    bool accepted = false;
    CancelPoll poll;
    do {
      if (acceptRecord(record, mask)) {
        accepted = true;
        FileEntry entry = entryOf(record, panel.nameCase);
        const NodeId id = index.take(entry.name, entry.isDirectory());
        if (id == NoNode) {
          pending.push_back({std::move(entry), 0});
        } else {
          FileNode& n = list.nodes[id];
          // A directory whose size was computed holds that size, not the one on disk.
          const bool computed = n.entry.isDirectory() && (n.mark & MarkSizeComputed) != 0;
          if (n.entry.time == entry.time && n.entry.date == entry.date &&
              (computed || n.entry.size == entry.size)) {
            n.mark &= ~MarkNotSeen;
            n.entry.attributes = entry.attributes;
            if (n.entry.name != entry.name) n.entry.name = std::move(entry.name);
          } else {
            // A computed size does not hold for the changed directory.
            pending.push_back({std::move(entry), n.mark & ~(MarkNotSeen | MarkSizeComputed)});
          }
        }
      }
      if (accepted && poll.cancelled()) {
        result = ReadCancelled;
        break;
      }
    } while (findNext(record) == 0);
    findClose(record);

    if (result == ReadCancelled)  // what was not compared yet stays
      for (NodeId id : chain(list)) list.nodes[id].mark &= ~MarkNotSeen;
    insertEntries(list, std::move(pending), options.sortMode);
    nothingAccepted = !accepted;
  }

  removeNodes(panel, [](const FileNode& n) { return (n.mark & MarkNotSeen) != 0; });
  if (list.head == NoNode) makeSingleNode(panel, parentEntry(), 0);  // never read before
  if (nothingAccepted) list.nodes[list.head].mark = MarkError;       // what removal left: ".."
  countList(panel);
  homeCursor(panel);
  return result;
}

int readFromSource(Panel& panel, const ReadOptions& options, const EntrySource& source) {
  ReadingNote note(showsReadingNote(panel, options));
  panel.archiveType = 0;
  freePanelList(panel);
  panel.nameCase = 0;
  readVolumeInformation(panel);

  FileEntry entry;
  int last = source(entry, 0);
  if (last != 0) {
    FileEntry blank;
    blank.name = std::string(TextNoEntryName);
    makeSingleNode(panel, std::move(blank), MarkError);
    countList(panel);
    homeCursor(panel);
    return ReadDone;
  }

  const CompiledMask mask = compileMask(panel.mask);
  CancelPoll poll;
  int result = ReadDone;
  while (last == 0) {
    const bool accept = !entry.name.empty() &&
                        (entry.isDirectory() ? entry.name != "." : maskMatches(mask, entry.name));
    if (accept) {
      if (panel.nameCase == 0) lowerCaseLetters(entry.name);
      const NodeId id = allocateNode(panel.list, std::move(entry));
      linkBefore(panel.list, id, NoNode);
    }
    if (panel.list.length > 0 && poll.cancelled()) {
      result = ReadCancelled;
      break;
    }
    entry = FileEntry{};
    last = source(entry, 1);
  }

  if (panel.list.length == 0) {
    FileEntry error;
    error.name = textf(FormatSourceErrorName, last);
    makeSingleNode(panel, std::move(error), MarkError);
  } else {
    sortList(panel.list, options.sortMode);
  }
  countList(panel);
  homeCursor(panel);
  return result;
}

}  // namespace corvane
