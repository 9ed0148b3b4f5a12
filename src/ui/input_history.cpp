#include "ui/input_history.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>
#include <utility>

#include "platform/charset.h"
#include "platform/color.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/replace_file.h"
#include "platform/screen.h"
#include "ui/ui_state.h"
#include "ui/window.h"

namespace corvane {
namespace {

// A file written by the program holds at most 500 entries of 265 bytes; anything beyond
// this was not, and is not read.
constexpr std::size_t HistoryFileReadLimit = 1 << 20;

// The pick window.
constexpr int PickMaxRows = 20;  // rows of entries at most (their zone codes stay item codes)
constexpr int PickMinWidth = 30;
constexpr KeyCode ItemZoneBase = 0x0500;

HistoryState& history() { return uiState().history; }

// The entries of the history file (none when it is missing or not a regular file).
std::vector<HistoryEntry> readHistoryEntries(const std::string& path) {
  FileHandle file = openFile(path, "rb");
  if (!file) return {};
  std::string image;
  char buffer[8192];
  while (image.size() < HistoryFileReadLimit) {
    std::size_t want = std::min(sizeof buffer, HistoryFileReadLimit - image.size());
    std::size_t got = std::fread(buffer, 1, want, file.get());
    image.append(buffer, got);
    if (got < want) break;
  }
  return decodeHistory(image);
}

void rememberFileTexts(HistoryState& h) {
  h.fileTexts.clear();
  for (const HistoryEntry& e : h.entries) h.fileTexts.insert(e.text);
  h.addedTexts.clear();
}

void readHistoryFile() {
  HistoryState& h = history();
  h.entries.clear();
  if (!h.path.empty()) h.entries = readHistoryEntries(h.path);
  rememberFileTexts(h);
}

// The list to write: the entries another instance put into the file since this one last read
// or wrote it go in before the entries added here since, as newer than everything else.
std::vector<HistoryEntry> mergedWithFile(const HistoryState& h) {
  std::vector<HistoryEntry> appeared;
  std::unordered_set<std::string> appearedTexts;
  for (HistoryEntry& e : readHistoryEntries(h.path))
    if (!h.fileTexts.contains(e.text) && appearedTexts.insert(e.text).second)
      appeared.push_back(std::move(e));
  if (appeared.empty()) return h.entries;

  std::size_t ownStart = h.entries.size();  // the texts added here are the newest
  while (ownStart > 0 && h.addedTexts.contains(h.entries[ownStart - 1].text)) --ownStart;
  std::vector<HistoryEntry> merged;
  for (std::size_t i = 0; i < ownStart; ++i)
    if (!appearedTexts.contains(h.entries[i].text)) merged.push_back(h.entries[i]);
  for (HistoryEntry& e : appeared)
    if (!h.addedTexts.contains(e.text)) merged.push_back(std::move(e));
  merged.insert(merged.end(), h.entries.begin() + static_cast<std::ptrdiff_t>(ownStart),
                h.entries.end());
  if (merged.size() > static_cast<std::size_t>(HistoryCapacity))
    merged.erase(merged.begin(), merged.end() - HistoryCapacity);
  return merged;
}

std::vector<HistoryEntry>& entries() {
  HistoryState& h = history();
  if (!h.loaded) {
    h.loaded = true;
    readHistoryFile();
  }
  return h.entries;
}

void putLittleEndian16(std::string& out, unsigned value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

unsigned littleEndian16(std::string_view image, std::size_t pos) {
  return static_cast<unsigned char>(image[pos]) |
         (static_cast<unsigned>(static_cast<unsigned char>(image[pos + 1])) << 8);
}

// The pick window over the entries of one kind.
class HistoryPick {
 public:
  explicit HistoryPick(int kind) : kind_(kind) { collect(); }

  std::optional<std::string> run() {
    if (shown_.empty()) {
      rejectBeep();
      return std::nullopt;
    }
    std::optional<std::string> chosen;
    const int savedShape = cursorShape();
    {
      SavedMouseZones callerZones;
      if (open() == 0) {
        setCursorShape(CursorHidden);
        chosen = loop();
        freeWindow(window_);
      }
    }
    setCursorShape(savedShape);
    if (removed_ && history().saving) saveHistory();
    return chosen;
  }

 private:
  void collect() {
    shown_.clear();
    const std::vector<HistoryEntry>& list = entries();
    for (int i = 0; i < static_cast<int>(list.size()); ++i)
      if (kind_ == HistoryAllKinds || list[static_cast<std::size_t>(i)].kind == kind_)
        shown_.push_back(i);
  }

  int count() const { return static_cast<int>(shown_.size()); }
  // The history entry of a shown item.
  const HistoryEntry& entryAt(int item) {
    return entries()[static_cast<std::size_t>(shown_[static_cast<std::size_t>(item)])];
  }

  int open() {
    const int columns = screenColumns(), rows = screenRows();
    rows_ = std::clamp(std::min(count(), rows - 6), 1, PickMaxRows);
    int longest = 0;
    for (int item = 0; item < count(); ++item)
      longest = std::max(longest, textCells(entryAt(item).text));
    const int width = std::clamp(longest + 4, PickMinWidth, std::max(columns - 4, 3));
    const int height = rows_ + 2;
    const int x = std::max((columns - width) / 2, 0) + 1;
    const int y = std::max((rows - height) / 2, 0) + 1;
    ColorAttr attr = color(ColorLineeditor);
    if (openWindow(window_, x, y, width, height, attr, attr,
                   WindowClear | WindowShadow | WindowSingle, HistoryPickTitle) != 0)
      return -1;
    selected_ = count() - 1;
    top_ = std::max(count() - rows_, 0);
    return 0;
  }

  void registerZones() {
    std::vector<MouseZone> zones;
    const ScreenWindow& w = *window_;
    for (int row = 0; row < rows_; ++row) {
      MouseZone zone;
      zone.x1 = windowScreenColumn(w, 1);
      zone.x2 = windowScreenColumn(w, windowLastColumn(w));
      zone.y1 = zone.y2 = windowScreenRow(w, row + 1);
      zone.leftCode = ItemZoneBase + row;
      zones.push_back(zone);
    }
    MouseZone outside;
    outside.y1 = MouseZoneFallback;
    outside.leftCode = key::Escape;
    zones.push_back(outside);
    registerMouseZones(zones);
  }

  void draw() {
    ScreenWindow& w = *window_;
    const ColorAttr normal = w.textColor;
    const int interior = windowLastColumn(w);
    raiseHold(1);
    for (int row = 0; row < rows_; ++row) {
      int item = top_ + row;
      std::string_view text;
      if (item < count()) text = entryAt(item).text;
      if (item == selected_) w.textColor = color(ColorActFilecursor);
      writeText(text, interior - 1, 1, row + 1, WritePad);
      w.textColor = normal;
    }
    if (lowerHold(1) == 0) flushWindowRect(w.x, w.y, w.width, w.height);
  }

  void moveTo(int item) {
    selected_ = std::clamp(item, 0, count() - 1);
    if (selected_ < top_) top_ = selected_;
    if (selected_ >= top_ + rows_) top_ = selected_ - rows_ + 1;
    top_ = std::clamp(top_, 0, std::max(count() - rows_, 0));
  }

  // Removes the highlighted entry; false when none is left.
  bool removeSelected() {
    removeHistoryEntry(shown_[static_cast<std::size_t>(selected_)]);
    removed_ = true;
    collect();
    if (shown_.empty()) return false;
    moveTo(selected_);
    return true;
  }

  std::optional<std::string> loop() {
    for (;;) {
      draw();
      registerZones();
      KeyCode code = readKey();
      switch (code) {
        case key::Up:
          moveTo(selected_ - 1);
          break;
        case key::Down:
          moveTo(selected_ + 1);
          break;
        case key::PgUp:
          moveTo(selected_ - rows_);
          break;
        case key::PgDn:
          moveTo(selected_ + rows_);
          break;
        case key::Home:
          moveTo(0);
          break;
        case key::End:
          moveTo(count() - 1);
          break;
        case key::Del:
          if (!removeSelected()) return std::nullopt;
          break;
        case key::Enter:
          return entryAt(selected_).text;
        case key::Escape:
          return std::nullopt;
        default:
          if (code >= ItemZoneBase && code < ItemZoneBase + rows_ &&
              top_ + code - ItemZoneBase < count())
            moveTo(top_ + code - ItemZoneBase);
          break;
      }
    }
  }

  int kind_;
  std::vector<int> shown_;  // indices into the history, oldest first
  WindowHandle window_;
  int rows_ = 1, top_ = 0, selected_ = 0;
  bool removed_ = false;
};

}  // namespace

void setHistoryFilePath(std::string_view path) {
  HistoryState& h = history();
  h.path = std::string(path);
  h.entries.clear();
  h.loaded = false;
  h.saving = !h.path.empty();
}

const std::string& historyFilePath() { return history().path; }

void setHistorySaving(bool on) { history().saving = on; }
bool historySaving() { return history().saving; }

void setRecordHistory(bool on) { history().record = on; }
bool recordHistory() { return history().record; }

int historyCount() { return static_cast<int>(entries().size()); }

const HistoryEntry& historyEntry(int index) {
  return entries().at(static_cast<std::size_t>(index));
}

bool addToHistory(std::string_view text, int kind) {
  if (text.empty() || text.size() > HistoryTextLimit) return false;
  std::vector<HistoryEntry>& list = entries();
  std::erase_if(list, [&](const HistoryEntry& e) { return e.text == text; });
  if (list.size() >= static_cast<std::size_t>(HistoryCapacity))
    list.erase(list.begin(), list.end() - (HistoryCapacity - 1));
  list.push_back({std::string(text), static_cast<std::uint16_t>(kind)});
  history().addedTexts.insert(std::string(text));
  if (history().saving) saveHistory();
  return true;
}

void removeHistoryEntry(int index) {
  std::vector<HistoryEntry>& list = entries();
  if (index >= 0 && index < static_cast<int>(list.size())) list.erase(list.begin() + index);
}

bool saveHistory() {
  HistoryState& h = history();
  if (h.path.empty()) return false;
  entries();  // read first when not read yet
  std::vector<HistoryEntry> merged = mergedWithFile(h);
  if (!replaceFile(h.path, encodeHistory(merged))) return false;
  h.entries = std::move(merged);
  rememberFileTexts(h);
  return true;
}

std::optional<std::string> pickFromHistory(int kind) { return HistoryPick(kind).run(); }

std::string encodeHistory(std::span<const HistoryEntry> list) {
  std::string image;
  for (const HistoryEntry& e : list) {
    if (e.text.size() > HistoryTextLimit) continue;  // never stored: the reader would stop
    putLittleEndian16(image, static_cast<unsigned>(e.text.size()));
    image += e.text;
    putLittleEndian16(image, e.kind);
  }
  return image;
}

std::vector<HistoryEntry> decodeHistory(std::string_view image) {
  std::vector<HistoryEntry> list;
  std::size_t pos = 0;
  while (image.size() - pos >= 2) {
    std::size_t length = littleEndian16(image, pos);
    if (length > HistoryTextLimit || image.size() - pos < 2 + length + 2) break;
    HistoryEntry entry;
    entry.text.assign(image.substr(pos + 2, length));
    entry.kind = static_cast<std::uint16_t>(littleEndian16(image, pos + 2 + length));
    list.push_back(std::move(entry));
    pos += 2 + length + 2;
  }
  if (list.size() > static_cast<std::size_t>(HistoryCapacity))
    list.erase(list.begin(), list.end() - HistoryCapacity);
  return list;
}

void resetHistory() { history() = HistoryState{}; }

}  // namespace corvane
