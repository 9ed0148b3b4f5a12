#include "editor/cursor_state.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "config/setup_block.h"
#include "config/setup_path.h"
#include "editor/edit_buffer.h"
#include "platform/file_system.h"
#include "platform/replace_file.h"

namespace corvane {
namespace {

constexpr std::size_t ColumnOffset = CursorRecordNameSize;
constexpr std::size_t RowOffset = ColumnOffset + 4;
constexpr std::size_t LineOffset = RowOffset + 4;
static_assert(LineOffset + 8 == CursorRecordSize);

void putNumber(std::string& bytes, std::size_t at, std::int64_t value) {
  const auto word = static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, INT32_MAX));
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((word >> (8 * i)) & 0xFF);
}

std::int32_t numberAt(std::string_view bytes, std::size_t at) {
  std::uint32_t word = 0;
  for (int i = 0; i < 4; ++i)
    word |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return static_cast<std::int32_t>(word);
}

std::string besideSetupFile(std::string_view extension) {
  std::string_view setupPath = setupBlock().setupPath.text();
  return setupPath.empty() ? std::string() : siblingPath(setupPath, extension);
}

}  // namespace

std::string encodeCursorRecord(const CursorRecord& record) {
  if (record.name.empty() || record.name.size() >= CursorRecordNameSize) return {};
  std::string bytes(CursorRecordSize, '\0');
  bytes.replace(0, record.name.size(), record.name);
  putNumber(bytes, ColumnOffset, record.column);
  putNumber(bytes, RowOffset, record.row);
  putNumber(bytes, LineOffset, record.line);
  return bytes;
}

std::vector<CursorRecord> decodeCursorRecords(std::string_view bytes) {
  std::vector<CursorRecord> records;
  for (std::size_t at = 0;
       at + CursorRecordSize <= bytes.size() && records.size() < MaxCursorRecords;
       at += CursorRecordSize) {
    std::string_view record = bytes.substr(at, CursorRecordSize);
    std::string_view name = record.substr(0, CursorRecordNameSize);
    name = name.substr(0, std::min(name.find('\0'), CursorRecordNameSize - 1));
    if (name.empty()) continue;
    records.push_back({std::string(name), std::max(numberAt(record, ColumnOffset), 0),
                       std::max(numberAt(record, RowOffset), 1),
                       std::max<long>(numberAt(record, LineOffset), 0)});
  }
  return records;
}

std::string cursorStatePath() { return besideSetupFile(".EST"); }
std::string cursorStateTempPath() { return besideSetupFile(".ETM"); }

std::vector<CursorRecord> readCursorRecords() {
  const std::string path = cursorStatePath();
  if (path.empty()) return {};
  FileHandle file;
  if (!openRegularFile(path, file)) return {};
  std::string bytes(CursorRecordSize * MaxCursorRecords, '\0');
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  bytes.resize(got);
  return decodeCursorRecords(bytes);
}

bool saveCursorState(const EditedFile& file) {
  const std::string path = cursorStatePath(), temporary = cursorStateTempPath();
  const std::string first =
      encodeCursorRecord({file.name, file.cursorColumn, file.cursorRow, file.lineNumber});
  if (path.empty() || first.empty()) return true;
  std::string bytes = first;
  std::size_t kept = 1;
  for (const CursorRecord& record : readCursorRecords()) {
    if (kept == MaxCursorRecords) break;
    if (record.name == file.name) continue;
    bytes += encodeCursorRecord(record);
    ++kept;
  }
  return replaceFile(temporary, bytes) && renameOver(temporary, path);
}

bool restoreCursorState(EditedFile& file, int windowRows) {
  for (const CursorRecord& record : readCursorRecords()) {
    if (record.name != file.name) continue;
    const long line = std::min(std::max(record.line, file.lineCount > 0 ? 1L : 0L), file.lineCount);
    file.currentLine = lineAt(file, line);
    file.lineNumber = line;
    file.cursorColumn = std::min(record.column, static_cast<int>(MaxLineBytes));
    file.cursorRow = static_cast<int>(
        std::clamp<long>(record.row, 1, std::min<long>(std::max(windowRows, 1), line + 1)));
    file.leftColumn = 0;
    return true;
  }
  return false;
}

}  // namespace corvane
