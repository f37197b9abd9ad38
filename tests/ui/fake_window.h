// A recording main window and desktop services for the handler tests. Setting the text of an
// edit box raises its text-changed event, as in the real windows.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/desktop_services.h"
#include "ui/main_window_facts.h"
#include "ui/main_window_handlers.h"
#include "ui/main_window_view.h"

namespace melodex::ui::testing {

class FakeView : public MainWindowView {
  public:
    explicit FakeView(std::vector<std::string>& log) : log(log) {}

    Text text(EditBox box) const override { return texts[index_of(box)]; }
    void set_text(EditBox box, const Text& text) override {
        texts[index_of(box)] = text;
        log.push_back("text " + std::to_string(index_of(box) + 1) + " " + text);
        if (handlers != nullptr) handlers->edit_text_changed(box);
    }
    Text caption(Button button) const override { return captions[index_of(button)]; }
    void set_caption(Button button, const Text& caption) override {
        captions[index_of(button)] = caption;
        log.push_back("caption " + std::to_string(index_of(button) + 1) + " " + caption);
    }
    void set_enabled(Button button, bool enabled) override {
        this->enabled[index_of(button)] = enabled;
        log.push_back((enabled ? "enable " : "disable ") + std::to_string(index_of(button) + 1));
    }
    void clear(ListBox list) override {
        items[index_of(list)].clear();
        selection[index_of(list)] = -1;
        log.push_back("clear " + std::to_string(index_of(list) + 1));
    }
    void append_item(ListBox list, const Text& item) override {
        items[index_of(list)].push_back(item);
    }
    int current_selection(ListBox list) const override { return selection[index_of(list)]; }
    Text item_text(ListBox list, int at) const override {
        const auto& rows = items[index_of(list)];
        return at < 0 || at >= static_cast<int>(rows.size()) ? Text() : rows[at];
    }
    void set_always_on_top(bool on) override { log.push_back(on ? "topmost on" : "topmost off"); }

    MainWindowHandlers* handlers = nullptr;
    std::array<Text, 7> texts = opening<EditBox, 7>(initial_text);
    std::array<Text, 7> captions = opening<Button, 7>(initial_caption);
    std::array<bool, 7> enabled{true, true, true, true, true, true, true};
    std::array<std::vector<Text>, 2> items;
    std::array<int, 2> selection{-1, -1};
    std::vector<std::string>& log;

  private:
    // What the controls of a kind open with, byte for byte as the window's facts give them.
    template <typename Control, std::size_t count>
    static std::array<Text, count> opening(std::string_view (*shown)(Control)) {
        std::array<Text, count> texts;
        for (std::size_t k = 0; k < count; ++k) texts[k] = Text(shown(static_cast<Control>(k)));
        return texts;
    }
};

class FakeServices : public DesktopServices {
  public:
    explicit FakeServices(std::vector<std::string>& log) : log(log) {}

    std::optional<Text> input_box(const Text& prompt, const Text& title) override {
        log.push_back("input " + prompt + " " + title);
        if (answers.empty()) return std::nullopt;
        std::optional<Text> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void message_box(const Text& text) override { log.push_back("message " + text); }
    void open_document(const Location& file) override { log.push_back("open " + shown(file)); }
    void show_in_file_manager(const Location& file) override {
        log.push_back("show " + shown(file));
    }
    bool delete_file(const Location& file) override {
        log.push_back("delete " + shown(file));
        return delete_succeeds;
    }
    Text program_directory() override { return directory; }
    bool let_pending_events_run() override {
        if (on_pending_events) on_pending_events();
        return !quit_requested;
    }

    // The path's text, then its exact path where it has one.
    static Text shown(const Location& file) {
        return file.exact.empty() ? file.path : file.path + " @ " + file.exact;
    }

    std::deque<std::optional<Text>> answers;
    Text directory;
    bool delete_succeeds = true;
    bool quit_requested = false;
    std::function<void()> on_pending_events;
    std::vector<std::string>& log;
};

// A window of fakes with its handlers connected; everything it is asked goes into one log.
struct FakeWindow {
    FakeWindow() { view.handlers = &handlers; }

    std::vector<std::string> log;
    FakeView view{log};
    FakeServices services{log};
    MainWindowHandlers handlers{view, services};
};

// The entries of the log that begin with `prefix`, without it.
inline std::vector<std::string> entries_starting_with(const std::vector<std::string>& log,
                                                      const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& entry : log) {
        if (entry.starts_with(prefix)) found.push_back(entry.substr(prefix.size()));
    }
    return found;
}

}  // namespace melodex::ui::testing
