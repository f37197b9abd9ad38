#include "core/search.h"

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/file_system.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using ::testing::ElementsAre;
using testing::FolderTree;
using ::testing::IsEmpty;
using testing::native;

TEST(CollectCandidates, ReadsTheSuffixAtEveryFolder) {
    const FolderTree tree{"a.mp3", "b.MP3", "c.wma", "d", "s/e.wma", "s/f.mp3"};
    auto collect = [&](std::vector<Text> suffixes) {
        TextArray candidates;
        Text folder = tree.root();
        std::size_t visit = 0;
        collect_candidates(
            folder, [&] { return suffixes[std::min(visit, suffixes.size()) - 1]; }, candidates,
            [&] { return ++visit > 0; });
        for (Text& c : candidates) c = c.substr(tree.root().size());
        return candidates;
    };
    EXPECT_THAT(collect({"mp3"}), ElementsAre("a.mp3", "b.MP3", native("s/f.mp3")));
    EXPECT_THAT(collect({"MP3"}), ElementsAre("a.mp3", "b.MP3", native("s/f.mp3")));
    EXPECT_THAT(collect({""}), ElementsAre("d"));
    // Typed while the walk runs: applies from the next folder.
    EXPECT_THAT(collect({"mp3", "wma"}), ElementsAre("a.mp3", "b.MP3", native("s/e.wma")));
}

TEST(ListMatches, ListsMp3PathsHoldingTheFragmentWithTheirSizes) {
    FolderTree tree{"Music/abc.mp3", "Music/ABC 2.mp3", "Music/x/abc d.wma"};
    tree.add("Music/x/abc e.mp3", 5000000);
    std::vector<std::pair<Text, Text>> rows;
    auto search = [&](const Text& fragment) {
        rows.clear();
        Text folder = tree.root() + "Music";
        list_matches(fragment, folder,
                     [&](const Location& file, const Text& size) {
                         rows.emplace_back(file.path.substr(tree.root().size()), size);
                     },
                     {});
        return rows;
    };
    using Row = std::pair<Text, Text>;
    EXPECT_THAT(search("abc"), ElementsAre(Row{native("Music/abc.mp3"), "0KB"},
                                           Row{native("Music/x/abc e.mp3"), "4.77MB"}));
    EXPECT_THAT(search("Music"), ElementsAre(Row{native("Music/ABC 2.mp3"), "0KB"},
                                             Row{native("Music/abc.mp3"), "0KB"},
                                             Row{native("Music/x/abc e.mp3"), "4.77MB"}));
    EXPECT_EQ(search("").size(), 3u);
    EXPECT_THAT(search("zzz"), IsEmpty());
}

TEST(ListMatches, StillListsAFileRemovedBeforeItsSizeIsRead) {
    const FolderTree tree{"a.mp3"};
    tree.add("b.mp3", 4096);
    Text folder = tree.root();
    std::vector<Text> sizes;
    list_matches("mp3", folder,
                 [&](const Location&, const Text& size) {
                     sizes.push_back(size);
                     std::filesystem::remove(tree.path("b.mp3"));
                 },
                 {});
    EXPECT_THAT(sizes, ElementsAre("0KB", "0KB"));
    EXPECT_EQ(file_byte_count(tree.root() + "b.mp3"), -1);
}

}  // namespace
}  // namespace melodex
