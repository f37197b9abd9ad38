#include "app/cli/summary.h"

#include <algorithm>

#include "app/cli/count_text.h"

namespace melodex::cli {
namespace {

std::string counted(std::size_t count, const std::string& one, const std::string& many) {
    return count_text(count) + " " + (count == 1 ? one : many);
}

std::string shown_fragment(std::string fragment) {
    std::replace_if(
        fragment.begin(), fragment.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
    return fragment;
}

}  // namespace

std::string summary_text(const AnalysisSummary& summary, const ReportOptions& options) {
    std::string text = counted(summary.groups_written, "group", "groups") + " written, " +
                       counted(summary.files_in_groups, "distinct file", "distinct files") +
                       " in them\n";
    if (options.distinct || options.max_group) {
        std::string left_out;
        if (options.distinct) {
            left_out += counted(summary.repeats_left_out, "repeated group", "repeated groups") +
                        " (--distinct)";
        }
        if (options.max_group) {
            if (!left_out.empty()) left_out += ", ";
            left_out += counted(summary.large_groups_left_out, "group", "groups") +
                        " of more than " + counted(*options.max_group, "file", "files") +
                        " (--max-group)";
        }
        text += "Left out: " + left_out + "\n";
    }
    if (!summary.largest.empty()) {
        text += "Fragments found in most files, the first candidates for the keyword file:\n";
        const std::size_t width = count_text(summary.largest.front().files).size();
        for (const FragmentFiles& largest : summary.largest) {
            const std::string files = count_text(largest.files);
            text += std::string(2 + width - files.size(), ' ') + files + "  " +
                    shown_fragment(largest.fragment) + "\n";
        }
    }
    return text;
}

}  // namespace melodex::cli
