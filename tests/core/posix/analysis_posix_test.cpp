// The analysis on names only POSIX systems allow: Windows names hold no CR, LF or TAB.
#include <gtest/gtest.h>

#include "core/analysis.h"
#include "core/report.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using testing::FolderTree;
using testing::native;

TEST(Analysis, KeepsALineBreakInANameFromBreakingTheReport) {
    const FolderTree tree{"s/a-b.mp3", "t/a\r\nb.mp3", "t/a\tc.mp3"};
    Text report;
    analyze_folders(tree.root() + "s", tree.root() + "t", {}, {[] { return Text("mp3"); }, {}, {}},
                    [&](std::string_view bytes) { report += bytes; });
    const Text t = tree.root() + native("t/");
    EXPECT_EQ(report, "a\t" + t + "a?c.mp3\t0KB\r\na\t" + t + "a??b.mp3\t0KB\r\n\r\n");
    EXPECT_EQ(count_line_breaks(report), 3);
}

}  // namespace
}  // namespace melodex
