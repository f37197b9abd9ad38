#include "core/analysis.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/report.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using ::testing::ElementsAre;
using testing::FolderTree;
using testing::native;

struct Recorded {
    std::vector<AnalysisProgress> progress;
    Text report;
};

Recorded analyze(const Text& source, const Text& target, const FilterKeywords& keywords = {},
                 const Text& suffix = "mp3") {
    Recorded recorded;
    const AnalysisHooks hooks{
        [&] { return suffix; },
        [&](const AnalysisProgress& progress) { recorded.progress.push_back(progress); },
        [] { return true; }};
    analyze_folders(source, target, keywords, hooks,
                    [&](std::string_view bytes) { recorded.report += bytes; });
    return recorded;
}

TEST(Analysis, TellsEachStageAndEveryCandidateDone) {
    using Stage = AnalysisStage;
    const FolderTree three{"a.mp3", "b.mp3", "c.mp3"};
    EXPECT_THAT(analyze(three.root(), three.root()).progress,
                ElementsAre(AnalysisProgress{Stage::collecting_candidates, 0, 0},
                            AnalysisProgress{Stage::candidates_collected, 0, 3},
                            AnalysisProgress{Stage::candidate_analyzed, 1, 3},
                            AnalysisProgress{Stage::candidate_analyzed, 2, 3},
                            AnalysisProgress{Stage::candidate_analyzed, 3, 3},
                            AnalysisProgress{Stage::finished, 3, 3}));
    EXPECT_THAT(analyze(three.root() + "missing", three.root()).progress,
                ElementsAre(AnalysisProgress{Stage::collecting_candidates, 0, 0},
                            AnalysisProgress{Stage::candidates_collected, 0, 0},
                            AnalysisProgress{Stage::finished, 0, 0}));
}

TEST(Analysis, ReportsEveryFragmentFoundInTwoOrMoreFiles) {
    FolderTree tree{"src/Alice - Rain.mp3", "src/Solo.mp3",     "src/Bob_Rain (Live).mp3",
                    "lib/Alice/Rain.mp3",   "lib/Bob/Rain.mp3", "lib/Carol - Sun.mp3"};
    tree.add("lib/Alice/Rain (Live).mp3", 2 * 1048576);
    const Text lib = tree.root() + native("lib/");
    const Recorded run = analyze(tree.root() + "src", tree.root() + "lib");
    // Candidates in walk order: "Alice - Rain.mp3", "Bob_Rain (Live).mp3", "Solo.mp3".
    // "Bob" is found in one file only and "Rain " (from "Bob_Rain ") in one: neither is a group.
    const Text want = "Alice\t" + lib + native("Alice/Rain (Live).mp3") + "\t2MB\r\n" + "Alice\t" +
                      lib + native("Alice/Rain.mp3") + "\t0KB\r\n" + "\r\n" + "Rain\t" + lib +
                      native("Alice/Rain (Live).mp3") + "\t2MB\r\n" + "Rain\t" + lib +
                      native("Alice/Rain.mp3") + "\t0KB\r\n" + "Rain\t" + lib +
                      native("Bob/Rain.mp3") + "\t0KB\r\n" + "\r\n";
    EXPECT_EQ(run.report, want);
}

TEST(Analysis, SkipsFilterKeywordsAndEmptyFragments) {
    const FolderTree tree{"s/Live A  B.mp3", "t/x A live/1.mp3", "t/2 Live A.mp3", "t/B.mp3",
                          "t/B2.mp3"};
    // Fragments: "Live", "A", "", "B" (two spaces leave an empty one).
    FilterKeywords keywords;
    keywords.upper_cased.insert("LIVE");
    const Recorded run = analyze(tree.root() + "s", tree.root() + "t", keywords);
    const Text t = tree.root() + native("t/");
    EXPECT_EQ(run.report, "A\t" + t + "2 Live A.mp3\t0KB\r\n" + "A\t" + t +
                              native("x A live/1.mp3") + "\t0KB\r\n" + "\r\n" + "B\t" + t +
                              "B.mp3\t0KB\r\n" + "B\t" + t + "B2.mp3\t0KB\r\n" + "\r\n");
}

TEST(Analysis, TakesCandidatesOfTheChosenSuffixButMatchesOnlyMp3Files) {
    const FolderTree tree{"s/A - B.wma", "t/A.mp3", "t/A.wma", "t/xA.mp3"};
    const Recorded run = analyze(tree.root() + "s", tree.root() + "t", {}, "WMA");
    const Text t = tree.root() + native("t/");
    EXPECT_EQ(run.report, "A\t" + t + "A.mp3\t0KB\r\nA\t" + t + "xA.mp3\t0KB\r\n\r\n");
}

#ifndef _WIN32  // Windows names hold no CR, LF or TAB
TEST(Analysis, KeepsALineBreakInANameFromBreakingTheReport) {
    const FolderTree tree{"s/a-b.mp3", "t/a\r\nb.mp3", "t/a\tc.mp3"};
    const Recorded run = analyze(tree.root() + "s", tree.root() + "t");
    const Text t = tree.root() + native("t/");
    EXPECT_EQ(run.report, "a\t" + t + "a?c.mp3\t0KB\r\na\t" + t + "a??b.mp3\t0KB\r\n\r\n");
    EXPECT_EQ(count_line_breaks(run.report), 3);
}
#endif

TEST(CountLineBreaks, CountsPairsWithoutOverlap) {
    EXPECT_EQ(count_line_breaks(""), 0);
    EXPECT_EQ(count_line_breaks("\r\n"), 1);
    EXPECT_EQ(count_line_breaks("\r\r\n\n"), 1);
    EXPECT_EQ(count_line_breaks("a\r\nb\r\n\r\n"), 3);
    EXPECT_EQ(count_line_breaks("\n\r"), 0);
}

}  // namespace
}  // namespace melodex
