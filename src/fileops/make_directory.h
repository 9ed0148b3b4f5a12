// Making directories: one classification of a typed path, one name test, one create-path
// that makes every missing directory along a path, and the make-directory command. The
// destination dialog, the copy engine and the tree copy make their directories here.
#pragma once

#include <string>
#include <string_view>

#include "actions/command_context.h"

namespace corvane {

// PathKind: what a path names once made full.
enum PathKind : int {
  PathMissing = 0,
  PathDirectory = 2,  // an existing directory or an accessible drive root
  PathBlocked = 3,    // a file, an empty path, an inaccessible drive root (also: not made)
  PathDriveOnly = 4,  // a drive letter and a colon alone
};

// Classifies a path and replaces it by its full form (trailing backslash removed except on a
// drive root). An inaccessible drive root shows "Access kritisch".
int classifyPath(std::string& path);
// Makes one directory: PathMissing (0) once made, else the PathKind of what is there, or
// PathBlocked when the system refused. path becomes full.
int makeDirectory(std::string& path);

// The name test: in the CORVANE keyboard layout a name with any of "/[]:|<>+=;,*?" (one
// colon as the second character excepted) gives 4 after "\nError in name %s"; otherwise,
// and in the other layouts, 0.
int nameTest(std::string_view name);
// The same without the message: whether the name passes.
bool nameAcceptable(std::string_view name);

// Makes every missing directory of a path: 0 when the last one was made, 2 when it existed,
// 3 when a step failed (a file in the way, refused), 4 when the path fails the name test.
// path becomes full.
int createPath(std::string& path);
// createPath with its messages: an existing directory shows "\nDirectory %s exists " and
// counts as made (0); 3 "\nCritical error creating directory %s"; 4 "\nError in name %s".
// Success sets the state's directory-created flag.
int createPathReported(std::string& path);

// Shift-F4: "Create path :", then the path made (after "Create path '%s' ? " with
// preference 2); the panels are read again and the tree hook told.
int makeDirectoryCommand(CommandContext& context, CommandId code);

}  // namespace corvane
