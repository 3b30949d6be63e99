#include "icons/DesktopEntry.h"

#include <QList>

namespace pw::platform
{

QString unescapeDesktopValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out.append(QLatin1Char(' '));
            break;
        case 'n':
            out.append(QLatin1Char('\n'));
            break;
        case 't':
            out.append(QLatin1Char('\t'));
            break;
        case 'r':
            out.append(QLatin1Char('\r'));
            break;
        default:
            out.append(next);
            break;
        }
    }
    return out;
}

QString desktopEntryIconValue(const QByteArray& text)
{
    bool inEntryGroup = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            inEntryGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntryGroup)
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && line.left(equals).trimmed() == "Icon")
            return unescapeDesktopValue(QString::fromUtf8(line.mid(equals + 1).trimmed()));
    }
    return {};
}

} // namespace pw::platform
