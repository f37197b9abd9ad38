#include "core/text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using testing::CharacterRuleScope;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(Slicing, CountsBytesAndClampsOutOfRangeArguments) {
    EXPECT_EQ(byte_length(""), 0);
    EXPECT_EQ(byte_length("歌"), 3);
    EXPECT_EQ(left_bytes("abc", 0), "");
    EXPECT_EQ(left_bytes("abc", -1), "");
    EXPECT_EQ(left_bytes("abc", 5), "abc");
    EXPECT_EQ(left_bytes("\xB8\xE8x", 1), "\xB8");  // a lone lead byte
    EXPECT_EQ(right_bytes("abc", 2), "bc");
    EXPECT_EQ(right_bytes("abc", 9), "abc");
    EXPECT_EQ(right_bytes("abc", 0), "");
    EXPECT_EQ(middle_bytes("abc", 2, 5), "bc");
    EXPECT_EQ(middle_bytes("abc", 4, 1), "");
    EXPECT_EQ(middle_bytes("abc", 0, 1), "");
    EXPECT_EQ(middle_bytes("abc", 1, 0), "");
}

TEST(FindFrom, GivesThePositionOfTheFirstOccurrence) {
    const struct {
        std::string text;
        std::string sought;
        int start;
        LetterCase letter_case;
        int expected;
    } cases[] = {
        {"abc", "", 1, LetterCase::exact, 1},
        {"abc", "", 3, LetterCase::exact, 1},
        {"abc", "", 4, LetterCase::exact, -1},
        {"", "", 1, LetterCase::exact, -1},
        {"", "a", 1, LetterCase::exact, -1},
        {"abcabc", "c", 4, LetterCase::exact, 6},
        {"abcabc", "a", 0, LetterCase::exact, 1},
        {"abcabc", "b", -7, LetterCase::exact, 2},
        {"abc", "bc", 3, LetterCase::exact, -1},
        {"abc", "abcd", 1, LetterCase::exact, -1},
        {"ABC", "b", 1, LetterCase::exact, -1},
        {"ABC", "b", 1, LetterCase::ignored, 2},
        {"a\r\nb\r\n", "\r\n", 4, LetterCase::exact, 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(find_from(c.text, c.sought, c.start, c.letter_case), c.expected)
            << c.text << " / " << c.sought << " from " << c.start;
    }
}

TEST(FindFrom, ComparesOnlyWhereACharacterBeginsUnderTheTwoByteRule) {
    // "\xB0\xA1\xB2\xA3": two characters; the bytes "\xA1\xB2" straddle them.
    const std::string text = "\xB0\xA1\xB2\xA3";
    {
        CharacterRuleScope rule(CharacterRule::two_byte);
        EXPECT_EQ(find_from(text, "\xA1\xB2"), -1);
        EXPECT_EQ(find_from(text, "\xB2\xA3"), 3);
        // The walk counts characters from the start byte, whatever that byte is.
        EXPECT_EQ(find_from(text, "\xA1\xB2", 2), 2);
        // A trail byte in the letter range is not a letter: 'a' inside "\x81\x61" is not found.
        EXPECT_EQ(find_from("\x81\x61", "a"), -1);
        EXPECT_EQ(find_from("x\x81", "\x81"), 2);  // a lead byte that ends the text stands alone
    }
    {
        CharacterRuleScope rule(CharacterRule::one_byte);
        EXPECT_EQ(find_from(text, "\xA1\xB2"), 2);
        EXPECT_EQ(find_from("\x81\x61", "a"), 2);
    }
}

TEST(Substitute, ReplacesFromLeftToRightWithoutOverlap) {
    EXPECT_EQ(substitute("x.MP3.mp3y", ".mp3", "", LetterCase::ignored), "xy");
    EXPECT_EQ(substitute("x.MP3.mp3y", ".mp3", "", LetterCase::exact), "x.MP3y");
    EXPECT_EQ(substitute("aaa", "aa", "a", LetterCase::exact), "aa");
    EXPECT_EQ(substitute("abab", "b", "bb", LetterCase::exact),
              "abbabb");  // the replacement is not searched
    EXPECT_EQ(substitute("", "a", "b", LetterCase::exact), "");
    EXPECT_EQ(substitute("abc", "", "x", LetterCase::exact), "abc");
    EXPECT_EQ(substitute("a.b.c", ".", "", LetterCase::exact), "abc");
}

TEST(Substitute, LeavesAStretchThatBeginsOnATrailByte) {
    CharacterRuleScope rule(CharacterRule::two_byte);
    EXPECT_EQ(substitute("\xB0\xA1\xB2\xA3", "\xA1\xB2", "-", LetterCase::exact),
              "\xB0\xA1\xB2\xA3");
    EXPECT_EQ(substitute("\xB0\xA1\xB2\xA3", "\xB2\xA3", "-", LetterCase::exact), "\xB0\xA1-");
    // Folding ignores letter case of one-byte characters and touches trail bytes alike.
    EXPECT_EQ(substitute("\x81\x41.MP3", ".mp3", "", LetterCase::ignored), "\x81\x41");
}

TEST(SplitAt, KeepsEmptyMembersButNoEmptyLastOne) {
    const struct {
        std::string text;
        std::vector<std::string> members;
    } cases[] = {
        {"a-b", {"a", "b"}}, {"-a", {"", "a"}},
        {"a-", {"a"}},       {"a--b", {"a", "", "b"}},
        {"a--", {"a", ""}},  {"-", {""}},
        {"abc", {"abc"}},    {"", {}},
        {"--", {"", ""}},    {"a-b-c-d-e", {"a", "b", "c", "d", "e"}},
    };
    for (const auto& c : cases) EXPECT_EQ(split_at(c.text, "-"), c.members) << c.text;
    EXPECT_THAT(split_at("a-b", ""), ElementsAre("a-b"));
    EXPECT_THAT(split_at("a\r\nb\r\n", "\r\n"), ElementsAre("a", "b"));
    EXPECT_THAT(split_at("", ""), IsEmpty());
}

TEST(SplitAt, CutsOnlyWhereACharacterBegins) {
    CharacterRuleScope rule(CharacterRule::two_byte);
    // "\xA8\x2D" is one character whose trail byte is "-".
    EXPECT_THAT(split_at("a\xA8-b-c", "-"), ElementsAre("a\xA8-b", "c"));
}

TEST(UpperAscii, ChangesOneByteLettersOnly) {
    EXPECT_EQ(upper_ascii("abc xyz-09"), "ABC XYZ-09");
    EXPECT_EQ(upper_ascii("\xA3\xE1"), "\xA3\xE1");  // a full-width letter
    {
        CharacterRuleScope rule(CharacterRule::two_byte);
        EXPECT_EQ(upper_ascii("\x81\x61z"), "\x81\x61Z");
    }
    {
        CharacterRuleScope rule(CharacterRule::one_byte);
        EXPECT_EQ(upper_ascii("\x81\x61z"), "\x81\x41Z");
    }
}

TEST(TextsEqual, ComparesBytesWithLetterCase) {
    EXPECT_TRUE(texts_equal("", std::string()));
    EXPECT_FALSE(texts_equal("a", "A"));
    EXPECT_TRUE(texts_equal("歌", "歌"));
}

TEST(JoinTexts, PutsTheTextsOneAfterAnother) {
    EXPECT_EQ(join_texts("(", "", "x", ")"), "(x)");
    EXPECT_EQ(join_texts(""), "");
}

TEST(TextBetween, TakesWhatLiesBetweenTheFirstOpeningAndTheNextClosingMarker) {
    EXPECT_EQ(text_between("a(b)c)", "(", ")", 1, LetterCase::exact), "b");
    EXPECT_EQ(text_between("a()c", "(", ")", 1, LetterCase::exact), "");
    EXPECT_EQ(text_between("a(bc", "(", ")", 1, LetterCase::exact), "");
    EXPECT_EQ(text_between("a)b(c", "(", ")", 1, LetterCase::exact), "");
    EXPECT_EQ(text_between("a(", "(", ")", 1, LetterCase::exact), "");
    EXPECT_EQ(text_between("x(a)(b)", "(", ")", 5, LetterCase::exact), "b");
    EXPECT_EQ(text_between("say \"hi\" now", "#引号", "#引号", 1, LetterCase::exact), "hi");
    CharacterRuleScope rule(CharacterRule::two_byte);
    EXPECT_EQ(
        text_between("\"hi\"", "#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5", 1, LetterCase::exact),
        "hi");
}

TEST(TextOperations, StayLinearOnLargeTexts) {
    // A quadratic operation would take minutes here; each of these takes milliseconds.
    std::string large;
    for (int i = 0; i < 200000; ++i) large += "ab-\xB8\xE8 ";
    CharacterRuleScope rule(CharacterRule::two_byte);
    EXPECT_EQ(split_at(large, "-").size(), 200001u);
    EXPECT_EQ(substitute(large, "-", "", LetterCase::exact).size(), large.size() - 200000);
    EXPECT_EQ(find_from(large, "zz"), -1);
}

}  // namespace
}  // namespace melodex
