// melodex.exe started as a user starts it: its window shows centred and on top with the caption,
// the size and the frame it should have, and closing it ends the program. Needs a display.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/system.h"
#include "ui/win32/main_window.h"

namespace melodex::ui::win32 {
namespace {

struct Found {
    DWORD process;
    HWND window;
};

HWND window_of(DWORD process) {
    Found found{process, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM l) {
            auto* found = reinterpret_cast<Found*>(l);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            char kind[64] = {};
            ::GetClassNameA(window, kind, sizeof kind);
            if (owner != found->process || Text(kind) != "MelodexMainWindow") return TRUE;
            found->window = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

TEST(MelodexProgram, ShowsItsWindowOnTopAndEndsWhenItIsClosed) {
    Text command_line = "\"" MELODEX_EXE "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &process));
    ::WaitForInputIdle(process.hProcess, 10000);
    // Wine may end the wait before the program has laid out and shown its window, which exists
    // from its creation on: the window is looked at once it shows.
    HWND window = nullptr;
    for (int attempt = 0; attempt < 100; ++attempt) {
        window = window_of(process.dwProcessId);
        if (window != nullptr && ::IsWindowVisible(window)) break;
        ::Sleep(100);
    }
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(::IsWindowVisible(window));

    char caption[256] = {};
    ::GetWindowTextA(window, caption, sizeof caption);
    EXPECT_EQ(Text(caption), system_text("Melodex-音乐去重【" MELODEX_WEB_ADDRESS "】"));
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR ex_style = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
    EXPECT_NE(ex_style & WS_EX_TOPMOST, 0);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

    const UINT dpi = ::GetDpiForWindow(window);
    RECT expected{0, 0, ::MulDiv(client_width, dpi, 96), ::MulDiv(client_height, dpi, 96)};
    ::AdjustWindowRectExForDpi(&expected, static_cast<DWORD>(style), FALSE,
                               static_cast<DWORD>(ex_style), dpi);
    RECT frame{};
    ::GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, expected.right - expected.left);
    EXPECT_EQ(frame.bottom - frame.top, expected.bottom - expected.top);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_NEAR((frame.left + frame.right) / 2.0,
                (monitor.rcWork.left + monitor.rcWork.right) / 2.0, 1.0);
    EXPECT_NEAR((frame.top + frame.bottom) / 2.0,
                (monitor.rcWork.top + monitor.rcWork.bottom) / 2.0, 1.0);

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exit_code = 1;
    ::GetExitCodeProcess(process.hProcess, &exit_code);
    EXPECT_EQ(exit_code, 0u);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace melodex::ui::win32
