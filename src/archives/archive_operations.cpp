#include "archives/archive_operations.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "archives/archive_panel.h"
#include "archives/archive_texts.h"
#include "archives/archiver_names.h"
#include "archives/archives_state.h"
#include "exec/associations.h"
#include "exec/run_command.h"
#include "exec/shell_words.h"
#include "fileops/fileops_state.h"
#include "platform/drives.h"
#include "platform/file_copy.h"
#include "platform/paths.h"
#include "platform/temporary_directory.h"
#include "platform/textf.h"
#include "ui/boxes.h"

namespace corvane {
namespace {

constexpr std::string_view ExtractionPrefix = "corvane-member-";
// The names of one packer run stay within this many bytes of the command line.
constexpr std::size_t PackWordsLimit = 64 * 1024;
constexpr std::string_view NoProgram = "-";

bool usable(std::string_view definition) { return !definition.empty() && definition != NoProgram; }

std::string_view typeExtension(int type) {
  switch (type) {
    case ArchiveZip:
      return "x.zip";
    case ArchiveLzh:
      return "x.lzh";
    case ArchiveZoo:
      return "x.zoo";
    case ArchiveArj:
      return "x.arj";
    default:
      return "";
  }
}

// Runs "%s %s %s %s" in directory (a program path), on the normal screen; the program's
// current directory is as it was afterwards.
void runArchiver(std::string_view program, std::string_view options, std::string_view archive,
                 std::string_view words, std::string_view directory, bool wait) {
  const std::string command =
      textf("%s %s %s %s", std::string(program).c_str(), std::string(options).c_str(),
            quoteForShell(toHostPath(archive)).c_str(), std::string(words).c_str());
  const std::string back = currentDirectory();
  (void)changeDirectory(directory);
  (void)runCommand(command, true, wait, false);
  (void)changeDirectory(back);
}

bool refuseName(std::string_view name, std::string_view program) {
  messageBox(textf(FormatNameNotPassable, std::string(name).c_str(),
                   archiverProgramName(program).c_str()));
  return false;
}

bool noProgram(std::string_view action, std::string_view archive) {
  messageBox(
      textf(FormatNoArchiver, std::string(action).c_str(), std::string(baseName(archive)).c_str()));
  return false;
}

// An entry found without following links: a directory for each step, the kind at the end.
bool reachableWithoutLinks(const std::string& directory, std::string_view relative, FileKind last,
                           std::string& path) {
  path = directory;
  for (std::size_t start = 0; start <= relative.size();) {
    const std::size_t end = std::min(relative.find('/', start), relative.size());
    const std::string_view component = relative.substr(start, end - start);
    start = end + 1;
    if (component.empty()) return false;
    path = joinPath(path, programNameOfHostName(component));
    FileFacts facts;
    if (!entryFacts(path, facts)) return false;
    const bool final = end == relative.size();
    if (facts.kind != (final ? last : FileKind::Directory)) return false;
  }
  return true;
}

// The extracted copy of a member: where the unpacker put it, with its path, else (an
// unpacker that drops paths) by its name alone.
bool extractedCopy(const std::string& directory, std::string_view storedPath, std::string& copy) {
  if (reachableWithoutLinks(directory, storedPath, FileKind::Regular, copy)) return true;
  const std::size_t slash = storedPath.rfind('/');
  return slash != std::string_view::npos &&
         reachableWithoutLinks(directory, storedPath.substr(slash + 1), FileKind::Regular, copy);
}

void removeExtraction(const std::string& directory) {
  (void)removeDirectoryTree(directory);
  std::vector<std::string>& directories = archivesState().extractionDirectories;
  directories.erase(std::remove(directories.begin(), directories.end(), directory),
                    directories.end());
}

// Whether a member lies below another member that is a symbolic link (unpacking it would
// write through the link).
bool belowLink(const std::vector<PanelMember>& members) {
  std::unordered_set<std::string> links;
  for (const PanelMember& m : members)
    if (m.member.link) links.insert(m.listed.path);
  if (links.empty()) return false;
  for (const PanelMember& m : members) {
    const std::string& path = m.listed.path;
    for (std::size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1))
      if (links.contains(path.substr(0, slash))) return true;
  }
  return false;
}

bool extractMemberHook(Panel& panel, std::string_view name, std::string& extracted) {
  return extractFromArchive(panel, name, extracted);
}

// The definitions file's facts that tell a changed file ("" path or no file: false).
bool definitionsFileFacts(FileFacts& facts) {
  const std::string path = archiverDefsPath();
  return !path.empty() && entryFacts(path, facts) && facts.kind == FileKind::Regular;
}

bool sameFile(const LoadedDefinitions& loaded, const FileFacts& facts) {
  return loaded.fileSize == facts.size && loaded.fileInode == facts.inode &&
         loaded.fileSeconds == facts.modifiedSeconds &&
         loaded.fileNanoseconds == facts.modifiedNanoseconds;
}

// The definitions for an archive: those kept for it while the definitions file is unchanged,
// else loaded (and kept); when its extension has no section (an archive found by its
// content), the section of its type's own extension.
ArchiverDefs definitionsFor(std::string_view archivePath, int type) {
  const LoadedDefinitions& loaded = archivesState().definitions;
  FileFacts facts;
  ArchiverDefs defs;
  if (!loaded.archive.empty() && loaded.archive == archivePath && definitionsFileFacts(facts) &&
      sameFile(loaded, facts)) {
    defs = loaded.defs;
  } else {
    loadArchiveDefinitions(archivePath);
    defs = archivesState().definitions.defs;
  }
  if (!defs.found && !typeExtension(type).empty()) {
    // The same file again: its problems were shown when it was read for the archive.
    std::vector<std::string> shownBefore;
    const std::string path = archiverDefsPath();
    if (!path.empty()) (void)readArchiverDefs(path, typeExtension(type), defs, shownBefore);
  }
  return defs;
}

}  // namespace

void loadArchiveDefinitions(std::string_view archivePath) {
  LoadedDefinitions& loaded = archivesState().definitions;
  // The facts from before the read: a file changed while it is read is read again later.
  FileFacts facts;
  const bool known = definitionsFileFacts(facts);
  loaded.defs = loadArchiverDefs(archivePath);
  loaded.archive = known ? std::string(archivePath) : std::string();
  loaded.fileSize = facts.size;
  loaded.fileInode = facts.inode;
  loaded.fileSeconds = facts.modifiedSeconds;
  loaded.fileNanoseconds = facts.modifiedNanoseconds;
}

bool extractFromArchive(Panel& panel, std::string_view name, std::string& extracted, bool quiet) {
  PanelMember found;
  if (!findPanelMember(panel, name, found) || found.member.directory) return false;
  if (found.listed.unsafe) {
    messageBox(textf(FormatUnsafeMember, found.listed.path.c_str()));
    return false;
  }
  const std::string archive = archivePathOf(panel);
  const ArchiverDefs defs = definitionsFor(archive, panel.archiveType);
  const std::string& program = defs[ArchiverUnpacker];
  if (!usable(program)) return noProgram(TextActionUnpack, archive);
  const std::string stored[] = {found.member.storedPath};
  const ArchiverNames names =
      archiverNames(program, defs[ArchiverExtractOptions], ArchiverAction::Extract, stored);
  if (!names.refused.empty()) return refuseName(found.listed.path, program);
  if (checkCommand(program) != 0) return false;
  std::string directory;
  if (!makeFreshDirectory(ExtractionPrefix, directory)) {
    messageBox(TextNoTemporaryPath);
    return false;
  }
  archivesState().extractionDirectories.push_back(directory);
  runArchiver(program, names.options, archive, names.words, directory, !quiet);
  std::string copy;
  if (found.member.link || !extractedCopy(directory, found.member.storedPath, copy)) {
    removeExtraction(directory);
    return false;
  }
  extracted = copy;
  return true;
}

void releaseExtracted(std::string_view extracted) {
  for (const std::string& directory : archivesState().extractionDirectories) {
    if (extracted.size() > directory.size() && extracted.starts_with(directory) &&
        extracted[directory.size()] == '\\') {
      removeExtraction(std::string(directory));  // a copy: the element goes
      return;
    }
  }
}

void releaseAllExtracted() {
  ArchivesState& state = archivesState();
  for (const std::string& directory : state.extractionDirectories)
    (void)removeDirectoryTree(directory);
  state.extractionDirectories.clear();
  state.autoview = AutoviewCopy{};
}

bool deleteFromArchive(Panel& panel, std::string_view name) {
  PanelMember found;
  if (!findPanelMember(panel, name, found) || found.member.directory) return false;
  const std::string archive = archivePathOf(panel);
  const ArchiverDefs defs = definitionsFor(archive, panel.archiveType);
  const std::string& program = defs[ArchiverPacker];
  if (!usable(program)) return noProgram(TextActionDelete, archive);
  const std::string stored[] = {found.member.storedPath};
  const ArchiverNames names =
      archiverNames(program, defs[ArchiverDeleteOptions], ArchiverAction::Delete, stored);
  if (!names.refused.empty()) return refuseName(found.listed.path, program);
  if (checkCommand(program) != 0) return false;
  runArchiver(program, names.options, archive, names.words, panel.currentDirectory, true);

  std::vector<PanelMember> members;
  if (!readArchiveMembers(archive, panel.archiveType, typedByContent(panel), members))
    return true;  // the archiver removed the archive with its last member
  return std::none_of(members.begin(), members.end(), [&](const PanelMember& m) {
    return m.member.storedPath == found.member.storedPath;
  });
}

bool packIntoArchive(std::string_view archiveName, std::string_view directory,
                     std::span<const std::string> files, std::span<const std::string> directories) {
  const int type = archiveTypeOf(archiveName);
  if (type == ArchiveNone) return false;
  const std::string archive = fullPath(archiveName);
  if (archive.empty()) return false;
  const ArchiverDefs defs = definitionsFor(archive, type);
  const std::string& program = defs[ArchiverPacker];
  if (!usable(program)) return noProgram(TextActionPack, archive);
  struct Batch {
    std::span<const std::string> names;
    ArchiverDefinition options;
  };
  const Batch batches[] = {{files, ArchiverAddOptions}, {directories, ArchiverAddTreeOptions}};
  // Every name is checked before anything runs.
  for (const Batch& batch : batches) {
    if (batch.names.empty()) continue;
    const ArchiverNames names =
        archiverNames(program, defs[batch.options], ArchiverAction::Add, batch.names);
    if (!names.refused.empty()) return refuseName(names.refused, program);
  }
  if (checkCommand(program) != 0) return false;
  // The runs: as many names each as the command line takes.
  struct Run {
    const Batch* batch;
    std::size_t first, last;
  };
  std::vector<Run> runs;
  for (const Batch& batch : batches) {
    for (std::size_t first = 0; first < batch.names.size();) {
      std::size_t bytes = 0, last = first;
      while (last < batch.names.size() &&
             (last == first || bytes + batch.names[last].size() + 3 < PackWordsLimit))
        bytes += batch.names[last++].size() + 3;
      runs.push_back({&batch, first, last});
      first = last;
    }
  }
  // One key prompt, after the last run, for the output of them all.
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const Run& run = runs[i];
    const ArchiverNames names =
        archiverNames(program, defs[run.batch->options], ArchiverAction::Add,
                      run.batch->names.subspan(run.first, run.last - run.first));
    runArchiver(program, names.options, archive, names.words, directory, i + 1 == runs.size());
  }
  return !runs.empty();
}

bool unpackArchive(std::string_view archivePath, int type, bool typeByContent,
                   std::string_view destination) {
  std::vector<PanelMember> members;
  if (!readArchiveMembers(archivePath, type, typeByContent, members)) {
    messageBox(textf(FormatArjCannotOpen, std::string(archivePath).c_str()));
    return false;
  }
  const bool unsafe =
      belowLink(members) || std::any_of(members.begin(), members.end(),
                                        [](const PanelMember& m) { return m.listed.unsafe; });
  if (unsafe) {
    messageBox(textf(FormatUnsafeArchive, std::string(baseName(archivePath)).c_str()));
    return false;
  }
  const ArchiverDefs defs = definitionsFor(archivePath, type);
  const std::string& program = defs[ArchiverUnpacker];
  if (!usable(program)) return noProgram(TextActionUnpack, archivePath);
  const ArchiverNames names =
      archiverNames(program, defs[ArchiverExtractOptions], ArchiverAction::Extract, {});
  if (checkCommand(program) != 0) return false;
  runArchiver(program, names.options, archivePath, names.words, destination, true);
  return true;
}

void registerArchiveHooks() {
  FileopsHooks& hooks = fileopsState().hooks;
  hooks.extractMember = extractMemberHook;
  hooks.releaseMember = releaseExtracted;
  hooks.deleteMember = deleteFromArchive;
}

}  // namespace corvane
