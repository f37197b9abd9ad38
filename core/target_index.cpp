#include "core/target_index.h"

#include "core/file_system.h"
#include "core/number_text.h"
#include "core/report.h"

namespace melodex {

WalkEnd TargetIndex::list(Text& target_folder, const KeepGoing& keep_going,
                          const std::function<void(std::size_t files)>& listed,
                          const FolderNotRead& not_read) {
    const WalkEnd end = walk_folder(
        target_folder, [] { return Text("*.mp3"); },
        [&](const Text& folder, const FolderEntry& file) {
            if (!file.exact_path.empty()) {
                exact_paths_.emplace(static_cast<std::uint32_t>(paths_.size()), file.exact_path);
            }
            paths_.append(folder, file.name);
            listed(paths_.size());
        },
        keep_going, not_read);
    size_texts_.assign(paths_.size(), Text());
    for (std::uint32_t number = 0; number < paths_.size(); ++number) {
        if (needs_report_field(paths_[number])) path_fields_[number] = report_field(paths_[number]);
    }
    return end;
}

WalkEnd TargetIndex::find_all(const TextArray& distinct_fragments, const KeepGoing& keep_going,
                              const PathsMatched& matched) {
    bool stopped = false;
    const KeepGoing asked = [&] {
        stopped = keep_going && !keep_going();
        return !stopped;
    };
    auto found = FragmentMatcher(distinct_fragments).match(paths_, asked, matched);
    for (std::size_t i = 0; i < distinct_fragments.size(); ++i) {
        holders_.emplace(distinct_fragments[i], std::move(found[i]));
    }
    return stopped ? WalkEnd::stopped : WalkEnd::finished;
}

const std::vector<std::uint32_t>& TargetIndex::holders(const Text& fragment) {
    auto [entry, added] = holders_.try_emplace(fragment);
    if (added) {
        for (std::uint32_t number = 0; number < paths_.size(); ++number) {
            if (find_from(paths_[number], fragment) != -1) entry->second.push_back(number);
        }
    }
    return entry->second;
}

std::string_view TargetIndex::path_field(std::uint32_t number) const {
    const auto field = path_fields_.find(number);
    return field == path_fields_.end() ? paths_[number] : std::string_view(field->second);
}

const Text& TargetIndex::size_text(std::uint32_t number) {
    Text& size = size_texts_[number];
    if (size.empty()) {
        const auto exact = exact_paths_.find(number);
        const Location file(Text(paths_[number]),
                            exact == exact_paths_.end() ? Text() : exact->second);
        size = melodex::size_text(file_byte_count(file));
    }
    return size;
}

}  // namespace melodex
