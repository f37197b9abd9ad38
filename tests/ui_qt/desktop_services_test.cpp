// The Qt desktop services: the dialogs as the user meets them, the calls to the desktop's
// applications (caught by URL handlers and a stand-in file manager on a private session bus),
// the delete and the event loop the walks keep running.
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <optional>

// moc cannot read the control names of the view interface, and needs nothing from it.
#ifndef Q_MOC_RUN
#include "ui/qt/qt_desktop_services.h"
#endif

using melodex::Text;
using melodex::ui::qt::QtDesktopServices;

// Records the URLs the desktop is asked to open.
class OpenedUrls : public QObject {
    Q_OBJECT

  public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> urls;

  public slots:
    void open(const QUrl& url) { urls << url; }
};

// Stands in for the desktop's file manager on the session bus.
class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

  public:
    QStringList shown;

  public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown << uris; }
};

namespace {

// Runs `act` on the modal dialog once it shows. A failed check ends `act` early; the dialog is
// then closed, so that the test ends instead of waiting.
void on_modal_dialog(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        act(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

QPushButton* button_with_text(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) return button;
    }
    return nullptr;
}

}  // namespace

class DesktopServicesTest : public QObject {
    Q_OBJECT

  private slots:
    void input_box_shows_the_prompt_an_empty_field_and_three_buttons();
    void input_box_gives_the_text_only_when_confirmed_data();
    void input_box_gives_the_text_only_when_confirmed();
    void input_box_browse_button_fills_the_field_with_a_folder();
    void message_box_has_one_button_no_icon_and_blocks_the_program();
    void open_document_opens_the_file_by_its_absolute_path();
    void show_in_file_manager_asks_the_file_manager_over_the_bus();
    void show_in_file_manager_opens_the_folder_without_a_file_manager();
    void delete_file_removes_files_only();
    void let_pending_events_run_runs_them_until_the_window_closes();
    // Last: a quit request ends every later event loop of the test program.
    void let_pending_events_run_stops_at_a_quit_request();
};

void DesktopServicesTest::input_box_shows_the_prompt_an_empty_field_and_three_buttons() {
    QtDesktopServices services;
    on_modal_dialog([](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("输入"));
        QVERIFY(dialog->findChild<QLabel*>()->text() == QStringLiteral("需要分析的文件目录"));
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("field"));
        QCOMPARE(field->text(), QString());
        QCOMPARE(dialog->focusWidget(), field);
        for (const QString& text : {QStringLiteral("确认输入(&O)"), QStringLiteral("取消(&C)"),
                                    QStringLiteral("浏览…")}) {
            QVERIFY2(button_with_text(dialog, text) != nullptr, qPrintable(text));
        }
        QCOMPARE(dialog->findChildren<QPushButton*>().size(), 3);
        static_cast<QDialog*>(dialog)->reject();
    });
    QCOMPARE(services.input_box("需要分析的文件目录", "输入"), std::nullopt);
}

void DesktopServicesTest::input_box_gives_the_text_only_when_confirmed_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("confirm button")
        << QStringLiteral("/音乐/库 1") << QStringLiteral("确认输入(&O)") << true;
    QTest::newRow("confirm empty") << QString() << QStringLiteral("确认输入(&O)") << true;
    QTest::newRow("return key") << QStringLiteral("music") << QStringLiteral("return") << true;
    QTest::newRow("cancel button")
        << QStringLiteral("music") << QStringLiteral("取消(&C)") << false;
    QTest::newRow("escape key") << QStringLiteral("music") << QStringLiteral("escape") << false;
    QTest::newRow("closed") << QStringLiteral("music") << QStringLiteral("close") << false;
}

void DesktopServicesTest::input_box_gives_the_text_only_when_confirmed() {
    QFETCH(QString, typed);
    QFETCH(QString, ending);
    QFETCH(bool, confirmed);
    QtDesktopServices services;
    on_modal_dialog([&](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("field"));
        for (const QChar ch : typed) {
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        if (ending == QStringLiteral("return")) {
            QTest::keyClick(field, Qt::Key_Return);
        } else if (ending == QStringLiteral("escape")) {
            QTest::keyClick(field, Qt::Key_Escape);
        } else if (ending == QStringLiteral("close")) {
            dialog->close();
        } else {
            QTest::mouseClick(button_with_text(dialog, ending), Qt::LeftButton);
        }
    });
    const std::optional<Text> answer = services.input_box("被分析的文件目录", "输入");
    QCOMPARE(answer.has_value(), confirmed);
    if (confirmed) QCOMPARE(QString::fromStdString(*answer), typed);
}

void DesktopServicesTest::input_box_browse_button_fills_the_field_with_a_folder() {
    QTemporaryDir folder;
    const QString chosen = folder.filePath(QStringLiteral("周杰伦"));
    QVERIFY(QDir().mkdir(chosen));
    QtDesktopServices services;
    on_modal_dialog([&](QWidget* box) {
        on_modal_dialog([&](QWidget* chooser) {
            auto* dialog = qobject_cast<QFileDialog*>(chooser);
            QVERIFY(dialog != nullptr);
            dialog->setDirectory(folder.path());
            dialog->selectFile(chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::mouseClick(button_with_text(box, QStringLiteral("浏览…")), Qt::LeftButton);
        QCOMPARE(box->findChild<QLineEdit*>(QStringLiteral("field"))->text(), chosen);
        QTest::mouseClick(button_with_text(box, QStringLiteral("确认输入(&O)")), Qt::LeftButton);
    });
    QCOMPARE(services.input_box("需要分析的文件目录", "输入"),
             std::optional<Text>(chosen.toStdString()));
}

void DesktopServicesTest::message_box_has_one_button_no_icon_and_blocks_the_program() {
    QtDesktopServices services;
    bool shown = false;
    on_modal_dialog([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box != nullptr);
        QCOMPARE(box->windowTitle(), QStringLiteral("信息："));
        QCOMPARE(box->text(), QStringLiteral("删除文件失败！"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->buttons().front()), QMessageBox::Ok);
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
        QCOMPARE(box->parentWidget(), nullptr);
        shown = true;
        QTest::keyClick(box, Qt::Key_Return);
    });
    services.message_box("删除文件失败！");
    QVERIFY(shown);
}

void DesktopServicesTest::open_document_opens_the_file_by_its_absolute_path() {
    OpenedUrls opened;
    QtDesktopServices services;
    services.open_document("/music/周杰伦 - 晴天 #1.mp3");
    services.open_document("library/a b.mp3");
    services.open_document("");
    QCOMPARE(opened.urls,
             (QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/music/周杰伦 - 晴天 #1.mp3")),
                          QUrl::fromLocalFile(QDir::current().filePath("library/a b.mp3"))}));

    // GBK bytes on a UTF-8 system: the URL carries the bytes, not a decoded guess at them.
    opened.urls.clear();
    services.open_document("/music/\xD6\xDC\xBD\xDC\xC2\xD7 - \xC7\xE7\xCC\xEC #1.mp3");
    QCOMPARE(opened.urls.size(), 1);
    QCOMPARE(opened.urls.front().toEncoded(),
             QByteArray("file:///music/%D6%DC%BD%DC%C2%D7%20-%20%C7%E7%CC%EC%20%231.mp3"));
}

void DesktopServicesTest::show_in_file_manager_asks_the_file_manager_over_the_bus() {
    if (!QDBusConnection::sessionBus().isConnected()) QSKIP("no session bus");
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("file-manager"));
    FileManager file_manager;
    QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &file_manager,
                               QDBusConnection::ExportAllSlots));
    QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    OpenedUrls opened;
    QtDesktopServices services;

    services.show_in_file_manager("/music/周杰伦 - 晴天 #1.mp3");
    services.show_in_file_manager("/music/\xC7\xE7\xCC\xEC.mp3");
    QTRY_COMPARE(file_manager.shown,
                 (QStringList{QUrl::fromLocalFile(QStringLiteral("/music/周杰伦 - 晴天 #1.mp3"))
                                  .toString(QUrl::FullyEncoded),
                              QStringLiteral("file:///music/%C7%E7%CC%EC.mp3")}));
    QCOMPARE(opened.urls, QList<QUrl>());

    bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("file-manager"));
}

void DesktopServicesTest::show_in_file_manager_opens_the_folder_without_a_file_manager() {
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (bus != nullptr &&
        (bus->isServiceRegistered(QStringLiteral("org.freedesktop.FileManager1")) ||
         bus->activatableServiceNames().value().contains(
             QStringLiteral("org.freedesktop.FileManager1")))) {
        QSKIP("a file manager is on the session bus");
    }
    OpenedUrls opened;
    QtDesktopServices services;
    services.show_in_file_manager("/music/周杰伦/晴天.mp3");
    QTRY_COMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/music/周杰伦"))});
    services.show_in_file_manager("/music/\xD6\xDC/\xC7\xE7.mp3");
    QTRY_COMPARE(opened.urls.size(), 2);
    QCOMPARE(opened.urls.back().toEncoded(), QByteArray("file:///music/%D6%DC"));
}

void DesktopServicesTest::delete_file_removes_files_only() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("晴天.mp3"));
    QFile(file).open(QIODevice::WriteOnly);
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    QtDesktopServices services;

    QVERIFY(services.delete_file(QFile::encodeName(file).toStdString()));
    QVERIFY(!QFile::exists(file));
    QVERIFY(!services.delete_file(QFile::encodeName(file).toStdString()));
    QVERIFY(!services.delete_file(folder.filePath(QStringLiteral("sub")).toStdString()));
    QVERIFY(QDir(folder.filePath(QStringLiteral("sub"))).exists());
    QVERIFY(!services.delete_file(""));
}

void DesktopServicesTest::let_pending_events_run_runs_them_until_the_window_closes() {
    QtDesktopServices services;
    QWidget window;
    window.show();
    services.set_main_window(&window);
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QVERIFY(services.let_pending_events_run());
    QVERIFY(ran);

    QTimer::singleShot(0, &window, &QWidget::close);
    QVERIFY(!services.let_pending_events_run());
}

void DesktopServicesTest::let_pending_events_run_stops_at_a_quit_request() {
    QtDesktopServices services;
    QVERIFY(services.let_pending_events_run());
    QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
    QVERIFY(!services.let_pending_events_run());
    QVERIFY(!services.let_pending_events_run());
}

QTEST_MAIN(DesktopServicesTest)
#include "desktop_services_test.moc"
