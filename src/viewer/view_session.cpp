#include "viewer/view_session.h"

#include <algorithm>
#include <new>

#include "platform/file_system.h"
#include "viewer/viewer_state.h"

namespace corvane {
namespace {

constexpr unsigned char LineFeed = 10, CarriageReturn = 13;

bool lineEndByte(unsigned char b) { return b == LineFeed || b == CarriageReturn; }

void noteFailure(ViewSession& session, FileResult result) {
  if (!result && session.readFailure) session.readFailure = result;
}

// Whether the loaded bytes reach the end of the file: a read that stopped short with all it
// read kept, or the file is no longer than what was loaded.
void markEnd(ViewWindow& w, bool shortReadKept) {
  const std::int64_t now = openFileLength(w.file);
  if (now >= 0) w.fileLength = now;
  w.endsFile = shortReadKept || w.base + static_cast<std::int64_t>(w.length) >= w.fileLength;
}

// The normal load: loadSize bytes, then on to the end of the line they stop in (a CR with
// its LF), at most WindowExtensionBytes more. One byte beyond that limit is read to see
// whether a CR at the limit has an LF after it.
FileResult load(ViewWindow& w, std::int64_t offset) {
  unsigned char* const buffer = w.buffer.get();
  std::fill(buffer, buffer + w.loadSize + WindowExtensionBytes + 1, 0);
  w.base = std::max<std::int64_t>(offset, 0);
  std::size_t got = 0;
  FileResult result = readFileAt(w.file, w.base, buffer, w.loadSize, got);
  w.length = got;
  if (!result || got < w.loadSize || got == 0 || buffer[got - 1] == LineFeed) {
    markEnd(w, got < w.loadSize);
    return result;
  }
  std::size_t extra = 0;
  result = readFileAt(w.file, w.base + static_cast<std::int64_t>(got), buffer + got,
                      WindowExtensionBytes + 1, extra);
  const std::size_t available = got + extra;
  std::size_t end = got + std::min(extra, WindowExtensionBytes);
  for (std::size_t i = got - 1; i < available && i < got + WindowExtensionBytes; ++i) {
    if (buffer[i] == LineFeed) {
      end = i + 1;
      break;
    }
    if (buffer[i] == CarriageReturn) {
      end = i + 1 < available && buffer[i + 1] == LineFeed ? i + 2 : i + 1;
      break;
    }
  }
  std::fill(buffer + end, buffer + available, 0);
  w.length = end;
  markEnd(w, extra <= WindowExtensionBytes && end == available);
  return result;
}

// The load at the end: the last loadSize + WindowExtensionBytes bytes, no extension.
FileResult loadEnd(ViewWindow& w) {
  const std::int64_t now = openFileLength(w.file);
  if (now >= 0) w.fileLength = now;
  const std::size_t asked = w.loadSize + WindowExtensionBytes;
  std::fill(w.buffer.get(), w.buffer.get() + asked + 1, 0);
  w.base = std::max<std::int64_t>(w.fileLength - static_cast<std::int64_t>(asked), 0);
  std::size_t got = 0;
  const FileResult result = readFileAt(w.file, w.base, w.buffer.get(), asked, got);
  w.length = got;
  markEnd(w, got < asked);
  return result;
}

// The start of the display line before pos, reloading earlier bytes when the line's start
// is not in the window. False at the start of the file.
bool stepBack(ViewSession& s, std::size_t& pos) {
  ViewWindow& w = s.window;
  const DivisionRules rules = s.rules();
  for (;;) {
    if (pos == 0 && w.base == 0) return false;
    const std::span<const unsigned char> data = w.data();
    std::size_t q = std::min(pos, data.size());
    if (q > 0 && data[q - 1] == LineFeed) {
      --q;
      if (q > 0 && data[q - 1] == CarriageReturn) --q;
    } else if (q > 0 && data[q - 1] == CarriageReturn) {
      --q;
    }
    // The line's start is looked for WindowStepBack bytes back: a line that began before the
    // window is looked for in an earlier one, a longer one is divided back from here.
    const std::size_t limit = q > static_cast<std::size_t>(WindowStepBack) ? q - WindowStepBack : 0;
    std::size_t start = q;
    while (start > limit && !lineEndByte(data[start - 1])) --start;
    const bool found = start > 0 ? lineEndByte(data[start - 1]) : w.base == 0;
    if (!found) {
      if (start == 0 && pos < static_cast<std::size_t>(WindowStepBack)) {
        const std::int64_t fileOffset = w.base + static_cast<std::int64_t>(pos);
        reloadAt(s, std::max<std::int64_t>(w.base - WindowStepBack, 0));
        if (fileOffset > w.base + static_cast<std::int64_t>(w.length)) {  // it shrank
          pos = w.length;
          return false;
        }
        pos = static_cast<std::size_t>(fileOffset - w.base);
        continue;
      }
      pos = lineStartBefore(data, q, rules);
      return true;
    }
    for (;;) {
      const LineEnd end = divideLine(data, start, w.endsFile, rules);
      if (end.next >= pos || end.next <= start) break;
      start = end.next;
    }
    pos = start;
    return true;
  }
}

// Whether the rows from the top lie inside the window (or the window reaches the file's
// end).
bool pageInWindow(const ViewSession& s) {
  const ViewWindow& w = s.window;
  if (w.endsFile) return true;
  if (s.hex) return w.top + static_cast<std::size_t>(s.rows) * HexRowBytes <= w.length;
  std::size_t pos = w.top;
  for (int row = 0; row < s.rows; ++row) {
    if (pos >= w.length) return false;
    const LineEnd end = divideLine(w.data(), pos, false, s.rules());
    if (!end.complete || end.next <= pos) return false;
    pos = end.next;
  }
  return true;
}

}  // namespace

DivisionRules ViewSession::rules() const {
  const ViewerState& state = viewerState();
  return {state.filter, state.wordWrap ? std::min(std::max(columns, 1), LineLimit) : LineLimit};
}

std::size_t windowLoadSize(int rows) {
  const std::size_t needed = 2 * static_cast<std::size_t>(WindowStepBack) +
                             static_cast<std::size_t>(std::max(rows, 1) + 1) * LineMaxBytes;
  return std::max(WindowLoadBytes, needed);
}

bool prepareWindow(ViewSession& session) {
  ViewWindow& w = session.window;
  const std::size_t size = windowLoadSize(session.rows);
  if (w.buffer && size <= w.loadSize) return true;
  std::unique_ptr<unsigned char[]> buffer(
      new (std::nothrow) unsigned char[size + WindowExtensionBytes + 1]);
  if (!buffer) return false;
  const bool loaded = w.buffer != nullptr;
  w.buffer = std::move(buffer);
  w.loadSize = size;
  if (loaded) reloadAt(session, w.base);
  return true;
}

void reloadAt(ViewSession& session, std::int64_t offset) {
  ViewWindow& w = session.window;
  const std::int64_t top = w.topOffset();
  noteFailure(session, load(w, offset));
  w.top = top >= w.base && top <= w.base + static_cast<std::int64_t>(w.length)
              ? static_cast<std::size_t>(top - w.base)
              : 0;
}

void keepPage(ViewSession& session) {
  if (!pageInWindow(session)) reloadAt(session, session.window.topOffset());
}

void setTopOffset(ViewSession& session, std::int64_t offset) {
  ViewWindow& w = session.window;
  offset = std::max<std::int64_t>(offset, 0);
  if (offset >= w.base && offset <= w.base + static_cast<std::int64_t>(w.length)) {
    w.top = static_cast<std::size_t>(offset - w.base);
  } else {
    noteFailure(session, load(w, offset));
    w.top = 0;
  }
  keepPage(session);
}

void moveHome(ViewSession& session) {
  ViewWindow& w = session.window;
  noteFailure(session, load(w, 0));
  w.top = 0;
  session.horizontalOffset = 0;
}

void moveEnd(ViewSession& session) {
  ViewWindow& w = session.window;
  noteFailure(session, loadEnd(w));
  if (session.hex) {
    w.top = w.length;  // the end, should the file have shrunk to nothing meanwhile
    setTopOffset(session, w.base + static_cast<std::int64_t>(w.length) -
                              static_cast<std::int64_t>(session.rows) * HexRowBytes);
    return;
  }
  std::size_t pos = w.length;
  for (int row = 0; row < session.rows; ++row)
    if (!stepBack(session, pos)) break;
  w.top = pos;
}

void moveDown(ViewSession& session, int lines) {
  ViewWindow& w = session.window;
  for (int i = 0; i < lines; ++i) {
    if (session.hex) {
      if (w.top + HexRowBytes >= w.length) {
        if (w.endsFile) break;
        reloadAt(session, w.topOffset());
        if (w.top + HexRowBytes >= w.length) break;
      }
      w.top += HexRowBytes;
      continue;
    }
    if (w.top >= w.length) {
      if (w.endsFile) break;
      reloadAt(session, w.topOffset());
      if (w.top >= w.length) break;
    }
    LineEnd end = divideLine(w.data(), w.top, w.endsFile, session.rules());
    if (!end.complete) {  // the line runs on past the window: the window from its start
      reloadAt(session, w.topOffset());
      end = divideLine(w.data(), w.top, w.endsFile, session.rules());
    }
    if (end.next <= w.top) break;
    w.top = end.next;
  }
  keepPage(session);
}

void moveUp(ViewSession& session, int lines) {
  ViewWindow& w = session.window;
  if (session.hex) {
    const std::size_t back = static_cast<std::size_t>(lines) * HexRowBytes;
    while (w.top < back && w.base > 0)
      reloadAt(session, std::max<std::int64_t>(w.base - WindowStepBack, 0));
    w.top = w.top >= back ? w.top - back : 0;
    keepPage(session);
    return;
  }
  std::size_t pos = w.top;
  for (int i = 0; i < lines; ++i)
    if (!stepBack(session, pos)) break;
  w.top = pos;
  keepPage(session);
}

void setHexMode(ViewSession& session, bool hex) {
  ViewWindow& w = session.window;
  if (hex == session.hex) return;
  session.hex = hex;
  if (hex && w.top > 0 && lineEndByte(w.buffer[w.top - 1])) {
    setTopOffset(session, w.topOffset() - 2);
    return;
  }
  keepPage(session);
}

void placeHit(ViewSession& session, std::int64_t hit) {
  ViewWindow& w = session.window;
  noteFailure(session, load(w, hit < SearchPlacementStart ? 0 : hit - SearchPlacementLead));
  w.top = 0;
  if (session.hex) {
    setTopOffset(session, hit - SearchHexLead);
    return;
  }
  // The display line that holds the hit: from the start of its line (found up to
  // WindowStepBack bytes back; a longer line is taken as starting at the hit).
  std::size_t pos = static_cast<std::size_t>(std::clamp<std::int64_t>(hit - w.base, 0, w.length));
  std::size_t start = pos;
  for (;;) {
    while (start > 0 && !lineEndByte(w.buffer[start - 1])) --start;
    if (start > 0 || w.base == 0) break;
    if (pos >= static_cast<std::size_t>(WindowStepBack)) {
      start = pos;
      break;
    }
    const std::int64_t before = w.base;
    reloadAt(session, std::max<std::int64_t>(w.base - WindowStepBack, 0));
    pos =
        std::min(pos + static_cast<std::size_t>(before - w.base), w.length);  // it may have shrunk
    start = pos;
  }
  for (;;) {
    const LineEnd end = divideLine(w.data(), start, w.endsFile, session.rules());
    if (end.next > pos || end.next <= start) break;
    start = end.next;
  }
  for (int i = 0; i < 2; ++i)
    if (!stepBack(session, start)) break;
  w.top = start;
  keepPage(session);
}

void formatRows(const ViewSession& session, std::vector<LineText>& rows) {
  const ViewWindow& w = session.window;
  rows.assign(static_cast<std::size_t>(std::max(session.rows, 0)), LineText());
  if (session.hex) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const std::size_t at = w.top + row * HexRowBytes;
      const std::size_t end = std::min(at + HexRowBytes, w.length);
      const std::span<const unsigned char> bytes =
          at < w.length ? w.data().subspan(at, end - at) : std::span<const unsigned char>();
      rows[row] = hexRow(w.base + static_cast<std::int64_t>(at), bytes, at >= w.length,
                         viewerState().filter);
    }
    return;
  }
  const DivisionRules rules = session.rules();
  std::size_t pos = w.top;
  for (LineText& row : rows) {
    if (pos >= w.length) break;
    const LineEnd end = divideLine(w.data(), pos, w.endsFile, rules, &row);
    if (end.next <= pos) break;
    pos = end.next;
  }
}

}  // namespace corvane
