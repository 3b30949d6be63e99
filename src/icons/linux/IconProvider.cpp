// File icons on Linux: icon files and the icon resources of Windows programs
// are decoded here; desktop entries and file types go through the desktop's
// icon theme.
#include "icons/IconProvider.h"

#include "icons/DesktopEntry.h"
#include "icons/IconFileParser.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPixmap>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

namespace pw::platform
{

namespace
{

// Desktop entries are a few lines of text; anything larger is not one.
constexpr qint64 kMaxDesktopEntryBytes = 1024 * 1024;
// Pictures named by a desktop entry are ordinary image files, larger than
// icons in containers may be.
constexpr int kMaxPictureSide = 4096;

bool sizeInRange(int size)
{
    return size >= 1 && size <= iconfile::kMaxRequestedSize;
}

// The whole of a regular file of at most limit bytes.
std::optional<QByteArray> readSmallFile(const QString& path, qint64 limit)
{
    // A FIFO or a device could block or never end: regular files only.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return std::nullopt;
    const qint64 size = file.size();
    if (size > limit)
        return std::nullopt;
    QByteArray bytes = file.read(size);
    if (bytes.size() != size)
        return std::nullopt;
    return bytes;
}

// A bare X session or Qt's offscreen platform reports no icon theme and no
// theme directories; the desktop's own icons are then looked up in the
// standard places, with Adwaita when it is installed. hicolor alone holds
// hardly any file-type icons, so it does not count as a theme here.
void ensureIconTheme()
{
    static bool checked = false;
    if (checked)
        return;
    checked = true;

    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;

    QStringList searchPaths = QIcon::themeSearchPaths();
    QStringList candidates =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    candidates.prepend(QDir::homePath() + QStringLiteral("/.icons"));
    for (const QString& dir : std::as_const(candidates)) {
        if (!searchPaths.contains(dir) && QFileInfo(dir).isDir())
            searchPaths.append(dir);
    }
    QIcon::setThemeSearchPaths(searchPaths);

    for (const QString& theme : {QStringLiteral("Adwaita"), QStringLiteral("hicolor")}) {
        const bool installed =
            std::any_of(searchPaths.cbegin(), searchPaths.cend(), [&theme](const QString& dir) {
                return QFileInfo::exists(dir + QLatin1Char('/') + theme +
                                         QStringLiteral("/index.theme"));
            });
        if (installed) {
            QIcon::setThemeName(theme);
            break;
        }
    }
    if (QIcon::fallbackThemeName().isEmpty())
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
}

// A named icon of the theme at size x size; null when the theme lacks it.
QImage themeIcon(const QString& name, int size)
{
    // Pixmaps need the GUI application.
    if (name.isEmpty() || !qGuiApp)
        return {};
    ensureIconTheme();
    if (!QIcon::hasThemeIcon(name))
        return {};
    const QPixmap pixmap = QIcon::fromTheme(name).pixmap(QSize(size, size), 1.0);
    if (pixmap.isNull())
        return {};
    return iconfile::fitToSquare(pixmap.toImage(), size);
}

// An image file that a desktop entry names by its absolute path.
QImage pictureFile(const QString& path, int size)
{
    const std::optional<QByteArray> bytes = readSmallFile(path, iconfile::kMaxBytesRead);
    if (!bytes)
        return {};
    if (QFileInfo(path).suffix().compare(QLatin1String("ico"), Qt::CaseInsensitive) == 0)
        return iconfile::decodeIco(*bytes, size);

    QBuffer buffer;
    buffer.setData(*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize natural = reader.size();
    const QByteArray format = reader.format();
    if (format == "svg" || format == "svgz") {
        // Vector pictures are drawn straight at the size wanted.
        const QSize wanted = natural.isValid() && !natural.isEmpty()
                                 ? natural.scaled(size, size, Qt::KeepAspectRatio)
                                 : QSize(size, size);
        reader.setScaledSize(wanted.expandedTo(QSize(1, 1)));
    } else if (!natural.isValid() || natural.isEmpty() || natural.width() > kMaxPictureSide ||
               natural.height() > kMaxPictureSide) {
        return {};
    }
    return iconfile::fitToSquare(reader.read(), size);
}

QImage desktopEntryIcon(const QString& path, int size)
{
    const std::optional<QByteArray> text = readSmallFile(path, kMaxDesktopEntryBytes);
    if (!text)
        return {};
    QString icon = desktopEntryIconValue(*text);
    if (icon.isEmpty())
        return {};
    if (QDir::isAbsolutePath(icon))
        return pictureFile(icon, size);
    if (icon.contains(QLatin1Char('/')))
        return {};
    // Names with a picture extension are common though not proper theme names.
    for (const char* extension : {".png", ".svg", ".xpm"}) {
        if (icon.endsWith(QLatin1String(extension), Qt::CaseInsensitive)) {
            icon.chop(4);
            break;
        }
    }
    return themeIcon(icon, size);
}

bool isPeSuffix(const QString& suffix)
{
    for (const char* pe : {"exe", "dll", "cpl", "ocx", "scr"}) {
        if (suffix.compare(QLatin1String(pe), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

QImage extractFileIcon(const QString& path, int size)
{
    if (!sizeInRange(size) || path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    const QString suffix = info.suffix();

    if (suffix.compare(QLatin1String("ico"), Qt::CaseInsensitive) == 0) {
        const std::optional<QByteArray> bytes = readSmallFile(path, iconfile::kMaxBytesRead);
        return bytes ? iconfile::decodeIco(*bytes, size) : QImage();
    }
    if (isPeSuffix(suffix)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.isSequential())
            return {};
        return iconfile::decodePeIcon(file, size);
    }
    if (suffix.compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
        return desktopEntryIcon(path, size);
    return {};
}

QImage fileTypeIcon(const QString& path, int size)
{
    if (!sizeInRange(size))
        return {};
    if (qGuiApp) {
        // The name alone decides: the file is neither opened nor looked at.
        const QMimeDatabase mimeDatabase;
        const QMimeType type =
            mimeDatabase.mimeTypeForFile(QFileInfo(path).fileName(), QMimeDatabase::MatchExtension);
        QStringList names{type.iconName(), type.genericIconName()};
        for (const QString& ancestor : type.allAncestors()) {
            const QMimeType parent = mimeDatabase.mimeTypeForName(ancestor);
            names << parent.iconName() << parent.genericIconName();
        }
        names.removeDuplicates();
        for (const QString& name : std::as_const(names)) {
            const QImage image = themeIcon(name, size);
            if (!image.isNull())
                return image;
        }
    }
    return genericDocumentIcon(size);
}

} // namespace pw::platform
