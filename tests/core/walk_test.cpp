#include "core/walk.h"

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
        [&](const Text& f, const FolderEntry& n) { first.push_back(f + n.name); }, {});
    walk_folder(
        with_separator, [] { return "*.mp3"; },
        [&](const Text& f, const FolderEntry& n) { second.push_back(f + n.name); }, {});
    EXPECT_EQ(without_separator, tree.root());
    EXPECT_EQ(with_separator, tree.root());
    EXPECT_EQ(first, second);

    Text empty;
    int visits = 0;
    walk_folder(
        empty, [] { return "*.no-such-suffix"; }, [](const Text&, const FolderEntry&) {},
        [&] { return ++visits == 1; });
    EXPECT_EQ(empty, Text(1, path_separator));
}

TEST(Walk, GivesNothingForAMissingFolder) {
    const FolderTree tree{"a.mp3"};
    Text missing = tree.root() + "no-such-folder";
    int files = 0;
    walk_folder(
        missing, [] { return "*.mp3"; }, [&](const Text&, const FolderEntry&) { ++files; }, {});
    EXPECT_EQ(files, 0);
    EXPECT_EQ(missing, tree.root() + native("no-such-folder/"));
}

TEST(Walk, AsksToKeepGoingAtEveryFolderAndStopsWhenTold) {
    const FolderTree tree{"a/x.mp3", "b/y.mp3", "c/z.mp3"};
    Text folder = tree.root();
    int visits = 0;
    EXPECT_EQ(walk_folder(
                  folder, [] { return "*.mp3"; }, [](const Text&, const FolderEntry&) {},
                  [&] { return ++visits > 0; }),
              WalkEnd::finished);
    EXPECT_EQ(visits, 4);

    std::vector<Text> reached;
    visits = 0;
    EXPECT_EQ(walk_folder(
                  folder, [] { return "*.mp3"; },
                  [&](const Text&, const FolderEntry& file) { reached.push_back(file.name); },
                  [&] { return ++visits < 3; }),
              WalkEnd::stopped);
    EXPECT_THAT(reached, ElementsAre("x.mp3"));
}

}  // namespace
}  // namespace melodex
