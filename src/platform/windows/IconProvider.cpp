// File icons on Windows, from the shell: the file's own icon through
// PrivateExtractIconsW, the icon of its type through SHGetFileInfoW.
#include "platform/IconProvider.h"

#include "platform/IconFileParser.h"

#include <QDir>

#include <string>

// shellapi.h needs the declarations of windows.h first.
#include <windows.h>

#include <shellapi.h>

namespace pw::platform
{

namespace
{

bool sizeInRange(int size)
{
    return size >= 1 && size <= iconfile::kMaxRequestedSize;
}

// Turns an icon handle into a size x size image and releases the handle,
// whatever the outcome.
QImage takeIcon(HICON icon, int size)
{
    if (icon == nullptr)
        return {};
    const QImage image = QImage::fromHICON(icon);
    DestroyIcon(icon);
    return iconfile::fitToSquare(image, size);
}

std::wstring nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

} // namespace

QImage extractFileIcon(const QString& path, int size)
{
    if (!sizeInRange(size) || path.isEmpty())
        return {};
    const std::wstring native = nativePath(path);
    HICON icon = nullptr;
    UINT id = 0;
    // Icon index 0 at exactly size x size; any count but 1 means no icon.
    const UINT count =
        PrivateExtractIconsW(native.c_str(), 0, size, size, &icon, &id, 1, LR_LOADFROMFILE);
    if (count != 1) {
        if (icon != nullptr)
            DestroyIcon(icon);
        return {};
    }
    return takeIcon(icon, size);
}

QImage fileTypeIcon(const QString& path, int size)
{
    if (!sizeInRange(size))
        return {};
    const std::wstring native = nativePath(path);
    SHFILEINFOW info{};
    // The shell's large icon for the type, from the name alone: with
    // SHGFI_USEFILEATTRIBUTES the file is not opened and need not exist.
    SHGetFileInfoW(native.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    const QImage image = takeIcon(info.hIcon, size);
    return image.isNull() ? genericDocumentIcon(size) : image;
}

} // namespace pw::platform
