// The desktop services on Windows: the input box and message box, the shell's "open", Explorer
// with the file selected, the file removed, and the message queue the walks keep running.
#pragma once

#include <windows.h>

#include "ui/desktop_services.h"

namespace melodex::ui::win32 {

class Win32DesktopServices : public DesktopServices {
  public:
    // The window input boxes stand over, whose keyboard navigation the event runs keep.
    void set_main_window(HWND window) { main_window_ = window; }

    std::optional<Text> input_box(const Text& prompt, const Text& title) override;
    void message_box(const Text& text) override;
    void open_document(const Location& file) override;
    void show_in_file_manager(const Location& file) override;
    bool delete_file(const Location& file) override;
    Text program_directory() override;
    bool let_pending_events_run() override;

    // Passes one queued message on: Tab and the like to the main window's controls, the rest to
    // its window. The program's main loop uses it too.
    void dispatch(MSG& message) const;

  private:
    HWND main_window_ = nullptr;
};

}  // namespace melodex::ui::win32
