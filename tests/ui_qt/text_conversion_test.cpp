// Paths between the file system's bytes and Qt's URLs: a dropped file URL gives back the bytes of
// the name it was made from, whatever their encoding.
#include <QTest>

#include "ui/qt/text_conversion.h"

namespace melodex::ui::qt {

class TextConversionTest : public QObject {
    Q_OBJECT

  private slots:
    void url_to_path_takes_the_bytes_of_the_escapes_data();
    void url_to_path_takes_the_bytes_of_the_escapes();
    void url_to_path_undoes_path_to_url();
};

void TextConversionTest::url_to_path_takes_the_bytes_of_the_escapes_data() {
    QTest::addColumn<QByteArray>("url");
    QTest::addColumn<QByteArray>("path");
    QTest::newRow("UTF-8") << QByteArray("file:///music/%E6%99%B4%E5%A4%A9%20(Live).mp3")
                           << QByteArray("/music/晴天 (Live).mp3");
    // 周杰伦 - 晴天.mp3 in GBK, as a file manager in a GBK locale drags it.
    QTest::newRow("GBK") << QByteArray("file:///music/%D6%DC%BD%DC%C2%D7%20-%20%C7%E7%CC%EC.mp3")
                         << QByteArray("/music/\xD6\xDC\xBD\xDC\xC2\xD7 - \xC7\xE7\xCC\xEC.mp3");
    QTest::newRow("escaped signs")
        << QByteArray("file:///a%23b%3F%25/c%2Fd.mp3") << QByteArray("/a#b?%/c/d.mp3");
    QTest::newRow("another machine")
        << QByteArray("file://server/share/a.mp3") << QByteArray("//server/share/a.mp3");
}

void TextConversionTest::url_to_path_takes_the_bytes_of_the_escapes() {
    QFETCH(QByteArray, url);
    QFETCH(QByteArray, path);
    QCOMPARE(QByteArray::fromStdString(url_to_path(QUrl::fromEncoded(url))), path);
}

void TextConversionTest::url_to_path_undoes_path_to_url() {
    Text every_byte = "/music/";
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '/') every_byte += static_cast<char>(byte);
    }
    for (const Text& path : {every_byte, Text("/"), Text("/a b/c.mp3")}) {
        QCOMPARE(QByteArray::fromStdString(url_to_path(path_to_url(path))),
                 QByteArray::fromStdString(path));
    }
}

}  // namespace melodex::ui::qt

QTEST_APPLESS_MAIN(melodex::ui::qt::TextConversionTest)
#include "text_conversion_test.moc"
