// The Qt main window with its real widgets, driven through the events a user causes; the
// desktop services are the recording fake of the handler tests.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

// moc cannot read the control names of the view interface, and needs nothing from it.
#ifndef Q_MOC_RUN
#include "tests/ui/fake_window.h"
#include "ui/qt/main_window.h"
#endif

using melodex::Text;
using melodex::ui::EditBox;
using melodex::ui::ListBox;
using melodex::ui::qt::MainWindow;
using melodex::ui::testing::FakeServices;

namespace {

// A window over fake desktop services that record into one log.
struct Window {
    Window() { window.show(); }

    std::vector<std::string> log;
    FakeServices services{log};
    MainWindow window{services};

    template <typename Control>
    Control* find(const QString& name) {
        return window.findChild<Control*>(name);
    }
    QLineEdit* edit_box(int number) {
        return find<QLineEdit>(QStringLiteral("编辑框%1").arg(number));
    }
    QPushButton* button(int number) {
        return find<QPushButton>(QStringLiteral("按钮%1").arg(number));
    }
    QListWidget* list(int number) {
        return find<QListWidget>(QStringLiteral("列表框%1").arg(number));
    }
    QStringList rows(int number) {
        QStringList shown;
        for (int row = 0; row < list(number)->count(); ++row) {
            shown << list(number)->item(row)->text();
        }
        return shown;
    }
};

// Sends a drag over the window and, when it is taken, the drop; true when the drag was taken.
bool drop_on(QWidget& window, QMimeData& data) {
    const QPoint middle = window.rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    return true;
}

void make_file(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void shows_each_control_with_its_initial_text_data();
    void shows_each_control_with_its_initial_text();
    void keeps_every_control_in_view_and_readable();
    void is_a_fixed_window_on_top_with_only_a_close_button();
    void switches_always_on_top_and_stays_shown();
    void mirrors_typing_into_the_fragment_button();
    void takes_the_first_local_file_of_a_drop_data();
    void takes_the_first_local_file_of_a_drop();
    void takes_a_drop_as_a_copy_only_data();
    void takes_a_drop_as_a_copy_only();
    void disables_the_fragment_buttons_while_a_search_walks();
    void acts_on_the_row_selected_in_the_first_list();
    void keeps_each_size_beside_its_path();
    void shows_the_analysis_stages_on_its_button();
    void ends_the_program_when_closed_during_an_analysis();
};

void MainWindowTest::shows_each_control_with_its_initial_text_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    const QString music =
        QStandardPaths::writableLocation(QStandardPaths::MusicLocation) + QStringLiteral("/");
    const struct {
        const char* name;
        const char* kind;
        QString text;
    } controls[] = {
        {"标签3", "QLabel", "重复文件类型后缀："},
        {"编辑框7", "QLineEdit", "mp3"},
        {"按钮7", "QPushButton", "音乐一按键找重"},
        {"标签1", "QLabel", "音乐名称："},
        {"编辑框5", "QLineEdit", ""},
        {"拖放对象1", "QLabel", ""},
        {"标签2", "QLabel", "搜索目录："},
        {"编辑框6", "QLineEdit", music},
        {"编辑框1", "QLineEdit", ""},
        {"编辑框2", "QLineEdit", ""},
        {"编辑框3", "QLineEdit", ""},
        {"编辑框4", "QLineEdit", ""},
        {"按钮1", "QPushButton", ""},
        {"按钮2", "QPushButton", ""},
        {"按钮3", "QPushButton", ""},
        {"按钮4", "QPushButton", ""},
        {"列表框1", "QListWidget", ""},
        {"列表框2", "QListWidget", ""},
        {"按钮6", "QPushButton", "打开文件位置"},
        {"按钮5", "QPushButton", "删除文件"},
    };
    for (const auto& control : controls) {
        QTest::newRow(control.name) << QString::fromUtf8(control.kind) << control.text;
    }
}

void MainWindowTest::shows_each_control_with_its_initial_text() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    Window w;
    const QList<QWidget*> named =
        w.window.findChildren<QWidget*>(QString::fromUtf8(QTest::currentDataTag()));
    QCOMPARE(named.size(), 1);
    QWidget* control = named.front();
    QCOMPARE(QString::fromUtf8(control->metaObject()->className()), kind);
    if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), text);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) QCOMPARE(edit->text(), text);
    if (auto* button = qobject_cast<QPushButton*>(control)) QCOMPARE(button->text(), text);
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        QCOMPARE(list->count(), 0);
        QCOMPARE(w.window.current_selection(ListBox::列表框1), -1);
        QCOMPARE(w.window.item_text(ListBox::列表框1, -1), Text());
    }
    QCOMPARE(w.window.windowTitle(), QStringLiteral("Melodex-音乐去重【") +
                                         QStringLiteral(MELODEX_WEB_ADDRESS) +
                                         QStringLiteral("】"));
}

void MainWindowTest::keeps_every_control_in_view_and_readable() {
    Window w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    const QList<QWidget*> controls = w.window.findChildren<QWidget*>(
        QRegularExpression(QStringLiteral("^(标签|编辑框|按钮|列表框|拖放对象)\\d$")));
    QCOMPARE(controls.size(), 20);
    for (QWidget* control : controls) {
        const QString name = control->objectName();
        QVERIFY2(control->isVisible(), qPrintable(name));
        QVERIFY2(w.window.rect().contains(control->geometry()), qPrintable(name));
        for (QWidget* other : controls) {
            QVERIFY2(other == control || !other->geometry().intersects(control->geometry()),
                     qPrintable(name + QStringLiteral(" overlaps ") + other->objectName()));
        }
    }
    for (const char* fixed_text : {"标签1", "标签2", "标签3", "按钮5", "按钮6"}) {
        QWidget* control = w.find<QWidget>(QString::fromUtf8(fixed_text));
        QVERIFY2(control->width() >= control->sizeHint().width(), fixed_text);
    }
    // Every caption the analysis shows fits on its button.
    QPushButton* analysis = w.button(7);
    for (const QString& caption :
         {QStringLiteral("音乐一按键找重"), QStringLiteral("加载过滤器..."),
          QStringLiteral("加载文件名称..."), QStringLiteral("66.66666666667%"),
          QStringLiteral("MP3一按键找重")}) {
        analysis->setText(caption);
        QVERIFY2(analysis->width() >= analysis->sizeHint().width(), qPrintable(caption));
    }
}

void MainWindowTest::is_a_fixed_window_on_top_with_only_a_close_button() {
    Window w;
    const QSize size = w.window.size();
    QCOMPARE(w.window.minimumSize(), size);
    QCOMPARE(w.window.maximumSize(), size);
    w.edit_box(1)->setText(QStringLiteral("一个很长很长很长很长很长很长很长很长很长很长的片段"));
    w.button(7)->setText(QStringLiteral("加载文件名称..."));
    QCoreApplication::processEvents();
    QCOMPARE(w.window.size(), size);

    const Qt::WindowFlags flags = w.window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
}

void MainWindowTest::switches_always_on_top_and_stays_shown() {
    Window w;
    w.window.move(40, 30);
    const QPoint place = w.window.pos();
    for (const bool on : {false, true}) {
        w.window.set_always_on_top(on);
        QCOMPARE(w.window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        QVERIFY(w.window.isVisible());
        QCOMPARE(w.window.pos(), place);
    }
}

void MainWindowTest::mirrors_typing_into_the_fragment_button() {
    Window w;
    QLineEdit* edit = w.edit_box(3);
    QString typed;
    for (const QChar ch : QStringLiteral("晴天 a")) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        typed += ch;
        QCOMPARE(w.button(3)->text(), typed);
    }
    for (int k = 0; k < 4; ++k) QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(w.button(3)->text(), QString());
    QCOMPARE(w.button(2)->text(), QString());

    w.window.set_text(EditBox::编辑框2, "稻香");
    QCOMPARE(w.button(2)->text(), QStringLiteral("稻香"));
    w.window.set_text(EditBox::编辑框6, "/elsewhere");
    QCOMPARE(w.button(6)->text(), QStringLiteral("打开文件位置"));
}

void MainWindowTest::takes_the_first_local_file_of_a_drop_data() {
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("fragments");
    const auto file = [](const char* path) { return QUrl::fromLocalFile(QString::fromUtf8(path)); };
    QTest::newRow("one file") << QList<QUrl>{file("/music/周杰伦 - 晴天 (Live).mp3")} << QString()
                              << QStringLiteral("周杰伦 - 晴天 (Live).mp3")
                              << QStringList{"周杰伦", "晴天 ", "", ""};
    QTest::newRow("several files")
        << QList<QUrl>{file("/music/A-B-C-D-E.mp3"), file("/music/X - Y.mp3")} << QString()
        << QStringLiteral("A-B-C-D-E.mp3") << QStringList{"A", "B", "C", "D"};
    QTest::newRow("a link before a file")
        << QList<QUrl>{QUrl(QStringLiteral("https://melodex.example/a-b.mp3")),
                       file("/music/王菲_传奇.mp3")}
        << QString() << QStringLiteral("王菲_传奇.mp3") << QStringList{"王菲", "传奇", "", ""};
    QTest::newRow("links only") << QList<QUrl>{QUrl(
                                       QStringLiteral("https://melodex.example/a-b.mp3"))}
                                << QString() << QString() << QStringList{"x", "y", "", ""};
    QTest::newRow("text only") << QList<QUrl>{} << QStringLiteral("/music/a-b.mp3") << QString()
                               << QStringList{"x", "y", "", ""};
}

void MainWindowTest::takes_the_first_local_file_of_a_drop() {
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QStringList, fragments);
    Window w;
    w.window.set_text(EditBox::编辑框1, "x");
    w.window.set_text(EditBox::编辑框2, "y");
    w.list(1)->addItem(QStringLiteral("kept"));
    QMimeData data;
    if (!urls.isEmpty()) data.setUrls(urls);
    if (!text.isEmpty()) data.setText(text);

    QCOMPARE(drop_on(w.window, data), !name.isEmpty());
    QCOMPARE(w.edit_box(5)->text(), name);
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(w.edit_box(k + 1)->text(), fragments[k]);
        QCOMPARE(w.button(k + 1)->text(), fragments[k]);
    }
    QCOMPARE(w.rows(1), QStringList{"kept"});
}

void MainWindowTest::takes_a_drop_as_a_copy_only_data() {
    QTest::addColumn<Qt::DropActions>("actions");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<Qt::DropAction>("proposed");
    QTest::addColumn<bool>("taken");
    const Qt::DropActions copy_or_move = Qt::CopyAction | Qt::MoveAction;
    QTest::newRow("copy proposed")
        << copy_or_move << Qt::KeyboardModifiers() << Qt::CopyAction << true;
    QTest::newRow("move proposed")
        << copy_or_move << Qt::KeyboardModifiers(Qt::ShiftModifier) << Qt::MoveAction << true;
    QTest::newRow("no copy possible") << Qt::DropActions(Qt::MoveAction | Qt::LinkAction)
                                      << Qt::KeyboardModifiers() << Qt::MoveAction << false;
}

// The drag source learns the action from the answer to each of the three events.
void MainWindowTest::takes_a_drop_as_a_copy_only() {
    QFETCH(Qt::DropActions, actions);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Qt::DropAction, proposed);
    QFETCH(bool, taken);
    Window w;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/周杰伦 - 晴天.mp3"))});
    const QPoint middle = w.window.rect().center();
    QDragEnterEvent enter(middle, actions, &data, Qt::LeftButton, modifiers);
    QDragMoveEvent move(middle, actions, &data, Qt::LeftButton, modifiers);
    QDropEvent drop(QPointF(middle), actions, &data, Qt::LeftButton, modifiers);
    for (QDropEvent* event : std::initializer_list<QDropEvent*>{&enter, &move, &drop}) {
        QCOMPARE(event->proposedAction(), proposed);
        QCoreApplication::sendEvent(&w.window, event);
        QCOMPARE(event->isAccepted(), taken);
        if (taken) QCOMPARE(event->dropAction(), Qt::CopyAction);
    }
    QCOMPARE(w.edit_box(5)->text(), taken ? QStringLiteral("周杰伦 - 晴天.mp3") : QString());
}

void MainWindowTest::disables_the_fragment_buttons_while_a_search_walks() {
    QTemporaryDir tree;
    for (const char* file : {"a/Abc 1.mp3", "b/c/Abc 2.mp3", "b/x.mp3", "b/Abc.wma"}) {
        make_file(tree.filePath(QString::fromUtf8(file)));
    }
    Window w;
    w.edit_box(6)->setText(tree.path());
    w.edit_box(1)->setText(QStringLiteral("Abc"));
    std::vector<bool> enabled_during_walk;
    w.services.on_pending_events = [&] {
        for (int k = 1; k <= 4; ++k) enabled_during_walk.push_back(w.button(k)->isEnabled());
        QTest::mouseClick(w.button(2), Qt::LeftButton);  // ignored: no second search
    };
    QTest::mouseClick(w.button(1), Qt::LeftButton);

    QVERIFY(!enabled_during_walk.empty());
    QVERIFY(std::find(enabled_during_walk.begin(), enabled_during_walk.end(), true) ==
            enabled_during_walk.end());
    const QString root = tree.path() + QStringLiteral("/");
    QCOMPARE(w.rows(1), (QStringList{root + "a/Abc 1.mp3", root + "b/c/Abc 2.mp3"}));
    QCOMPARE(w.rows(2), (QStringList{"0KB", "0KB"}));
    for (int k = 1; k <= 4; ++k) QVERIFY(w.button(k)->isEnabled());
    QCOMPARE(w.edit_box(6)->text(), tree.path());
}

void MainWindowTest::acts_on_the_row_selected_in_the_first_list() {
    Window w;
    w.window.append_item(ListBox::列表框1, "/music/a b.mp3");
    w.window.append_item(ListBox::列表框1, "/music/晴天.mp3");
    w.window.append_item(ListBox::列表框2, "0KB");
    w.window.append_item(ListBox::列表框2, "2MB");
    QListWidget* paths = w.list(1);
    w.list(2)->setCurrentRow(0);
    QCOMPARE(w.window.current_selection(ListBox::列表框1), -1);

    const QRect second = paths->visualItemRect(paths->item(1));
    QTest::mouseClick(paths->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(paths->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseClick(w.button(6), Qt::LeftButton);
    QTest::mouseClick(w.button(5), Qt::LeftButton);
    QCOMPARE(w.window.current_selection(ListBox::列表框1), 1);
    QCOMPARE(w.log, (std::vector<std::string>{"open /music/晴天.mp3", "show /music/晴天.mp3",
                                              "delete /music/晴天.mp3"}));

    w.window.clear(ListBox::列表框1);
    QCOMPARE(w.window.current_selection(ListBox::列表框1), -1);
    QCOMPARE(w.window.item_text(ListBox::列表框1, 0), Text());
}

void MainWindowTest::keeps_each_size_beside_its_path() {
    Window w;
    for (int k = 0; k < 40; ++k) {
        const std::string name = k == 38      ? std::string(200, 'x')
                                 : k % 3 == 0 ? "周杰伦/晴天 "
                                              : "b ";
        w.window.append_item(ListBox::列表框1, "/music/" + name + std::to_string(k) + ".mp3");
        w.window.append_item(ListBox::列表框2, std::to_string(k) + "KB");
    }
    QListWidget* paths = w.list(1);
    QListWidget* sizes = w.list(2);
    QCoreApplication::processEvents();
    paths->scrollToBottom();
    QVERIFY(paths->verticalScrollBar()->value() > 0);
    QCOMPARE(sizes->verticalScrollBar()->value(), paths->verticalScrollBar()->value());
    QCOMPARE(sizes->viewport()->height(), paths->viewport()->height());
    for (int k = 0; k < 40; ++k) {
        QCOMPARE(sizes->visualItemRect(sizes->item(k)).top(),
                 paths->visualItemRect(paths->item(k)).top());
    }
}

void MainWindowTest::shows_the_analysis_stages_on_its_button() {
    QTemporaryDir tree;
    for (const char* file : {"s/A-Q.mp3", "s/B-Q.mp3", "s/C-Q.mp3", "t/Q.mp3", "t/Q 2.mp3"}) {
        make_file(tree.filePath(QString::fromUtf8(file)));
    }
    QDir(tree.path()).mkdir(QStringLiteral("program"));
    Window w;
    w.services.directory = tree.filePath(QStringLiteral("program")).toStdString();
    w.services.answers = {tree.filePath(QStringLiteral("s")).toStdString(),
                          tree.filePath(QStringLiteral("t")).toStdString()};
    QStringList seen;
    int clicks = 0;
    w.services.on_pending_events = [&] {
        if (seen.isEmpty() || seen.back() != w.button(7)->text()) seen << w.button(7)->text();
        if (clicks++ == 0) QTest::mouseClick(w.button(7), Qt::LeftButton);  // ignored
    };
    QTest::mouseClick(w.button(7), Qt::LeftButton);

    QCOMPARE(seen, (QStringList{"加载过滤器...", "加载文件名称...", "33.33333333333%",
                                "66.66666666667%"}));
    QCOMPARE(w.button(7)->text(), QStringLiteral("MP3一按键找重"));
    const std::string report = w.services.directory + "/MP3文件重复分析报告.txt";
    QCOMPARE(w.log.back(), "open " + report);
    QCOMPARE(std::count_if(w.log.begin(), w.log.end(),
                           [](const std::string& entry) { return entry.starts_with("input "); }),
             2);
}

void MainWindowTest::ends_the_program_when_closed_during_an_analysis() {
    QTemporaryDir tree;
    for (const char* file : {"s/a/A-Q.mp3", "s/b/B-Q.mp3", "t/Q.mp3", "t/Q 2.mp3"}) {
        make_file(tree.filePath(QString::fromUtf8(file)));
    }
    Window w;
    w.services.directory = tree.path().toStdString();
    w.services.answers = {tree.filePath(QStringLiteral("s")).toStdString(),
                          tree.filePath(QStringLiteral("t")).toStdString()};
    int walked_folders = 0;
    w.services.on_pending_events = [&] {
        if (++walked_folders == 2) w.window.close();
    };
    QTimer::singleShot(0, w.button(7), [&] { QTest::mouseClick(w.button(7), Qt::LeftButton); });
    QCOMPARE(QApplication::exec(), 0);

    QCOMPARE(walked_folders, 2);
    QVERIFY(!QFile::exists(tree.filePath(QStringLiteral("MP3文件重复分析报告.txt"))));
    for (const std::string& entry : w.log) QVERIFY2(!entry.starts_with("open "), entry.c_str());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
