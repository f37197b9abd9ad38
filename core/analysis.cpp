#include "core/analysis.h"

#include <unordered_set>

#include "core/file_system.h"
#include "core/fragments.h"
#include "core/number_text.h"
#include "core/report.h"
#include "core/search.h"
#include "core/system.h"
#include "core/target_index.h"
#include "core/whole_file.h"

namespace melodex {

Text keyword_file_name() {
    return system_text("MP3过滤关键字.txt");
}
Text report_file_name() {
    return system_text("MP3文件重复分析报告.txt");
}

namespace {

// The stages both analyses share: candidates collected, `prepare` run, then each candidate
// analysed with the percentage done shown after it.
WalkEnd analyse_in_stages(Text& source_folder, const AnalysisHooks& hooks,
                          const std::function<WalkEnd(const TextArray&)>& prepare,
                          const std::function<WalkEnd(const Text&)>& analyse) {
    hooks.show_caption(system_text("加载过滤器..."));
    TextArray candidates;
    if (collect_candidates(source_folder, hooks.suffix, candidates, hooks.keep_going) ==
        WalkEnd::stopped) {
        return WalkEnd::stopped;
    }
    hooks.show_caption(system_text("加载文件名称..."));
    if (prepare(candidates) == WalkEnd::stopped) return WalkEnd::stopped;
    for (std::size_t done = 1; done <= candidates.size(); ++done) {
        if (analyse(candidates[done - 1]) == WalkEnd::stopped) return WalkEnd::stopped;
        const double percent =
            static_cast<double>(done) / static_cast<double>(candidates.size()) * 100;
        hooks.show_caption(number_text(percent) + "%");
    }
    hooks.show_caption(system_text("MP3一按键找重"));
    return WalkEnd::finished;
}

bool is_sought(const Text& fragment, const FilterKeywords& keywords) {
    // An empty fragment would be found in every path and list the whole target tree.
    return !fragment.empty() && !is_filter_keyword(keywords, fragment);
}

}  // namespace

WalkEnd analyse_candidate(const Text& candidate, Text& target_folder,
                          const FilterKeywords& keywords, const AnalysisHooks& hooks,
                          const ReportSink& report) {
    for (const Text& fragment : analysis_fragments(candidate, hooks.suffix())) {
        if (!is_sought(fragment, keywords)) continue;
        Text match_block;
        if (report_matches(fragment, target_folder, match_block, hooks.keep_going) ==
            WalkEnd::stopped) {
            return WalkEnd::stopped;
        }
        if (is_group(match_block)) {
            report(match_block);
            report("\r\n");
        }
    }
    return WalkEnd::finished;
}

WalkEnd analyse_folders(Text source_folder, Text target_folder, const FilterKeywords& keywords,
                        const AnalysisHooks& hooks, const ReportSink& report) {
    TargetIndex target;
    auto prepare = [&](const TextArray& candidates) {
        if (target.list(target_folder, hooks.keep_going) == WalkEnd::stopped) {
            return WalkEnd::stopped;
        }
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
        return target.find_all(distinct, hooks.keep_going);
    };
    // Report lines gather here and go to the sink in large pieces.
    Text pending;
    auto analyse = [&](const Text& candidate) {
        if (hooks.keep_going && !hooks.keep_going()) return WalkEnd::stopped;
        for (const Text& fragment : analysis_fragments(candidate, hooks.suffix())) {
            if (!is_sought(fragment, keywords)) continue;
            const std::vector<std::uint32_t>& holders = target.holders(fragment);
            if (holders.size() < 2) continue;
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
    const WalkEnd end = analyse_in_stages(source_folder, hooks, prepare, analyse);
    if (!pending.empty()) report(pending);
    return end;
}

WalkEnd analyse_folders_by_walks(Text source_folder, Text target_folder,
                                 const FilterKeywords& keywords, const AnalysisHooks& hooks,
                                 const ReportSink& report) {
    return analyse_in_stages(
        source_folder, hooks, [](const TextArray&) { return WalkEnd::finished; },
        [&](const Text& candidate) {
            return analyse_candidate(candidate, target_folder, keywords, hooks, report);
        });
}

RunResult run_analysis(AnalysisHost& host) {
    const Text title = system_text("输入");
    const std::optional<Text> source = host.ask_text(system_text("需要分析的文件目录"), title);
    if (!source) return {RunOutcome::cancelled, {}};
    const std::optional<Text> target = host.ask_text(system_text("被分析的文件目录"), title);
    if (!target) return {RunOutcome::cancelled, {}};

    const Text directory = host.program_directory();
    const FilterKeywords keywords =
        load_filter_keywords(join_texts(directory, Text(1, path_separator), keyword_file_name()));
    const Text report_path = join_texts(directory, Text(1, path_separator), report_file_name());
    ReplacingFile report_file(report_path);
    const AnalysisHooks hooks{[&] { return host.suffix(); },
                              [&](const Text& caption) { host.show_caption(caption); },
                              [&] { return host.let_pending_events_run(); }};
    const WalkEnd end = analyse_folders(*source, *target, keywords, hooks,
                                        [&](std::string_view bytes) { report_file.write(bytes); });
    if (end == WalkEnd::stopped) return {RunOutcome::stopped, report_path};
    if (!report_file.commit()) return {RunOutcome::report_not_written, report_path};
    host.open_document(report_path);
    return {RunOutcome::completed, report_path};
}

}  // namespace melodex
