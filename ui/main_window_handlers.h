// What the main window's controls do, written once against the view and the desktop services:
// the one-key analysis of 按钮7, the mirroring of the fragment edit boxes into their buttons, the
// dropped file, the fragment search and the actions on a listed file.
#pragma once

#include <vector>

#include "core/file_system.h"
#include "core/text.h"
#include "ui/desktop_services.h"
#include "ui/main_window_view.h"

namespace melodex::ui {

class MainWindowHandlers {
  public:
    MainWindowHandlers(MainWindowView& view, DesktopServices& services);

    // 按钮7: the analysis run. A click while a run is in progress is ignored.
    void analysis_clicked();
    // 编辑框1 to 编辑框4: the text changed, by typing or by a handler.
    void edit_text_changed(EditBox box);
    // Files dropped on the window; the first one is taken.
    void files_dropped(const TextArray& paths);
    // 按钮1 to 按钮4: lists the .mp3 files of 编辑框6's folder whose path holds the caption.
    void fragment_clicked(Button button);
    // Double-click on a row of 列表框1.
    void result_activated();
    // 按钮6.
    void show_in_folder_clicked();
    // 按钮5.
    void delete_clicked();
    // The window is closing: a walk in progress ends at its next folder.
    void window_closing();

    bool analysis_running() const { return analysis_running_; }

  private:
    bool keep_going();
    Location selected_file() const;
    void tell(const Text& message);

    MainWindowView& view_;
    DesktopServices& services_;
    // Where each row of 列表框1 leads, in row order: a row shows the path's text, which on
    // Windows may not lead to the file.
    std::vector<Location> listed_files_;
    bool analysis_running_ = false;
    bool closing_ = false;
};

}  // namespace melodex::ui
