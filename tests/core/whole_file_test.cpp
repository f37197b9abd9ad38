#include "core/whole_file.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using testing::FolderTree;

TEST(WholeFile, ReadsAndWritesEveryByte) {
    const FolderTree tree;
    const Text path = tree.root() + "f.txt";
    const std::string bytes("a\0b\r\n\xFF", 6);
    EXPECT_TRUE(write_whole_file(path, bytes));
    EXPECT_EQ(read_whole_file(path), bytes);
    EXPECT_TRUE(write_whole_file(path, ""));
    EXPECT_EQ(read_whole_file(path), "");
    EXPECT_EQ(read_whole_file(tree.root() + "missing"), "");
    EXPECT_EQ(read_whole_file(""), "");
    EXPECT_FALSE(write_whole_file("", "x"));
    EXPECT_FALSE(write_whole_file(tree.root() + "missing/f.txt", "x"));
}

TEST(ReplacingFile, ReplacesTheTargetOnlyWhenCommitted) {
    const FolderTree tree;
    const Text path = tree.root() + "report.txt";
    ASSERT_TRUE(write_whole_file(path, "earlier"));
    {
        ReplacingFile abandoned(path);
        abandoned.write("half a rep");
    }
    EXPECT_EQ(read_whole_file(path), "earlier");
    {
        ReplacingFile file(path);
        file.write("new ");
        file.write("report");
        EXPECT_EQ(read_whole_file(path), "earlier");
        EXPECT_TRUE(file.commit());
    }
    EXPECT_EQ(read_whole_file(path), "new report");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.path("")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ReplacingFile, SaysSoWhenTheTargetCannotBeWritten) {
    const FolderTree tree{"report.txt/"};
    EXPECT_FALSE(ReplacingFile(tree.root() + "missing/report.txt").commit());
    EXPECT_FALSE(ReplacingFile("").commit());
    // A folder stands where the report should go: the earlier content stays.
    ReplacingFile blocked(tree.root() + "report.txt");
    blocked.write("x");
    EXPECT_FALSE(blocked.commit());
    EXPECT_TRUE(std::filesystem::is_directory(tree.path("report.txt")));
    EXPECT_FALSE(std::filesystem::exists(tree.path("report.txt.part")));
}

}  // namespace
}  // namespace melodex
