// The main window on Windows, made of the system's own controls: the top row of the one-key
// analysis and, below it, the manual-search panel. The window takes file drops anywhere, keeps
// its size, stays on top and follows the DPI of the monitor it is on.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "ui/desktop_services.h"
#include "ui/main_window_facts.h"
#include "ui/main_window_handlers.h"
#include "ui/main_window_view.h"

namespace melodex::ui::win32 {

// Control identifiers, as GetDlgItem finds the controls: the number in the control's name added
// to its kind's base (编辑框3 is 103, 按钮7 is 207, 列表框1 is 301).
inline constexpr int edit_box_id = 100;
inline constexpr int button_id = 200;
inline constexpr int list_id = 300;

// The size of the client area at 96 DPI; the window scales with the DPI of its monitor.
inline constexpr int client_width = 624;
inline constexpr int client_height = 484;

class MainWindow : public MainWindowView {
  public:
    explicit MainWindow(DesktopServices& services);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return window_; }
    // Places the window in the middle of the work area of its monitor and shows it.
    void show_centred();

    Text text(EditBox box) const override;
    void set_text(EditBox box, const Text& text) override;
    Text caption(Button button) const override;
    void set_caption(Button button, const Text& caption) override;
    void set_enabled(Button button, bool enabled) override;
    void clear(ListBox list) override;
    void append_item(ListBox list, const Text& item) override;
    int current_selection(ListBox list) const override;
    Text item_text(ListBox list, int index) const override;
    void set_always_on_top(bool on) override;

  private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle_message(UINT message, WPARAM w, LPARAM l);
    void create_controls();
    HWND handle_of(const TabStop& stop) const;
    // Places every control and sets the window's size for the window's current DPI.
    void arrange(UINT dpi);
    void command(int control, int notification);
    void files_dropped(HDROP drop);
    void widen_for(ListBox list, const Text& item);

    MainWindowHandlers handlers_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    std::array<HWND, 7> edit_boxes_{};
    std::array<HWND, 7> buttons_{};
    std::array<HWND, 2> lists_{};
    std::array<HWND, 3> labels_{};
    HWND drop_target_ = nullptr;
    HWND separator_ = nullptr;
    HWND focused_ = nullptr;
    HWND refocus_ = nullptr;
    // What each list holds, byte for byte, whatever the control makes of it.
    std::array<std::vector<Text>, 2> items_;
    std::array<int, 2> list_widths_{};
};

}  // namespace melodex::ui::win32
