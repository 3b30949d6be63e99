#include "storage/StringList.h"

#include "core/Errors.h"
#include "storage/AtomicFile.h"
#include "storage/TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace pw::platform
{

namespace
{

const QByteArray kBomUtf8("\xEF\xBB\xBF", 3);
const QByteArray kBomUtf16LE("\xFF\xFE", 2);
const QByteArray kBomUtf16BE("\xFE\xFF", 2);

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    // The file's mark has been taken off already: a U+FEFF after it is text.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QByteArray encodeWith(QStringConverter::Encoding encoding, const QString& text)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

} // namespace

TextEncoding encodingOf(QByteArrayView bytes)
{
    if (bytes.startsWith(kBomUtf8))
        return TextEncoding::Utf8;
    if (bytes.startsWith(kBomUtf16LE))
        return TextEncoding::Utf16LE;
    if (bytes.startsWith(kBomUtf16BE))
        return TextEncoding::Utf16BE;
    return TextEncoding::Ansi;
}

QByteArray byteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return kBomUtf8;
    case TextEncoding::Utf16LE:
        return kBomUtf16LE;
    case TextEncoding::Utf16BE:
        return kBomUtf16BE;
    case TextEncoding::Ansi:
        break;
    }
    return {};
}

QString decodeLine(QByteArrayView bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return decodeWith(QStringConverter::Utf8, bytes);
    case TextEncoding::Utf16LE:
        return decodeWith(QStringConverter::Utf16LE, bytes);
    case TextEncoding::Utf16BE:
        return decodeWith(QStringConverter::Utf16BE, bytes);
    case TextEncoding::Ansi:
        break;
    }
    return decodeAnsi(bytes.toByteArray());
}

QByteArray encodeLine(const QString& text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf16LE:
        return encodeWith(QStringConverter::Utf16LE, text);
    case TextEncoding::Utf16BE:
        return encodeWith(QStringConverter::Utf16BE, text);
    case TextEncoding::Ansi:
        break;
    }
    return encodeAnsi(text);
}

std::optional<QByteArray> encodeLineExactly(const QString& text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Ansi)
        return encodeAnsiExactly(text);
    return encodeLine(text, encoding);
}

QList<RawLine> splitRawLines(QByteArrayView file, TextEncoding encoding)
{
    const QByteArrayView body = file.sliced(byteOrderMark(encoding).size());
    // CR and LF are whole code units: one byte in UTF-8 and the ANSI encodings
    // (no multibyte character holds those bytes), two bytes in UTF-16.
    const qsizetype unit =
        encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE ? 2 : 1;
    const qsizetype low = encoding == TextEncoding::Utf16BE ? 1 : 0;
    const auto codeAt = [&](qsizetype i) -> int {
        if (unit == 1)
            return static_cast<unsigned char>(body[i]);
        if (body[i + 1 - low] != 0)
            return -1;
        return static_cast<unsigned char>(body[i + low]);
    };
    QList<RawLine> lines;
    qsizetype start = 0;
    const qsizetype units = body.size() - body.size() % unit;
    for (qsizetype i = 0; i < units; i += unit) {
        const int c = codeAt(i);
        if (c != '\r' && c != '\n')
            continue;
        qsizetype breakEnd = i + unit;
        if (c == '\r' && breakEnd < units && codeAt(breakEnd) == '\n')
            breakEnd += unit;
        lines.append(RawLine{body.sliced(start, i - start).toByteArray(),
                             body.sliced(i, breakEnd - i).toByteArray()});
        start = breakEnd;
        i = breakEnd - unit;
    }
    if (start < body.size())
        lines.append(RawLine{body.sliced(start).toByteArray(), QByteArray()});
    return lines;
}

QString decodeText(const QByteArray& bytes, TextEncoding* encoding)
{
    const TextEncoding found = encodingOf(bytes);
    if (encoding)
        *encoding = found;
    return decodeLine(QByteArrayView(bytes).sliced(byteOrderMark(found).size()), found);
}

QByteArray encodeText(const QString& text, TextEncoding encoding)
{
    return byteOrderMark(encoding) + encodeLine(text, encoding);
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start).toString());
    return lines;
}

QString joinLines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

} // namespace pw::platform

bool TStringList::LoadFromFile(const QString& fileName)
{
    clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    QStringList::operator=(pw::platform::splitLines(pw::platform::decodeText(bytes)));
    return true;
}

void TStringList::SaveToFile(const QString& fileName) const
{
    const QString text = pw::platform::joinLines(*this);
    std::optional<QByteArray> bytes = pw::platform::encodeAnsiExactly(text);
    if (!bytes)
        bytes = pw::platform::encodeText(text, pw::platform::TextEncoding::Utf8);
    const QString reason = pw::platform::writeFileAtomically(fileName, *bytes);
    if (!reason.isEmpty()) {
        throw pw::Error(
            QCoreApplication::translate("TStringList", "ファイル %1 を作成できません: %2")
                .arg(QFileInfo(fileName).absoluteFilePath(), reason));
    }
}
