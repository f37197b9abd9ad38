// The Windows listing as the walks see it, on names made with the ANSI calls in code page 936.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/analysis.h"
#include "core/file_io.h"
#include "core/file_system.h"
#include "core/platform/wide_path_win32.h"
#include "core/search.h"
#include "tests/support/folder_tree.h"
#include "tests/win32/wide_files.h"

namespace melodex {
namespace {

using testing::FolderTree;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

// 歌手 - 晴天.mp3, 周杰伦 and 丂.mp3 (whose second byte is the backslash's) in GBK.
const Text song = "\xB8\xE8\xCA\xD6 - \xC7\xE7\xCC\xEC.mp3";
const Text singer = "\xD6\xDC\xBD\xDC\xC2\xD7";
const Text backslash_trail = "\x81\x5C.mp3";

class Win32Listing : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(::GetACP(), 936u) << "the tests run in code page 936"; }

    void make_file(const Text& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
        const HANDLE file = ::CreateFileA((tree.root() + relative).c_str(), GENERIC_WRITE, 0,
                                          nullptr, CREATE_NEW, attributes, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << relative;
        ::CloseHandle(file);
    }
    void make_folder(const Text& relative) const {
        ASSERT_TRUE(::CreateDirectoryA((tree.root() + relative).c_str(), nullptr)) << relative;
    }
    std::vector<Text> walked(const Text& pattern) const { return testing::walked(tree, pattern); }

    FolderTree tree;
};

// A tree whose paths pass 260 characters, made and removed through the wide calls, since the
// ANSI calls and the standard library stop at that length.
class Win32LongPaths : public Win32Listing {
  protected:
    ~Win32LongPaths() override { testing::remove_below(testing::long_form(tree.root() + "deep")); }

    // Folders of 100 characters each, `depth` of them, below "deep".
    static Text folders(int depth) {
        Text path = "deep";
        for (int k = 0; k < depth; ++k) path += "\\" + Text(100, static_cast<char>('a' + k));
        return path;
    }
    void make_folders(int depth) const {
        for (int k = 0; k <= depth; ++k) {
            ASSERT_TRUE(
                ::CreateDirectoryW(testing::long_form(tree.root() + folders(k)).c_str(), nullptr));
        }
    }
    void make_long_file(const Text& relative, std::int64_t size = 0) const {
        ASSERT_TRUE(testing::make_wide_file(testing::long_form(tree.root() + relative), size))
            << relative;
    }
};

TEST_F(Win32LongPaths, ListsAndAnalysesATreeOfAnyDepth) {
    // 周杰伦 - 晴天.mp3 and 王菲 - 晴天.mp3 in GBK.
    const Text at_300 = folders(3) + "\\\xD6\xDC\xBD\xDC\xC2\xD7 - \xC7\xE7\xCC\xEC.mp3";
    const Text at_1000 = folders(10) + "\\\xCD\xF5\xB7\xC6 - \xC7\xE7\xCC\xEC.mp3";
    make_folders(10);
    make_file(song);
    make_long_file(at_300, 2048);
    make_long_file(at_1000, 3 * 1048576);
    ASSERT_GT(win32::wide_text(tree.root() + at_300, CP_ACP).size(), 300u);
    ASSERT_GT(win32::wide_text(tree.root() + at_1000, CP_ACP).size(), 1000u);

    EXPECT_THAT(walked("*.mp3"), ::testing::ElementsAre(song, at_300, at_1000));
    const Text inner = tree.root() + folders(4);
    ASSERT_GT(inner.size(), 370u);
    EXPECT_EQ(entry_kind(inner), EntryKind::folder);
    EXPECT_EQ(entry_kind(inner + "\\"), EntryKind::folder);
    EXPECT_EQ(entry_kind(inner + "\\missing"), EntryKind::none);
    EXPECT_EQ(entry_kind(tree.root() + at_1000), EntryKind::file);
    EXPECT_EQ(file_byte_count(tree.root() + at_1000), 3 * 1048576);
    EXPECT_TRUE(list_folder(inner + "\\").identity.has_value());

    // Every file holds 晴天: one group of three for each of the three candidates.
    Text report;
    const AnalysisHooks hooks{[] { return Text("mp3"); }, [](const AnalysisProgress&) {},
                              [] { return true; }};
    analyze_folders(tree.root(), tree.root(), {}, hooks,
                    [&](std::string_view bytes) { report += bytes; });
    const Text group = "\xC7\xE7\xCC\xEC\t" + tree.root() + song + "\t0KB\r\n" +
                       "\xC7\xE7\xCC\xEC\t" + tree.root() + at_300 + "\t2KB\r\n" +
                       "\xC7\xE7\xCC\xEC\t" + tree.root() + at_1000 + "\t3MB\r\n" + "\r\n";
    EXPECT_EQ(report, group + group + group);
}

// Korean and an emoji, which code page 936 cannot spell, beside Chinese, which it can:
// 노래 - 😀.mp3, 😀 - 晴天.mp3, 周杰伦 - 노래.mp3 and 노래\王菲 - 晴天.mp3.
class Win32UnspelledNames : public Win32Listing {
  protected:
    void SetUp() override {
        Win32Listing::SetUp();
        const std::wstring root = testing::long_form(tree.root());
        ASSERT_TRUE(testing::make_wide_file(root + L"\uB178\uB798 - \U0001F600.mp3"));
        ASSERT_TRUE(testing::make_wide_file(root + L"\U0001F600 - \u6674\u5929.mp3", 2048));
        ASSERT_TRUE(testing::make_wide_file(root + L"\u5468\u6770\u4F26 - \uB178\uB798.mp3"));
        ASSERT_TRUE(::CreateDirectoryW((root + L"\uB178\uB798").c_str(), nullptr));
        ASSERT_TRUE(
            testing::make_wide_file(root + L"\uB178\uB798\\\u738B\u83F2 - \u6674\u5929.mp3", 3072));
        const std::vector<Text> names = testing::ansi_listing(tree.root() + "*");
        for (const Text& name : names) {
            if (name.ends_with("\xC7\xE7\xCC\xEC.mp3")) emoji_song = name;  // ... - 晴天.mp3
            if (name.find('.') == Text::npos) korean_folder = name;
        }
        ASSERT_FALSE(emoji_song.empty());
        ASSERT_FALSE(korean_folder.empty());
    }
    ~Win32UnspelledNames() override { testing::remove_below(testing::long_form(tree.root())); }

    // As the system's ANSI listing spells them.
    Text emoji_song;     // ? - 晴天.mp3, one "?" for each UTF-16 unit of the emoji
    Text korean_folder;  // ??
};

TEST_F(Win32UnspelledNames, ListsThemAsTheSystemsAnsiListingSpellsThem) {
    // The ANSI calls cannot look inside the folder (its text is a pattern of "?"), whose song the
    // code page spells: 王菲 - 晴天.mp3.
    std::vector<Text> expected = testing::ansi_listing(tree.root() + "*");
    std::erase(expected, korean_folder);
    ASSERT_EQ(expected.size(), 3u);
    expected.push_back(korean_folder + "\\\xCD\xF5\xB7\xC6 - \xC7\xE7\xCC\xEC.mp3");
    EXPECT_THAT(walked("*.mp3"), UnorderedElementsAreArray(expected));
    EXPECT_EQ(korean_folder.find_first_not_of('?'), Text::npos) << korean_folder;
    // No short name (an 8.3 name of "_" and "~") stands in for a long one.
    for (const Text& path : expected) EXPECT_EQ(path.find('~'), Text::npos) << path;
}

TEST_F(Win32UnspelledNames, ReachesThemByTheirExactPaths) {
    const Text in_folder = korean_folder + "\\\xCD\xF5\xB7\xC6 - \xC7\xE7\xCC\xEC.mp3";  // 王菲
    std::vector<std::pair<Text, Text>> rows;
    Text folder = tree.root();
    list_matches("\xC7\xE7\xCC\xEC", folder,
                 [&](const Location& file, const Text& size) {
                     rows.emplace_back(file.path.substr(tree.root().size()), size);
                     EXPECT_NE(file.exact, "") << file.path;
                     EXPECT_NE(file_byte_count(file), -1) << file.path;
                     // The text alone leads nowhere.
                     EXPECT_EQ(file_byte_count(file.path), -1) << file.path;
                 },
                 {});
    using Row = std::pair<Text, Text>;
    EXPECT_THAT(rows, ::testing::ElementsAre(Row{emoji_song, "2KB"}, Row{in_folder, "3KB"}));
}

TEST_F(Win32UnspelledNames, GroupsThemByTheirLongNamesAndNeverByTheirSubstitutes) {
    Text report;
    const AnalysisHooks hooks{[] { return Text("mp3"); }, [](const AnalysisProgress&) {},
                              [] { return true; }};
    analyze_folders(tree.root(), tree.root(), {}, hooks,
                    [&](std::string_view bytes) { report += bytes; });
    // Only 晴天 is found in two files, once for each candidate that holds it; no group of "?"
    // (nor of a short name's "_") is made.
    const Text sunny = "\xC7\xE7\xCC\xEC\t" + tree.root();
    const Text group = sunny + emoji_song + "\t2KB\r\n" + sunny + korean_folder +
                       "\\\xCD\xF5\xB7\xC6 - \xC7\xE7\xCC\xEC.mp3\t3KB\r\n\r\n";
    EXPECT_EQ(report, group + group);

    Text by_walks;
    analyze_folders_by_walks(tree.root(), tree.root(), {}, hooks,
                             [&](std::string_view bytes) { by_walks += bytes; });
    EXPECT_EQ(by_walks, report);
}

TEST_F(Win32Listing, EntersAFolderWhoseLastCharacterEndsInTheBackslashsByte) {
    testing::CharacterRuleScope rule(CharacterRule::two_byte);
    const Text folder = "\x81\x5C";  // 丂
    make_folder(folder);
    make_file(folder + "\\" + song);
    EXPECT_THAT(walked("*.mp3"), ::testing::ElementsAre(folder + "\\" + song));
}

TEST_F(Win32Listing, GivesLongNamesInTheCodePageWithTheirKind) {
    make_file(song);
    make_folder(singer);
    make_file(singer + "\\" + backslash_trail);
    // The ANSI calls made the Unicode names, which the listing gives back as the same bytes.
    const Text root_text = tree.root();
    const std::wstring root(root_text.begin(), root_text.end());  // an ASCII temporary folder
    EXPECT_NE(::GetFileAttributesW((root + L"\u6b4c\u624b - \u6674\u5929.mp3").c_str()),
              INVALID_FILE_ATTRIBUTES);

    const FolderListing listing = list_folder(tree.root());
    ASSERT_EQ(listing.entries.size(), 2u);
    for (const FolderEntry& entry : listing.entries) {
        EXPECT_EQ(entry.is_folder, entry.name == singer) << entry.name;
        EXPECT_TRUE(entry.name == singer || entry.name == song) << entry.name;
    }
    EXPECT_THAT(walked("*.mp3"), UnorderedElementsAre(song, singer + "\\" + backslash_trail));
    EXPECT_EQ(file_byte_count(tree.root() + singer + "\\" + backslash_trail), 0);

    // A fragment in GBK finds the file by its full path.
    std::vector<Text> found;
    Text folder = tree.root();
    list_matches("\xC7\xE7\xCC\xEC", folder,
                 [&](const Location& file, const Text&) { found.push_back(file.path); }, {});
    EXPECT_THAT(found, UnorderedElementsAre(tree.root() + song));
}

TEST_F(Win32Listing, LetsNoShortNameWidenAPattern) {
    make_file("a.mp3x");
    make_file("b.mp3");
    make_file("c.MP3");
    make_folder("d.mp3");
    make_file("d.mp3\\long name.mp3");
    // The system's own matcher also tries the short names: "A~1.MP3" for "a.mp3x".
    EXPECT_THAT(testing::ansi_listing(tree.root() + "*.mp3"), ::testing::Contains("a.mp3x"));

    EXPECT_THAT(walked("*.mp3"), UnorderedElementsAre("b.mp3", "c.MP3", "d.mp3\\long name.mp3"));
}

TEST_F(Win32Listing, IncludesHiddenAndSystemEntries) {
    make_file("h.mp3", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    make_folder("inner");
    make_file("inner\\i.mp3", FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(::SetFileAttributesA((tree.root() + "inner").c_str(),
                                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_NE(::GetFileAttributesA((tree.root() + "h.mp3").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_THAT(walked("*.mp3"), UnorderedElementsAre("h.mp3", "inner\\i.mp3"));
}

TEST_F(Win32Listing, KnowsAFolderByItsFileIdWhicheverWayLeadsThere) {
    make_folder("Long Folder Name");
    make_folder("Long Folder Name\\sub");
    make_folder("other");
    const auto identity = [&](const Text& relative) {
        return list_folder(tree.root() + relative).identity;
    };
    const auto direct = identity("Long Folder Name\\");
    ASSERT_TRUE(direct.has_value());
    EXPECT_EQ(identity("Long Folder Name\\sub\\..\\"), direct);
    Text short_path(MAX_PATH, '\0');
    short_path.resize(::GetShortPathNameA((tree.root() + "Long Folder Name").c_str(),
                                          short_path.data(), MAX_PATH));
    ASSERT_FALSE(short_path.empty());
    EXPECT_EQ(list_folder(short_path + "\\").identity, direct);
    EXPECT_NE(identity("other\\"), direct);

    const FolderListing missing = list_folder(tree.root() + "missing\\");
    EXPECT_FALSE(missing.identity.has_value());
    EXPECT_THAT(missing.entries, IsEmpty());
}

TEST_F(Win32Listing, CountsFileSizesBeyondFourGigabytes) {
    const Text path = tree.root() + "big.mp3";
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size{};
    size.QuadPart = 5LL * 1024 * 1024 * 1024 + 3;
    ASSERT_TRUE(::SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file));
    ::CloseHandle(file);
    EXPECT_EQ(file_byte_count(path), size.QuadPart);
    EXPECT_EQ(file_byte_count(tree.root() + "missing.mp3"), -1);
}

TEST_F(Win32Listing, TellsKindsAndReplacesFilesInOneStep) {
    make_folder("folder");
    make_file("old.txt");
    make_file("new.txt");
    EXPECT_EQ(entry_kind(tree.root() + "folder"), EntryKind::folder);
    EXPECT_EQ(entry_kind(tree.root() + "folder\\"), EntryKind::folder);
    EXPECT_EQ(entry_kind(tree.root() + "old.txt"), EntryKind::file);
    EXPECT_EQ(entry_kind(tree.root() + "missing"), EntryKind::none);

    const auto replace = replacement_calls().rename;
    EXPECT_FALSE(replace(tree.root() + "new.txt", tree.root() + "old.txt"));
    EXPECT_EQ(entry_kind(tree.root() + "new.txt"), EntryKind::none);
    EXPECT_EQ(entry_kind(tree.root() + "old.txt"), EntryKind::file);
    EXPECT_TRUE(replace(tree.root() + "old.txt", tree.root() + "folder"));
    EXPECT_EQ(entry_kind(tree.root() + "old.txt"), EntryKind::file);
}

}  // namespace
}  // namespace melodex
