// Splitting a file into numbered pieces that fit a size limit, and building it again from
// them. The first piece starts with a header (split_header.h) naming the file and its size,
// so that building needs only the first piece and a destination.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "actions/command_context.h"

namespace corvane {

constexpr int SplitDone = 0;
constexpr int SplitFailed = 1;  // also cancelled

constexpr std::uint64_t SplitDefaultPieceSize = 1450000;

struct SplitRequest {
  std::uint64_t pieceSize = SplitDefaultPieceSize;  // bytes per piece, header included
  std::string destination = ".\\";                  // directory of the pieces
  bool fitToDisk = false;  // pieces as large as the free space allows
};

// The piece size typed into the form: decimal digits (blanks around them allowed) giving a
// size that leaves room for data after the header; false for anything else.
bool parseSplitSize(std::string_view text, std::uint64_t& size);

// Splits the file into pieces "STEM.000", "STEM.001" ... in the destination (stem: its name
// without extension, upper-cased). Piece 000 holds the header and as many data bytes as fit
// in the piece size; the split ends when the size the opened file had is written. No piece
// exceeds the free space of its file system; with fitToDisk each is as large as it allows.
// An existing piece is replaced only after the overwrite question (preference 5) and only
// once its new content is complete; a piece whose writing fails is removed. On A: and B: a
// disk is asked for before each piece. Esc between blocks asks " Cancel operation ? ".
// Every failure is reported. SplitDone or SplitFailed.
int splitFile(std::string_view path, const SplitRequest& request);

// The first piece of a split file named by any of its pieces (or by the file itself): its
// name with the extension replaced by the number 000, upper-cased.
std::string firstPieceOf(std::string_view path);

// Builds the file whose first piece the path names (any piece, see firstPieceOf) into the
// destination directory (empty: the current directory) under the name the header gives,
// reading the following pieces by number (found regardless of case). The file is written
// through a temporary and takes its name only when it is complete: a missing or short piece,
// a failure or a cancel leaves no target and an existing file of that name as it was. An
// existing target is replaced only after the overwrite question (preference 5). The target
// gets the first piece's time; once it is in place the pieces read are deleted (not on A:
// and B:). SplitDone or SplitFailed.
int buildFile(std::string_view piece, std::string_view destination);

// The commands: " Define File Split " on the cursor file (4099) and "BUILD" (4100).
int splitFileCommand(CommandContext& context, CommandId code);
int buildFileCommand(CommandContext& context, CommandId code);

}  // namespace corvane
