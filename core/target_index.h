// The target tree of an analysis run, listed once: its ".mp3" paths in walk order and, for every
// fragment the run looks for, the paths that hold it. Sizes are read once per matched file.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "core/fragment_matcher.h"
#include "core/path_list.h"
#include "core/walk.h"

namespace melodex {

class TargetIndex {
  public:
    // Lists the ".mp3" files below `target_folder` (left ending in the separator), telling
    // `listed` the count after each file and `not_read` each folder that could not be read.
    WalkEnd list(Text& target_folder, const KeepGoing& keep_going,
                 const std::function<void(std::size_t files)>& listed,
                 const FolderNotRead& not_read = {});
    std::size_t size() const { return paths_.size(); }

    // Finds the paths that hold each of the fragments, all in one pass over the listing.
    WalkEnd find_all(const TextArray& distinct_fragments, const KeepGoing& keep_going,
                     const PathsMatched& matched);

    // The numbers of the paths that hold `fragment`, in walk order. A fragment that find_all was
    // not given is looked for now.
    const std::vector<std::uint32_t>& holders(const Text& fragment);

    // The path as a report line shows it.
    std::string_view path_field(std::uint32_t number) const;
    // The file's size text. The sizes of a folder's files are read together, when the first of
    // them is asked for.
    const Text& size_text(std::uint32_t number);

  private:
    void read_folder_sizes(std::uint32_t number);

    PathList paths_;
    std::unordered_map<Text, std::vector<std::uint32_t>> holders_;
    // The few paths that hold a line break or a TAB, as the report shows them.
    std::unordered_map<std::uint32_t, Text> path_fields_;
    // The few files whose path text cannot lead to them, with their exact paths.
    std::unordered_map<std::uint32_t, Text> exact_paths_;
    std::vector<Text> size_texts_;  // empty until read: a size text is never empty
    // Each listed folder that holds files: the number of its first file and its text's length
    // (its files follow one another in walk order).
    struct ListedFolder {
        std::uint32_t first;
        std::uint32_t text_size;
    };
    std::vector<ListedFolder> folders_;
};

}  // namespace melodex
