#include "core/group_choice.h"

#include <algorithm>

namespace melodex {

GroupChoice::GroupChoice(const ReportOptions& options, bool summarized)
    : options_(options), remembers_(options.distinct || summarized) {}

bool GroupChoice::takes(const Text& fragment, std::size_t files) {
    Group* group = nullptr;
    if (remembers_) {
        const auto [at, added] = groups_.try_emplace(fragment, Group{files, false});
        if (added) {
            order_.push_back(&at->first);
        } else if (options_.distinct) {
            ++counts_.repeats_left_out;
            return false;
        }
        group = &at->second;
    }
    if (options_.max_group && files > *options_.max_group) {
        ++counts_.large_groups_left_out;
        return false;
    }
    ++counts_.groups_written;
    if (group) group->written = true;
    return true;
}

std::vector<Text> GroupChoice::written_fragments() const {
    std::vector<Text> written;
    for (const Text* fragment : order_) {
        if (groups_.at(*fragment).written) written.push_back(*fragment);
    }
    return written;
}

AnalysisSummary GroupChoice::summary(std::size_t files_in_groups) const {
    AnalysisSummary summary = counts_;
    summary.files_in_groups = files_in_groups;
    for (const Text* fragment : order_)
        summary.largest.push_back({*fragment, groups_.at(*fragment).files});
    std::stable_sort(
        summary.largest.begin(), summary.largest.end(),
        [](const FragmentFiles& a, const FragmentFiles& b) { return a.files > b.files; });
    if (summary.largest.size() > largest_kept) summary.largest.resize(largest_kept);
    return summary;
}

}  // namespace melodex
