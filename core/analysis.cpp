#include "core/analysis.h"

#include <unordered_set>

#include "core/fragments.h"
#include "core/report.h"
#include "core/search.h"
#include "core/target_index.h"

namespace melodex {
namespace {

void tell(const AnalysisHooks& hooks, AnalysisStage stage, std::size_t done, std::size_t total) {
    if (hooks.progress) hooks.progress({stage, done, total});
}

// The stages both analyses share: candidates collected, `prepare` run, then each candidate
// analyzed, with the progress told at each stage and after each candidate.
WalkEnd analyze_in_stages(Text& source_folder, const AnalysisHooks& hooks,
                          const std::function<WalkEnd(const TextArray&)>& prepare,
                          const std::function<WalkEnd(const Text&)>& analyze) {
    tell(hooks, AnalysisStage::collecting_candidates, 0, 0);
    TextArray candidates;
    if (collect_candidates(source_folder, hooks.suffix, candidates, hooks.keep_going,
                           hooks.folder_not_read) == WalkEnd::stopped) {
        return WalkEnd::stopped;
    }
    const std::size_t total = candidates.size();
    tell(hooks, AnalysisStage::candidates_collected, 0, total);
    if (prepare(candidates) == WalkEnd::stopped) return WalkEnd::stopped;
    for (std::size_t done = 1; done <= total; ++done) {
        if (analyze(candidates[done - 1]) == WalkEnd::stopped) return WalkEnd::stopped;
        tell(hooks, AnalysisStage::candidate_analyzed, done, total);
    }
    tell(hooks, AnalysisStage::finished, total, total);
    return WalkEnd::finished;
}

bool is_sought(const Text& fragment, const FilterKeywords& keywords) {
    // An empty fragment would be found in every path and list the whole target tree. A fragment
    // of nothing but "?" is what Windows makes of a name its code page cannot spell: it would
    // group unrelated songs (and, where "?" is a real character, names nothing worth grouping).
    return fragment.find_first_not_of('?') != Text::npos && !is_filter_keyword(keywords, fragment);
}

}  // namespace

WalkEnd analyze_candidate(const Text& candidate, Text& target_folder,
                          const FilterKeywords& keywords, const AnalysisHooks& hooks,
                          GroupChoice& choice, const ReportSink& report) {
    for (const Text& fragment : analysis_fragments(candidate, hooks.suffix())) {
        if (!is_sought(fragment, keywords)) continue;
        Text match_block;
        if (report_matches(fragment, target_folder, match_block, hooks.keep_going,
                           hooks.folder_not_read) == WalkEnd::stopped) {
            return WalkEnd::stopped;
        }
        if (is_group(match_block) &&
            choice.takes(fragment, static_cast<std::size_t>(count_line_breaks(match_block)))) {
            report(match_block);
            report("\r\n");
        }
    }
    return WalkEnd::finished;
}

WalkEnd analyze_folders(Text source_folder, Text target_folder, const FilterKeywords& keywords,
                        const AnalysisHooks& hooks, const ReportSink& report,
                        const ReportOptions& options, AnalysisSummary* summary) {
    TargetIndex target;
    auto prepare = [&](const TextArray& candidates) {
        tell(hooks, AnalysisStage::listing_target, 0, 0);
        const auto listed = [&](std::size_t files) {
            if (files % 256 == 0) tell(hooks, AnalysisStage::listing_target, files, 0);
        };
        if (target.list(target_folder, hooks.keep_going, listed, hooks.folder_not_read) ==
            WalkEnd::stopped) {
            return WalkEnd::stopped;
        }
        tell(hooks, AnalysisStage::listing_target, target.size(), 0);
        TextArray distinct;
        std::unordered_set<Text> seen;
        const Text suffix = hooks.suffix();
        for (const Text& candidate : candidates) {
            for (Text& fragment : analysis_fragments(candidate, suffix)) {
                if (is_sought(fragment, keywords) && seen.insert(fragment).second) {
                    distinct.push_back(std::move(fragment));
                }
            }
        }
        const std::size_t paths = target.size();
        tell(hooks, AnalysisStage::matching_target, 0, paths);
        const auto matched = [&](std::size_t done) {
            tell(hooks, AnalysisStage::matching_target, done, paths);
        };
        if (target.find_all(distinct, hooks.keep_going, matched) == WalkEnd::stopped) {
            return WalkEnd::stopped;
        }
        tell(hooks, AnalysisStage::matching_target, paths, paths);
        return WalkEnd::finished;
    };
    GroupChoice choice(options, summary != nullptr);
    // Report lines gather here and go to the sink in large pieces.
    Text pending;
    auto analyze = [&](const Text& candidate) {
        if (hooks.keep_going && !hooks.keep_going()) return WalkEnd::stopped;
        for (const Text& fragment : analysis_fragments(candidate, hooks.suffix())) {
            if (!is_sought(fragment, keywords)) continue;
            const std::vector<std::uint32_t>& holders = target.holders(fragment);
            if (holders.size() < 2 || !choice.takes(fragment, holders.size())) continue;
            const Text fragment_field = report_field(fragment);
            for (const std::uint32_t number : holders) {
                append_report_line(pending, fragment_field, target.path_field(number),
                                   target.size_text(number));
            }
            pending += "\r\n";
            if (pending.size() >= 1 << 16) {
                report(pending);
                pending.clear();
            }
        }
        return WalkEnd::finished;
    };
    const WalkEnd end = analyze_in_stages(source_folder, hooks, prepare, analyze);
    if (!pending.empty()) report(pending);
    if (summary && end == WalkEnd::finished) {
        std::vector<bool> in_groups(target.size());
        std::size_t files = 0;
        for (const Text& fragment : choice.written_fragments()) {
            for (const std::uint32_t number : target.holders(fragment)) {
                if (!in_groups[number]) ++files;
                in_groups[number] = true;
            }
        }
        *summary = choice.summary(files);
    }
    return end;
}

WalkEnd analyze_folders_by_walks(Text source_folder, Text target_folder,
                                 const FilterKeywords& keywords, const AnalysisHooks& hooks,
                                 const ReportSink& report, const ReportOptions& options,
                                 AnalysisSummary* summary) {
    GroupChoice choice(options, summary != nullptr);
    const WalkEnd end = analyze_in_stages(
        source_folder, hooks, [](const TextArray&) { return WalkEnd::finished; },
        [&](const Text& candidate) {
            return analyze_candidate(candidate, target_folder, keywords, hooks, choice, report);
        });
    if (summary && end == WalkEnd::finished) {
        std::unordered_set<Text> files;
        for (const Text& fragment : choice.written_fragments()) {
            list_matches(
                fragment, target_folder,
                [&](const Location& file, const Text&) { files.insert(file.path); },
                hooks.keep_going);
        }
        *summary = choice.summary(files.size());
    }
    return end;
}

}  // namespace melodex
