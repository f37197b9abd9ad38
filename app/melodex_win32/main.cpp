// melodex on Windows: the desktop window. Start-up runs in a fixed order: the program directory
// becomes the working directory (relative folder texts are read against it), the character rule
// of the system's code page is chosen, then the window is created, centred, kept on top and
// shown, and the message loop runs until the window is closed.
#include <windows.h>

#include <commctrl.h>

#include "core/platform/wide_path_win32.h"
#include "core/system.h"
#include "core/text.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_desktop_services.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // With its backslash, so that a program in a drive's root ("C:") makes that root current.
    ::SetCurrentDirectoryW((melodex::win32::executable_folder() + L"\\").c_str());
    melodex::set_character_rule(melodex::system_character_rule());

    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    melodex::ui::win32::Win32DesktopServices services;
    melodex::ui::win32::MainWindow window(services);
    services.set_main_window(window.handle());
    window.show_centred();

    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) services.dispatch(message);
    return static_cast<int>(message.wParam);
}
