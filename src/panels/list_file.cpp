#include "panels/list_file.h"

#include "panels/display_texts.h"
#include "panels/entry_format.h"
#include "platform/charset.h"
#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/replace_file.h"
#include "platform/textf.h"
#include "ui/file_failure.h"
#include "ui/input_dialog.h"

namespace corvane {

namespace {

constexpr int ListFileFieldCells = 45;
constexpr int ListFileDialogColumn = 8;
constexpr int ListFileDialogRow = 10;

bool showsFullPath(const Panel& panel) {
  return isGlobalList(panel) && (panel.displayBits & DisplayModeBits) != DisplayShort;
}

// Pads to at least cells cells; a longer name stays whole, as "%-15s" keeps it.
std::string padAtLeast(std::string text, int cells) {
  const int have = textCells(text);
  if (have < cells) text.append(static_cast<std::size_t>(cells - have), ' ');
  return text;
}

}  // namespace

std::string fileListLine(const Panel& panel, NodeId id) {
  const FileNode& n = node(panel.list, id);
  std::string line = "\n" + padAtLeast(listFileName(panel, id),
                                       showsFullPath(panel) ? ListPathCells : ListNameCells);
  line += "  ";
  if ((panel.displayBits & DisplayModeBits) == DisplayShort) {
    line += compareMarkList(n.mark);
    return line;
  }
  // The file keeps the whole number, however wide.
  if (n.entry.isDirectory() && (n.mark & MarkSizeComputed) == 0)
    line += TextDirectoryField;
  else
    line += textf(FormatSizeField, static_cast<unsigned long long>(n.entry.size));
  line += dateTimeText(n.entry.date, n.entry.time, currentDateStyle(), DateForm::ListFile);
  line += attributeText(n.entry.attributes);
  line += ' ';
  line += compareMarkLong(n.mark);
  return line;
}

std::string fileListText(const Panel& panel) {
  std::string text;
  for (NodeId id : chain(panel.list))
    if ((node(panel.list, id).mark & MarkError) == 0) text += fileListLine(panel, id);
  return text;
}

std::string defaultListFileName() {
  std::string name;
  name += currentDrive();
  name += ":\\";
  name += TextListFileName;
  return name;
}

int writeFileListTo(const Panel& panel, std::string_view path) {
  // The list is only reported written when all of it reached the file; until then an older
  // file of that name stays as it was.
  const FileResult written = replaceFile(path, fileListText(panel));
  if (written) return ListFileWritten;
  return reportFileFailure(FormatListFileOpenError, path, written, ListFileFailed);
}

int writeFileList(const Panel& panel) {
  std::string name = defaultListFileName();
  const int width = ListFileFieldCells + textCells(TextListFilePrompt) + 4;
  const KeyCode key = inputDialog(name, TextListFilePrompt, ListFileDialogColumn, ListFileDialogRow,
                                  width, static_cast<int>(MaxPath));
  if (key != key::Enter) return ListFileCancelled;
  return writeFileListTo(panel, name);
}

}  // namespace corvane
