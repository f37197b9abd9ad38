#include "core/fragment_matcher.h"

#include <random>

#include <gtest/gtest.h>

#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

// Paths and fragments from a small alphabet, so that fragments overlap, nest and share
// prefixes and suffixes; high bytes make two-byte characters and stray trail bytes.
Text random_text(std::mt19937& random, std::size_t max_length) {
    static constexpr char alphabet[] = {'a', 'b', 'A', '-', ' ', '/', '\x81', '\xB8', '\xE8', 'a'};
    Text text(random() % (max_length + 1), ' ');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    return text;
}

TEST(FragmentMatcher, FindsWhatFindFromFindsUnderBothCharacterRules) {
    for (const CharacterRule rule : {CharacterRule::one_byte, CharacterRule::two_byte}) {
        testing::CharacterRuleScope scope(rule);
        std::mt19937 random(7);
        for (int round = 0; round < 40; ++round) {
            PathList paths;
            for (int i = 0; i < 60; ++i)
                paths.append(random_text(random, 12), random_text(random, 12));
            TextArray fragments;
            for (int i = 0; i < 40; ++i) {
                Text fragment = random_text(random, 4);
                if (!fragment.empty() &&
                    std::find(fragments.begin(), fragments.end(), fragment) == fragments.end()) {
                    fragments.push_back(fragment);
                }
            }
            const auto found = FragmentMatcher(fragments).match(paths, {});
            for (std::size_t f = 0; f < fragments.size(); ++f) {
                std::vector<std::uint32_t> expected;
                for (std::uint32_t p = 0; p < paths.size(); ++p) {
                    if (find_from(paths[p], fragments[f]) != -1) expected.push_back(p);
                }
                ASSERT_EQ(found[f], expected) << "fragment " << fragments[f] << " round " << round;
            }
        }
    }
}

TEST(FragmentMatcher, TellsHowFarItHasGotAndStopsWhenAskedTo) {
    PathList paths;
    for (int i = 0; i < 10000; ++i) paths.append("/m/", "a.mp3");
    int asked = 0;
    std::vector<std::size_t> told;
    const auto found = FragmentMatcher({"a"}).match(
        paths, [&] { return ++asked < 2; }, [&](std::size_t matched) { told.push_back(matched); });
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(told, (std::vector<std::size_t>{4095, 8191}));
    EXPECT_EQ(found[0].size(), 8191u);
}

}  // namespace
}  // namespace melodex
