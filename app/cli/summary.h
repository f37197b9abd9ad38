// The short account of an analysis that melodex-cli writes to standard error at the end: what
// the report holds, what it left out and why, and the fragments found in most files.
#pragma once

#include <string>

#include "core/group_choice.h"

namespace melodex::cli {

// Lines ending in "\n". Fragments are shown with control bytes as "?", so that no name can move
// the cursor or change the terminal.
std::string summary_text(const AnalysisSummary& summary, const ReportOptions& options);

}  // namespace melodex::cli
