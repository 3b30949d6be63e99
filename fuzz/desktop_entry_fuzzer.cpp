// Desktop entries: any bytes read; only the [Desktop Entry] group names the
// icon; escaped values unescape to what was escaped.
//
// Input: the entry's bytes.
#include "FuzzSupport.h"
#include "icons/DesktopEntry.h"

namespace
{

using pw::platform::desktopEntryIconValue;
using pw::platform::unescapeDesktopValue;

QString escaped(const QString& value)
{
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case ' ':
            out += QLatin1String("\\s");
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text = pw::fuzz::bytesOf(data, size);
    const QString icon = desktopEntryIconValue(text);
    if (!icon.isEmpty())
        PW_FUZZ_CHECK(text.contains("Icon") && text.contains("[Desktop Entry]"));

    // Other groups before or after the entry's own change nothing.
    const QByteArray other("[Desktop Action new]\nIcon=other-icon\n");
    PW_FUZZ_CHECK(desktopEntryIconValue(other + text) == icon);
    PW_FUZZ_CHECK(desktopEntryIconValue(text + '\n' + other) == icon);

    // Any text, escaped, reads back as itself.
    const QString value = QString::fromUtf8(text);
    PW_FUZZ_CHECK(unescapeDesktopValue(escaped(value)) == value);
    return 0;
}
