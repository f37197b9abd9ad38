// Texts are bytes in the system's code page; Qt holds UTF-16. These convert at the edge of
// the widgets and of the desktop calls.
#pragma once

#include <QString>
#include <QUrl>

#include "core/text.h"

namespace melodex::ui::qt {

QString to_qstring(const Text& text);
Text to_text(const QString& text);

// File and folder paths, in the file system's encoding.
QString path_to_qstring(const Text& path);
Text path_to_text(const QString& path);

// The file URL of an absolute path, escaped from the path's own bytes: a name that is not valid
// UTF-8 keeps its bytes, which a URL made from decoded text would replace.
QUrl path_to_url(const Text& absolute_path);

// The path of a local file URL, its bytes read from the URL's own escapes: QUrl::toLocalFile
// decodes them as UTF-8 and would replace the bytes of any other name.
Text url_to_path(const QUrl& local_file);

}  // namespace melodex::ui::qt
