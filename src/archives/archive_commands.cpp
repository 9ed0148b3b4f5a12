#include "archives/archive_commands.h"

#include "archives/archive_operations.h"
#include "archives/archive_panel.h"
#include "archives/archive_reader.h"
#include "archives/archive_texts.h"
#include "archives/archives_state.h"
#include "config/archiver_defs.h"
#include "exec/shell_words.h"
#include "fileops/destination_dialog.h"
#include "fileops/file_commands.h"
#include "fileops/fileops_texts.h"
#include "panels/archive_listing.h"
#include "panels/global_list.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/host_directories.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/input_dialog.h"
#include "viewer/viewer.h"
#include "viewer/viewer_commands.h"

namespace corvane {
namespace {

constexpr int ArchiveNameMaxLength = 80;

// The file under the cursor (not "..", a placeholder or, unless allowed, a directory).
const FileNode* cursorFile(CommandContext& context, bool directories) {
  const FileNode* node = cursorEntry(context);
  if (node == nullptr || isParentEntry(node->entry)) return nullptr;
  return node->entry.isDirectory() && !directories ? nullptr : node;
}

// The archive's name asked with the prompt, preset "CV.ZIP"; "" when left without Enter.
std::string askArchiveName(std::string_view prompt) {
  std::string name(TextDefaultArchive);
  if (inputDialog(name, prompt, 1, screenRows() / 2 - 2, screenColumns(), ArchiveNameMaxLength) !=
      key::Enter)
    return {};
  return std::string(trimBlanks(name));
}

}  // namespace

int compressCommand(CommandContext& context, CommandId) {
  const FileNode* node = cursorFile(context, true);
  if (node == nullptr || context.currentPanel().archiveType != 0) {
    rejectBeep();
    return LoopContinue;
  }
  const std::string archive = askArchiveName(TextArchivePrompt);
  if (archive.empty()) return LoopContinue;
  Panel& panel = context.currentPanel();
  const std::string path = entryPath(panel, panel.cursor);
  // The packer runs in the panel's directory: a name there, or a global list's host path.
  const std::string names[] = {context.inGlobalList() ? toHostPath(path) : node->entry.name};
  const bool directory = node->entry.isDirectory() && !isLinkEntry(path);
  if (packIntoArchive(archive, panel.currentDirectory,
                      directory ? std::span<const std::string>{} : names,
                      directory ? names : std::span<const std::string>{}))
    requestPanelsReread(context, panel.currentDirectory);
  return LoopContinue;
}

int prepareCompressSelection(SelectedFilesRun& run) {
  if (run.context->currentPanel().archiveType != 0) {
    rejectBeep();
    return 1;
  }
  run.text = askArchiveName(TextArchiveNamePrompt);
  if (run.text.empty()) return 1;
  archivesState().packNames.clear();
  archivesState().packDirectories.clear();
  return 0;
}

int compressSelectedFile(SelectedFilesRun& run, SelectedFile& file) {
  // A global list's entries are full paths: the packer gets them as host paths.
  std::string name = run.context->inGlobalList() ? toHostPath(file.path) : file.path;
  const bool directory =
      file.entry.isDirectory() &&
      !isLinkEntry(driveLetterOf(file.path) != 0 ? file.path : joinPath(file.directory, file.path));
  (directory ? archivesState().packDirectories : archivesState().packNames)
      .push_back(std::move(name));
  return SelectedKept;  // the mark goes once the archive shows the file
}

void finishCompressSelection(SelectedFilesRun& run) {
  CommandContext& context = *run.context;
  Panel& panel = context.currentPanel();
  std::vector<std::string> names = std::move(archivesState().packNames);
  std::vector<std::string> directories = std::move(archivesState().packDirectories);
  archivesState().packNames.clear();
  archivesState().packDirectories.clear();
  if ((names.empty() && directories.empty()) ||
      !packIntoArchive(run.text, panel.currentDirectory, names, directories))
    return;
  const std::string archive = fullPath(run.text);
  const int type = archiveTypeByExtension(archive);
  std::vector<PanelMember> members;
  if (readArchiveMembers(archive, type, false, members)) {
    // Every stored path and the directories above it (a directory counts as packed when
    // anything below it is, whether or not the packer stores the directory itself).
    std::unordered_set<std::string> stored;
    for (const PanelMember& m : members) {
      std::string_view path = m.member.storedPath;
      while (path.ends_with('/')) path.remove_suffix(1);
      for (std::size_t slash = path.size(); slash != std::string_view::npos;
           slash = slash == 0 ? std::string_view::npos : path.rfind('/', slash - 1))
        stored.insert(std::string(path.substr(0, slash)));
    }
    for (NodeId id : chain(panel.list)) {
      FileNode& n = panel.list.nodes[id];
      std::string name =
          context.inGlobalList() ? toHostPath(globalListPath(panel.list, id)) : n.entry.name;
      while (name.starts_with('/')) name.erase(0, 1);
      if ((n.mark & MarkSelected) != 0 && stored.contains(name)) n.mark &= ~MarkSelected;
    }
    countList(panel);
  }
  requestPanelsReread(context, panel.currentDirectory);
}

int decompressCommand(CommandContext& context, CommandId) {
  Panel& panel = context.currentPanel();
  std::string archive;
  int type = panel.archiveType;
  bool byContent = false;
  if (type != ArchiveNone) {
    archive = archivePathOf(panel);
    byContent = typedByContent(panel);
  } else {
    const FileNode* node = cursorFile(context, false);
    if (node == nullptr) {
      rejectBeep();
      return LoopContinue;
    }
    archive = fullPath(entryPath(panel, panel.cursor));
    type = archiveTypeOfFile(archive, byContent);
    if (type == ArchiveNone) {
      messageBox(TextArchiveTypeUnknown);
      return LoopContinue;
    }
  }
  std::string destination = defaultDestination(context);
  if (!destinationDialog(destination)) return LoopContinue;
  if (unpackArchive(archive, type, byContent, destination))
    requestPanelsReread(context, destination);
  return LoopContinue;
}

bool extractCursorMember(CommandContext& context, std::string& extracted) {
  const FileNode* node = cursorFile(context, false);
  if (node == nullptr) {
    rejectBeep();
    return false;
  }
  if (extractFromArchive(context.currentPanel(), node->entry.name, extracted)) return true;
  messageBox(textf(FormatExtractError, node->entry.name.c_str()));
  return false;
}

int viewEntryCommand(CommandContext& context, CommandId code) {
  if (context.currentPanel().archiveType == 0) return viewCommand(context, code);
  std::string extracted;
  if (!extractCursorMember(context, extracted)) return LoopContinue;
  ViewRequest request;
  request.fileName = extracted;
  request.hex = code == 'h' || code == 'H';
  (void)viewFile(request);
  releaseExtracted(extracted);
  return LoopContinue;
}

namespace {

// The cursor member's extracted copy for Autoview: the one made before while the cursor,
// the member and the archive are the same, else a new one (the old one removed); a member
// that could not be extracted is not tried again until one of them changes. "" when the
// cursor is on no file or there is no copy.
std::string autoviewCopy(CommandContext& context) {
  AutoviewCopy& kept = archivesState().autoview;
  const FileNode* node = cursorFile(context, false);
  if (node == nullptr) return {};
  Panel& panel = context.currentPanel();
  const ArchiveMaskParts parts = splitArchiveMask(panel.mask);
  AutoviewCopy wanted;
  wanted.archive = parts.archivePath;
  wanted.member = parts.innerDirectory + node->entry.name;
  const std::int64_t size = fileSize(wanted.archive);
  wanted.archiveSize = size < 0 ? 0 : static_cast<std::uint64_t>(size);
  (void)getFileTime(wanted.archive, wanted.archiveDate, wanted.archiveTime);
  // The same member of the same archive as last time: its copy, or again none.
  if (!kept.archive.empty() && kept.archive == wanted.archive && kept.member == wanted.member &&
      kept.archiveSize == wanted.archiveSize && kept.archiveDate == wanted.archiveDate &&
      kept.archiveTime == wanted.archiveTime)
    return kept.file;
  if (!kept.file.empty()) releaseExtracted(kept.file);
  kept = wanted;
  kept.file.clear();
  if (!extractFromArchive(panel, node->entry.name, kept.file, true)) kept.file.clear();
  return kept.file;
}

}  // namespace

bool drawArchiveAutoview(CommandContext& context, ScreenWindow& target) {
  return drawAutoviewOf(autoviewCopy(context), target);
}

int enterArchiveAutoview(CommandContext& context, ScreenWindow& target) {
  return enterAutoviewOf(autoviewCopy(context), target);
}

}  // namespace corvane
