#include "ui/qt/even_rows.h"

#include <algorithm>

#include <QApplication>
#include <QStyle>

namespace melodex::ui::qt {

QSize EvenRows::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // As tall as a row holding both Latin and Chinese letters.
    QStyleOptionViewItem sample = option;
    initStyleOption(&sample, index);
    sample.text = QStringLiteral("Ag晴天");
    const QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
    const int mixed =
        style->sizeFromContents(QStyle::CT_ItemViewItem, &sample, QSize(), option.widget).height();
    size.setHeight(std::max(size.height(), mixed));
    return size;
}

}  // namespace melodex::ui::qt
