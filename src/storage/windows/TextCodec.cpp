// The ANSI code page on Windows: the system's active code page (Win32Text.cpp).
#include "storage/TextCodec.h"

#include "win32/Win32.h"

#include <string>
#include <string_view>

namespace pw::platform
{

QString decodeAnsi(const QByteArray& bytes)
{
    return QString::fromStdWString(
        win32::decodeCodePage(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
}

QByteArray encodeAnsi(const QString& text)
{
    const std::string bytes = win32::encodeCodePage(text.toStdWString());
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

} // namespace pw::platform
