#include "core/search.h"

#include "core/file_system.h"
#include "core/number_text.h"

namespace melodex {

WalkEnd collect_candidates(Text& source_folder, const std::function<Text()>& suffix,
                           TextArray& candidates, const KeepGoing& keep_going,
                           const FolderNotRead& not_read) {
    return walk_folder(
        source_folder, [&] { return join_texts("*.", suffix()); },
        [&](const Text& folder, const FolderEntry& file) {
            candidates.push_back(folder + file.name);
        },
        keep_going, not_read);
}

WalkEnd list_matches(const Text& fragment, Text& folder, const MatchRow& row,
                     const KeepGoing& keep_going, const FolderNotRead& not_read) {
    return walk_folder(
        folder, [] { return Text("*.mp3"); },
        [&](const Text& visited, const FolderEntry& file) {
            Location found(visited + file.name);
            if (find_from(found.path, fragment) == -1) return;
            found.exact = file.exact_path;
            row(found, size_text(file_byte_count(found)));
        },
        keep_going, not_read);
}

}  // namespace melodex
