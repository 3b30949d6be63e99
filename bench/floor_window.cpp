// The floor the dock is measured against: the least a Qt Widgets program can
// be that shows a frameless, translucent window of the dock's size and then
// waits. It paints nothing of its own. Usage: floor_window WIDTH HEIGHT
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int width = args.size() > 2 ? args.at(1).toInt() : 92;
    const int height = args.size() > 2 ? args.at(2).toInt() : 126;
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setAttribute(Qt::WA_TranslucentBackground);
    window.setWindowTitle(QStringLiteral("PondwillowFloor"));
    window.resize(qMax(width, 1), qMax(height, 1));
    window.show();
    return QApplication::exec();
}
