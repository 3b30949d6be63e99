// File icons on Windows, from the shell (Win32Icons.cpp): the file's own icon
// and the icon of its type, turned into pictures here.
#include "icons/IconProvider.h"

#include "icons/IconFileParser.h"
#include "win32/Win32.h"

namespace pw::platform
{

namespace
{

bool sizeInRange(int size)
{
    return size >= 1 && size <= iconfile::kMaxRequestedSize;
}

// The icon's pixels as a size x size picture. The pixels are 0xAARRGGBB with
// straight alpha, which is QImage's ARGB32 format; the picture is copied out
// of the buffer before the buffer goes.
QImage toImage(const std::optional<win32::IconPixels>& icon, int size)
{
    if (!icon || icon->width <= 0 || icon->height <= 0)
        return {};
    const QImage view(reinterpret_cast<const uchar*>(icon->argb.data()), icon->width, icon->height,
                      qsizetype(icon->width) * 4, QImage::Format_ARGB32);
    return iconfile::fitToSquare(view.copy(), size);
}

} // namespace

QImage extractFileIcon(const QString& path, int size)
{
    if (!sizeInRange(size) || path.isEmpty())
        return {};
    return toImage(win32::extractFileIcon(path.toStdWString(), size), size);
}

QImage fileTypeIcon(const QString& path, int size)
{
    if (!sizeInRange(size))
        return {};
    const QImage image = toImage(win32::fileTypeIcon(path.toStdWString()), size);
    return image.isNull() ? genericDocumentIcon(size) : image;
}

} // namespace pw::platform
