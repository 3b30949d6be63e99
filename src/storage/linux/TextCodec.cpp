#include "storage/TextCodec.h"

namespace pw::platform::detail
{

QString decodeHostAnsi(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}

QByteArray encodeHostAnsi(const QString& text)
{
    return text.toUtf8();
}

// UTF-8 holds every character (an unpaired surrogate, which no encoding
// holds, is written as toUtf8() writes it).
std::optional<QByteArray> encodeHostAnsiExactly(const QString& text)
{
    return text.toUtf8();
}

} // namespace pw::platform::detail
