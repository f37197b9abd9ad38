// The walk on what only POSIX systems have: sorted listings, names of any bytes, symbolic links
// and trees deeper than any path.
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/walk.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using ::testing::ElementsAre;
using testing::FolderTree;
using testing::walked;

// Only a POSIX listing is sorted: Windows keeps the order its listing returns.
TEST(Walk, SortsNamesByByteValue) {
    const FolderTree tree{"B.mp3", "a.mp3", "歌.mp3", "_.mp3", "Z/", "A/x.mp3"};
    EXPECT_THAT(walked(tree, "*.mp3"), ElementsAre("B.mp3", "_.mp3", "a.mp3", "歌.mp3", "A/x.mp3"));
}

// A lone lead byte makes no Windows name.
TEST(Walk, TakesASeparatorThatIsATrailByteForPartOfACharacter) {
    testing::CharacterRuleScope rule(CharacterRule::two_byte);
    const FolderTree tree{"d\x81/a.mp3"};
    // "\x81/" is one character: the folder text does not end in a separator yet.
    Text folder = tree.root() + "d\x81/";
    std::vector<Text> reached;
    walk_folder(
        folder, [] { return "*.mp3"; },
        [&](const Text& f, const FolderEntry& n) { reached.push_back(f + n.name); }, {});
    EXPECT_EQ(folder, tree.root() + "d\x81//");
    EXPECT_THAT(reached, ElementsAre(tree.root() + "d\x81//a.mp3"));
}

// Symbolic links; tests/win32 checks the Windows folder identity.
TEST(Walk, FollowsFolderLinksButEntersEveryRealFolderOnce) {
    const FolderTree tree{"a/x.mp3", "b/y.mp3"};
    tree.link("a/loop", "..");      // back to the root: a cycle
    tree.link("c", "b");            // a second way into b
    tree.link("d.mp3", "a/x.mp3");  // a link to a file counts as a file
    tree.link("e.mp3", "missing");  // so does a dangling link
    EXPECT_THAT(walked(tree, "*.mp3"), ElementsAre("d.mp3", "e.mp3", "a/x.mp3", "b/y.mp3"));
}

// Windows keeps no current folder beyond MAX_PATH.
TEST(Walk, SurvivesATreeDeeperThanAnyPathCanReach) {
    const FolderTree tree;
    // Built and removed with relative steps: the full path is longer than the system accepts.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(tree.path(""));
    for (int depth = 0; depth < 5000; ++depth) {
        std::filesystem::create_directory("d");
        std::filesystem::current_path("d");
    }
    FILE* bottom = std::fopen("deep.mp3", "wb");
    ASSERT_NE(bottom, nullptr);
    std::fclose(bottom);
    std::filesystem::current_path(tree.path(""));
    // Folders beyond the system's path limit are listed too; the walk keeps no call frame per
    // level, so thousands of levels cannot exhaust the stack.
    Text folder = "d";
    int visits = 0;
    std::vector<Text> reached;
    walk_folder(
        folder, [] { return "*.mp3"; },
        [&](const Text& f, const FolderEntry& n) {
            reached.push_back(f.substr(f.size() - 4) + n.name);
        },
        [&] { return ++visits > 0; });
    std::filesystem::current_path(tree.path(""));
    for (int depth = 0; depth < 5000; ++depth) std::filesystem::current_path("d");
    std::filesystem::remove("deep.mp3");
    for (int depth = 0; depth < 5000; ++depth) {  // removed bottom up: the path is too long
        std::filesystem::current_path("..");
        std::filesystem::remove("d");
    }
    std::filesystem::current_path(previous);
    EXPECT_EQ(visits, 5000);
    EXPECT_THAT(reached, ElementsAre("d/d/deep.mp3"));
}

}  // namespace
}  // namespace melodex
