#include "platform/TextCodec.h"

#include <windows.h>

namespace pw::platform
{

QString decodeAnsi(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    std::wstring wide(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.constData(), int(bytes.size()), wide.data(), n);
    return QString::fromStdWString(wide);
}

QByteArray encodeAnsi(const QString& text)
{
    if (text.isEmpty())
        return {};
    const std::wstring wide = text.toStdWString();
    const int n =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    QByteArray out(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace pw::platform
