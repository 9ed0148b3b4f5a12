// The input history shared by every field: up to 500 earlier texts, oldest first, each with
// a 16-bit kind tag, kept in the history file beside the setup file and offered in the
// " Select text " pick window.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

constexpr std::string_view HistoryPickTitle = " Select text ";

constexpr int HistoryCapacity = 500;
constexpr std::size_t HistoryTextLimit = 261;  // bytes of one entry's text

// Kind tag of the texts the line input records.
constexpr int HistoryKindInput = 0;
// pickFromHistory: every kind.
constexpr int HistoryAllKinds = -1;

struct HistoryEntry {
  std::string text;
  std::uint16_t kind = 0;
};

// The file the history lives in (a program path, normally the setup path with "._C_").
// Setting it forgets the list in memory: the file is read when the history is next needed,
// and saving is switched on. Until a file is set, and with an empty path (no setup
// directory), the history lives in memory only.
void setHistoryFilePath(std::string_view path);
const std::string& historyFilePath();
// Writing the file after every change (on once a file is set).
void setHistorySaving(bool on);
bool historySaving();

// Process-wide switch: the input dialog and history fields record texts only while it is on
// (it is on by default).
void setRecordHistory(bool on);
bool recordHistory();

// Entries, 0 the oldest; the list is read from the file first when needed.
int historyCount();
const HistoryEntry& historyEntry(int index);

// Adds a text as the newest entry: an entry with the same text is removed first, the oldest
// is dropped when 500 are present. Empty texts and texts longer than HistoryTextLimit bytes
// are not added (false). The file is written at once while saving is on.
bool addToHistory(std::string_view text, int kind);
// Removes an entry (no effect for an index out of range); the file is not written.
void removeHistoryEntry(int index);
// Writes the whole list to the history file through a temporary file and a rename. Entries
// that another instance saved into the file since this one read or last wrote it are merged
// in first (as newer than the older entries here, older than those added here since). False
// when it could not be written (the old file stays).
bool saveHistory();

// The " Select text " window over the entries of a kind (or HistoryAllKinds), starting at
// the newest: Up, Down, PgUp, PgDn, Home and End move, Del removes the highlighted entry
// (the file is rewritten when the window closes), Enter chooses, Escape chooses nothing.
// A click on an entry highlights it, a double click chooses it, a click outside closes.
std::optional<std::string> pickFromHistory(int kind = HistoryAllKinds);

// The stored layout: per entry, oldest first, a 16-bit little-endian length (at most 261),
// the text bytes and the 16-bit little-endian kind.
std::string encodeHistory(std::span<const HistoryEntry> entries);
// The entries of a stored image up to its last whole entry; a length above the limit ends
// the reading. Keeps the newest HistoryCapacity entries.
std::vector<HistoryEntry> decodeHistory(std::string_view image);

// Forgets the list, the file and the switches (tests).
void resetHistory();

}  // namespace corvane
