// The archiver calls behind archive panels: a member extracted for viewing, copying or
// searching, a member deleted, files packed into an archive and an archive unpacked. Each
// runs the program of the archiver definitions as "%s %s %s %s" (program, options, the
// archive, the names as exact quoted words) after checkCommand, on the terminal's normal
// screen; nothing counts as done unless the file system or a fresh read of the archive
// shows it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "config/archiver_defs.h"
#include "panels/panel.h"

namespace corvane {

// Extracts the member listed as name in the archive panel's current directory into a fresh
// directory (mode 0700) below the temporary directory, with the unpacker and its options
// (definitions 2 and 5), and gives the copy's program path in extracted. quiet runs the
// unpacker without the key prompt after it (Autoview). False, with nothing left on disk,
// when the member is a directory or gone, when its name would lead outside the directory
// (told in a box), cannot be given exactly, when no unpacker or temporary directory is there
// (told), or when the copy is not a regular file reached without links. The caller shows
// "Error extracting file %s " for every false and releases the copy when done.
bool extractFromArchive(Panel& panel, std::string_view name, std::string& extracted,
                        bool quiet = false);
// Removes an extracted copy with the directory made for it (nothing for other paths).
void releaseExtracted(std::string_view extracted);
// Removes every extracted copy not released yet.
void releaseAllExtracted();

// Deletes the member listed as name from the panel's archive with the packer and its delete
// options (definitions 1 and 4). True only when a fresh read of the archive no longer holds
// it (the archiver's status is not looked at).
bool deleteFromArchive(Panel& panel, std::string_view name);

// Packs files and directories (names in directory, a program path; directories with their
// contents by definition 6, files by definition 3) into the archive named by archiveName (a
// name typed by the user, relative to directory), in as few packer runs as the command line
// allows. False when nothing was run (a message told why).
bool packIntoArchive(std::string_view archiveName, std::string_view directory,
                     std::span<const std::string> files, std::span<const std::string> directories);

// Unpacks a whole archive (its program path and type) into destination with the unpacker
// (definitions 2 and 5, no names). Refused with a message when a member's name would lead
// outside the destination or a member lies below a symbolic link of the archive. False when
// nothing was run.
bool unpackArchive(std::string_view archivePath, int type, bool typeByContent,
                   std::string_view destination);

// Loads the archiver definitions for an archive (a program path) afresh, each problem of the
// definitions file shown, and keeps them for the operations on that archive.
void loadArchiveDefinitions(std::string_view archivePath);

// Puts extraction, deletion and release into the file operations' hooks.
void registerArchiveHooks();

}  // namespace corvane
