#include "ui/win32/input_box.h"

#include <shobjidl.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/platform/wide_path_win32.h"

namespace melodex::ui::win32 {
namespace {

enum Control : WORD { prompt_id = 100, field_id = 101, browse_id = 102 };

// Window classes of dialog items, by the atoms dialog templates name them with.
constexpr WORD button_class = 0x0080;
constexpr WORD edit_class = 0x0081;
constexpr WORD static_class = 0x0082;

using melodex::win32::wide_text;

// A dialog template built in memory, in dialog units. Its texts are UTF-16, so the box's own
// captions keep every character whatever the code page; the prompt and the title (texts of the
// system's code page) are set once the box exists.
class DialogTemplate {
  public:
    DialogTemplate(DWORD style, short width, short height, std::wstring_view font_face,
                   WORD font_points) {
        const DLGTEMPLATE dialog{style | DS_SETFONT, 0, 0, 0, 0, width, height};
        append(&dialog, sizeof dialog);
        words_.insert(words_.end(), {0, 0});  // no menu, the standard dialog class
        add_text(L"");
        words_.push_back(font_points);
        add_text(font_face);
    }

    void add(WORD window_class, WORD id, DWORD style, short x, short y, short width, short height,
             std::wstring_view text) {
        if (words_.size() % 2 != 0) words_.push_back(0);  // items start on a DWORD boundary
        const DLGITEMTEMPLATE item{WS_CHILD | WS_VISIBLE | style, 0, x, y, width, height, id};
        append(&item, sizeof item);
        words_.insert(words_.end(), {0xFFFF, window_class});
        add_text(text);
        words_.push_back(0);  // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(words_.data())->cdit;
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void append(const void* data, std::size_t bytes) {
        const auto* first = static_cast<const WORD*>(data);
        words_.insert(words_.end(), first, first + bytes / sizeof(WORD));
    }
    void add_text(std::wstring_view text) {
        words_.insert(words_.end(), text.begin(), text.end());
        words_.push_back(0);
    }

    std::vector<WORD> words_;
};

struct BoxState {
    const Text& prompt;
    const Text& title;
    Text answer;
};

Text field_text(HWND box) {
    HWND field = ::GetDlgItem(box, field_id);
    Text text(static_cast<std::size_t>(::GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The shell's folder picker, opened at the folder the field names when there is one.
void choose_folder(HWND box) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IFileOpenDialog* picker = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_PPV_ARGS(&picker)))) {
        FILEOPENDIALOGOPTIONS options = 0;
        picker->GetOptions(&options);
        picker->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
        const Text typed = field_text(box);
        IShellItem* start = nullptr;
        if (!typed.empty() &&
            SUCCEEDED(::SHCreateItemFromParsingName(wide_text(typed, CP_ACP).c_str(), nullptr,
                                                    IID_PPV_ARGS(&start)))) {
            picker->SetFolder(start);
            start->Release();
        }
        IShellItem* chosen = nullptr;
        if (SUCCEEDED(picker->Show(box)) && SUCCEEDED(picker->GetResult(&chosen))) {
            wchar_t* path = nullptr;
            if (SUCCEEDED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                ::SetDlgItemTextA(box, field_id, melodex::win32::text_leading_to(path).c_str());
                ::CoTaskMemFree(path);
            }
            chosen->Release();
        }
        picker->Release();
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
}

INT_PTR CALLBACK box_procedure(HWND box, UINT message, WPARAM w, LPARAM l) {
    auto* state = reinterpret_cast<BoxState*>(::GetWindowLongPtrA(box, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            state = reinterpret_cast<BoxState*>(l);
            ::SetWindowLongPtrA(box, DWLP_USER, l);
            ::SetWindowTextA(box, state->title.c_str());
            ::SetDlgItemTextA(box, prompt_id, state->prompt.c_str());
            return TRUE;  // the field, first in the tab order, takes the focus
        case WM_COMMAND:
            switch (LOWORD(w)) {
                case IDOK:
                    state->answer = field_text(box);
                    ::EndDialog(box, IDOK);
                    return TRUE;
                case IDCANCEL:
                    ::EndDialog(box, IDCANCEL);
                    return TRUE;
                case browse_id:
                    choose_folder(box);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

// The face and size of the system's message font, which the box is written in.
std::pair<std::wstring, WORD> message_font() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, 96);
    const LONG height = metrics.lfMessageFont.lfHeight;
    const WORD points = static_cast<WORD>(::MulDiv(height < 0 ? -height : height, 72, 96));
    return {metrics.lfMessageFont.lfFaceName, points > 0 ? points : WORD{9}};
}

}  // namespace

std::optional<Text> show_input_box(HWND owner, const Text& prompt, const Text& title) {
    const auto [face, points] = message_font();
    DialogTemplate dialog(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 264, 64,
                          face, points);
    dialog.add(edit_class, field_id, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 7, 22, 200, 14, L"");
    dialog.add(button_class, browse_id, WS_TABSTOP | BS_PUSHBUTTON, 211, 22, 46, 14,
               wide_text("浏览…", CP_UTF8));
    dialog.add(button_class, IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 121, 43, 66, 14,
               wide_text("确认输入(&O)", CP_UTF8));
    dialog.add(button_class, IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 191, 43, 66, 14,
               wide_text("取消(&C)", CP_UTF8));
    dialog.add(static_class, prompt_id, SS_LEFT | SS_NOPREFIX, 7, 7, 250, 12, L"");
    BoxState state{prompt, title, {}};
    const INT_PTR result =
        ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), dialog.get(), owner, &box_procedure,
                                  reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return std::nullopt;
    return state.answer;
}

}  // namespace melodex::ui::win32
