#include "ui/qt/qt_desktop_services.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QEvent>
#include <QMessageBox>
#include <QUrl>

#include "core/system.h"
#include "ui/qt/input_box.h"
#include "ui/qt/text_conversion.h"

namespace melodex::ui::qt {
namespace {

// A path as the desktop's applications want it: absolute, since relative paths are read against
// the program directory. Its bytes stay as they are, so the file opened or shown is the one a
// delete removes.
Text absolute_path(const Text& path) {
    if (path.starts_with('/')) return path;
    std::error_code unknown;
    return std::filesystem::current_path(unknown).native() + '/' + path;
}

Text folder_of(const Text& absolute_file) {
    const std::size_t slash = absolute_file.rfind('/');
    return slash == 0 ? Text("/") : absolute_file.substr(0, slash);
}

}  // namespace

QtDesktopServices::QtDesktopServices() {
    QCoreApplication::instance()->installEventFilter(this);
}

void QtDesktopServices::set_main_window(QWidget* window) {
    main_window_ = window;
    has_main_window_ = window != nullptr;
}

std::optional<Text> QtDesktopServices::input_box(const Text& prompt, const Text& title) {
    InputBox box(to_qstring(prompt), to_qstring(title), main_window_);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return to_text(box.text());
}

void QtDesktopServices::message_box(const Text& text) {
    // No owner window: the caller takes its window off the top while the box shows.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), to_qstring(text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

// A name is its own bytes here: the path's text leads to the file.
void QtDesktopServices::open_document(const Location& file) {
    if (!file.path.empty()) QDesktopServices::openUrl(path_to_url(absolute_path(file.path)));
}

void QtDesktopServices::show_in_file_manager(const Location& shown) {
    if (shown.path.empty()) return;
    const Text file = absolute_path(shown.path);
    const QUrl folder = path_to_url(folder_of(file));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{path_to_url(file).toString(QUrl::FullyEncoded)} << QString();
    // Not waited for: a file manager that is started for the call may take a while.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [folder](QDBusPendingCallWatcher* done) {
                if (done->isError()) QDesktopServices::openUrl(folder);
                done->deleteLater();
            });
}

bool QtDesktopServices::delete_file(const Location& file) {
    return ::unlink(file.path.c_str()) == 0;
}

Text QtDesktopServices::program_directory() {
    return melodex::program_directory();
}

bool QtDesktopServices::let_pending_events_run() {
    QCoreApplication::processEvents();
    return !quit_requested_ && !main_window_closed();
}

bool QtDesktopServices::main_window_closed() const {
    return has_main_window_ && (main_window_ == nullptr || !main_window_->isVisible());
}

bool QtDesktopServices::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        quit_requested_ = true;
    }
    return false;
}

}  // namespace melodex::ui::qt
