// The box that asks for a folder: the prompt above one empty field with a "浏览…" button that
// fills it from the shell's folder picker, then "确认输入(&O)" and "取消(&C)".
#pragma once

#include <windows.h>

#include <optional>

#include "core/text.h"

namespace melodex::ui::win32 {

// Modal to `owner`; the typed text when confirmed, nullopt when cancelled or closed.
std::optional<Text> show_input_box(HWND owner, const Text& prompt, const Text& title);

}  // namespace melodex::ui::win32
