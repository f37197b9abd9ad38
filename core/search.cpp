#include "core/search.h"

#include "core/file_system.h"
#include "core/number_text.h"

namespace melodex {

WalkEnd collect_candidates(Text& source_folder, const std::function<Text()>& suffix,
                           TextArray& candidates, const KeepGoing& keep_going,
                           const FolderNotRead& not_read) {
    return walk_folder(
        source_folder, [&] { return join_texts("*.", suffix()); },
        [&](const Text& folder, const Text& name) { candidates.push_back(folder + name); },
        keep_going, not_read);
}

WalkEnd list_matches(const Text& fragment, Text& folder, const MatchRow& row,
                     const KeepGoing& keep_going, const FolderNotRead& not_read) {
    return walk_folder(
        folder, [] { return Text("*.mp3"); },
        [&](const Text& visited, const Text& name) {
            const Text path = visited + name;
            if (find_from(path, fragment) != -1) row(path, size_text(file_byte_count(path)));
        },
        keep_going, not_read);
}

}  // namespace melodex
