// Renders the program's scalable icon to the fixed sizes of the hicolor icon
// theme, so that every size is drawn from the one SVG:
//
//   hicolor_icons SVG OUTPUT_DIR SIZE...
//
// writes OUTPUT_DIR/<SIZE>x<SIZE>/apps/<SVG's name without .svg>.png for every
// SIZE, and fails on an SVG it cannot read, a size that is no whole number
// from 1 to 1024, or a file it cannot write.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: hicolor_icons SVG OUTPUT_DIR SIZE...\n");
        return 2;
    }
    const QString svg = QString::fromLocal8Bit(argv[1]);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "hicolor_icons: cannot read %s as SVG\n", argv[1]);
        return 1;
    }
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const QString name = QFileInfo(svg).completeBaseName() + QStringLiteral(".png");
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "hicolor_icons: bad size %s\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!out.mkpath(folder)) {
            std::fprintf(stderr, "hicolor_icons: cannot make %s/%s\n", argv[2], qPrintable(folder));
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
            renderer.render(&p, QRectF(0, 0, size, size));
        }
        const QString file = out.filePath(folder + QLatin1Char('/') + name);
        if (!image.convertToFormat(QImage::Format_ARGB32).save(file, "PNG")) {
            std::fprintf(stderr, "hicolor_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
