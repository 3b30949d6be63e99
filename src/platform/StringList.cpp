#include "platform/StringList.h"

#include "core/Errors.h"
#include "platform/AtomicFile.h"
#include "platform/TextCodec.h"

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
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray encodeWith(QStringConverter::Encoding encoding, const QString& text)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

} // namespace

QString decodeText(const QByteArray& bytes, TextEncoding* encoding)
{
    TextEncoding found = TextEncoding::Ansi;
    QString text;
    if (bytes.startsWith(kBomUtf8)) {
        found = TextEncoding::Utf8;
        text = decodeWith(QStringConverter::Utf8, QByteArrayView(bytes).sliced(kBomUtf8.size()));
    } else if (bytes.startsWith(kBomUtf16LE)) {
        found = TextEncoding::Utf16LE;
        text =
            decodeWith(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(kBomUtf16LE.size()));
    } else if (bytes.startsWith(kBomUtf16BE)) {
        found = TextEncoding::Utf16BE;
        text =
            decodeWith(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(kBomUtf16BE.size()));
    } else {
        text = decodeAnsi(bytes);
    }
    if (encoding)
        *encoding = found;
    return text;
}

QByteArray encodeText(const QString& text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return kBomUtf8 + text.toUtf8();
    case TextEncoding::Utf16LE:
        return kBomUtf16LE + encodeWith(QStringConverter::Utf16LE, text);
    case TextEncoding::Utf16BE:
        return kBomUtf16BE + encodeWith(QStringConverter::Utf16BE, text);
    case TextEncoding::Ansi:
        break;
    }
    return encodeAnsi(text);
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
    const QByteArray bytes = pw::platform::encodeAnsi(pw::platform::joinLines(*this));
    const QString reason = pw::platform::writeFileAtomically(fileName, bytes);
    if (!reason.isEmpty()) {
        throw pw::Error(QStringLiteral("ファイル %1 を作成できません: %2")
                            .arg(QFileInfo(fileName).absoluteFilePath(), reason));
    }
}
