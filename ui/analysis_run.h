// The one-key analysis as 按钮7 runs it: asks for the source and the target folders, loads the
// keyword file of the program directory, analyzes with 编辑框7's suffix while 按钮7 shows the
// stages and the percentage done, then replaces the report file of the program directory and
// opens it. Nothing is opened when the report could not be written or the program is closing.
#pragma once

#include "core/keep_going.h"
#include "core/text.h"
#include "ui/desktop_services.h"
#include "ui/main_window_view.h"

namespace melodex::ui {

enum class RunOutcome { cancelled, completed, stopped, report_not_written };

struct RunResult {
    RunOutcome outcome = RunOutcome::cancelled;
    Text report_path;
};

RunResult run_analysis(MainWindowView& view, DesktopServices& services,
                       const KeepGoing& keep_going);

}  // namespace melodex::ui
