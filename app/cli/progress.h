// The progress of an analysis on one terminal line: the stage in words, the files listed so far,
// then a bar with a whole percentage and the counts while matching and writing.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/analysis.h"

namespace melodex::cli {

// The line for a point of the run; empty once the run is finished.
std::string progress_line(const AnalysisProgress& progress);

// Draws the line in place, at most ten times a second. It is redrawn with a carriage return and
// padded over the longer line before it: no terminal control sequences, which not every console
// understands.
class ProgressLine {
  public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;
    using Write = std::function<void(std::string_view bytes)>;

    static constexpr Clock::duration least_interval = std::chrono::milliseconds(100);

    ProgressLine(Write write, Now now);

    void show(const AnalysisProgress& progress);
    // Leaves the line empty, with the cursor at its start.
    void clear();

  private:
    Write write_;
    Now now_;
    std::optional<Clock::time_point> drawn_at_;
    std::size_t width_ = 0;  // of the line on the terminal
};

}  // namespace melodex::cli
