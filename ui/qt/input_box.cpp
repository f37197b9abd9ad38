#include "ui/qt/input_box.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace melodex::ui::qt {

InputBox::InputBox(const QString& prompt, const QString& title, QWidget* parent)
    : QDialog(parent), field_(new QLineEdit(this)) {
    setWindowTitle(title);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* label = new QLabel(prompt, this);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(field_);
    field_->setObjectName("field");
    field_->setMinimumWidth(320);
    auto* browse = new QPushButton(QStringLiteral("浏览…"), this);
    browse->setObjectName("browse");
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &InputBox::choose_folder);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* confirm =
        buttons->addButton(QStringLiteral("确认输入(&O)"), QDialogButtonBox::AcceptRole);
    confirm->setObjectName("confirm");
    confirm->setDefault(true);
    buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole)
        ->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* field_row = new QHBoxLayout;
    field_row->addWidget(field_);
    field_row->addWidget(browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(field_row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    field_->setFocus();
}

QString InputBox::text() const {
    return field_->text();
}

void InputBox::choose_folder() {
    const QString typed = field_->text();
    QFileDialog chooser(this, windowTitle(),
                        !typed.isEmpty() && QDir(typed).exists() ? typed : QDir::homePath());
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty()) {
        field_->setText(QDir::toNativeSeparators(chooser.selectedFiles().front()));
    }
}

}  // namespace melodex::ui::qt
