#include "core/filter_keywords.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "core/file_io.h"
#include "core/system.h"
#include "core/whole_file.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using testing::FolderTree;

struct KeywordCase {
    std::string file;
    std::vector<std::string> filtered;
    std::vector<std::string> kept;
};

TEST(FilterKeywords, FollowTheKeywordFileLineByLine) {
    const KeywordCase cases[] = {
        {"live\r\n", {"live", "Live", "LIVE"}, {"Lives", "Live!", ""}},
        {"live", {"LIVE"}, {""}},
        {"a\r\n\r\nb", {"A", "", "b"}, {"a\r\n"}},
        {"\r\n", {""}, {"a"}},
        {"\r\nx", {"", "x"}, {}},
        {"x\r\n\r\n", {"x", ""}, {}},
        {"live \r\n", {"live "}, {"live"}},
        {"one\ntwo\n", {"one\nTWO\n"}, {"one", "two"}},
        {"\xEF\xBB\xBFlive\r\nremix\r\n", {"remix"}, {"live"}},
        {std::string("live\r\nx\0remix\r\n", 15), {"live", "x"}, {"remix"}},
        {"歌手\r\n", {"歌手"}, {"歌", "歌手 "}},
        {"", {}, {"", "a"}},
    };
    const FolderTree tree;
    const Text path = tree.root() + "keywords.txt";
    for (const KeywordCase& c : cases) {
        ASSERT_TRUE(write_whole_file(path, c.file));
        const FilterKeywords keywords = load_filter_keywords(path);
        for (const std::string& f : c.filtered) EXPECT_TRUE(is_filter_keyword(keywords, f)) << f;
        for (const std::string& k : c.kept) EXPECT_FALSE(is_filter_keyword(keywords, k)) << k;
    }
}

TEST(FilterKeywords, DoNotFoldTwoByteCharacters) {
    testing::CharacterRuleScope rule(CharacterRule::two_byte);
    const FolderTree tree;
    const Text path = tree.root() + "keywords.txt";
    // 0x81 0x61: a two-byte character whose trail byte is the letter a.
    ASSERT_TRUE(write_whole_file(path, "\x81\x61\r\n"));
    const FilterKeywords keywords = load_filter_keywords(path);
    EXPECT_TRUE(is_filter_keyword(keywords, "\x81\x61"));
    EXPECT_FALSE(is_filter_keyword(keywords, "\x81\x41"));
}

TEST(FilterKeywords, CreateAMissingFileEmptyAndReadAFullOne) {
    const FolderTree tree;
    const Text path = tree.root() + system_text("MP3过滤关键字.txt");
    const KeywordFile created = read_keyword_file(path);
    EXPECT_EQ(created.error, "");
    EXPECT_TRUE(created.keywords.upper_cased.empty());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    // Binary garbage up to the limit is read like any other keyword file.
    std::string garbage;
    for (std::size_t i = 0; garbage.size() < keyword_file_limit - 6; ++i) {
        garbage += static_cast<char>((i * 7919u) % 251 + 1);
    }
    garbage += "\r\nLIVE";
    ASSERT_TRUE(write_whole_file(path, garbage));
    EXPECT_TRUE(is_filter_keyword(load_filter_keywords(path), "live"));
}

struct UnusableKeywordFile {
    std::string relative_path;
    std::error_code reason;  // none: the system's reason for a path it cannot find
};

TEST(FilterKeywords, RefuseAFileThatCannotBeUsedWithItsReason) {
    const FolderTree tree{"folder/"};
    tree.add("large.txt", keyword_file_limit + 1);
    const UnusableKeywordFile cases[] = {
        {"folder", std::make_error_code(std::errc::is_a_directory)},
        {"missing/keywords.txt", {}},
        {"large.txt", std::make_error_code(std::errc::file_too_large)},
    };
    for (const UnusableKeywordFile& c : cases) {
        const Text path = tree.root() + testing::native(c.relative_path);
        const KeywordFile file = read_keyword_file(path);
        Text unread;
        const std::error_code reason = c.reason ? c.reason : read_regular_file(path, 1, unread);
        EXPECT_EQ(file.error, error_text(reason)) << c.relative_path;
        EXPECT_TRUE(file.keywords.upper_cased.empty()) << c.relative_path;
        EXPECT_TRUE(load_filter_keywords(path).upper_cased.empty()) << c.relative_path;
    }
    EXPECT_FALSE(std::filesystem::exists(tree.path("missing")));
    EXPECT_EQ(std::filesystem::file_size(tree.path("large.txt")), keyword_file_limit + 1);
}

}  // namespace
}  // namespace melodex
