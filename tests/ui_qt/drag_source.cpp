// A small window that drags the files named on its command line when it is pressed, as a file
// manager would. scripts/screenshot moves the pointer with xdotool from here onto the melodex
// window, so the drop goes through the display server like a user's. It runs until it is ended.
#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

namespace {

class DragSource : public QLabel {
  public:
    explicit DragSource(QList<QUrl> files)
        : QLabel(QStringLiteral("drag")), files_(std::move(files)) {
        setWindowTitle(QStringLiteral("melodex-drag-source"));
        setAlignment(Qt::AlignCenter);
        setFixedSize(120, 60);
    }

  protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(files_);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
        // The program goes on: the window that took the drop reads the files from it.
        hide();
    }

  private:
    QList<QUrl> files_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QList<QUrl> files;
    for (int k = 1; k < argc; ++k) files << QUrl::fromLocalFile(QFile::decodeName(argv[k]));
    DragSource source(files);
    source.move(0, 0);
    source.show();
    return QApplication::exec();
}
