#include "core/target_index.h"

#include <limits>

#include "core/file_system.h"

namespace melodex {
namespace {

constexpr std::int64_t not_read = std::numeric_limits<std::int64_t>::min();

}  // namespace

WalkEnd TargetIndex::list(Text& target_folder, const PendingEvents& pending_events) {
    const WalkEnd end = walk_folder(
        target_folder, [] { return Text("*.mp3"); },
        [this](const Text& folder, const Text& name) { paths_.append(folder, name); },
        pending_events);
    byte_counts_.assign(paths_.size(), not_read);
    return end;
}

WalkEnd TargetIndex::find_all(const TextArray& distinct_fragments,
                              const PendingEvents& pending_events) {
    bool stopped = false;
    auto found = FragmentIndex(distinct_fragments).match(paths_, [&] {
        stopped = pending_events && !pending_events();
        return !stopped;
    });
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

std::int64_t TargetIndex::byte_count(std::uint32_t number) {
    if (byte_counts_[number] == not_read) byte_counts_[number] = file_byte_count(Text(paths_[number]));
    return byte_counts_[number];
}

}  // namespace melodex
