#include "ui/win32/main_window.h"

#include <shellapi.h>

#include "core/platform/wide_path_win32.h"
#include "core/system.h"

namespace melodex::ui::win32 {
namespace {

constexpr char window_class[] = "MelodexMainWindow";
constexpr DWORD window_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD window_ex_style = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

// A control's place in pixels at 96 DPI, relative to the client area.
struct Place {
    int left, top, width, height;
};

// The top row as laid out for the analysis, centred; the search panel below it in view.
constexpr std::array<Place, 3> label_places{{
    {8, 104, 72, 24},    // 标签1
    {8, 132, 72, 24},    // 标签2
    {192, 16, 128, 24},  // 标签3
}};
constexpr std::array<Place, 7> edit_box_places{{
    {8, 168, 120, 24},
    {136, 168, 120, 24},
    {264, 168, 120, 24},
    {392, 168, 120, 24},
    {80, 104, 432, 24},  // 编辑框5
    {80, 132, 432, 24},  // 编辑框6
    {328, 16, 104, 24},  // 编辑框7
}};
constexpr std::array<Place, 7> button_places{{
    {8, 196, 120, 32},
    {136, 196, 120, 32},
    {264, 196, 120, 32},
    {392, 196, 120, 32},
    {520, 276, 96, 32},  // 按钮5
    {520, 236, 96, 32},  // 按钮6
    {208, 48, 208, 32},  // 按钮7
}};
constexpr std::array<Place, 2> list_places{{
    {8, 236, 376, 240},
    {392, 236, 120, 240},
}};
constexpr Place drop_target_place{520, 104, 96, 52};
constexpr Place separator_place{8, 92, 608, 2};

HWND create_control(HWND parent, const char* kind, DWORD style, DWORD ex_style, int id,
                    const Text& text = {}) {
    return ::CreateWindowExA(ex_style, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                             0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

void place(HWND control, const Place& place, UINT dpi) {
    ::MoveWindow(control, ::MulDiv(place.left, dpi, 96), ::MulDiv(place.top, dpi, 96),
                 ::MulDiv(place.width, dpi, 96), ::MulDiv(place.height, dpi, 96), FALSE);
}

// The system's font for message and dialog text, at the given DPI.
HFONT system_gui_font(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        return nullptr;
    }
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

Text window_text(HWND control) {
    Text text(static_cast<std::size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void register_window_class(WNDPROC procedure) {
    WNDCLASSEXA window{};
    window.cbSize = sizeof window;
    if (::GetClassInfoExA(::GetModuleHandleA(nullptr), window_class, &window)) return;
    window.lpfnWndProc = procedure;
    window.hInstance = ::GetModuleHandleA(nullptr);
    window.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    // The program's own icon, for the caption and the task bar; none in a program without one.
    window.hIcon =
        static_cast<HICON>(::LoadImageA(window.hInstance, MAKEINTRESOURCEA(MELODEX_PROGRAM_ICON),
                                        IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    window.hIconSm = static_cast<HICON>(
        ::LoadImageA(window.hInstance, MAKEINTRESOURCEA(MELODEX_PROGRAM_ICON), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window.lpszClassName = window_class;
    ::RegisterClassExA(&window);
}

}  // namespace

MainWindow::MainWindow(DesktopServices& services) : handlers_(*this, services) {
    register_window_class(&window_procedure);
    const Text title = system_text(window_title);
    window_ =
        ::CreateWindowExA(window_ex_style, window_class, title.c_str(), window_style, CW_USEDEFAULT,
                          CW_USEDEFAULT, 0, 0, nullptr, nullptr, ::GetModuleHandleA(nullptr), this);
    create_controls();
    arrange(::GetDpiForWindow(window_));
    ::DragAcceptFiles(window_, TRUE);
}

MainWindow::~MainWindow() {
    if (::IsWindow(window_)) {
        // Taken apart by its owner, not closed by the user: no quit request follows.
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
    if (font_ != nullptr) ::DeleteObject(font_);
}

void MainWindow::create_controls() {
    constexpr DWORD edit_style = WS_TABSTOP | ES_AUTOHSCROLL;
    constexpr DWORD button_style = WS_TABSTOP | BS_PUSHBUTTON;
    for (std::size_t k = 0; k < labels_.size(); ++k) {
        labels_[k] = create_control(window_, "STATIC", SS_LEFT | SS_CENTERIMAGE, 0, -1,
                                    system_text(label_texts[k]));
    }
    // Buttons first: setting an edit box's text asks for its button's caption.
    for (std::size_t k = 0; k < buttons_.size(); ++k) {
        buttons_[k] =
            create_control(window_, "BUTTON", button_style, 0, button_id + static_cast<int>(k) + 1,
                           system_text(initial_caption(static_cast<Button>(k))));
    }
    for (std::size_t k = 0; k < edit_boxes_.size(); ++k) {
        edit_boxes_[k] = create_control(window_, "EDIT", edit_style, WS_EX_CLIENTEDGE,
                                        edit_box_id + static_cast<int>(k) + 1,
                                        system_text(initial_text(static_cast<EditBox>(k))));
    }
    set_text(EditBox::编辑框6, "E:\\Music\\");
    for (std::size_t k = 0; k < lists_.size(); ++k) {
        lists_[k] =
            create_control(window_, "LISTBOX",
                           WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                           WS_EX_CLIENTEDGE, list_id + static_cast<int>(k) + 1);
    }
    drop_target_ = create_control(window_, "STATIC", SS_CENTER | SS_CENTERIMAGE, WS_EX_CLIENTEDGE,
                                  -1, system_text("拖放音乐文件"));
    separator_ = create_control(window_, "STATIC", SS_ETCHEDHORZ, 0, -1);

    // The dialog manager's Tab follows the order of the controls among their siblings.
    HWND previous = HWND_TOP;
    for (const TabStop& stop : tab_order) {
        HWND control = handle_of(stop);
        ::SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control;
    }
    focused_ = handle_of(tab_order[0]);
}

HWND MainWindow::handle_of(const TabStop& stop) const {
    if (const auto* box = std::get_if<EditBox>(&stop)) return edit_boxes_[index_of(*box)];
    if (const auto* button = std::get_if<Button>(&stop)) return buttons_[index_of(*button)];
    return lists_[index_of(std::get<ListBox>(stop))];
}

void MainWindow::arrange(UINT dpi) {
    HFONT font = system_gui_font(dpi);
    for (std::size_t k = 0; k < labels_.size(); ++k) place(labels_[k], label_places[k], dpi);
    for (std::size_t k = 0; k < edit_boxes_.size(); ++k) {
        place(edit_boxes_[k], edit_box_places[k], dpi);
    }
    for (std::size_t k = 0; k < buttons_.size(); ++k) place(buttons_[k], button_places[k], dpi);
    for (std::size_t k = 0; k < lists_.size(); ++k) place(lists_[k], list_places[k], dpi);
    place(drop_target_, drop_target_place, dpi);
    place(separator_, separator_place, dpi);
    ::EnumChildWindows(
        window_,
        [](HWND child, LPARAM font) {
            ::SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
    if (font_ != nullptr) ::DeleteObject(font_);
    font_ = font;

    RECT frame{0, 0, ::MulDiv(client_width, dpi, 96), ::MulDiv(client_height, dpi, 96)};
    ::AdjustWindowRectExForDpi(&frame, window_style, FALSE, window_ex_style, dpi);
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::show_centred() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame{};
    ::GetWindowRect(window_, &frame);
    const RECT& area = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(window_, HWND_TOPMOST, area.left + (area.right - area.left - width) / 2,
                   area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE);
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
}

LRESULT CALLBACK MainWindow::window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<const CREATESTRUCTA*>(l);
        auto* self = static_cast<MainWindow*>(created->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcA(window, message, w, l);
    return self->handle_message(message, w, l);
}

LRESULT MainWindow::handle_message(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(w), HIWORD(w));
            return 0;
        case WM_DROPFILES:
            files_dropped(reinterpret_cast<HDROP>(w));
            return 0;
        case WM_DPICHANGED: {
            arrange(HIWORD(w));
            const RECT* suggested = reinterpret_cast<const RECT*>(l);
            ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_ACTIVATE:
            // The control that had the focus gets it back when the window is active again.
            if (LOWORD(w) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus != nullptr && ::IsChild(window_, focus)) focused_ = focus;
            }
            return ::DefWindowProcA(window_, message, w, l);
        case WM_SETFOCUS:
            ::SetFocus(focused_);
            return 0;
        case WM_CLOSE:
            // A walk in progress ends at its next folder and its handler returns.
            handlers_.window_closing();
            ::DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(window_, message, w, l);
    }
}

void MainWindow::command(int control, int notification) {
    if (control > edit_box_id && control <= edit_box_id + 4 && notification == EN_CHANGE) {
        handlers_.edit_text_changed(static_cast<EditBox>(control - edit_box_id - 1));
    } else if (control > button_id && control <= button_id + 7 && notification == BN_CLICKED) {
        const auto button = static_cast<Button>(control - button_id - 1);
        if (button == Button::按钮7) {
            handlers_.analysis_clicked();
        } else if (button == Button::按钮6) {
            handlers_.show_in_folder_clicked();
        } else if (button == Button::按钮5) {
            handlers_.delete_clicked();
        } else {
            handlers_.fragment_clicked(button);
        }
    } else if (control == list_id + 1 && notification == LBN_DBLCLK) {
        handlers_.result_activated();
    }
}

void MainWindow::files_dropped(HDROP drop) {
    TextArray files;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT k = 0; k < count; ++k) {
        // Read wide, at any length, and spelled as the listing spells names.
        std::wstring file(::DragQueryFileW(drop, k, nullptr, 0) + 1, L'\0');
        file.resize(::DragQueryFileW(drop, k, file.data(), static_cast<UINT>(file.size())));
        files.push_back(melodex::win32::ansi_text(file));
    }
    ::DragFinish(drop);
    handlers_.files_dropped(files);
}

Text MainWindow::text(EditBox box) const {
    return window_text(edit_boxes_[index_of(box)]);
}

void MainWindow::set_text(EditBox box, const Text& text) {
    // The edit box reports the change (EN_CHANGE) as it does for typing.
    ::SetWindowTextA(edit_boxes_[index_of(box)], text.c_str());
}

Text MainWindow::caption(Button button) const {
    return window_text(buttons_[index_of(button)]);
}

void MainWindow::set_caption(Button button, const Text& caption) {
    HWND control = buttons_[index_of(button)];
    ::SetWindowTextA(control, caption.c_str());
    // Shown at once: during an analysis the stages change between event runs.
    ::UpdateWindow(control);
}

void MainWindow::set_enabled(Button button, bool enabled) {
    HWND control = buttons_[index_of(button)];
    // A button that is disabled with the keyboard focus takes it away; it gets it back when it is
    // enabled again, unless the focus has gone elsewhere meanwhile.
    if (!enabled && ::GetFocus() == control) refocus_ = control;
    ::EnableWindow(control, enabled ? TRUE : FALSE);
    if (enabled && refocus_ == control) {
        refocus_ = nullptr;
        if (::GetFocus() == nullptr && ::GetActiveWindow() == window_) ::SetFocus(control);
    }
}

void MainWindow::clear(ListBox list) {
    ::SendMessageA(lists_[index_of(list)], LB_RESETCONTENT, 0, 0);
    items_[index_of(list)].clear();
    list_widths_[index_of(list)] = 0;
    ::SendMessageA(lists_[index_of(list)], LB_SETHORIZONTALEXTENT, 0, 0);
}

void MainWindow::append_item(ListBox list, const Text& item) {
    ::SendMessageA(lists_[index_of(list)], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    items_[index_of(list)].push_back(item);
    widen_for(list, item);
}

// Lets the list scroll sideways to the end of its longest row.
void MainWindow::widen_for(ListBox list, const Text& item) {
    HWND control = lists_[index_of(list)];
    HDC context = ::GetDC(control);
    const HGDIOBJ previous = ::SelectObject(context, font_);
    SIZE size{};
    ::GetTextExtentPoint32A(context, item.c_str(), static_cast<int>(item.size()), &size);
    ::SelectObject(context, previous);
    ::ReleaseDC(control, context);
    const int width = size.cx + ::MulDiv(8, ::GetDpiForWindow(control), 96);
    if (width <= list_widths_[index_of(list)]) return;
    list_widths_[index_of(list)] = width;
    ::SendMessageA(control, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

int MainWindow::current_selection(ListBox list) const {
    const LRESULT selected = ::SendMessageA(lists_[index_of(list)], LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

Text MainWindow::item_text(ListBox list, int index) const {
    const std::vector<Text>& items = items_[index_of(list)];
    return index < 0 || static_cast<std::size_t>(index) >= items.size() ? Text() : items[index];
}

void MainWindow::set_always_on_top(bool on) {
    ::SetWindowPos(window_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace melodex::ui::win32
