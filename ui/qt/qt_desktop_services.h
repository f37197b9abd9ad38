// The desktop services on a Linux desktop with Qt: dialogs, the desktop's default applications,
// the file manager over D-Bus, and the event loop the walks keep running.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "ui/desktop_services.h"

namespace melodex::ui::qt {

class QtDesktopServices : public QObject, public DesktopServices {
    Q_OBJECT

  public:
    QtDesktopServices();

    // The window the input boxes stand over; once it is closed, walks end.
    void set_main_window(QWidget* window);

    std::optional<Text> input_box(const Text& prompt, const Text& title) override;
    void message_box(const Text& text) override;
    void open_document(const Location& file) override;
    void show_in_file_manager(const Location& file) override;
    bool delete_file(const Location& file) override;
    Text program_directory() override;
    bool let_pending_events_run() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool main_window_closed() const;

    QPointer<QWidget> main_window_;
    bool has_main_window_ = false;
    bool quit_requested_ = false;
};

}  // namespace melodex::ui::qt
