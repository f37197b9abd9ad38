// Keeps a window above ordinary windows, or lets it take part in the ordinary stacking again.
#pragma once

class QWidget;

namespace melodex::ui::qt {

void set_stays_on_top(QWidget& window, bool on);

}  // namespace melodex::ui::qt
