#include "ui/analysis_run.h"

#include <optional>

#include "core/analysis.h"
#include "core/filter_keywords.h"
#include "core/number_text.h"
#include "core/program_files.h"
#include "core/system.h"
#include "core/whole_file.h"

namespace melodex::ui {
namespace {

// What 按钮7 shows at a point of the run; nothing at a point it has no caption for.
std::optional<Text> caption_of(const AnalysisProgress& progress) {
    switch (progress.stage) {
        case AnalysisStage::collecting_candidates:
            return system_text("加载过滤器...");
        case AnalysisStage::candidates_collected:
            return system_text("加载文件名称...");
        case AnalysisStage::candidate_analyzed:
            return number_text(progress.percent()) + "%";
        case AnalysisStage::finished:
            return system_text("MP3一按键找重");
        default:
            return std::nullopt;
    }
}

}  // namespace

RunResult run_analysis(MainWindowView& view, DesktopServices& services,
                       const KeepGoing& keep_going) {
    const Text title = system_text("输入");
    const std::optional<Text> source = services.input_box(system_text("需要分析的文件目录"), title);
    if (!source) return {RunOutcome::cancelled, {}};
    const std::optional<Text> target = services.input_box(system_text("被分析的文件目录"), title);
    if (!target) return {RunOutcome::cancelled, {}};

    const Text directory = services.program_directory();
    const FilterKeywords keywords = load_filter_keywords(keyword_file_path(directory));
    const Text report_path = report_file_path(directory);
    ReplacingFile report_file(report_path);
    const AnalysisHooks hooks{[&] { return view.text(EditBox::编辑框7); },
                              [&](const AnalysisProgress& progress) {
                                  const std::optional<Text> caption = caption_of(progress);
                                  if (caption) view.set_caption(Button::按钮7, *caption);
                              },
                              keep_going};
    const WalkEnd end = analyze_folders(*source, *target, keywords, hooks,
                                        [&](std::string_view bytes) { report_file.write(bytes); });
    if (end == WalkEnd::stopped) return {RunOutcome::stopped, report_path};
    if (!report_file.commit()) return {RunOutcome::report_not_written, report_path};
    services.open_document(report_path);
    return {RunOutcome::completed, report_path};
}

}  // namespace melodex::ui
