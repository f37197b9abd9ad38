// The one-key analysis: every candidate file of the source tree is cut into fragments, each
// fragment that is not a filter keyword is looked for in the full paths of the ".mp3" files of
// the target tree, and every fragment found in two or more files becomes a group of the report.
#pragma once

#include <cstddef>
#include <functional>

#include "core/filter_keywords.h"
#include "core/group_choice.h"
#include "core/keep_going.h"
#include "core/text.h"
#include "core/walk.h"

namespace melodex {

// The points of a run at which it tells how far it has got.
enum class AnalysisStage {
    collecting_candidates,  // the source tree is about to be walked
    candidates_collected,   // `total` candidates found; the target tree is searched next
    listing_target,         // `done` files of the target tree listed so far
    matching_target,        // `done` of the `total` listed paths searched for every fragment
    candidate_analyzed,     // `done` of the `total` candidates have their groups reported
    finished,               // every candidate is analyzed
};

struct AnalysisProgress {
    AnalysisStage stage = AnalysisStage::collecting_candidates;
    std::size_t done = 0;
    std::size_t total = 0;

    // `done` of `total` in percent.
    double percent() const { return static_cast<double>(done) / static_cast<double>(total) * 100; }
    bool operator==(const AnalysisProgress&) const = default;
};

struct AnalysisHooks {
    std::function<Text()> suffix;  // the candidates' suffix, read when used
    std::function<void(const AnalysisProgress&)> progress;
    KeepGoing keep_going;
    FolderNotRead folder_not_read = {};  // told of each folder of the trees that could not be read
};

// Receives the report's bytes as they are made.
using ReportSink = std::function<void(std::string_view bytes)>;

// Reports the groups of one candidate's fragments found in the target tree that `choice` takes.
WalkEnd analyze_candidate(const Text& candidate, Text& target_folder,
                          const FilterKeywords& keywords, const AnalysisHooks& hooks,
                          GroupChoice& choice, const ReportSink& report);

// Collects the candidates below `source_folder` and reports each one's groups in candidate order,
// telling the progress at each stage and after each candidate. `summary`, when given, is filled
// when the run finishes.
WalkEnd analyze_folders(Text source_folder, Text target_folder, const FilterKeywords& keywords,
                        const AnalysisHooks& hooks, const ReportSink& report,
                        const ReportOptions& options = {}, AnalysisSummary* summary = nullptr);

// The same analysis with one walk of the target tree per fragment: slow on large trees, kept as
// the reference that the fast analysis is checked against. It tells no listing or matching; a
// folder that cannot be read is told once per walk.
WalkEnd analyze_folders_by_walks(Text source_folder, Text target_folder,
                                 const FilterKeywords& keywords, const AnalysisHooks& hooks,
                                 const ReportSink& report, const ReportOptions& options = {},
                                 AnalysisSummary* summary = nullptr);

}  // namespace melodex
