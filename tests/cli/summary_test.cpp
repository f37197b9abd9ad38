#include "app/cli/summary.h"

#include <gtest/gtest.h>

namespace melodex::cli {
namespace {

TEST(Summary, TellsWhatTheReportHoldsAndTheFragmentsInMostFiles) {
    const AnalysisSummary summary{1234, 5678, 0, 0, {{"Live", 12345}, {"Ann", 2}}};
    EXPECT_EQ(summary_text(summary, {}),
              "1,234 groups written, 5,678 distinct files in them\n"
              "Fragments found in most files, the first candidates for the keyword file:\n"
              "  12,345  Live\n"
              "       2  Ann\n");
}

TEST(Summary, TellsWhatTheOptionsLeftOut) {
    const AnalysisSummary summary{1, 2, 3, 1, {{"a\x1B]0;x\x07\n", 600}}};
    EXPECT_EQ(summary_text(summary, {true, 500}),
              "1 group written, 2 distinct files in them\n"
              "Left out: 3 repeated groups (--distinct), 1 group of more than 500 files "
              "(--max-group)\n"
              "Fragments found in most files, the first candidates for the keyword file:\n"
              "  600  a?]0;x??\n");
    EXPECT_EQ(summary_text({}, {false, 1}),
              "0 groups written, 0 distinct files in them\n"
              "Left out: 0 groups of more than 1 file (--max-group)\n");
}

}  // namespace
}  // namespace melodex::cli
