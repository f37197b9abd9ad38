#include "ui/qt/text_conversion.h"

#include <QFile>

namespace melodex::ui::qt {

QString to_qstring(const Text& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

Text to_text(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

QString path_to_qstring(const Text& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

Text path_to_text(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QUrl path_to_url(const Text& absolute_path) {
    // The characters QUrl::fromLocalFile leaves as they are, so that a UTF-8 path gives the URL
    // it always gave.
    const QByteArray bytes(absolute_path.data(), static_cast<qsizetype>(absolute_path.size()));
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/!$&'()*+,;=:@[]"),
                             QUrl::StrictMode);
}

Text url_to_path(const QUrl& local_file) {
    QByteArray path =
        QByteArray::fromPercentEncoding(local_file.path(QUrl::FullyEncoded).toLatin1());
    // A file on another machine, as toLocalFile gives it: "//server/share/...".
    if (!local_file.host().isEmpty()) path.prepend("//" + local_file.host().toUtf8());
    return path.toStdString();
}

}  // namespace melodex::ui::qt
