#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The host's legacy text encoding ("ANSI code page"), used for group files and
// settings files that carry no byte-order mark. UTF-8 on Linux; the active
// code page on Windows.
namespace pw::platform
{

QString decodeAnsi(const QByteArray& bytes);
// Characters the encoding lacks become its stand-in ("?" or a look-alike).
QByteArray encodeAnsi(const QString& text);
// The text in the ANSI encoding when every character has a form of its own
// there that reads back as the same character; nullopt when one has none
// (where encodeAnsi would put a "?" or a look-alike). UTF-8 takes any text.
std::optional<QByteArray> encodeAnsiExactly(const QString& text);

// Makes the ANSI encoding Windows-1252 (true), a narrow code page, on any
// system, or the host's own again (false): for tests of what happens to text
// that the code page cannot hold. Not for use while other threads convert.
void useWindows1252AsAnsiForTesting(bool on);

namespace detail
{
// The host's own ANSI encoding, one implementation per system.
QString decodeHostAnsi(const QByteArray& bytes);
QByteArray encodeHostAnsi(const QString& text);
std::optional<QByteArray> encodeHostAnsiExactly(const QString& text);
} // namespace detail

} // namespace pw::platform
