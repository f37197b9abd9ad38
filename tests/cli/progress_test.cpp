#include "app/cli/progress.h"

#include <gtest/gtest.h>

#include "app/cli/count_text.h"

namespace melodex::cli {
namespace {

using Stage = AnalysisStage;

TEST(CountText, SetsThousandsApart) {
    EXPECT_EQ(count_text(0), "0");
    EXPECT_EQ(count_text(999), "999");
    EXPECT_EQ(count_text(1000), "1,000");
    EXPECT_EQ(count_text(123456), "123,456");
    EXPECT_EQ(count_text(1234567), "1,234,567");
}

TEST(ProgressLine, TellsTheStageInWordsAndABarWithAWholePercentage) {
    const struct {
        AnalysisProgress progress;
        std::string line;
    } cases[] = {
        {{Stage::collecting_candidates, 0, 0}, "Collecting candidates"},
        {{Stage::candidates_collected, 0, 1234}, "Candidates found: 1,234"},
        {{Stage::listing_target, 12345, 0}, "Listing target files: 12,345"},
        {{Stage::matching_target, 0, 100}, "Matching [                    ] 0% 0/100 files"},
        {{Stage::matching_target, 48, 100}, "Matching [#########           ] 48% 48/100 files"},
        {{Stage::matching_target, 0, 0}, "Matching [####################] 100% 0/0 files"},
        {{Stage::candidate_analyzed, 1234, 2567},
         "Writing the report [#########           ] 48% 1,234/2,567 candidates"},
        {{Stage::candidate_analyzed, 2566, 2567},
         "Writing the report [################### ] 99% 2,566/2,567 candidates"},
        {{Stage::candidate_analyzed, 2567, 2567},
         "Writing the report [####################] 100% 2,567/2,567 candidates"},
        {{Stage::finished, 2567, 2567}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(progress_line(c.progress), c.line) << c.line;
}

class DrawnProgress : public ::testing::Test {
  protected:
    void at(int milliseconds, const AnalysisProgress& progress) {
        now = ProgressLine::Clock::time_point(std::chrono::milliseconds(milliseconds));
        line.show(progress);
    }

    ProgressLine::Clock::time_point now;
    std::string drawn;
    ProgressLine line{[this](std::string_view bytes) { drawn += bytes; }, [this] { return now; }};
};

TEST_F(DrawnProgress, RedrawsAtMostTenTimesASecondOverTheLineBefore) {
    at(1000, {Stage::listing_target, 1024, 0});
    EXPECT_EQ(drawn, "\rListing target files: 1,024");
    drawn.clear();
    at(1099, {Stage::listing_target, 2048, 0});
    EXPECT_EQ(drawn, "");
    at(1100, {Stage::collecting_candidates, 0, 0});
    EXPECT_EQ(drawn, "\rCollecting candidates      ");  // padded over the longer line
    drawn.clear();
    at(1150, {Stage::finished, 0, 0});
    EXPECT_EQ(drawn, "\r" + std::string(21, ' ') + "\r");
    drawn.clear();
    line.clear();
    EXPECT_EQ(drawn, "");
}

TEST_F(DrawnProgress, LeavesNothingWhenNothingWasDrawn) {
    line.clear();
    at(0, {Stage::finished, 0, 0});
    EXPECT_EQ(drawn, "");
}

}  // namespace
}  // namespace melodex::cli
