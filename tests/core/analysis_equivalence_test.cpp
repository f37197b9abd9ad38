// The indexed analysis must write exactly the report of one walk per fragment.
#include <random>

#include <gtest/gtest.h>

#include "core/analysis.h"
#include "core/system.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using testing::FolderTree;

// Names built from words, separators, brackets and suffixes that exercise the fragmenter.
std::string random_name(std::mt19937& random, bool gbk) {
    // The program's own spelling: a Windows system takes no name that its code page cannot spell.
    static const std::vector<std::string> utf8_words = {
        "Rain", "rain", "Sun", system_text("歌手"), system_text("晴天"),
        "01",   "Live", "a",   "The Band",          "B"};
    static const std::vector<std::string> gbk_words = {
        "Rain", "rain", "Sun", "\xB8\xE8\xCA\xD6", "\xC7\xE7\xCC\xEC",
        "01",   "Live", "a",   "The Band",         "\x81\x5C"};
    static const std::vector<std::string> separators = {" - ", "-", "_", " ", "  ", "--", ""};
    static const std::vector<std::string> remarks = {
        "", "", " (Live)", "(x)", system_text(" （Live）"), "(", " (a)(a)"};
    static const std::vector<std::string> suffixes = {".mp3",     ".mp3", ".MP3", ".wma",
                                                      ".mp3.mp3", ".txt", ""};
    const auto& words = gbk ? gbk_words : utf8_words;
    std::string name = words[random() % words.size()];
    const int more = static_cast<int>(random() % 3);
    for (int i = 0; i < more; ++i) {
        name += separators[random() % separators.size()] + words[random() % words.size()];
    }
    return name + remarks[random() % remarks.size()] + suffixes[random() % suffixes.size()];
}

void build_random_tree(const FolderTree& tree, std::mt19937& random, bool gbk) {
    const std::vector<std::string> folders = {"s/",        "s/Sun/",     "t/",       "t/Rain/",
                                              "t/Rain/x/", "t/.hidden/", "t/B-Side/"};
    for (const std::string& folder : folders) tree.add(folder);
    for (int i = 0; i < 70; ++i) {
        const std::string& folder = folders[random() % folders.size()];
        tree.add(folder + random_name(random, gbk), random() % 3 == 0 ? random() % 3000000 : 0);
    }
}

struct Analyzed {
    Text report;
    std::vector<AnalysisProgress> progress;  // the stages both analyses tell
    AnalysisSummary summary;
};

Analyzed analyzed(decltype(&analyze_folders) analysis, const FolderTree& tree,
                  const FilterKeywords& keywords, const ReportOptions& options) {
    Analyzed run;
    const AnalysisHooks hooks{[] { return Text("mp3"); },
                              [&](const AnalysisProgress& at) {
                                  if (at.stage != AnalysisStage::listing_target &&
                                      at.stage != AnalysisStage::matching_target) {
                                      run.progress.push_back(at);
                                  }
                              },
                              [] { return true; }};
    analysis(
        tree.root() + "s", tree.root() + "t", keywords, hooks,
        [&](std::string_view bytes) { run.report += bytes; }, options, &run.summary);
    return run;
}

TEST(IndexedAnalysis, WritesTheReportOfOneWalkPerFragment) {
    FilterKeywords keywords;
    keywords.upper_cased = {"LIVE", "01", "A"};
    const ReportOptions options[] = {{}, {true, {}}, {false, 3}, {true, 4}};
    std::size_t reports_bytes = 0;
    std::size_t repeats = 0;
    std::size_t large_groups = 0;
    for (const CharacterRule rule : {CharacterRule::one_byte, CharacterRule::two_byte}) {
        testing::CharacterRuleScope scope(rule);
        for (unsigned seed = 1; seed <= 6; ++seed) {
            std::mt19937 random(seed);
            const FolderTree tree;
            build_random_tree(tree, random, rule == CharacterRule::two_byte);
            for (const FilterKeywords& filter : {FilterKeywords{}, keywords}) {
                for (std::size_t o = 0; o < std::size(options); ++o) {
                    const Analyzed indexed = analyzed(&analyze_folders, tree, filter, options[o]);
                    const Analyzed walked =
                        analyzed(&analyze_folders_by_walks, tree, filter, options[o]);
                    ASSERT_EQ(indexed.report, walked.report) << "seed " << seed << " options " << o;
                    reports_bytes += indexed.report.size();
                    repeats += indexed.summary.repeats_left_out;
                    large_groups += indexed.summary.large_groups_left_out;
                    EXPECT_EQ(indexed.progress, walked.progress);
                    EXPECT_EQ(indexed.summary, walked.summary)
                        << "seed " << seed << " options " << o;
                }
            }
        }
    }
    // The trees make reports worth comparing, and the options leave groups out.
    EXPECT_GT(reports_bytes, 10000u);
    EXPECT_GT(repeats, 100u);
    EXPECT_GT(large_groups, 100u);
}

TEST(IndexedAnalysis, ReadsTheSuffixAnewForEveryCandidate) {
    // With the suffix "mp3" the second candidate gives "C.wma" and "D"; with "wma", "C" and
    // "D.mp3".
    const FolderTree tree{"s/A-B.mp3", "s/C.wma-D.mp3", "t/C.mp3", "t/C2.mp3"};
    for (auto analysis : {&analyze_folders, &analyze_folders_by_walks}) {
        bool typed = false;  // "wma" is typed once the first candidate is done
        Text report;
        const AnalysisHooks hooks{[&] { return Text(typed ? "wma" : "mp3"); },
                                  [&](const AnalysisProgress& progress) {
                                      typed |= progress.stage == AnalysisStage::candidate_analyzed;
                                  },
                                  [] { return true; }};
        analysis(
            tree.root() + "s", tree.root() + "t", {}, hooks,
            [&](std::string_view bytes) { report += bytes; }, {}, nullptr);
        const Text t = tree.root() + testing::native("t/");
        EXPECT_EQ(report, "C\t" + t + "C.mp3\t0KB\r\nC\t" + t + "C2.mp3\t0KB\r\n\r\n");
    }
}

}  // namespace
}  // namespace melodex
