#pragma once

#include <QImage>
#include <QString>

// Icons of files, as the desktop shows them. One implementation per operating
// system; both return ARGB32 premultiplied images of exactly size x size with
// their transparent parts transparent. GUI thread only.
namespace pw::platform
{

// The file's own icon: the image of an icon file, the icon resources of a
// Windows program or library (the image nearest to size), or the icon that a
// desktop entry names. Null when the file carries none, cannot be read or
// size is out of range.
QImage extractFileIcon(const QString& path, int size);

// The desktop's icon for the file's type, chosen from the name alone without
// opening the file; a generic document picture when the desktop has none.
// Never null for a size in range.
QImage fileTypeIcon(const QString& path, int size);

// A plain document sheet with a folded corner on a transparent background,
// drawn in code: the icon of last resort.
QImage genericDocumentIcon(int size);

} // namespace pw::platform
