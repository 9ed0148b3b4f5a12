// What one run of the viewer shows of its file: the file window (the part of the file held
// in memory, moved through the file as the user scrolls), the top line, the hex mode and the
// horizontal offset, and the moves between them. Offsets are 64-bit file offsets; the window
// holds at most a bounded number of bytes whatever the file's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <vector>

#include "platform/file_result.h"
#include "viewer/line_format.h"

namespace corvane {

// A load reads WindowLoadBytes (more on tall text areas, see windowLoadSize) and then up to
// WindowExtensionBytes more, to the end of a line. A step back reloads WindowStepBack bytes
// earlier.
constexpr std::size_t WindowLoadBytes = 15983;
constexpr std::size_t WindowExtensionBytes = 400;
constexpr std::int64_t WindowStepBack = 8192;
// A search hit in the first SearchPlacementStart bytes is shown with the window at the file's
// start, a later one with the window SearchPlacementLead bytes before it; the top goes two
// lines (hex: SearchHexLead bytes) before the hit.
constexpr std::int64_t SearchPlacementStart = 15983;
constexpr std::int64_t SearchPlacementLead = 800;
constexpr std::int64_t SearchHexLead = 48;
constexpr int HexRowBytes = 16;

// The load size for a text area of rows: WindowLoadBytes, or enough for a step back and a
// page of the longest lines after it.
std::size_t windowLoadSize(int rows);

struct ViewWindow {
  std::FILE* file = nullptr;
  std::unique_ptr<unsigned char[]> buffer;
  std::size_t loadSize = WindowLoadBytes;  // the buffer holds loadSize + WindowExtensionBytes + 1
  std::int64_t base = 0;                   // file offset of buffer byte 0
  std::size_t length = 0;                  // bytes loaded
  std::size_t top = 0;                     // where the first shown row begins
  std::int64_t fileLength = 0;             // as last taken
  bool endsFile = false;                   // the loaded bytes reach the end of the file

  std::span<const unsigned char> data() const { return {buffer.get(), length}; }
  std::int64_t topOffset() const { return base + static_cast<std::int64_t>(top); }
};

struct ViewSession {
  ViewWindow window;
  bool hex = false;
  int horizontalOffset = 0;
  int rows = 1;     // text rows shown
  int columns = 1;  // their width
  // The first read failure since the caller last looked; the load that failed kept what it
  // read before it.
  FileResult readFailure;

  DivisionRules rules() const;
};

// Allocates the window for the session's rows (again, larger, when the rows grew; the top
// stays). False when memory is short.
[[nodiscard]] bool prepareWindow(ViewSession& session);

// Loads the window at an offset (buffer cleared first); the top stays at the same file offset
// when that lies inside the new window, else goes to its start.
void reloadAt(ViewSession& session, std::int64_t offset);

// The moves. Each leaves the rows to show inside the window (reloading as needed).
void moveHome(ViewSession& session);
// Takes the file's length again, so a file that grew shows its new end.
void moveEnd(ViewSession& session);
void moveDown(ViewSession& session, int lines);  // text: display lines; hex: rows of 16 bytes
void moveUp(ViewSession& session, int lines);
void setHexMode(ViewSession& session, bool hex);
// Puts the top at an offset.
void setTopOffset(ViewSession& session, std::int64_t offset);
// Shows a search hit: the window from the file start or SearchPlacementLead bytes before it,
// the top two display lines (hex: SearchHexLead bytes) before the hit's line.
void placeHit(ViewSession& session, std::int64_t hit);
// After a change of the rows, the width or the division: the page inside the window again.
void keepPage(ViewSession& session);

// The session's rows, formatted from the top (empty rows past the end of the text).
void formatRows(const ViewSession& session, std::vector<LineText>& rows);

}  // namespace corvane
