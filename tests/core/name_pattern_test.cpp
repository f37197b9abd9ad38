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

}  // namespace
}  // namespace melodex
