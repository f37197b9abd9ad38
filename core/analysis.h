// The one-key analysis: every candidate file of the source tree is cut into fragments, each
// fragment that is not a filter keyword is looked for in the full paths of the ".mp3" files of
// the target tree, and every fragment found in two or more files becomes a group of the report.
#pragma once

#include <functional>
#include <optional>

#include "core/filter_keywords.h"
#include "core/text.h"
#include "core/walk.h"

namespace melodex {

struct AnalysisHooks {
    std::function<Text()> suffix;                   // the candidates' suffix, read when used
    std::function<void(const Text&)> show_caption;  // stage and percentage done
    KeepGoing keep_going;
};

// Receives the report's bytes as they are made.
using ReportSink = std::function<void(std::string_view bytes)>;

// Reports the groups of one candidate's fragments found in the target tree.
WalkEnd analyse_candidate(const Text& candidate, Text& target_folder,
                          const FilterKeywords& keywords, const AnalysisHooks& hooks,
                          const ReportSink& report);

// Collects the candidates below `source_folder` and reports each one's groups in candidate order,
// showing the stages "加载过滤器...", "加载文件名称...", the percentage after each candidate and
// finally "MP3一按键找重".
WalkEnd analyse_folders(Text source_folder, Text target_folder, const FilterKeywords& keywords,
                        const AnalysisHooks& hooks, const ReportSink& report);

// The same analysis with one walk of the target tree per fragment: slow on large trees, kept as
// the reference that the fast analysis is checked against.
WalkEnd analyse_folders_by_walks(Text source_folder, Text target_folder,
                                 const FilterKeywords& keywords, const AnalysisHooks& hooks,
                                 const ReportSink& report);

// The two files of the program directory.
Text keyword_file_name();
Text report_file_name();

// What the one-key analysis asks of the window it runs in.
class AnalysisHost {
  public:
    virtual ~AnalysisHost() = default;
    // An input box with one empty field; nullopt when it is cancelled or closed.
    virtual std::optional<Text> ask_text(const Text& prompt, const Text& title) = 0;
    virtual Text suffix() = 0;
    virtual void show_caption(const Text& caption) = 0;
    // False when the program is closing.
    virtual bool let_pending_events_run() = 0;
    virtual void open_document(const Text& path) = 0;
    virtual Text program_directory() = 0;
};

enum class RunOutcome { cancelled, completed, stopped, report_not_written };

struct RunResult {
    RunOutcome outcome = RunOutcome::cancelled;
    Text report_path;
};

// Asks for the source and target folders, loads the keyword file, analyses, replaces the report
// file of the program directory and opens it. Nothing is opened when the report could not be
// written or the program is closing.
RunResult run_analysis(AnalysisHost& host);

}  // namespace melodex
