#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/qt/even_rows.h"
#include "ui/qt/stay_on_top.h"
#include "ui/qt/text_conversion.h"

namespace melodex::ui::qt {
namespace {

// The local files among dropped URLs, in the order they were dropped.
TextArray dropped_files(const QMimeData* data) {
    TextArray files;
    if (data == nullptr || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files.push_back(url_to_path(url));
    }
    return files;
}

// A drop is only read, so it is taken as a copy or not at all: a drag source that is answered
// with a move may remove the original file afterwards.
bool take_as_copy(QDropEvent& event) {
    if (!event.possibleActions().testFlag(Qt::CopyAction) ||
        dropped_files(event.mimeData()).empty()) {
        event.ignore();
        return false;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

// The user's music folder, ending in the separator like a visited folder text.
QString initial_search_folder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    return folder.endsWith('/') ? folder : folder + '/';
}

// Edit box 5 holds a file name and edit box 6 a folder path.
bool holds_paths(EditBox box) {
    return box == EditBox::编辑框5 || box == EditBox::编辑框6;
}

// One of the window's own texts, written in UTF-8.
QString from_source(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString control_name(const char* kind, std::size_t number) {
    return QString::fromUtf8(kind) + QString::number(number);
}

}  // namespace

MainWindow::MainWindow(DesktopServices& services)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint),
      handlers_(*this, services) {
    setWindowTitle(from_source(window_title));
    setAcceptDrops(true);
    create_controls();
    arrange_controls();
    connect_events();
}

void MainWindow::create_controls() {
    for (std::size_t k = 0; k < labels_.size(); ++k) {
        labels_[k] = new QLabel(from_source(label_texts[k]), this);
        labels_[k]->setObjectName(control_name("标签", k + 1));
    }
    for (std::size_t k = 0; k < edit_boxes_.size(); ++k) {
        edit_boxes_[k] = new QLineEdit(from_source(initial_text(static_cast<EditBox>(k))), this);
        edit_boxes_[k]->setObjectName(control_name("编辑框", k + 1));
        // Drops belong to the window, not to the text under the pointer.
        edit_boxes_[k]->setAcceptDrops(false);
    }
    edit_boxes_[index_of(EditBox::编辑框6)]->setText(initial_search_folder());
    for (std::size_t k = 0; k < buttons_.size(); ++k) {
        buttons_[k] = new QPushButton(from_source(initial_caption(static_cast<Button>(k))), this);
        buttons_[k]->setObjectName(control_name("按钮", k + 1));
    }
    for (std::size_t k = 0; k < lists_.size(); ++k) {
        lists_[k] = new QListWidget(this);
        lists_[k]->setObjectName(control_name("列表框", k + 1));
        lists_[k]->setSelectionMode(QAbstractItemView::SingleSelection);
        lists_[k]->setItemDelegate(new EvenRows(lists_[k]));
    }
    // The two lists scroll together, so a size stays beside its path.
    QScrollBar* const paths = lists_[index_of(ListBox::列表框1)]->verticalScrollBar();
    QScrollBar* const sizes = lists_[index_of(ListBox::列表框2)]->verticalScrollBar();
    connect(paths, &QScrollBar::valueChanged, sizes, &QScrollBar::setValue);
    connect(sizes, &QScrollBar::valueChanged, paths, &QScrollBar::setValue);
    // Both show as many rows: the sizes get a horizontal scroll bar whenever the paths have one.
    connect(lists_[index_of(ListBox::列表框1)]->horizontalScrollBar(), &QScrollBar::rangeChanged,
            this, [sizes = lists_[index_of(ListBox::列表框2)]](int, int maximum) {
                sizes->setHorizontalScrollBarPolicy(maximum > 0 ? Qt::ScrollBarAlwaysOn
                                                                : Qt::ScrollBarAsNeeded);
            });
    drop_target_ = new QLabel(this);
    drop_target_->setObjectName(QStringLiteral("拖放对象1"));
    drop_target_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    drop_target_->setAlignment(Qt::AlignCenter);
    drop_target_->setPixmap(style()->standardIcon(QStyle::SP_FileIcon).pixmap(24, 24));
    drop_target_->setToolTip(QStringLiteral("把音乐文件拖放到窗口上"));
}

void MainWindow::arrange_controls() {
    // Controls whose captions change keep their width, so the window keeps its size.
    for (const Button b : fragment_buttons) {
        buttons_[index_of(b)]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        buttons_[index_of(b)]->setMinimumSize(120, 32);
    }
    QPushButton* analysis = buttons_[index_of(Button::按钮7)];
    analysis->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    analysis->setMinimumSize(208, 32);
    for (const Button b : {Button::按钮5, Button::按钮6})
        buttons_[index_of(b)]->setMinimumHeight(32);
    edit_boxes_[index_of(EditBox::编辑框7)]->setFixedWidth(104);
    // The four fragment columns share their width; the lists fill the columns they span.
    for (QListWidget* list : lists_) {
        list->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        list->setFixedHeight(240);
    }
    drop_target_->setFixedSize(40, 40);

    // The top row: the suffix box with its label, and the analysis button under both.
    auto* top = new QGridLayout;
    top->addWidget(labels_[2], 0, 0);
    top->addWidget(edit_boxes_[index_of(EditBox::编辑框7)], 0, 1);
    top->addWidget(analysis, 1, 0, 1, 2);
    auto* top_row = new QHBoxLayout;
    top_row->addStretch();
    top_row->addLayout(top);
    top_row->addStretch();

    auto* separator = new QFrame(this);
    separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    // The search panel: four fragment columns over the result lists, an action column beside.
    auto* panel = new QGridLayout;
    auto* name_row = new QHBoxLayout;
    name_row->addWidget(labels_[0]);
    name_row->addWidget(edit_boxes_[index_of(EditBox::编辑框5)]);
    auto* folder_row = new QHBoxLayout;
    folder_row->addWidget(labels_[1]);
    folder_row->addWidget(edit_boxes_[index_of(EditBox::编辑框6)]);
    panel->addLayout(name_row, 0, 0, 1, 4);
    panel->addLayout(folder_row, 1, 0, 1, 4);
    panel->addWidget(drop_target_, 0, 4, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    for (int k = 0; k < 4; ++k) {
        panel->addWidget(edit_boxes_[index_of(fragment_edit_boxes[k])], 2, k);
        panel->addWidget(buttons_[index_of(fragment_buttons[k])], 3, k);
        panel->setColumnMinimumWidth(k, 128);
        panel->setColumnStretch(k, 1);
    }
    panel->addWidget(lists_[index_of(ListBox::列表框1)], 4, 0, 1, 3);
    panel->addWidget(lists_[index_of(ListBox::列表框2)], 4, 3);
    auto* actions = new QVBoxLayout;
    actions->addWidget(buttons_[index_of(Button::按钮6)]);
    actions->addWidget(buttons_[index_of(Button::按钮5)]);
    actions->addStretch();
    panel->addLayout(actions, 4, 4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top_row);
    layout->addWidget(separator);
    layout->addLayout(panel);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (std::size_t k = 1; k < std::size(tab_order); ++k) {
        setTabOrder(widget(tab_order[k - 1]), widget(tab_order[k]));
    }
    widget(tab_order[0])->setFocus();
}

QWidget* MainWindow::widget(const TabStop& stop) const {
    if (const auto* box = std::get_if<EditBox>(&stop)) return edit_boxes_[index_of(*box)];
    if (const auto* button = std::get_if<Button>(&stop)) return buttons_[index_of(*button)];
    return lists_[index_of(std::get<ListBox>(stop))];
}

void MainWindow::connect_events() {
    for (const EditBox box : fragment_edit_boxes) {
        connect(edit_boxes_[index_of(box)], &QLineEdit::textChanged, this,
                [this, box] { handlers_.edit_text_changed(box); });
    }
    for (const Button button : fragment_buttons) {
        connect(buttons_[index_of(button)], &QPushButton::clicked, this,
                [this, button] { handlers_.fragment_clicked(button); });
    }
    connect(buttons_[index_of(Button::按钮7)], &QPushButton::clicked, this,
            [this] { handlers_.analysis_clicked(); });
    connect(buttons_[index_of(Button::按钮6)], &QPushButton::clicked, this,
            [this] { handlers_.show_in_folder_clicked(); });
    connect(buttons_[index_of(Button::按钮5)], &QPushButton::clicked, this,
            [this] { handlers_.delete_clicked(); });
    connect(lists_[index_of(ListBox::列表框1)], &QListWidget::itemDoubleClicked, this,
            [this] { handlers_.result_activated(); });
}

void MainWindow::centre_on_screen() {
    const QRect area = screen()->availableGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

Text MainWindow::text(EditBox box) const {
    const QString shown = edit_boxes_[index_of(box)]->text();
    return holds_paths(box) ? path_to_text(shown) : to_text(shown);
}

void MainWindow::set_text(EditBox box, const Text& text) {
    edit_boxes_[index_of(box)]->setText(holds_paths(box) ? path_to_qstring(text)
                                                         : to_qstring(text));
}

Text MainWindow::caption(Button button) const {
    return to_text(buttons_[index_of(button)]->text());
}

void MainWindow::set_caption(Button button, const Text& caption) {
    buttons_[index_of(button)]->setText(to_qstring(caption));
}

void MainWindow::set_enabled(Button button, bool enabled) {
    buttons_[index_of(button)]->setEnabled(enabled);
}

void MainWindow::clear(ListBox list) {
    lists_[index_of(list)]->clear();
}

void MainWindow::append_item(ListBox list, const Text& item) {
    // The item keeps its bytes, so a name the display cannot decode still opens and deletes.
    auto* row =
        new QListWidgetItem(list == ListBox::列表框1 ? path_to_qstring(item) : to_qstring(item));
    row->setData(Qt::UserRole, QByteArray(item.data(), static_cast<qsizetype>(item.size())));
    lists_[index_of(list)]->addItem(row);
}

int MainWindow::current_selection(ListBox list) const {
    const QList<QListWidgetItem*> selected = lists_[index_of(list)]->selectedItems();
    return selected.isEmpty() ? -1 : lists_[index_of(list)]->row(selected.front());
}

Text MainWindow::item_text(ListBox list, int index) const {
    const QListWidgetItem* row = lists_[index_of(list)]->item(index);
    return row == nullptr ? Text() : row->data(Qt::UserRole).toByteArray().toStdString();
}

void MainWindow::set_always_on_top(bool on) {
    set_stays_on_top(*this, on);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    handlers_.window_closing();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    take_as_copy(*event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    take_as_copy(*event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (take_as_copy(*event)) handlers_.files_dropped(dropped_files(event->mimeData()));
}

}  // namespace melodex::ui::qt
