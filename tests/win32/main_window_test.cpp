// The real Win32 window with recording desktop services: its controls, its events and its
// frame. Needs a display.
#include "ui/win32/main_window.h"

#include <shlobj.h>

#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/system.h"
#include "tests/support/folder_tree.h"
#include "tests/ui/fake_window.h"

namespace melodex::ui::win32 {
namespace {

using ::testing::ElementsAre;
using testing::FakeServices;

Text window_text(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

class Win32MainWindow : public ::testing::Test {
  protected:
    HWND control(int id) const { return ::GetDlgItem(window.handle(), id); }
    HWND edit_box(int number) const { return control(edit_box_id + number); }
    HWND button(int number) const { return control(button_id + number); }
    HWND list(int number) const { return control(list_id + number); }

    std::vector<std::string> log;
    FakeServices services{log};
    MainWindow window{services};
};

TEST_F(Win32MainWindow, StartsWithItsCaptionControlsAndFixedFrame) {
    EXPECT_EQ(window_text(window.handle()),
              system_text("Melodex-音乐去重【" MELODEX_WEB_ADDRESS "】"));
    EXPECT_EQ(window.text(EditBox::编辑框7), "mp3");
    EXPECT_EQ(window.text(EditBox::编辑框6), "E:\\Music\\");
    EXPECT_EQ(window.caption(Button::按钮7), system_text("音乐一按键找重"));
    EXPECT_EQ(window.caption(Button::按钮6), system_text("打开文件位置"));
    EXPECT_EQ(window.caption(Button::按钮5), system_text("删除文件"));
    for (const Button b : fragment_buttons) EXPECT_EQ(window.caption(b), "");
    EXPECT_EQ(window.current_selection(ListBox::列表框1), -1);
    EXPECT_EQ(window.item_text(ListBox::列表框1, -1), "");

    const LONG_PTR style = ::GetWindowLongPtrA(window.handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    const LONG_PTR ex_style = ::GetWindowLongPtrA(window.handle(), GWL_EXSTYLE);
    EXPECT_NE(ex_style & WS_EX_TOPMOST, 0);
    EXPECT_NE(ex_style & WS_EX_ACCEPTFILES, 0);
    // The program's icon, which this test program carries too, in the caption and the task bar.
    EXPECT_NE(::GetClassLongPtrA(window.handle(), GCLP_HICON), 0);
    EXPECT_NE(::GetClassLongPtrA(window.handle(), GCLP_HICONSM), 0);
    RECT client{};
    ::GetClientRect(window.handle(), &client);
    const UINT dpi = ::GetDpiForWindow(window.handle());
    EXPECT_EQ(client.right, ::MulDiv(client_width, dpi, 96));
    EXPECT_EQ(client.bottom, ::MulDiv(client_height, dpi, 96));
    // The search panel is in view.
    RECT list_place{};
    ::GetWindowRect(list(1), &list_place);
    ::MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&list_place), 2);
    EXPECT_LE(list_place.bottom, client.bottom);
}

TEST_F(Win32MainWindow, MirrorsTheFragmentEditBoxesTypedOrSet) {
    window.set_text(EditBox::编辑框2, "\xB8\xE8\xCA\xD6");
    EXPECT_EQ(window.caption(Button::按钮2), "\xB8\xE8\xCA\xD6");
    ::SendMessageA(edit_box(3), WM_CHAR, 'a', 0);
    ::SendMessageA(edit_box(3), WM_CHAR, 'b', 0);
    EXPECT_EQ(window.caption(Button::按钮3), "ab");
    ::SendMessageA(edit_box(3), WM_CHAR, VK_BACK, 0);
    ::SendMessageA(edit_box(3), WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(window.caption(Button::按钮3), "");
    window.set_text(EditBox::编辑框6, "x");
    EXPECT_EQ(window.caption(Button::按钮6), system_text("打开文件位置"));
}

TEST_F(Win32MainWindow, KeepsListRowsByteForByteAndTellsTheSelection) {
    const Text gbk_path = "E:\\\xD2\xF4\xC0\xD6\\\x81\x5C.mp3";  // 音乐 and a 0x5C second byte
    window.append_item(ListBox::列表框1, "E:\\a.mp3");
    window.append_item(ListBox::列表框1, gbk_path);
    window.append_item(ListBox::列表框2, "1KB");
    EXPECT_EQ(::SendMessageA(list(1), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(window.current_selection(ListBox::列表框1), -1);
    ::SendMessageA(list(1), LB_SETCURSEL, 1, 0);
    EXPECT_EQ(window.current_selection(ListBox::列表框1), 1);
    EXPECT_EQ(window.item_text(ListBox::列表框1, 1), gbk_path);
    EXPECT_EQ(window.item_text(ListBox::列表框1, 2), "");
    EXPECT_EQ(window.item_text(ListBox::列表框2, 0), "1KB");

    // A double click on a row opens the selected file.
    const LPARAM first_row = MAKELPARAM(4, 4);
    ::SendMessageA(list(1), WM_LBUTTONDOWN, MK_LBUTTON, first_row);
    ::SendMessageA(list(1), WM_LBUTTONUP, 0, first_row);
    ::SendMessageA(list(1), WM_LBUTTONDBLCLK, MK_LBUTTON, first_row);
    ::SendMessageA(list(1), WM_LBUTTONUP, 0, first_row);
    EXPECT_THAT(log, ElementsAre("open E:\\a.mp3"));

    window.clear(ListBox::列表框1);
    EXPECT_EQ(::SendMessageA(list(1), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(window.current_selection(ListBox::列表框1), -1);
    EXPECT_EQ(window.item_text(ListBox::列表框1, 0), "");
}

TEST_F(Win32MainWindow, RunsTheButtonsHandlers) {
    const melodex::testing::FolderTree tree{"Music/A - B.mp3", "Music/x/B.mp3"};
    window.set_text(EditBox::编辑框6, tree.root() + "Music");
    window.set_text(EditBox::编辑框1, "B");
    ::SendMessageA(button(1), BM_CLICK, 0, 0);
    EXPECT_EQ(::SendMessageA(list(1), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(window.item_text(ListBox::列表框1, 1), tree.root() + "Music\\x\\B.mp3");
    EXPECT_EQ(window.item_text(ListBox::列表框2, 1), "0KB");
    EXPECT_TRUE(::IsWindowEnabled(button(1)));

    ::SendMessageA(list(1), LB_SETCURSEL, 1, 0);
    ::SendMessageA(button(6), BM_CLICK, 0, 0);
    ::SendMessageA(button(5), BM_CLICK, 0, 0);
    EXPECT_THAT(log, ElementsAre("show " + tree.root() + "Music\\x\\B.mp3",
                                 "delete " + tree.root() + "Music\\x\\B.mp3"));

    window.set_enabled(Button::按钮3, false);
    EXPECT_FALSE(::IsWindowEnabled(button(3)));
    window.set_enabled(Button::按钮3, true);
    EXPECT_TRUE(::IsWindowEnabled(button(3)));
}

TEST_F(Win32MainWindow, GivesTheFocusBackToTheButtonThatSearched) {
    const melodex::testing::FolderTree tree{"a/x.mp3"};
    window.set_text(EditBox::编辑框6, tree.root());
    window.show_centred();
    ::SetForegroundWindow(window.handle());
    ::SetFocus(button(2));
    ASSERT_EQ(::GetFocus(), button(2));
    ::SendMessageA(button(2), BM_CLICK, 0, 0);
    EXPECT_EQ(window.item_text(ListBox::列表框1, 0), tree.root() + "a\\x.mp3");
    EXPECT_EQ(::GetFocus(), button(2));
}

TEST_F(Win32MainWindow, TakesDroppedFilesInTheFirstOne) {
    const Text files[] = {"E:\\Music\\\xB8\xE8\xCA\xD6 - \xC7\xE7\xCC\xEC.mp3", "E:\\b-c.mp3"};
    std::string list;
    for (const Text& file : files) list += file + '\0';
    list += '\0';
    const HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    ::GlobalUnlock(memory);
    ::SendMessageA(window.handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);

    EXPECT_EQ(window.text(EditBox::编辑框5), "\xB8\xE8\xCA\xD6 - \xC7\xE7\xCC\xEC.mp3");
    EXPECT_EQ(window.caption(Button::按钮1), "\xB8\xE8\xCA\xD6");
    EXPECT_EQ(window.caption(Button::按钮2), "\xC7\xE7\xCC\xEC");
    EXPECT_EQ(window.text(EditBox::编辑框3), "");
}

TEST_F(Win32MainWindow, GoesOffTheTopAndBack) {
    const auto topmost = [&] {
        return (::GetWindowLongPtrA(window.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    };
    window.set_always_on_top(false);
    EXPECT_FALSE(topmost());
    window.set_always_on_top(true);
    EXPECT_TRUE(topmost());
}

TEST_F(Win32MainWindow, ClosingEndsTheWalkAndAsksToQuit) {
    const melodex::testing::FolderTree tree{"a/x.mp3", "b/y.mp3"};
    window.set_text(EditBox::编辑框6, tree.root());
    services.on_pending_events = [&] { ::SendMessageA(window.handle(), WM_CLOSE, 0, 0); };
    ::SendMessageA(button(1), BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindow(window.handle()));
    EXPECT_EQ(window.item_text(ListBox::列表框1, 0), "");
    MSG quit{};
    EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace melodex::ui::win32
