// The ANSI code page on Windows: the system's active code page (Win32Text.cpp).
#include "storage/TextCodec.h"

#include "win32/Win32.h"

#include <string>
#include <string_view>

namespace pw::platform::detail
{

namespace
{

QByteArray toByteArray(const std::string& bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

QString decodeHostAnsi(const QByteArray& bytes)
{
    return QString::fromStdWString(
        win32::decodeCodePage(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
}

QByteArray encodeHostAnsi(const QString& text)
{
    return toByteArray(win32::encodeCodePage(text.toStdWString()));
}

std::optional<QByteArray> encodeHostAnsiExactly(const QString& text)
{
    const std::optional<std::string> bytes = win32::encodeCodePageExactly(text.toStdWString());
    if (!bytes)
        return std::nullopt;
    return toByteArray(*bytes);
}

} // namespace pw::platform::detail
