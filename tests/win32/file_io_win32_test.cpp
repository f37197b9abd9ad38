// The report and the keyword file on Windows at paths longer than MAX_PATH, named in code page 936
// and reached through the wide calls.
#include <windows.h>

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/file_io.h"
#include "core/filter_keywords.h"
#include "core/whole_file.h"
#include "tests/support/folder_tree.h"

namespace melodex {
namespace {

using testing::FolderTree;
using ::testing::UnorderedElementsAreArray;

// A folder chain below the tree's root more than 300 characters long, its last folder named
// 周杰伦; removed again with the fixture, which could not reach that deep.
class Win32LongPath : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::GetACP(), 936u) << "the tests run in code page 936";
        const Text root = tree.root();
        std::wstring wide = L"\\\\?\\" + std::wstring(root.begin(), root.end());  // ASCII
        folder = root;
        for (int k = 0; k < 6; ++k) {
            const Text name =
                "a folder name of fifty characters, more or less " + std::to_string(k);
            folder += name + "\\";
            wide += std::wstring(name.begin(), name.end()) + L"\\";
            created.push_back(wide);
        }
        folder += "\xD6\xDC\xBD\xDC\xC2\xD7\\";
        wide += L"\u5468\u6770\u4f26\\";
        created.push_back(wide);
        for (const std::wstring& made : created) {
            ASSERT_TRUE(::CreateDirectoryW(made.c_str(), nullptr)) << ::GetLastError();
        }
        ASSERT_GT(folder.size(), 300u);
    }
    void TearDown() override {
        for (const std::wstring& name : names_in_last()) {
            ::DeleteFileW((created.back() + name).c_str());
            ::RemoveDirectoryW((created.back() + name).c_str());
        }
        for (auto made = created.rbegin(); made != created.rend(); ++made) {
            ::RemoveDirectoryW(made->c_str());
        }
    }
    std::vector<std::wstring> names_in_last() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        const HANDLE find = ::FindFirstFileW((created.back() + L"*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
        return names;
    }

    FolderTree tree;
    Text folder;                        // in code page 936, ending in "\"
    std::vector<std::wstring> created;  // with the long-path prefix, each ending in "\"
};

TEST_F(Win32LongPath, WritesAndReplacesAReport) {
    const Text report = folder + "\xB1\xA8\xB8\xE6.txt";  // 报告.txt
    for (const Text& content : {Text("first report"), Text("second report")}) {
        ReplacingFile file(report);
        file.write(content);
        EXPECT_TRUE(file.commit()) << file.error();
    }
    Text bytes;
    EXPECT_FALSE(read_regular_file(report, 100, bytes));
    EXPECT_EQ(bytes, "second report");
    EXPECT_THAT(names_in_last(), UnorderedElementsAreArray({L"\u62a5\u544a.txt"}));
}

TEST_F(Win32LongPath, LeavesNoTemporaryFileWhenTheReplacementFails) {
    ASSERT_TRUE(::CreateDirectoryW((created.back() + L"r.txt").c_str(), nullptr));
    ReplacingFile blocked(folder + "r.txt");
    blocked.write("x");
    EXPECT_FALSE(blocked.commit());
    EXPECT_EQ(blocked.error(), error_text(std::make_error_code(std::errc::is_a_directory)));

    // Made, then refused by the rename, since another program holds the report open: the
    // temporary file goes all the same.
    const Text report = folder + "held.txt";
    ASSERT_FALSE(create_empty_file(report));
    const HANDLE held = ::CreateFileW((created.back() + L"held.txt").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ReplacingFile refused(report);
    refused.write("x");
    EXPECT_FALSE(refused.commit());
    EXPECT_NE(refused.error(), "");
    ::CloseHandle(held);
    EXPECT_THAT(names_in_last(), UnorderedElementsAreArray({L"r.txt", L"held.txt"}));
}

TEST_F(Win32LongPath, CreatesAndReadsAKeywordFile) {
    const Text path = folder + "MP3\xB9\xFD\xC2\xCB\xB9\xD8\xBC\xFC\xD7\xD6.txt";
    EXPECT_EQ(read_keyword_file(path).error, "");
    EXPECT_THAT(names_in_last(),
                UnorderedElementsAreArray({L"MP3\u8fc7\u6ee4\u5173\u952e\u5b57.txt"}));

    const HANDLE file =
        ::CreateFileW((created.back() + L"MP3\u8fc7\u6ee4\u5173\u952e\u5b57.txt").c_str(),
                      GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, "live\r\n", 6, &written, nullptr);
    ::CloseHandle(file);
    EXPECT_TRUE(is_filter_keyword(load_filter_keywords(path), "LIVE"));
}

TEST(Win32Files, RefuseADeviceAsKeywordFile) {
    for (const Text& device : {Text("NUL"), Text("CON")}) {
        const KeywordFile file = read_keyword_file(device);
        EXPECT_NE(file.error, "") << device;
        EXPECT_TRUE(file.keywords.upper_cased.empty()) << device;
    }
}

}  // namespace
}  // namespace melodex
