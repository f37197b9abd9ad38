// The main window as its handlers see it: the controls by name and the few operations on them.
// The Qt and the Win32 windows implement it; tests use a recording fake.
#pragma once

#include <concepts>
#include <cstddef>

#include "core/text.h"

namespace melodex::ui {

enum class EditBox { 编辑框1, 编辑框2, 编辑框3, 编辑框4, 编辑框5, 编辑框6, 编辑框7 };
enum class Button { 按钮1, 按钮2, 按钮3, 按钮4, 按钮5, 按钮6, 按钮7 };
enum class ListBox { 列表框1, 列表框2 };

// A control's place among those of its kind: 编辑框1, 按钮1 and 列表框1 are 0.
template <typename Control>
requires std::same_as<Control, EditBox> || std::same_as<Control, Button> ||
    std::same_as<Control, ListBox>
constexpr std::size_t index_of(Control control) {
    return static_cast<std::size_t>(control);
}

// The four fragment pairs, in order: 编辑框k is mirrored into 按钮k.
inline constexpr EditBox fragment_edit_boxes[] = {EditBox::编辑框1, EditBox::编辑框2,
                                                  EditBox::编辑框3, EditBox::编辑框4};
inline constexpr Button fragment_buttons[] = {Button::按钮1, Button::按钮2, Button::按钮3,
                                              Button::按钮4};

class MainWindowView {
  public:
    virtual ~MainWindowView() = default;

    virtual Text text(EditBox box) const = 0;
    // Raises the edit box's text-changed event, as typing does.
    virtual void set_text(EditBox box, const Text& text) = 0;
    virtual Text caption(Button button) const = 0;
    virtual void set_caption(Button button, const Text& caption) = 0;
    virtual void set_enabled(Button button, bool enabled) = 0;
    // Removes every item; no item is selected afterwards.
    virtual void clear(ListBox list) = 0;
    virtual void append_item(ListBox list, const Text& item) = 0;
    // The index of the selected item, -1 when none is selected.
    virtual int current_selection(ListBox list) const = 0;
    // The item's text; empty when the index is -1 or past the last item.
    virtual Text item_text(ListBox list, int index) const = 0;
    virtual void set_always_on_top(bool on) = 0;
};

}  // namespace melodex::ui
