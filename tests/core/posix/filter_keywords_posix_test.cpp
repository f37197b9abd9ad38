// Keyword files that a POSIX system can put in the way: FIFOs, devices, links and files the user
// may not read.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "core/file_io.h"
#include "core/filter_keywords.h"
#include "core/whole_file.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using testing::FolderTree;

TEST(FilterKeywordsPosix, RefuseFifosAndDevicesWithoutReadingThem) {
    const FolderTree tree;
    ASSERT_EQ(::mkfifo(tree.path("fifo").c_str(), 0600), 0);
    tree.link("to-fifo", "fifo");
    tree.link("to-zero", "/dev/zero");
    // Each of them would block or never end if it were read.
    for (const Text& path : {tree.root() + "fifo", tree.root() + "to-fifo", Text("/dev/zero"),
                             tree.root() + "to-zero"}) {
        const KeywordFile file = read_keyword_file(path);
        EXPECT_EQ(file.error, error_text(not_a_regular_file())) << path;
        EXPECT_TRUE(file.keywords.upper_cased.empty()) << path;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(tree.path("fifo")));
}

TEST(FilterKeywordsPosix, ReadThroughALinkButNeverCreateThroughOne) {
    const FolderTree tree;
    ASSERT_TRUE(write_whole_file(tree.root() + "real.txt", "live\r\n"));
    tree.link("linked.txt", "real.txt");
    EXPECT_TRUE(is_filter_keyword(load_filter_keywords(tree.root() + "linked.txt"), "LIVE"));

    tree.link("dangling.txt", "created-through-the-link.txt");
    EXPECT_EQ(read_keyword_file(tree.root() + "dangling.txt").error,
              error_text(std::make_error_code(std::errc::no_such_file_or_directory)));
    EXPECT_FALSE(std::filesystem::exists(tree.path("created-through-the-link.txt")));
    EXPECT_TRUE(std::filesystem::is_symlink(tree.path("dangling.txt")));
}

TEST(FilterKeywordsPosix, RefuseAFileTheUserMayNotRead) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file; the command-line tests cover it";
    const FolderTree tree;
    const Text path = tree.root() + "keywords.txt";
    ASSERT_TRUE(write_whole_file(path, "live\r\n"));
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    EXPECT_EQ(read_keyword_file(path).error,
              error_text(std::make_error_code(std::errc::permission_denied)));
}

}  // namespace
}  // namespace melodex
