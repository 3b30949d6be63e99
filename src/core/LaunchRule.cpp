#include "core/LaunchRule.h"

#include "core/EntryLine.h"

namespace pw
{

namespace
{

bool isWindowsPath(QStringView path)
{
    const bool drive = path.size() >= 2 && path[1] == u':' && path[0].isLetter();
    return drive || path.contains(u'\\');
}

bool isSeparator(QChar c, bool windows)
{
    return c == u'/' || (windows && (c == u'\\' || c == u':'));
}

} // namespace

qsizetype lastSeparator(QStringView path)
{
    const bool windows = isWindowsPath(path);
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (isSeparator(path[i], windows))
            return i;
    }
    return -1;
}

QString launchDirectory(QStringView file)
{
    const qsizetype k = lastSeparator(file);
    if (k < 0)
        return QString();
    // A ":" stays (C:app.exe runs in C:); a slash stays when it is the root or
    // follows a drive's ":" or another slash.
    const QChar at = file[k];
    const bool keep =
        at == u':' || k == 0 || file[k - 1] == u':' || file[k - 1] == u'\\' || file[k - 1] == u'/';
    return file.first(keep ? k + 1 : k).toString();
}

std::optional<LaunchTarget> launchFor(QStringView line)
{
    const QStringList fields = splitEntryLine(line);
    if (fields.isEmpty())
        return std::nullopt;
    LaunchTarget t;
    t.file = fields[0];
    if (fields.size() >= 3) {
        t.params = fields[1];
    } else {
        const qsizetype k = lastSeparator(t.file);
        t.params = k >= 0 ? t.file.first(k + 1) : QString();
    }
    t.dir = launchDirectory(t.file);
    return t;
}

} // namespace pw
