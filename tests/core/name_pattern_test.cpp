#include "core/name_pattern.h"

#include <gtest/gtest.h>

#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

TEST(NameMatches, FollowsTheWildcardRulesOfTheListing) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"a.mp3", "*.mp3", true},     {"B.MP3", "*.mp3", true},   {"c.Mp3", "*.mp3", true},
        {"a.mp3x", "*.mp3", false},   {"mp3", "*.mp3", false},    {".mp3", "*.mp3", true},
        {"a.mp3.mp3", "*.mp3", true}, {"a.b.mp3", "*.mp3", true}, {"x.wma", "*.WMA", true},
        {"abc", "*.*", true},         {"a.b", "*.*", true},       {"", "*", true},
        {"abc", "*.", true},          {"a.b", "*.", false},       {".x", "*.", false},
        {"ab", "a?", true},           {"a", "a?", false},         {"abc", "a*c", true},
        {"abcbc", "a*bc", true},      {"abcb", "a*bc", false},    {"a", "a.*", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(name_matches(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
    }
}

TEST(NameMatches, QuestionMarkTakesOneCharacterUnderTheCharacterRule) {
    testing::CharacterRuleScope rule(CharacterRule::two_byte);
    EXPECT_TRUE(name_matches("\xB8\xE8.mp3", "?.mp3"));
    EXPECT_FALSE(name_matches("\xB8\xE8\xB8\xE8.mp3", "?.mp3"));
}

// A lead byte takes the next byte only when that byte can be a trail byte, so bytes that are not
// double-byte text (UTF-8 names on a Linux disk, stray bytes) keep their "." and their suffix.
TEST(NameMatches, ReadsCharactersAsTheFileSystemDoesUnderBothRules) {
    const struct {
        const char* name;
        const char* pattern;
        bool one_byte;
        bool two_byte;
    } cases[] = {
        // UTF-8 bytes: the last lead byte of "伦" is followed by the ".".
        {"AC-DC-十年__周杰伦.mp3", "*.mp3", true, true},
        {"\xB8.mp3", "?.mp3", true, true},
        {"\xB8.mp3", "*.MP3", true, true},
        {"\xB8\x7F.mp3", "??.mp3", true, true},  // 0x7F is not a trail byte
        {"\xB8\x40.mp3", "?.mp3", false, true},  // 0x40 is
        {"\xB8\xFF.mp3", "??.mp3", true, true},
        {"\xFF\xB8\xE8.mp3", "??.mp3", false, true},  // 0xFF and 0x80 are never lead bytes
        {"\x80\x41.mp3", "??.mp3", true, true},
        {"a.mp3\xB8", "*.mp3", false, false},  // a lone last byte is a character of its own
        {"a.mp3\xB8", "*.mp3?", true, true},
    };
    for (const auto& c : cases) {
        for (const CharacterRule rule : {CharacterRule::one_byte, CharacterRule::two_byte}) {
            testing::CharacterRuleScope scope(rule);
            const bool expected = rule == CharacterRule::two_byte ? c.two_byte : c.one_byte;
            EXPECT_EQ(name_matches(c.name, c.pattern), expected)
                << ::testing::PrintToString(std::string(c.name)) << " ~ " << c.pattern
                << (rule == CharacterRule::two_byte ? " (two-byte rule)" : " (one-byte rule)");
        }
    }
}

}  // namespace
}  // namespace melodex
