// melodex: the desktop window. Start-up runs in a fixed order: an interruption is set to remove an
// unfinished report, the program directory becomes the working directory (relative folder texts
// are read against it), the character rule of the system's code page is chosen, then the window
// is created (on top from then on), centred and shown, and the event loop runs until the window is
// closed, even in the middle of a walk.
#include <QApplication>
#include <QDir>
#include <QIcon>

#include <filesystem>
#include <system_error>

#include "core/file_io.h"
#include "core/system.h"
#include "core/text.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_desktop_services.h"

int main(int argc, char** argv) {
    melodex::remove_temporary_files_on_interruption();
    std::error_code ignored;
    std::filesystem::current_path(melodex::program_directory(), ignored);
    melodex::set_character_rule(melodex::system_character_rule());

    // The program reads no command-line arguments; Qt is given only the program's name.
    int qt_argc = argc > 0 ? 1 : 0;
    QApplication application(qt_argc, argv);
    // The icon in the title bar and the task bar, and the desktop entry that task bars match.
    QIcon icon;
    const QDir icon_bitmaps(":/icon");
    for (const QString& name : icon_bitmaps.entryList()) icon.addFile(icon_bitmaps.filePath(name));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(MELODEX_APP_ID);
    melodex::ui::qt::QtDesktopServices services;
    melodex::ui::qt::MainWindow window(services);
    services.set_main_window(&window);
    window.centre_on_screen();
    window.show();
    return QApplication::exec();
}
