// What the main window shows when it opens and how the Tab key moves through it, the same on
// every platform: both windows and the handler tests' fake read them from here. Texts are
// UTF-8 as written; each window converts them for its controls.
#pragma once

#include <string_view>
#include <variant>

#include "ui/main_window_view.h"

namespace melodex::ui {

// The caption bar: the program, what it does and where it lives on the web.
inline constexpr std::string_view window_title = "Melodex-音乐去重【" MELODEX_WEB_ADDRESS "】";

// 标签1 to 标签3.
inline constexpr std::string_view label_texts[] = {"音乐名称：", "搜索目录：",
                                                   "重复文件类型后缀："};

// The text an edit box opens with. 编辑框6 opens with the search folder, which each window
// chooses for its platform.
constexpr std::string_view initial_text(EditBox box) {
    return box == EditBox::编辑框7 ? "mp3" : "";
}

// The caption a button opens with; the fragment buttons open as empty as their edit boxes.
constexpr std::string_view initial_caption(Button button) {
    switch (button) {
        case Button::按钮5:
            return "删除文件";
        case Button::按钮6:
            return "打开文件位置";
        case Button::按钮7:
            return "音乐一按键找重";
        default:
            return "";
    }
}

// A control the Tab key stops at.
using TabStop = std::variant<EditBox, Button, ListBox>;

// Tab goes through the top row, then the panel row by row; the first stop has the focus when
// the window opens.
inline constexpr TabStop tab_order[] = {
    EditBox::编辑框7, Button::按钮7,    EditBox::编辑框5, EditBox::编辑框6,
    EditBox::编辑框1, EditBox::编辑框2, EditBox::编辑框3, EditBox::编辑框4,
    Button::按钮1,    Button::按钮2,    Button::按钮3,    Button::按钮4,
    ListBox::列表框1, ListBox::列表框2, Button::按钮6,    Button::按钮5,
};

}  // namespace melodex::ui
