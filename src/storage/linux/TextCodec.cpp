#include "storage/TextCodec.h"

namespace pw::platform
{

QString decodeAnsi(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}

QByteArray encodeAnsi(const QString& text)
{
    return text.toUtf8();
}

} // namespace pw::platform
