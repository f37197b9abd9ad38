#include "core/analysis.h"

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/file_system.h"
#include "core/report.h"
#include "core/system.h"
#include "core/whole_file.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using ::testing::ElementsAre;
using testing::FolderTree;
using testing::native;

struct Recorded {
    std::vector<Text> captions;
    Text report;
};

Recorded analyse(const Text& source, const Text& target, const FilterKeywords& keywords = {},
                 const Text& suffix = "mp3") {
    Recorded recorded;
    const AnalysisHooks hooks{[&] { return suffix; },
                              [&](const Text& caption) { recorded.captions.push_back(caption); },
                              [] { return true; }};
    analyse_folders(source, target, keywords, hooks,
                    [&](std::string_view bytes) { recorded.report += bytes; });
    return recorded;
}

TEST(Analysis, ShowsTheStagesAndThePercentageAfterEachCandidate) {
    const FolderTree four{"a.mp3", "b.mp3", "c.mp3", "d.mp3"};
    EXPECT_THAT(analyse(four.root(), four.root()).captions,
                ElementsAre(system_text("加载过滤器..."), system_text("加载文件名称..."), "25%",
                            "50%", "75%", "100%", system_text("MP3一按键找重")));
    const FolderTree three{"a.mp3", "b.mp3", "c.mp3"};
    EXPECT_THAT(
        analyse(three.root(), three.root()).captions,
        ElementsAre(system_text("加载过滤器..."), system_text("加载文件名称..."), "33.33333333333%",
                    "66.66666666667%", "100%", system_text("MP3一按键找重")));
    EXPECT_THAT(analyse(three.root() + "missing", three.root()).captions,
                ElementsAre(system_text("加载过滤器..."), system_text("加载文件名称..."),
                            system_text("MP3一按键找重")));
}

TEST(Analysis, ReportsEveryFragmentFoundInTwoOrMoreFiles) {
    FolderTree tree{"src/Alice - Rain.mp3", "src/Solo.mp3",     "src/Bob_Rain (Live).mp3",
                    "lib/Alice/Rain.mp3",   "lib/Bob/Rain.mp3", "lib/Carol - Sun.mp3"};
    tree.add("lib/Alice/Rain (Live).mp3", 2 * 1048576);
    const Text lib = tree.root() + native("lib/");
    const Recorded run = analyse(tree.root() + "src", tree.root() + "lib");
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
    const Recorded run = analyse(tree.root() + "s", tree.root() + "t", keywords);
    const Text t = tree.root() + native("t/");
    EXPECT_EQ(run.report, "A\t" + t + "2 Live A.mp3\t0KB\r\n" + "A\t" + t +
                              native("x A live/1.mp3") + "\t0KB\r\n" + "\r\n" + "B\t" + t +
                              "B.mp3\t0KB\r\n" + "B\t" + t + "B2.mp3\t0KB\r\n" + "\r\n");
}

TEST(Analysis, TakesCandidatesOfTheChosenSuffixButMatchesOnlyMp3Files) {
    const FolderTree tree{"s/A - B.wma", "t/A.mp3", "t/A.wma", "t/xA.mp3"};
    const Recorded run = analyse(tree.root() + "s", tree.root() + "t", {}, "WMA");
    const Text t = tree.root() + native("t/");
    EXPECT_EQ(run.report, "A\t" + t + "A.mp3\t0KB\r\nA\t" + t + "xA.mp3\t0KB\r\n\r\n");
}

#ifndef _WIN32  // Windows names hold no CR, LF or TAB
TEST(Analysis, KeepsALineBreakInANameFromBreakingTheReport) {
    const FolderTree tree{"s/a-b.mp3", "t/a\r\nb.mp3", "t/a\tc.mp3"};
    const Recorded run = analyse(tree.root() + "s", tree.root() + "t");
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

// Answers the prompts from a list and records what the run asked of the window.
class FakeHost : public AnalysisHost {
  public:
    FakeHost(Text directory, std::vector<std::optional<Text>> answers)
        : directory_(std::move(directory)), answers_(std::move(answers)) {}

    std::optional<Text> ask_text(const Text& prompt, const Text& title) override {
        prompts.push_back(prompt + "|" + title);
        return answers_.at(prompts.size() - 1);
    }
    Text suffix() override { return "mp3"; }
    void show_caption(const Text& caption) override { captions.push_back(caption); }
    bool let_pending_events_run() override { return --events_until_close != 0; }
    void open_document(const Text& path) override { opened.push_back(path); }
    Text program_directory() override { return directory_; }

    std::vector<Text> prompts;
    std::vector<Text> captions;
    std::vector<Text> opened;
    int events_until_close = -1;

  private:
    Text directory_;
    std::vector<std::optional<Text>> answers_;
};

class RunAnalysis : public ::testing::Test {
  protected:
    FolderTree tree{"program/", "s/A-B.mp3", "t/A.mp3", "t/A2.mp3"};
    Text program = tree.root() + "program";
    Text report = program + path_separator + system_text("MP3文件重复分析报告.txt");
    Text keywords = program + path_separator + system_text("MP3过滤关键字.txt");
};

TEST_F(RunAnalysis, EndsSilentlyWhenEitherPromptIsCancelled) {
    FakeHost first(program, {std::nullopt});
    EXPECT_EQ(run_analysis(first).outcome, RunOutcome::cancelled);
    EXPECT_THAT(first.prompts, ElementsAre(system_text("需要分析的文件目录|输入")));

    FakeHost second(program, {tree.root() + "s", std::nullopt});
    EXPECT_EQ(run_analysis(second).outcome, RunOutcome::cancelled);
    EXPECT_THAT(second.prompts, ElementsAre(system_text("需要分析的文件目录|输入"),
                                            system_text("被分析的文件目录|输入")));
    EXPECT_TRUE(second.captions.empty());
    EXPECT_FALSE(std::filesystem::exists(keywords));
    EXPECT_FALSE(std::filesystem::exists(report));
}

TEST_F(RunAnalysis, WritesAndOpensTheReportAndStartsAfreshEachTime) {
    for (int run = 0; run < 2; ++run) {
        FakeHost host(program, {tree.root() + "s", tree.root() + "t"});
        const RunResult result = run_analysis(host);
        EXPECT_EQ(result.outcome, RunOutcome::completed);
        EXPECT_THAT(host.opened, ElementsAre(report));
        EXPECT_EQ(host.captions.back(), system_text("MP3一按键找重"));
        const Text t = tree.root() + native("t/");
        EXPECT_EQ(read_whole_file(report),
                  "A\t" + t + "A.mp3\t0KB\r\nA\t" + t + "A2.mp3\t0KB\r\n\r\n");
        EXPECT_TRUE(std::filesystem::exists(keywords));
    }
}

TEST_F(RunAnalysis, WritesAnEmptyReportWhenThereAreNoCandidates) {
    FakeHost host(program, {tree.root() + "missing", tree.root() + "t"});
    EXPECT_EQ(run_analysis(host).outcome, RunOutcome::completed);
    EXPECT_TRUE(std::filesystem::exists(report));
    EXPECT_EQ(std::filesystem::file_size(report), 0u);
    EXPECT_THAT(host.opened, ElementsAre(report));
}

TEST_F(RunAnalysis, SaysSoAndOpensNothingWhenTheReportCannotBeWritten) {
    std::filesystem::create_directory(report);  // a folder stands in the report's place
    FakeHost host(program, {tree.root() + "s", tree.root() + "t"});
    const RunResult result = run_analysis(host);
    EXPECT_EQ(result.outcome, RunOutcome::report_not_written);
    EXPECT_EQ(result.report_path, report);
    EXPECT_TRUE(host.opened.empty());
}

TEST_F(RunAnalysis, LeavesTheEarlierReportWhenTheProgramClosesDuringTheRun) {
    ASSERT_TRUE(write_whole_file(report, "earlier"));
    FakeHost host(program, {tree.root() + "s", tree.root() + "t"});
    host.events_until_close = 2;
    EXPECT_EQ(run_analysis(host).outcome, RunOutcome::stopped);
    EXPECT_EQ(read_whole_file(report), "earlier");
    EXPECT_TRUE(host.opened.empty());
}

}  // namespace
}  // namespace melodex
