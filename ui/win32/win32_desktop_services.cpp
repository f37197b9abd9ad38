#include "ui/win32/win32_desktop_services.h"

#include <shellapi.h>

#include "core/platform/wide_path_win32.h"
#include "core/system.h"
#include "ui/win32/input_box.h"

namespace melodex::ui::win32 {

// The shell and Explorer are given a file's whole path in the ordinary form, which they
// understand; the file calls take the long-path form.
using melodex::win32::full_path_of;

std::optional<Text> Win32DesktopServices::input_box(const Text& prompt, const Text& title) {
    return show_input_box(main_window_, prompt, title);
}

void Win32DesktopServices::message_box(const Text& text) {
    // No owner: the caller takes its window off the top while the box shows; task-modal, so
    // the program's windows take no input meanwhile.
    ::MessageBoxA(nullptr, text.c_str(), system_text("信息：").c_str(), MB_OK | MB_TASKMODAL);
}

void Win32DesktopServices::open_document(const Location& file) {
    if (file.path.empty()) return;
    ::ShellExecuteW(nullptr, L"open", full_path_of(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32DesktopServices::show_in_file_manager(const Location& file) {
    if (file.path.empty()) return;
    // Explorer is started in its own folder, so the path is made whole first.
    std::wstring command_line = L"explorer.exe /select,\"" + full_path_of(file) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        return;
    }
    ::WaitForInputIdle(process.hProcess, 1000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

bool Win32DesktopServices::delete_file(const Location& file) {
    if (file.path.empty()) return false;
    return ::DeleteFileW(melodex::win32::reachable_path(file).c_str()) != 0;
}

Text Win32DesktopServices::program_directory() {
    return melodex::program_directory();
}

bool Win32DesktopServices::let_pending_events_run() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        // A quit request stays queued for the main loop, which ends the program.
        if (message.message == WM_QUIT) return false;
        if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) break;
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        dispatch(message);
    }
    return true;
}

void Win32DesktopServices::dispatch(MSG& message) const {
    if (main_window_ != nullptr && ::IsDialogMessageA(main_window_, &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
}

}  // namespace melodex::ui::win32
