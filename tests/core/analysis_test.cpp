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

// A target tree of thousands of ".mp3" files: enough for a report of several pieces, and for the
// matching pass to ask whether to go on, which it does every 4096 paths. The candidates'
// fragments are "Qx" and "Qy", found in every added file, "Qz", found in two files, and "Qv",
// found in none.
class AnalysisOfALargeTarget : public ::testing::Test {
  protected:
    void add_target_files(int count) {
        for (int i = 0; i < count; ++i) tree.add("t/Qx Qy " + std::to_string(i) + ".mp3");
    }
    WalkEnd analyze(decltype(&analyze_folders) analysis, const KeepGoing& keep_going = {}) {
        const AnalysisHooks hooks{[] { return Text("mp3"); },
                                  [&](const AnalysisProgress& at) { progress.push_back(at); },
                                  keep_going};
        return analysis(tree.root() + "s", tree.root() + "t", {}, hooks,
                        [&](std::string_view bytes) { pieces.emplace_back(bytes); });
    }

    FolderTree tree{"s/Qx-Qy.mp3", "s/Qz-Qv.mp3", "t/Qz.mp3", "t/Qz2.mp3"};
    std::vector<AnalysisProgress> progress;
    std::vector<Text> pieces;
};

TEST_F(AnalysisOfALargeTarget, HandsTheReportToTheSinkInPiecesOfWholeGroups) {
    add_target_files(2000);
    analyze(&analyze_folders_by_walks);
    Text reference;
    for (const Text& piece : pieces) reference += piece;
    pieces.clear();

    analyze(&analyze_folders);
    // A group of 2000 lines is longer than a piece needs to be; the last piece is what is left.
    ASSERT_EQ(pieces.size(), 3u);
    const char* first_fragments[] = {"Qx\t", "Qy\t", "Qz\t"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(pieces[i].starts_with(first_fragments[i])) << i;
        EXPECT_TRUE(pieces[i].ends_with(".mp3\t0KB\r\n\r\n")) << i;
    }
    EXPECT_GE(pieces[0].size(), 1u << 16);
    EXPECT_EQ(pieces[0] + pieces[1] + pieces[2], reference);
}

TEST_F(AnalysisOfALargeTarget, StopsAtOnceWhereverItIsToldTo) {
    add_target_files(4094);
    using Stage = AnalysisStage;
    const std::vector<AnalysisProgress> collecting{{Stage::collecting_candidates, 0, 0}};
    const std::vector<AnalysisProgress> collected{{Stage::collecting_candidates, 0, 0},
                                                  {Stage::candidates_collected, 0, 2}};
    // Asked at the source's one folder, at the target's one folder, once in the matching pass of
    // the 4096 paths, then before each candidate.
    const struct {
        int stop_at;
        const char* where;
        const std::vector<AnalysisProgress>& progress;
    } cases[] = {
        {1, "collecting the candidates", collecting},
        {2, "listing the target tree", collected},
        {3, "matching the fragments", collected},
        {4, "before the first candidate", collected},
    };
    for (const auto& c : cases) {
        progress.clear();
        pieces.clear();
        int asked = 0;
        EXPECT_EQ(analyze(&analyze_folders, [&] { return ++asked < c.stop_at; }), WalkEnd::stopped)
            << c.where;
        EXPECT_EQ(asked, c.stop_at) << c.where;
        EXPECT_EQ(progress, c.progress) << c.where;
        EXPECT_TRUE(pieces.empty()) << c.where;
    }
}

TEST(CountLineBreaks, CountsPairsWithoutOverlap) {
    EXPECT_EQ(count_line_breaks(""), 0);
    EXPECT_EQ(count_line_breaks("\r\n"), 1);
    EXPECT_EQ(count_line_breaks("\r\r\n\n"), 1);
    EXPECT_EQ(count_line_breaks("a\r\nb\r\n\r\n"), 3);
    EXPECT_EQ(count_line_breaks("\n\r"), 0);
}

}  // namespace
}  // namespace melodex
