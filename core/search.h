// The searches made of walks: the candidate files of an analysis, and the ".mp3" files whose full
// path holds a fragment, with their sizes, for the manual search and the report.
#pragma once

#include <functional>

#include "core/keep_going.h"
#include "core/text.h"
#include "core/walk.h"

namespace melodex {

// Appends every file of the tree whose name ends in "." + the suffix (read at every visit).
WalkEnd collect_candidates(Text& source_folder, const std::function<Text()>& suffix,
                           TextArray& candidates, const KeepGoing& keep_going,
                           const FolderNotRead& not_read = {});

// Receives each ".mp3" file whose full path contains a fragment, with its size text.
using MatchRow = std::function<void(const Location& file, const Text& size)>;

// Lists every ".mp3" file of the tree whose full path contains `fragment`, letter case counting.
WalkEnd list_matches(const Text& fragment, Text& folder, const MatchRow& row,
                     const KeepGoing& keep_going, const FolderNotRead& not_read = {});

}  // namespace melodex
