// The box that asks for a folder: the prompt above one empty field with a "浏览…" button that
// fills it from a folder chooser, then "确认输入(&O)" and "取消(&C)".
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace melodex::ui::qt {

class InputBox : public QDialog {
    Q_OBJECT

  public:
    InputBox(const QString& prompt, const QString& title, QWidget* parent = nullptr);

    QString text() const;

  private:
    void choose_folder();

    QLineEdit* field_;
};

}  // namespace melodex::ui::qt
