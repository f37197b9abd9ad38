// Rows of one height in a list, whatever script their text is written in: a Chinese name needs
// a taller line than a size text, and row i of the size list must stand beside row i of the
// path list.
#pragma once

#include <QStyledItemDelegate>

namespace melodex::ui::qt {

class EvenRows : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace melodex::ui::qt
