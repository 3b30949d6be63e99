#pragma once

#include <QByteArray>
#include <QString>

// The host's legacy text encoding ("ANSI code page"), used for group files and
// settings files that carry no byte-order mark. UTF-8 on Linux; the active
// code page on Windows.
namespace pw::platform
{

QString decodeAnsi(const QByteArray& bytes);
QByteArray encodeAnsi(const QString& text);

} // namespace pw::platform
