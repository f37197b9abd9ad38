// The Windows listing as the walks see it, on names made with the ANSI calls in code page 936.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/file_io.h"
#include "core/file_system.h"
#include "core/search.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using testing::FolderTree;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

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
                 [&](const Text& path, const Text&) { found.push_back(path); }, {});
    EXPECT_THAT(found, UnorderedElementsAre(tree.root() + song));
}

TEST_F(Win32Listing, LetsNoShortNameWidenAPattern) {
    make_file("a.mp3x");
    make_file("b.mp3");
    make_file("c.MP3");
    make_folder("d.mp3");
    make_file("d.mp3\\long name.mp3");
    // The system's own matcher also tries the short names: "A~1.MP3" for "a.mp3x".
    WIN32_FIND_DATAA found{};
    std::vector<Text> system_matches;
    const HANDLE find = ::FindFirstFileA((tree.root() + "*.mp3").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        system_matches.push_back(found.cFileName);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    EXPECT_THAT(system_matches, ::testing::Contains("a.mp3x"));

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
