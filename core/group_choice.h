// Which groups of an analysis run its report holds, and a tally of what it wrote and left out.
#pragma once

#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/text.h"

namespace melodex {

// The default is every group, each time a candidate finds it.
struct ReportOptions {
    // Each fragment's group is considered once, where it first appears; a later candidate that
    // finds it again adds nothing.
    bool distinct = false;
    // Groups of more files are left out: a common word or an artist's name groups a whole
    // discography and says nothing about duplicates.
    std::optional<std::size_t> max_group;
};

struct FragmentFiles {
    Text fragment;
    std::size_t files = 0;
    bool operator==(const FragmentFiles&) const = default;
};

// What a finished run wrote and left out. Groups are counted as the full report holds them: once
// for each candidate that finds them, so the three counts add up to the full report's groups.
struct AnalysisSummary {
    std::size_t groups_written = 0;
    std::size_t files_in_groups = 0;        // distinct files, however many groups hold them
    std::size_t repeats_left_out = 0;       // groups already considered (distinct)
    std::size_t large_groups_left_out = 0;  // groups of more than max_group files
    // The fragments found in most files, whether their groups were written or not, most files
    // first and the first found first among equals: the first candidates for the keyword file.
    std::vector<FragmentFiles> largest;
    bool operator==(const AnalysisSummary&) const = default;
};

class GroupChoice {
  public:
    static constexpr std::size_t largest_kept = 10;

    // Without a summary to make, a default choice only counts.
    GroupChoice(const ReportOptions& options, bool summarized);

    // Whether the group of `fragment`, found in `files` files (two or more), goes into the report.
    bool takes(const Text& fragment, std::size_t files);

    // The fragments of the written groups, each once, in the order they first appeared.
    std::vector<Text> written_fragments() const;

    AnalysisSummary summary(std::size_t files_in_groups) const;

  private:
    struct Group {
        std::size_t files = 0;
        bool written = false;
    };

    ReportOptions options_;
    bool remembers_;  // whether groups_ and order_ are kept
    std::unordered_map<Text, Group> groups_;
    std::vector<const Text*> order_;  // the keys of groups_ as they first appeared
    AnalysisSummary counts_;
};

}  // namespace melodex
