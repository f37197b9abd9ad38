// The folder walk behind every search: depth first, a folder's files before its subfolders, each
// subfolder's whole tree before the next one. Folders whose names begin with "." are not entered;
// no real folder is entered twice (link cycles end); neither the depth nor the length of a path is
// limited, but by memory.
#pragma once

#include <functional>

#include "core/file_system.h"
#include "core/keep_going.h"
#include "core/text.h"

namespace melodex {

// The name pattern of one visit ("*.mp3", or "*." + the suffix the user has typed meanwhile).
using NamePatternSource = std::function<Text()>;

// Called for every listed file with the visit's folder text (ending in the separator) and the
// file's entry: its name and, where the text cannot lead to it, its exact path.
using FileAction = std::function<void(const Text& folder, const FolderEntry& file)>;

// Called for a folder of the walk (ending in the separator) that could not be read in full, with
// the reason: the walk's result is incomplete.
using FolderNotRead = std::function<void(const Text& folder, const Text& reason)>;

enum class WalkEnd { finished, stopped };

// Walks the tree below `folder`, which is left ending in the separator (an empty folder text
// becomes the root folder). `keep_going` is asked at the start of every folder visit;
// `not_read`, when given, hears of each folder visited that could not be read, the root included
// (a folder that does not exist is not one of them: there is nothing to read).
WalkEnd walk_folder(Text& folder, const NamePatternSource& pattern, const FileAction& action,
                    const KeepGoing& keep_going, const FolderNotRead& not_read = {});

}  // namespace melodex
