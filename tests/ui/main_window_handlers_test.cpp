#include "ui/main_window_handlers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/system.h"
#include "tests/support/folder_tree.h"
#include "tests/ui/fake_window.h"

namespace melodex::ui {
namespace {

using melodex::testing::FolderTree;
using melodex::testing::native;
using ::testing::ElementsAre;
using testing::entries_starting_with;
using testing::FakeWindow;
using ::testing::IsEmpty;

TEST(Drop, ShowsTheNameAndFillsTheFragmentPairs) {
    const struct {
        std::string path;
        std::string name;
        std::array<std::string, 4> pairs;
    } cases[] = {
        {"/Music/Artist - Title.mp3", "Artist - Title.mp3", {"Artist", "Title", "", ""}},
        {"/Music/A-B-C-D-E.mp3", "A-B-C-D-E.mp3", {"A", "B", "C", "D"}},
        {"/Music/x_y z (Live).mp3", "x_y z (Live).mp3", {"x", "y z ", "", ""}},
        {"/Music/Song.mp3", "Song.mp3", {"", "", "", ""}},
        {"/Music/Song-.mp3", "Song-.mp3", {"", "", "", ""}},
    };
    FakeWindow window;
    window.view.items[0] = {"kept"};
    for (const auto& c : cases) {
        window.handlers.files_dropped({native(c.path)});
        EXPECT_EQ(window.view.text(EditBox::编辑框5), c.name);
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(window.view.texts[k], c.pairs[k]) << c.path << " pair " << k + 1;
            EXPECT_EQ(window.view.captions[k], c.pairs[k]) << c.path << " pair " << k + 1;
        }
    }
    EXPECT_THAT(window.view.items[0], ElementsAre("kept"));  // a drop starts no search
    for (const std::string& entry : window.log) {
        EXPECT_TRUE(entry.starts_with("text ") || entry.starts_with("caption ")) << entry;
    }
}

TEST(Drop, EmptiesThePairsInOrderBeforeFillingThem) {
    FakeWindow window;
    window.handlers.files_dropped({native("/m/A-B.mp3"), native("/m/C-D-E.mp3")});
    EXPECT_THAT(window.log,
                ElementsAre("text 5 A-B.mp3", "text 1 ", "caption 1 ", "caption 1 ", "text 2 ",
                            "caption 2 ", "caption 2 ", "text 3 ", "caption 3 ", "caption 3 ",
                            "text 4 ", "caption 4 ", "caption 4 ", "text 1 A", "caption 1 A",
                            "caption 1 A", "text 2 B", "caption 2 B", "caption 2 B"));
}

TEST(Mirroring, CopiesEachFragmentEditBoxIntoItsButton) {
    FakeWindow window;
    window.view.set_text(EditBox::编辑框3, " ab ");
    window.view.set_text(EditBox::编辑框2, "x");
    window.view.set_text(EditBox::编辑框3, "");
    window.view.set_text(EditBox::编辑框6, "/elsewhere");
    EXPECT_EQ(window.view.captions[1], "x");
    EXPECT_EQ(window.view.captions[2], "");
    EXPECT_EQ(window.view.captions[5], "打开文件位置");
    EXPECT_THAT(entries_starting_with(window.log, "caption "), ElementsAre("3  ab ", "2 x", "3 "));
}

class FragmentSearch : public ::testing::Test {
  protected:
    FragmentSearch() {
        tree.add("Music/b/Abc 2.mp3", 2 * 1048576);
        window.view.texts[5] = tree.root() + "Music";
    }
    std::vector<Text> rows(std::size_t list) {
        std::vector<Text> shown;
        for (const Text& row : window.view.items[list]) {
            shown.push_back(list == 0 ? row.substr(tree.root().size()) : row);
        }
        return shown;
    }

    FolderTree tree{"Music/Abc 1.mp3", "Music/abc.mp3", "Music/Abc.wma", "Music/a/Abc 3.mp3"};
    FakeWindow window;
};

TEST_F(FragmentSearch, ListsMatchingPathsAndSizesInWalkOrder) {
    window.view.set_text(EditBox::编辑框1, "Abc");
    window.view.items = {std::vector<Text>{"old"}, std::vector<Text>{"old"}};
    window.handlers.fragment_clicked(Button::按钮1);
    EXPECT_THAT(rows(0), ElementsAre(native("Music/Abc 1.mp3"), native("Music/a/Abc 3.mp3"),
                                     native("Music/b/Abc 2.mp3")));
    EXPECT_THAT(rows(1), ElementsAre("0KB", "0KB", "2MB"));
    EXPECT_EQ(window.view.texts[5], tree.root() + "Music");  // the search used a copy
    EXPECT_THAT(
        std::vector<std::string>(window.log.begin() + 2, window.log.begin() + 8),
        ElementsAre("disable 1", "disable 2", "disable 3", "disable 4", "clear 1", "clear 2"));
    EXPECT_THAT(std::vector<std::string>(window.log.end() - 4, window.log.end()),
                ElementsAre("enable 1", "enable 2", "enable 3", "enable 4"));
}

TEST_F(FragmentSearch, KeepsTheButtonsDisabledWhileItWalks) {
    window.view.set_text(EditBox::编辑框4, "abc");
    bool disabled_during_walk = true;
    window.services.on_pending_events = [&] {
        for (std::size_t k = 0; k < 4; ++k) disabled_during_walk &= !window.view.enabled[k];
    };
    window.handlers.fragment_clicked(Button::按钮4);
    EXPECT_TRUE(disabled_during_walk);
    EXPECT_THAT(rows(0), ElementsAre(native("Music/abc.mp3")));
}

TEST_F(FragmentSearch, ListsEveryMp3FileForAnEmptyCaptionAndNothingForAMissingFolder) {
    window.handlers.fragment_clicked(Button::按钮2);
    EXPECT_EQ(rows(0).size(), 4u);
    window.view.texts[5] = tree.root() + native("Music/");
    window.handlers.fragment_clicked(Button::按钮2);
    EXPECT_EQ(rows(0).size(), 4u);
    window.view.texts[5] = tree.root() + "nowhere";
    window.handlers.fragment_clicked(Button::按钮2);
    EXPECT_THAT(rows(0), IsEmpty());
    EXPECT_THAT(rows(1), IsEmpty());
    EXPECT_THAT(entries_starting_with(window.services.log, "message"), IsEmpty());
}

TEST_F(FragmentSearch, EndsWhenTheWindowCloses) {
    window.services.on_pending_events = [&] { window.handlers.window_closing(); };
    window.handlers.fragment_clicked(Button::按钮1);
    EXPECT_THAT(rows(0), IsEmpty());
}

TEST(ResultActions, ActOnTheRowSelectedInTheFirstList) {
    FakeWindow window;
    window.view.items = {std::vector<Text>{"/m/a b.mp3", "/m/c.mp3"},
                         std::vector<Text>{"0KB", "1KB"}};
    window.view.selection = {1, 0};
    window.handlers.result_activated();
    window.handlers.show_in_folder_clicked();
    window.handlers.delete_clicked();
    window.view.selection = {-1, 0};
    window.handlers.result_activated();
    window.handlers.show_in_folder_clicked();
    EXPECT_THAT(window.log,
                ElementsAre("open /m/c.mp3", "show /m/c.mp3", "delete /m/c.mp3", "open ", "show "));
    EXPECT_THAT(window.view.items[0], ElementsAre("/m/a b.mp3", "/m/c.mp3"));
}

TEST(ResultActions, SayWhenADeleteFailsWithTheWindowNoLongerOnTop) {
    FakeWindow window;
    window.services.delete_succeeds = false;
    window.handlers.delete_clicked();
    EXPECT_THAT(window.log, ElementsAre("delete ", "topmost off",
                                        system_text("message 删除文件失败！"), "topmost on"));
}

}  // namespace
}  // namespace melodex::ui
