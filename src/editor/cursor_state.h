// The editor's state file: where the cursor stood in the files saved most recently, so that
// editing one again starts there. Fixed records of 277 bytes, the most recently saved first,
// beside the setup file (".EST", rewritten through ".ETM"); without a setup file there is none.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct EditedFile;

constexpr std::size_t CursorRecordSize = 277;
constexpr std::size_t CursorRecordNameSize = 261;
constexpr std::size_t MaxCursorRecords = 70;

// One record: the file's full name, the cursor column (from 0), its window row (from 1) and
// the line number.
struct CursorRecord {
  std::string name;
  int column = 0;
  int row = 1;
  long line = 1;
};

// The 277 bytes of a record: the name zero-padded to 261 bytes, then column, row and line
// as 32-bit little-endian numbers and 4 zero bytes. Empty for a name of more than 260 bytes.
std::string encodeCursorRecord(const CursorRecord& record);
// The records of a state file's bytes in order: whole records only, at most 70.
std::vector<CursorRecord> decodeCursorRecords(std::string_view bytes);

// The state file and its temporary beside the setup file; "" without a setup file.
std::string cursorStatePath();
std::string cursorStateTempPath();

// The records of the state file (none when it is missing, unreadable or there is none).
std::vector<CursorRecord> readCursorRecords();
// Puts the file's cursor first in the state file, dropping its older record and keeping at
// most 70 in all: the new file is written as ".ETM" and renamed over ".EST". Nothing for a
// name of more than 260 bytes or without a setup file. False when writing failed.
bool saveCursorState(const EditedFile& file);
// Puts the cursor where the first record of the file's name says: column, window row (at
// most windowRows, and never above the first line) and line (a line past the end gives the
// last). False when there is no record for it.
bool restoreCursorState(EditedFile& file, int windowRows);

}  // namespace corvane
