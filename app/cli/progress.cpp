#include "app/cli/progress.h"

#include <utility>

#include "app/cli/count_text.h"

namespace melodex::cli {
namespace {

constexpr std::size_t bar_width = 20;

// "Label [#####               ] 25% 1,234/4,936 unit"; nothing to do counts as done.
std::string bar_line(std::string_view label, std::size_t done, std::size_t total,
                     std::string_view unit) {
    const std::size_t percent = total == 0 ? 100 : done * 100 / total;
    const std::size_t filled = total == 0 ? bar_width : done * bar_width / total;
    std::string line(label);
    line += " [" + std::string(filled, '#') + std::string(bar_width - filled, ' ') + "] ";
    line += std::to_string(percent) + "% " + count_text(done) + "/" + count_text(total) + " ";
    return line.append(unit);
}

}  // namespace

std::string progress_line(const AnalysisProgress& progress) {
    switch (progress.stage) {
        case AnalysisStage::collecting_candidates:
            return "Collecting candidates";
        case AnalysisStage::candidates_collected:
            return "Candidates found: " + count_text(progress.total);
        case AnalysisStage::listing_target:
            return "Listing target files: " + count_text(progress.done);
        case AnalysisStage::matching_target:
            return bar_line("Matching", progress.done, progress.total, "files");
        case AnalysisStage::candidate_analyzed:
            return bar_line("Writing the report", progress.done, progress.total, "candidates");
        case AnalysisStage::finished:
            return "";
    }
    return "";
}

ProgressLine::ProgressLine(Write write, Now now) : write_(std::move(write)), now_(std::move(now)) {}

void ProgressLine::show(const AnalysisProgress& progress) {
    if (progress.stage == AnalysisStage::finished) {
        clear();
        return;
    }
    const Clock::time_point now = now_();
    if (drawn_at_ && now - *drawn_at_ < least_interval) return;
    drawn_at_ = now;
    const std::string line = progress_line(progress);
    std::string drawn = "\r" + line;
    if (line.size() < width_) drawn.append(width_ - line.size(), ' ');
    width_ = line.size();
    write_(drawn);
}

void ProgressLine::clear() {
    if (width_ > 0) {
        // Built in place: GCC's -Wrestrict misreads a concatenation of temporaries here.
        std::string blank(width_ + 2, ' ');
        blank.front() = '\r';
        blank.back() = '\r';
        write_(blank);
    }
    width_ = 0;
}

}  // namespace melodex::cli
