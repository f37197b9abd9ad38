#include "ui/analysis_run.h"

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/system.h"
#include "core/whole_file.h"
#include "tests/support/folder_tree.h"
#include "tests/ui/fake_window.h"

namespace melodex::ui {
namespace {

using melodex::testing::FolderTree;
using melodex::testing::native;
using ::testing::ElementsAre;
using testing::entries_starting_with;
using testing::FakeWindow;
using ::testing::IsEmpty;

class AnalysisButton : public ::testing::Test {
  protected:
    AnalysisButton() { window.services.directory = tree.root() + "program"; }
    std::vector<std::string> captions() { return entries_starting_with(window.log, "caption 7 "); }

    // Every candidate's fragment "Q" is found in both target files, and no other fragment is found
    // in the target paths (a temporary folder on Windows begins with "C:").
    FolderTree tree{"program/",  "s/A-Q.mp3", "s/B-Q.mp3", "s/K-Q.mp3",
                    "s/D-Q.mp3", "t/Q.mp3",   "t/Q2.mp3"};
    FakeWindow window;
    const Text report = tree.root() + native("program/") + system_text("MP3文件重复分析报告.txt");
    const Text keywords = tree.root() + native("program/") + system_text("MP3过滤关键字.txt");
    const Text t = tree.root() + native("t/");
    const Text group = "Q\t" + t + "Q.mp3\t0KB\r\nQ\t" + t + "Q2.mp3\t0KB\r\n\r\n";
};

TEST_F(AnalysisButton, ShowsTheStagesThenWritesAndOpensTheReport) {
    window.services.answers = {tree.root() + "s", tree.root() + "t"};
    window.handlers.analysis_clicked();
    EXPECT_THAT(captions(),
                ElementsAre(system_text("加载过滤器..."), system_text("加载文件名称..."), "25%",
                            "50%", "75%", "100%", system_text("MP3一按键找重")));
    EXPECT_THAT(entries_starting_with(window.log, "open "), ElementsAre(report));
    EXPECT_EQ(read_whole_file(report), group + group + group + group);
}

TEST_F(AnalysisButton, CountsThreeCandidatesInThirds) {
    std::filesystem::remove(tree.path("s/D-Q.mp3"));
    window.services.answers = {tree.root() + "s", tree.root() + "t"};
    window.handlers.analysis_clicked();
    EXPECT_THAT(captions(), ElementsAre(system_text("加载过滤器..."),
                                        system_text("加载文件名称..."), "33.33333333333%",
                                        "66.66666666667%", "100%", system_text("MP3一按键找重")));
}

TEST_F(AnalysisButton, WritesAndOpensTheReportAfreshEachTime) {
    for (int run = 1; run <= 2; ++run) {
        window.services.answers = {tree.root() + "s", tree.root() + "t"};
        window.handlers.analysis_clicked();
        EXPECT_EQ(entries_starting_with(window.log, "open "),
                  std::vector<std::string>(run, report));
        EXPECT_EQ(captions().back(), system_text("MP3一按键找重"));
        EXPECT_EQ(read_whole_file(report), group + group + group + group);
        EXPECT_TRUE(std::filesystem::exists(keywords));
    }
}

TEST_F(AnalysisButton, WritesAnEmptyReportWhenThereAreNoCandidates) {
    window.services.answers = {tree.root() + "missing", tree.root() + "t"};
    window.handlers.analysis_clicked();
    EXPECT_THAT(captions(),
                ElementsAre(system_text("加载过滤器..."), system_text("加载文件名称..."),
                            system_text("MP3一按键找重")));
    EXPECT_TRUE(std::filesystem::exists(report));
    EXPECT_EQ(std::filesystem::file_size(report), 0u);
    EXPECT_THAT(entries_starting_with(window.log, "open "), ElementsAre(report));
}

TEST_F(AnalysisButton, ChangesNothingWhenAPromptIsCancelled) {
    window.services.answers = {std::nullopt};
    window.handlers.analysis_clicked();
    window.services.answers = {tree.root() + "s", std::nullopt};
    window.handlers.analysis_clicked();
    EXPECT_THAT(window.log, ElementsAre(system_text("input 需要分析的文件目录 输入"),
                                        system_text("input 需要分析的文件目录 输入"),
                                        system_text("input 被分析的文件目录 输入")));
    EXPECT_FALSE(std::filesystem::exists(keywords));
    EXPECT_FALSE(std::filesystem::exists(report));
}

TEST_F(AnalysisButton, IgnoresAClickWhileARunIsInProgress) {
    window.services.answers = {tree.root() + "s", tree.root() + "t"};
    int clicks = 0;
    window.services.on_pending_events = [&] {
        if (clicks++ == 0) window.handlers.analysis_clicked();
    };
    window.handlers.analysis_clicked();
    EXPECT_EQ(entries_starting_with(window.log, "input ").size(), 2u);
    EXPECT_FALSE(window.handlers.analysis_running());
}

TEST_F(AnalysisButton, SaysSoAndOpensNothingWhenTheReportCannotBeWritten) {
    std::filesystem::create_directory(report);  // a folder stands in the report's place
    window.services.answers = {tree.root() + "s", tree.root() + "t"};
    window.handlers.analysis_clicked();
    EXPECT_THAT(entries_starting_with(window.log, "open "), IsEmpty());
    EXPECT_THAT(std::vector<std::string>(window.log.end() - 3, window.log.end()),
                ElementsAre("topmost off", system_text("message 无法写入分析报告：") + report,
                            "topmost on"));
}

TEST_F(AnalysisButton, EndsQuietlyAndKeepsTheEarlierReportWhenTheWindowClosesDuringTheRun) {
    ASSERT_TRUE(write_whole_file(report, "earlier"));
    window.services.answers = {tree.root() + "s", tree.root() + "t"};
    int events = 0;  // the window closes once the candidates are collected
    window.services.on_pending_events = [&] {
        if (++events == 2) window.handlers.window_closing();
    };
    window.handlers.analysis_clicked();
    EXPECT_EQ(read_whole_file(report), "earlier");
    EXPECT_THAT(entries_starting_with(window.log, "open "), IsEmpty());
    EXPECT_THAT(entries_starting_with(window.log, "message "), IsEmpty());
}

}  // namespace
}  // namespace melodex::ui
