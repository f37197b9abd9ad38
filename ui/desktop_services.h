// The desktop, shell and file operations the window's handlers call. One implementation per
// platform (ui/qt, ui/win32); tests use a recording fake.
#pragma once

#include <optional>

#include "core/file_system.h"
#include "core/text.h"

namespace melodex::ui {

class DesktopServices {
  public:
    virtual ~DesktopServices() = default;

    // A modal box: the prompt above one empty field, "确认输入(&O)", "取消(&C)", a "浏览…" button
    // that fills the field from a folder chooser, and the title as caption. The typed text (maybe
    // empty) when confirmed; nullopt when cancelled or closed.
    virtual std::optional<Text> input_box(const Text& prompt, const Text& title) = 0;
    // Modal to the whole program, caption "信息：", one OK button, no icon; returns when dismissed.
    virtual void message_box(const Text& text) = 0;
    // The program associated with the file shows or plays it.
    virtual void open_document(const Location& file) = 0;
    // The file manager opens the file's folder with the file selected.
    virtual void show_in_file_manager(const Location& file) = 0;
    // Removes the file at once (no recycle bin); true when it was removed.
    virtual bool delete_file(const Location& file) = 0;
    // Where the keyword file and the report live, without a trailing separator.
    virtual Text program_directory() = 0;
    // Lets queued window events run; false when the program has been asked to quit.
    virtual bool let_pending_events_run() = 0;
};

}  // namespace melodex::ui
