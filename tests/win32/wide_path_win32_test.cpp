// How texts and paths cross to the wide calls, in code page 936.
#include "core/platform/wide_path_win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/file_system.h"
#include "tests/support/folder_tree.h"
#include "tests/win32/wide_files.h"

namespace melodex::win32 {
namespace {

using testing::FolderTree;

// 노래 - 😀.mp3, 😀 - 晴天.mp3 and 周杰伦 - 노래.mp3: Korean and an emoji, which code page 936
// cannot spell, beside Chinese, which it can.
const std::wstring unspellable_names[] = {L"\uB178\uB798 - \U0001F600.mp3",
                                          L"\U0001F600 - \u6674\u5929.mp3",
                                          L"\u5468\u6770\u4F26 - \uB178\uB798.mp3"};

TEST(Win32WidePath, GivesTheLongFormOfEveryKindOfFullPath) {
    const struct {
        std::wstring full, long_form;
    } cases[] = {
        {L"C:\\Music\\a.mp3", L"\\\\?\\C:\\Music\\a.mp3"},
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"\\\\server\\share\\a.mp3", L"\\\\?\\UNC\\server\\share\\a.mp3"},
        {L"\\\\?\\C:\\Music\\", L"\\\\?\\C:\\Music\\"},
        {L"\\\\?\\UNC\\server\\share\\", L"\\\\?\\UNC\\server\\share\\"},
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
    };
    for (const auto& c : cases) EXPECT_EQ(long_path(c.full), c.long_form);
}

TEST(Win32WidePath, MakesPathsWholeAgainstTheCurrentFolder) {
    std::wstring current(MAX_PATH, L'\0');
    current.resize(::GetCurrentDirectoryW(MAX_PATH, current.data()));
    if (current.back() != L'\\') current += L'\\';
    EXPECT_EQ(full_path(L"a/b\\..\\c.mp3"), current + L"a\\c.mp3");
    EXPECT_EQ(full_path(L"C:\\x\\.\\y\\"), L"C:\\x\\y\\");
    EXPECT_EQ(full_path(L"\\\\server\\share\\x"), L"\\\\server\\share\\x");
    const std::wstring deep = L"C:\\" + std::wstring(400, L'x') + L"\\..\\y";
    EXPECT_EQ(full_path(deep), L"C:\\y");
}

TEST(Win32WidePath, ConvertsBetweenTheCodePagesAndTheWideText) {
    EXPECT_EQ(wide_text("\xC7\xE7\xCC\xEC.mp3", CP_ACP), L"\u6674\u5929.mp3");
    EXPECT_EQ(wide_text("\xE6\x99\xB4\xE5\xA4\xA9", CP_UTF8), L"\u6674\u5929");
    EXPECT_EQ(utf8_text(L"\u6674\U0001F600"), "\xE6\x99\xB4\xF0\x9F\x98\x80");
    EXPECT_EQ(ansi_text(L"\u6674\u5929.mp3"), "\xC7\xE7\xCC\xEC.mp3");
    EXPECT_EQ(wide_text("", CP_ACP), L"");
    EXPECT_EQ(ansi_text(L""), "");
    EXPECT_EQ(ansi_text(L"\u00C5 \uB178"), "? ?");
}

TEST(Win32WidePath, SpellsNamesAsTheSystemsOwnAnsiListingDoes) {
    const FolderTree tree;
    const std::wstring root = wide_text(tree.root(), CP_ACP);
    std::vector<Text> spelled;
    for (const std::wstring& name : unspellable_names) {
        ASSERT_TRUE(testing::make_wide_file(root + name));
        spelled.push_back(ansi_text(name));
    }
    EXPECT_EQ(spelled[1], "?? - \xC7\xE7\xCC\xEC.mp3");  // one "?" for each UTF-16 unit
    EXPECT_THAT(testing::ansi_listing(tree.root() + "*.mp3"),
                ::testing::UnorderedElementsAreArray(spelled));
}

TEST(Win32WidePath, GivesATextThatLeadsToAFolderTheCodePageCannotSpell) {
    const FolderTree tree;
    const std::wstring root = wide_text(tree.root(), CP_ACP);
    const std::wstring spellable = root + L"\u5468\u6770\u4F26";
    const std::wstring korean = root + L"\uB178\uB798";
    const std::wstring deep = korean + L"\\" + std::wstring(200, L'x') + L"\\\uB178\uB798";
    for (const std::wstring& folder :
         {spellable, korean, korean + L"\\" + std::wstring(200, L'x'), deep}) {
        ASSERT_TRUE(::CreateDirectoryW(long_path(folder).c_str(), nullptr));
    }
    EXPECT_EQ(text_leading_to(spellable), tree.root() + "\xD6\xDC\xBD\xDC\xC2\xD7");
    for (const std::wstring& folder : {korean, deep}) {
        const Text text = text_leading_to(folder);
        EXPECT_EQ(text.find('?'), Text::npos) << text;
        EXPECT_EQ(entry_kind(text), EntryKind::folder) << text;
    }
    ::RemoveDirectoryW(long_path(deep).c_str());
}

TEST(Win32WidePath, NamesTheFolderOfTheRunningProgram) {
    std::wstring module(4096, L'\0');
    module.resize(::GetModuleFileNameW(nullptr, module.data(), 4096));
    const std::wstring folder = executable_folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(module.substr(0, folder.size() + 1), folder + L"\\");
    EXPECT_EQ(module.find(L'\\', folder.size() + 1), std::wstring::npos);
}

}  // namespace
}  // namespace melodex::win32
