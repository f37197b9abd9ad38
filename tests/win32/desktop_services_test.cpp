// The Win32 desktop services: the boxes are answered from a timer while they wait for the user.
// Needs a display.
#include "ui/win32/win32_desktop_services.h"

#include <functional>

#include <gtest/gtest.h>

#include "core/file_system.h"
#include "core/platform/wide_path_win32.h"
#include "core/system.h"
#include "tests/support/folder_tree.h"
#include "tests/win32/wide_files.h"
#include "ui/win32/main_window.h"

namespace melodex::ui::win32 {
namespace {

Text window_text(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// Runs `answer` once on the box with the given caption, as soon as it shows.
class BoxAnswer {
  public:
    BoxAnswer(Text caption, std::function<void(HWND)> answer) {
        pending_ = {std::move(caption), std::move(answer)};
        timer_ = ::SetTimer(nullptr, 0, 50, &tick);
    }
    ~BoxAnswer() { ::KillTimer(nullptr, timer_); }
    static bool answered() { return !pending_.answer; }

  private:
    struct Pending {
        Text caption;
        std::function<void(HWND)> answer;
    };
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = ::FindWindowA("#32770", pending_.caption.c_str());
        if (box == nullptr || !pending_.answer) return;
        auto answer = std::move(pending_.answer);
        pending_.answer = nullptr;
        answer(box);
    }
    static inline Pending pending_;
    UINT_PTR timer_ = 0;
};

TEST(Win32InputBox, GivesTheTypedTextOrNothing) {
    Win32DesktopServices services;
    const Text prompt = system_text("需要分析的文件目录");
    const Text title = system_text("输入");
    {
        BoxAnswer answer(title, [&](HWND box) {
            EXPECT_EQ(window_text(::GetDlgItem(box, 100)), prompt);
            EXPECT_EQ(window_text(::GetDlgItem(box, 101)), "");
            EXPECT_EQ(window_text(::GetDlgItem(box, IDOK)), system_text("确认输入(&O)"));
            EXPECT_EQ(window_text(::GetDlgItem(box, IDCANCEL)), system_text("取消(&C)"));
            EXPECT_EQ(window_text(::GetDlgItem(box, 102)), system_text("浏览…"));
            ::SetDlgItemTextA(box, 101, "E:\\\xD2\xF4\xC0\xD6");
            ::SendMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(services.input_box(prompt, title), "E:\\\xD2\xF4\xC0\xD6");
        EXPECT_TRUE(BoxAnswer::answered());
    }
    {
        BoxAnswer answer(title,
                         [](HWND box) { ::SendMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0); });
        EXPECT_EQ(services.input_box(prompt, title), "");
    }
    {
        BoxAnswer answer(title, [](HWND box) {
            ::SetDlgItemTextA(box, 101, "typed");
            ::SendMessageA(::GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(services.input_box(prompt, title), std::nullopt);
    }
    {
        BoxAnswer answer(title, [](HWND box) { ::SendMessageA(box, WM_CLOSE, 0, 0); });
        EXPECT_EQ(services.input_box(prompt, title), std::nullopt);
    }
}

TEST(Win32MessageBox, HoldsTheProgramsWindowsUntilDismissed) {
    Win32DesktopServices services;
    HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    const Text text = system_text("删除文件失败！");
    BoxAnswer answer(system_text("信息："), [&](HWND box) {
        EXPECT_EQ(window_text(::GetDlgItem(box, 0xFFFF)), text);
        EXPECT_EQ(::GetWindow(box, GW_OWNER), nullptr);
        EXPECT_FALSE(::IsWindowEnabled(other));  // task-modal
        ::SendMessageA(box, WM_COMMAND, IDOK, 0);
    });
    services.message_box(text);
    EXPECT_TRUE(BoxAnswer::answered());
    EXPECT_TRUE(::IsWindowEnabled(other));
    ::DestroyWindow(other);
}

TEST(Win32DesktopServices, DeletesAFileOnce) {
    Win32DesktopServices services;
    const melodex::testing::FolderTree tree{"a.mp3", "folder/"};
    EXPECT_TRUE(services.delete_file(tree.root() + "a.mp3"));
    EXPECT_EQ(entry_kind(tree.root() + "a.mp3"), EntryKind::none);
    EXPECT_FALSE(services.delete_file(tree.root() + "a.mp3"));
    EXPECT_FALSE(services.delete_file(tree.root() + "folder"));
    EXPECT_FALSE(services.delete_file(""));

    // At a depth the ANSI calls cannot reach.
    const Text folder = tree.root() + Text(150, 'a') + "\\" + Text(150, 'b');
    const std::wstring long_folder =
        melodex::win32::long_path(melodex::win32::wide_text(folder, CP_ACP));
    ASSERT_TRUE(
        ::CreateDirectoryW(long_folder.substr(0, long_folder.rfind(L'\\')).c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(long_folder.c_str(), nullptr));
    const HANDLE file = ::CreateFileW((long_folder + L"\\x.mp3").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
    EXPECT_TRUE(services.delete_file(folder + "\\x.mp3"));
    EXPECT_EQ(entry_kind(folder + "\\x.mp3"), EntryKind::none);
    ::RemoveDirectoryW(long_folder.c_str());
}

TEST(Win32WindowAndServices, DeletesTheFileOfTheRowShownWhoseNameTheCodePageCannotSpell) {
    set_character_rule(system_character_rule());
    const melodex::testing::FolderTree tree;
    const std::wstring root = melodex::testing::long_form(tree.root());
    const std::wstring emoji_song = root + L"\U0001F600 - \u6674\u5929.mp3";  // 😀 - 晴天.mp3
    const std::wstring singers_song = root + L"\u5468\u6770\u4F26 - \u6674\u5929.mp3";  // 周杰伦
    ASSERT_TRUE(melodex::testing::make_wide_file(emoji_song));
    ASSERT_TRUE(melodex::testing::make_wide_file(singers_song));

    Win32DesktopServices services;
    MainWindow window(services);
    services.set_main_window(window.handle());
    window.set_text(EditBox::编辑框6, tree.root());
    window.set_text(EditBox::编辑框1, "\xC7\xE7\xCC\xEC");  // 晴天
    ::SendMessageA(::GetDlgItem(window.handle(), button_id + 1), BM_CLICK, 0, 0);
    const HWND rows = ::GetDlgItem(window.handle(), list_id + 1);
    ASSERT_EQ(::SendMessageA(rows, LB_GETCOUNT, 0, 0), 2);
    // The row as the code page spells it: a "?" for each character it lacks.
    const int shown = window.item_text(ListBox::列表框1, 0).starts_with(tree.root() + "?") ? 0 : 1;
    ASSERT_TRUE(window.item_text(ListBox::列表框1, shown).starts_with(tree.root() + "?"));

    // A failed delete would say so in a box.
    BoxAnswer refusal(system_text("信息："), [](HWND box) {
        ADD_FAILURE() << "the delete failed";
        ::SendMessageA(box, WM_COMMAND, IDOK, 0);
    });
    ::SendMessageA(rows, LB_SETCURSEL, static_cast<WPARAM>(shown), 0);
    ::SendMessageA(::GetDlgItem(window.handle(), button_id + 5), BM_CLICK, 0, 0);
    EXPECT_FALSE(melodex::testing::wide_entry_exists(emoji_song));
    EXPECT_TRUE(melodex::testing::wide_entry_exists(singers_song));
    EXPECT_FALSE(BoxAnswer::answered());
}

// A message-only window that counts the WM_APP messages it receives.
int app_messages = 0;
LRESULT CALLBACK counting_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_APP) ++app_messages;
    return ::DefWindowProcA(window, message, w, l);
}

TEST(Win32DesktopServices, RunsPendingMessagesAndLeavesAQuitRequestQueued) {
    Win32DesktopServices services;
    WNDCLASSA counting{};
    counting.lpfnWndProc = &counting_procedure;
    counting.lpszClassName = "MelodexCountingWindow";
    ::RegisterClassA(&counting);
    HWND window = ::CreateWindowExA(0, counting.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, nullptr, nullptr);
    ::PostMessageA(window, WM_APP, 0, 0);
    ::PostMessageA(window, WM_APP, 0, 0);
    EXPECT_TRUE(services.let_pending_events_run());
    EXPECT_EQ(app_messages, 2);

    ::PostMessageA(window, WM_APP, 0, 0);
    ::PostQuitMessage(7);
    EXPECT_FALSE(services.let_pending_events_run());
    EXPECT_EQ(app_messages, 3);
    EXPECT_FALSE(services.let_pending_events_run());
    MSG quit{};
    ASSERT_TRUE(::PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(quit.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(quit.wParam, 7u);
    ::DestroyWindow(window);
}

TEST(Win32DesktopServices, NamesTheProgramDirectory) {
    Win32DesktopServices services;
    EXPECT_EQ(services.program_directory(), program_directory());
}

}  // namespace
}  // namespace melodex::ui::win32
