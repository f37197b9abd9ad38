#include "core/target_index.h"

#include <algorithm>
#include <iterator>

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
            const auto number = static_cast<std::uint32_t>(paths_.size());
            // The files of one visit come one after another, with the same folder text.
            if (folders_.empty() || folders_.back().text_size != folder.size() ||
                !paths_[folders_.back().first].starts_with(folder)) {
                folders_.push_back({number, static_cast<std::uint32_t>(folder.size())});
            }
            if (!file.exact_path.empty()) {
                exact_paths_.emplace(number, file.exact_path);
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
    if (size_texts_[number].empty()) read_folder_sizes(number);
    return size_texts_[number];
}

void TargetIndex::read_folder_sizes(std::uint32_t number) {
    const auto folder = std::prev(std::upper_bound(
        folders_.begin(), folders_.end(), number,
        [](std::uint32_t n, const ListedFolder& listed) { return n < listed.first; }));
    const std::uint32_t end = std::next(folder) == folders_.end()
                                  ? static_cast<std::uint32_t>(paths_.size())
                                  : std::next(folder)->first;
    std::vector<Location> files;
    files.reserve(end - folder->first);
    for (std::uint32_t n = folder->first; n < end; ++n) {
        const auto exact = exact_paths_.find(n);
        files.emplace_back(Text(paths_[n]), exact == exact_paths_.end() ? Text() : exact->second);
    }
    const std::vector<std::int64_t> sizes =
        file_byte_counts(Text(paths_[folder->first].substr(0, folder->text_size)), files);
    for (std::uint32_t n = folder->first; n < end; ++n) {
        size_texts_[n] = melodex::size_text(sizes[n - folder->first]);
    }
}

}  // namespace melodex
