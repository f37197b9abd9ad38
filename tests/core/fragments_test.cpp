#include "core/fragments.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Fragments = std::vector<std::string>;

struct FragmentCase {
    std::string name;
    Fragments analysis;
    Fragments display;
};

// Names in the folder E:\M, suffix "mp3".
const FragmentCase fragment_cases[] = {
    {"Artist - Title.mp3", {"Artist", "Title"}, {"Artist", "Title"}},
    {"Artist - Title (Live).mp3", {"Artist", "Title "}, {"Artist", "Title "}},
    {"Song (Live) (Remix).mp3", {"Song", "", "(Remix)"}, {"Song", "", "(Remix)"}},
    {"Song (Live) x (Live).mp3", {"Song", "", "x"}, {"Song", "", "x"}},
    {"A(B)C(B)-D.mp3", {"AC", "D"}, {"AC", "D"}},
    {"x()y-z.mp3", {"xy", "z"}, {"xy", "z"}},
    {"a(b(c)d-e.mp3", {"ad", "e"}, {"ad", "e"}},
    {"a()b(c-d.mp3", {"ab(c", "d"}, {"ab(c", "d"}},
    {"A (x.mp3", {"A", "(x"}, {"A", "(x"}},
    {"（A）B-C (D).mp3", {"B", "C "}, {"B", "C "}},
    {"A）B-C.mp3", {"A）B", "C"}, {"A）B", "C"}},
    {"A - B-C.mp3", {"A", "B-C"}, {"A", "B-C"}},
    {"My Song.mp3", {"My", "Song"}, {"My", "Song"}},
    {"A  B.mp3", {"A", "", "B"}, {"A", "", "B"}},
    {"Song.mp3", {}, {}},
    {"Song-.mp3", {"Song"}, {}},
    {" - Song.mp3", {"", "Song"}, {"", "Song"}},
    {"-", {""}, {}},
    {"--", {"", ""}, {"", ""}},
    {"A-B-C-D-E.mp3", {"A", "B", "C", "D", "E"}, {"A", "B", "C", "D"}},
    {"a.mp3b.mp3", {}, {}},
    {"歌手_歌名.MP3", {"歌手", "歌名"}, {"歌手", "歌名.MP3"}},
    {"01_Title.mp3", {"01", "Title"}, {"01", "Title"}},
    {"a_b c.mp3", {"a", "b c"}, {"a", "b c"}},
};

TEST(Fragments, CutTheCleanedFileName) {
    for (const FragmentCase& c : fragment_cases) {
        const std::string path = "E:\\M\\" + c.name;
        EXPECT_EQ(analysis_fragments(path, "mp3", '\\'), c.analysis) << c.name;
        const DisplayFragments shown = display_fragments(path, '\\');
        EXPECT_EQ(shown.file_name, c.name);
        EXPECT_EQ(shown.fragments, c.display) << c.name;
    }
}

TEST(Fragments, RemoveTheSuffixGivenInAnyLetterCase) {
    EXPECT_THAT(analysis_fragments("E:\\M\\A - B.wma", "WMA", '\\'), ElementsAre("A", "B"));
    EXPECT_THAT(analysis_fragments("E:\\M\\A - B.wma", "mp3", '\\'), ElementsAre("A", "B.wma"));
    EXPECT_THAT(analysis_fragments("E:\\M\\A.B - C.mp3", "", '\\'), ElementsAre("AB", "Cmp3"));
}

TEST(Fragments, TakeTheFileNameFromTheLastPartOfThePath) {
    EXPECT_EQ(display_fragments("E:\\M\\", '\\').file_name, "M");
    EXPECT_EQ(display_fragments("", '\\').file_name, "");
    EXPECT_THAT(analysis_fragments("", "mp3", '\\'), IsEmpty());
    EXPECT_THAT(analysis_fragments(testing::native("/music/a-b/c d.mp3"), "mp3"),
                ElementsAre("c", "d"));
    // A combined multi-file drop text: the last name keeps its line break.
    EXPECT_THAT(display_fragments(testing::native("/m/x.mp3\r\n/m/A-B.mp3\r\n")).fragments,
                ElementsAre("A", "B\r\n"));
}

TEST(Fragments, RecogniseFullWidthBracketsInGbkNames) {
    testing::CharacterRuleScope rule(CharacterRule::two_byte);
    // "（A）B-C (D).mp3" and "歌手_歌名.MP3" in GBK bytes.
    EXPECT_THAT(analysis_fragments("E:\\M\\\xA3\xA8"
                                   "A\xA3\xA9"
                                   "B-C (D).mp3",
                                   "mp3", '\\'),
                ElementsAre("B", "C "));
    EXPECT_THAT(analysis_fragments("E:\\M\\\xB8\xE8\xCA\xD6_\xB8\xE8\xC3\xFB.MP3", "mp3", '\\'),
                ElementsAre("\xB8\xE8\xCA\xD6", "\xB8\xE8\xC3\xFB"));
    // The trail byte 0x5C of a two-byte character is not a separator.
    EXPECT_EQ(display_fragments("E:\\M\\\x81\x5C"
                                "A-B.mp3",
                                '\\')
                  .file_name,
              "\x81\x5C"
              "A-B.mp3");
}

}  // namespace
}  // namespace melodex
