// A small window that drags one file, as a file manager does, for the
// end-to-end tests: a mouse press on it starts a drag carrying the file's URL;
// when the drag ends the program prints what the target did ("copied",
// "moved", "linked" or "ignored"). It keeps running after that: on X11 the
// target fetches the dropped data from the source after the drop, so a source
// that quit at once would leave it nothing. The caller ends it; it ends itself
// after a minute at the latest.
// Usage: pw_e2e_drag_source FILE [X Y]
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <utility>

namespace
{

class DragSource : public QWidget
{
public:
    explicit DragSource(QString file) : file_(std::move(file))
    {
        setWindowTitle(QStringLiteral("pw-drag-source"));
        setFixedSize(80, 80);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::darkCyan);
        setPalette(p);
        setAutoFillBackground(true);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton || started_)
            return;
        started_ = true;
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(file_)});
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::LinkAction);
        const char* what = done == Qt::CopyAction   ? "copied"
                           : done == Qt::MoveAction ? "moved"
                           : done == Qt::LinkAction ? "linked"
                                                    : "ignored";
        std::printf("%s\n", what);
        std::fflush(stdout);
    }

private:
    QString file_;
    bool started_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 && args.size() != 4) {
        std::fprintf(stderr, "usage: pw_e2e_drag_source FILE [X Y]\n");
        return 2;
    }
    DragSource source(args[1]);
    if (args.size() == 4)
        source.move(args[2].toInt(), args[3].toInt());
    source.show();
    QTimer::singleShot(std::chrono::minutes(1), &app, &QApplication::quit);
    return app.exec();
}
