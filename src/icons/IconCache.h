#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <utility>

namespace pw::platform
{

// Icons already made, so that rebuilding the tiles reads no file again.
// A file's own icon is kept with the file's modification time and byte size
// and made again when either changes; a type icon depends on the file name
// alone. Each lookup costs one stat of the file and one hash lookup.
// GUI thread only.
class IconCache
{
public:
    static IconCache& instance();

    // The file's own icon (extractFileIcon); null when it carries none.
    QImage fileIcon(const QString& path, int size);
    // The icon of the file's type (fileTypeIcon); never null for a size in range.
    QImage typeIcon(const QString& path, int size);
    // The file's own icon, else the icon of its type.
    QImage icon(const QString& path, int size);

    void clear();

private:
    struct FileEntry {
        qint64 modified = 0;
        qint64 bytes = 0;
        QImage image; // null: the file has no icon of its own
    };
    using Key = std::pair<QString, int>; // path or file name, icon size

    QHash<Key, FileEntry> files_;
    QHash<Key, QImage> types_;
};

} // namespace pw::platform
