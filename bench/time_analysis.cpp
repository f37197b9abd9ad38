// melodex-bench-analysis: times one analysis of SOURCE against TARGET inside the process, with
// the indexed analysis or with the per-fragment walks, and writes the report to a file. With a
// time budget the run stops once the budget is spent and the full time is extrapolated from the
// fragments searched so far (each one costs a walk of TARGET). It also lists the run's distinct
// searched fragments, which the benchmark's floor greps for.
//
// usage: melodex-bench-analysis [--by-walks] [--budget SECONDS] [--keywords FILE]
//                               [--code-page gbk|utf-8] SOURCE TARGET REPORT
//        melodex-bench-analysis --fragments FILE [--keywords FILE] [--code-page ...] SOURCE
// Prints one line of key=value fields.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "core/analysis.h"
#include "core/filter_keywords.h"
#include "core/fragments.h"
#include "core/search.h"
#include "core/system.h"
#include "core/whole_file.h"

namespace {

using namespace melodex;
using Clock = std::chrono::steady_clock;

const Text suffix = "mp3";

struct Options {
    bool by_walks = false;
    double budget_seconds = 0;  // 0: no budget
    std::string keywords;       // no keywords unless given
    std::string fragments;
    std::string code_page;
    std::vector<std::string> folders;  // SOURCE [TARGET REPORT]
};

TextArray candidates_of(Text source) {
    TextArray candidates;
    collect_candidates(source, [] { return suffix; }, candidates, {});
    return candidates;
}

// The fragments of a candidate that the analysis looks for: not empty and not filtered.
TextArray searched_fragments(const Text& candidate, const FilterKeywords& keywords) {
    TextArray searched;
    for (Text& fragment : analysis_fragments(candidate, suffix)) {
        if (!fragment.empty() && !is_filter_keyword(keywords, fragment)) {
            searched.push_back(std::move(fragment));
        }
    }
    return searched;
}

// Every fragment the analysis searches for, once, in the order of their first use.
int write_fragments(const Options& options, const FilterKeywords& keywords) {
    std::set<Text> seen;
    Text lines;
    for (const Text& candidate : candidates_of(options.folders[0])) {
        for (const Text& fragment : searched_fragments(candidate, keywords)) {
            if (seen.insert(fragment).second) lines += fragment + "\n";
        }
    }
    if (!write_whole_file(options.fragments, lines)) {
        std::fprintf(stderr, "melodex-bench-analysis: cannot write %s\n",
                     options.fragments.c_str());
        return 1;
    }
    std::printf("fragments=%zu\n", seen.size());
    return 0;
}

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int time_analysis(const Options& options, const FilterKeywords& keywords) {
    const Text& source = options.folders[0];
    const Text& target = options.folders[1];
    // The number of fragment searches up to each candidate.
    std::vector<std::size_t> searches_before{0};
    for (const Text& candidate : candidates_of(source)) {
        searches_before.push_back(searches_before.back() +
                                  searched_fragments(candidate, keywords).size());
    }
    const std::size_t candidates = searches_before.size() - 1;

    ReplacingFile report(options.folders[2]);
    std::size_t report_bytes = 0;
    std::size_t analyzed = 0;
    double seconds_at_last_candidate = 0;
    const Clock::time_point start = Clock::now();
    const AnalysisHooks hooks{[] { return suffix; },
                              [&](const AnalysisProgress& progress) {
                                  if (progress.stage == AnalysisStage::candidate_analyzed) {
                                      ++analyzed;
                                      seconds_at_last_candidate = seconds_since(start);
                                  }
                              },
                              [&] {
                                  return options.budget_seconds <= 0 ||
                                         seconds_since(start) < options.budget_seconds;
                              }};
    const auto analyze = options.by_walks ? analyze_folders_by_walks : analyze_folders;
    const auto write = [&](std::string_view bytes) {
        report_bytes += bytes.size();
        report.write(bytes);
    };
    const WalkEnd end = analyze(source, target, keywords, hooks, write, {}, nullptr);
    const double seconds = seconds_since(start);

    const bool complete = end == WalkEnd::finished;
    if (complete && !report.commit()) {
        std::fprintf(stderr, "melodex-bench-analysis: cannot write %s\n",
                     options.folders[2].c_str());
        return 1;
    }
    // An incomplete run's time per fragment search, over all searches.
    const std::size_t searches = searches_before.back();
    const std::size_t searched = searches_before[std::min(analyzed, candidates)];
    const double estimated = complete || searched == 0
                                 ? seconds
                                 : seconds_at_last_candidate * static_cast<double>(searches) /
                                       static_cast<double>(searched);
    std::printf(
        "analysis=%s complete=%d seconds=%.4f candidates=%zu analyzed=%zu searches=%zu "
        "searched=%zu estimated_seconds=%.4f report_bytes=%zu\n",
        options.by_walks ? "walks" : "indexed", complete ? 1 : 0, seconds, candidates, analyzed,
        searches, searched, estimated, report_bytes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    set_character_rule(system_character_rule());

    Options options;
    CLI::App app{"Times one analysis run.", "melodex-bench-analysis"};
    app.add_flag("--by-walks", options.by_walks, "One walk of TARGET per fragment");
    app.add_option("--budget", options.budget_seconds,
                   "Stop after this many seconds and extrapolate")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--keywords", options.keywords, "Filter keyword file (default: none)");
    app.add_option("--fragments", options.fragments, "Only write the distinct searched fragments");
    app.add_option("--code-page", options.code_page, "Character rule of the names")
        ->check(CLI::IsMember({"gbk", "utf-8"}));
    app.add_option("SOURCE TARGET REPORT", options.folders, "Folders and report file")
        ->required()
        ->expected(1, 3);
    CLI11_PARSE(app, argc, argv);

    if (options.code_page == "gbk") set_character_rule(CharacterRule::two_byte);
    if (options.code_page == "utf-8") set_character_rule(CharacterRule::one_byte);
    const FilterKeywords keywords =
        options.keywords.empty() ? FilterKeywords{} : load_filter_keywords(options.keywords);

    if (!options.fragments.empty()) return write_fragments(options, keywords);
    if (options.folders.size() != 3) {
        std::fprintf(stderr, "melodex-bench-analysis: SOURCE TARGET REPORT expected\n");
        return 2;
    }
    return time_analysis(options, keywords);
}
