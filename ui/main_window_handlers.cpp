#include "ui/main_window_handlers.h"

#include "core/fragments.h"
#include "core/search.h"
#include "core/system.h"
#include "ui/analysis_run.h"

namespace melodex::ui {

MainWindowHandlers::MainWindowHandlers(MainWindowView& view, DesktopServices& services)
    : view_(view), services_(services) {}

bool MainWindowHandlers::keep_going() {
    // The window may be closed by one of the events let through here.
    return !closing_ && services_.let_pending_events_run() && !closing_;
}

void MainWindowHandlers::analysis_clicked() {
    if (analysis_running_) return;
    analysis_running_ = true;
    const RunResult result = run_analysis(view_, services_, [this] { return keep_going(); });
    analysis_running_ = false;
    if (result.outcome == RunOutcome::report_not_written) {
        tell(system_text("无法写入分析报告：") + result.report_path);
    }
}

void MainWindowHandlers::edit_text_changed(EditBox box) {
    for (std::size_t k = 0; k < 4; ++k) {
        if (fragment_edit_boxes[k] == box) view_.set_caption(fragment_buttons[k], view_.text(box));
    }
}

void MainWindowHandlers::files_dropped(const TextArray& paths) {
    if (paths.empty()) return;
    const DisplayFragments shown = display_fragments(paths.front());
    view_.set_text(EditBox::编辑框5, shown.file_name);
    for (std::size_t k = 0; k < 4; ++k) {
        view_.set_text(fragment_edit_boxes[k], "");
        view_.set_caption(fragment_buttons[k], "");
    }
    for (std::size_t k = 0; k < shown.fragments.size(); ++k) {
        view_.set_text(fragment_edit_boxes[k], shown.fragments[k]);
        view_.set_caption(fragment_buttons[k], shown.fragments[k]);
    }
}

void MainWindowHandlers::fragment_clicked(Button button) {
    if (index_of(button) >= 4) return;
    for (const Button b : fragment_buttons) view_.set_enabled(b, false);
    view_.clear(ListBox::列表框1);
    view_.clear(ListBox::列表框2);
    listed_files_.clear();
    const Text fragment = view_.caption(button);
    Text folder = view_.text(EditBox::编辑框6);
    list_matches(
        fragment, folder,
        [this](const Location& file, const Text& size) {
            view_.append_item(ListBox::列表框1, file.path);
            view_.append_item(ListBox::列表框2, size);
            listed_files_.push_back(file);
        },
        [this] { return keep_going(); });
    if (closing_) return;
    for (const Button b : fragment_buttons) view_.set_enabled(b, true);
}

Location MainWindowHandlers::selected_file() const {
    const int row = view_.current_selection(ListBox::列表框1);
    if (row >= 0 && static_cast<std::size_t>(row) < listed_files_.size()) {
        return listed_files_[static_cast<std::size_t>(row)];
    }
    // Nothing selected: the empty text, which the services leave alone.
    return Location(view_.item_text(ListBox::列表框1, row));
}

void MainWindowHandlers::result_activated() {
    services_.open_document(selected_file());
}

void MainWindowHandlers::show_in_folder_clicked() {
    services_.show_in_file_manager(selected_file());
}

void MainWindowHandlers::delete_clicked() {
    if (!services_.delete_file(selected_file())) tell(system_text("删除文件失败！"));
}

void MainWindowHandlers::tell(const Text& message) {
    // An always-on-top window would hide the message box.
    view_.set_always_on_top(false);
    services_.message_box(message);
    view_.set_always_on_top(true);
}

void MainWindowHandlers::window_closing() {
    closing_ = true;
}

}  // namespace melodex::ui
