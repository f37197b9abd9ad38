#include "core/walk.h"

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/file_system.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using ::testing::ElementsAre;
using testing::FolderTree;
using testing::native;
using testing::walked;

TEST(Walk, ListsFilesBeforeSubfoldersAndEachSubtreeBeforeTheNext) {
    const FolderTree tree{"R/a.mp3", "R/S1/b.mp3", "R/S1/T/c.mp3", "R/S2/d.mp3", "R/z.mp3"};
    EXPECT_THAT(walked(tree, "*.mp3"),
                ElementsAre(native("R/a.mp3"), native("R/z.mp3"), native("R/S1/b.mp3"),
                            native("R/S1/T/c.mp3"), native("R/S2/d.mp3")));
}

#ifndef _WIN32  // Windows keeps the order its listing returns
TEST(Walk, SortsNamesByByteValue) {
    const FolderTree tree{"B.mp3", "a.mp3", "歌.mp3", "_.mp3", "Z/", "A/x.mp3"};
    EXPECT_THAT(walked(tree, "*.mp3"), ElementsAre("B.mp3", "_.mp3", "a.mp3", "歌.mp3", "A/x.mp3"));
}
#endif

TEST(Walk, SelectsFilesByPatternAndNeverEntersDotFolders) {
    const FolderTree tree{".x.mp3",           "a.MP3",        "b.mp3x",        "c.wma",     "d",
                          "folder.mp3/e.mp3", ".cache/f.mp3", ".hidden/g.mp3", "sub/.h.mp3"};
    EXPECT_THAT(walked(tree, "*.mp3"),
                ElementsAre(".x.mp3", "a.MP3", native("folder.mp3/e.mp3"), native("sub/.h.mp3")));
    EXPECT_THAT(walked(tree, "*."), ElementsAre("d"));
}

TEST(Walk, NormalisesTheCallersFolderText) {
    const FolderTree tree{"a.mp3"};
    Text without_separator = tree.root().substr(0, tree.root().size() - 1);
    Text with_separator = tree.root();
    std::vector<Text> first;
    std::vector<Text> second;
    walk_folder(
        without_separator, [] { return "*.mp3"; },
        [&](const Text& f, const Text& n) { first.push_back(f + n); }, {});
    walk_folder(
        with_separator, [] { return "*.mp3"; },
        [&](const Text& f, const Text& n) { second.push_back(f + n); }, {});
    EXPECT_EQ(without_separator, tree.root());
    EXPECT_EQ(with_separator, tree.root());
    EXPECT_EQ(first, second);

    Text empty;
    int visits = 0;
    walk_folder(
        empty, [] { return "*.no-such-suffix"; }, [](const Text&, const Text&) {},
        [&] { return ++visits == 1; });
    EXPECT_EQ(empty, Text(1, path_separator));
}

#ifndef _WIN32  // a lone lead byte makes no Windows name
TEST(Walk, TakesASeparatorThatIsATrailByteForPartOfACharacter) {
    testing::CharacterRuleScope rule(CharacterRule::two_byte);
    const FolderTree tree{"d\x81/a.mp3"};
    // "\x81/" is one character: the folder text does not end in a separator yet.
    Text folder = tree.root() + "d\x81/";
    std::vector<Text> reached;
    walk_folder(
        folder, [] { return "*.mp3"; },
        [&](const Text& f, const Text& n) { reached.push_back(f + n); }, {});
    EXPECT_EQ(folder, tree.root() + "d\x81//");
    EXPECT_THAT(reached, ElementsAre(tree.root() + "d\x81//a.mp3"));
}
#endif

TEST(Walk, GivesNothingForAMissingFolder) {
    const FolderTree tree{"a.mp3"};
    Text missing = tree.root() + "no-such-folder";
    int files = 0;
    walk_folder(
        missing, [] { return "*.mp3"; }, [&](const Text&, const Text&) { ++files; }, {});
    EXPECT_EQ(files, 0);
    EXPECT_EQ(missing, tree.root() + native("no-such-folder/"));
}

#ifndef _WIN32  // POSIX links; tests/win32 checks the Windows folder identity
TEST(Walk, FollowsFolderLinksButEntersEveryRealFolderOnce) {
    const FolderTree tree{"a/x.mp3", "b/y.mp3"};
    tree.link("a/loop", "..");      // back to the root: a cycle
    tree.link("c", "b");            // a second way into b
    tree.link("d.mp3", "a/x.mp3");  // a link to a file counts as a file
    tree.link("e.mp3", "missing");  // so does a dangling link
    EXPECT_THAT(walked(tree, "*.mp3"), ElementsAre("d.mp3", "e.mp3", "a/x.mp3", "b/y.mp3"));
}
#endif

#ifndef _WIN32  // Windows keeps no current folder beyond MAX_PATH
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
        [&](const Text& f, const Text& n) { reached.push_back(f.substr(f.size() - 4) + n); },
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
#endif

TEST(Walk, AsksToKeepGoingAtEveryFolderAndStopsWhenTold) {
    const FolderTree tree{"a/x.mp3", "b/y.mp3", "c/z.mp3"};
    Text folder = tree.root();
    int visits = 0;
    EXPECT_EQ(walk_folder(
                  folder, [] { return "*.mp3"; }, [](const Text&, const Text&) {},
                  [&] { return ++visits > 0; }),
              WalkEnd::finished);
    EXPECT_EQ(visits, 4);

    std::vector<Text> reached;
    visits = 0;
    EXPECT_EQ(walk_folder(
                  folder, [] { return "*.mp3"; },
                  [&](const Text&, const Text& name) { reached.push_back(name); },
                  [&] { return ++visits < 3; }),
              WalkEnd::stopped);
    EXPECT_THAT(reached, ElementsAre("x.mp3"));
}

}  // namespace
}  // namespace melodex
