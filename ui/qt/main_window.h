// The main window on Qt: the top row of the one-key analysis and, below it, the manual-search
// panel. The window accepts file drops anywhere; its controls carry their names as object names.
#pragma once

#include <array>

#include <QWidget>

// moc cannot read the control names of the view interface, and needs nothing from it.
#ifndef Q_MOC_RUN
#include "ui/desktop_services.h"
#include "ui/main_window_facts.h"
#include "ui/main_window_handlers.h"
#include "ui/main_window_view.h"
#endif

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace melodex::ui::qt {

class MainWindow : public QWidget, public MainWindowView {
    Q_OBJECT

  public:
    explicit MainWindow(DesktopServices& services);

    // Places the window in the middle of its screen.
    void centre_on_screen();

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

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void create_controls();
    void arrange_controls();
    void connect_events();
    QWidget* widget(const TabStop& stop) const;

    MainWindowHandlers handlers_;
    std::array<QLineEdit*, 7> edit_boxes_{};
    std::array<QPushButton*, 7> buttons_{};
    std::array<QListWidget*, 2> lists_{};
    std::array<QLabel*, 3> labels_{};
    QLabel* drop_target_ = nullptr;
};

}  // namespace melodex::ui::qt
