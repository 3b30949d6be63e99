#include "storage/IniFile.h"

#include "core/Errors.h"
#include "core/IniValues.h"
#include "storage/AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace
{

// The longest value a read returns, as the private-profile functions read
// into a buffer of 2048 characters.
constexpr qsizetype kMaxValueLength = 2047;

// The name of a section header line "[name]", blanks allowed around the
// brackets and the name; nullopt for any other line.
std::optional<QString> sectionNameOf(const QString& line)
{
    const QString text = line.trimmed();
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.lastIndexOf(u']');
    if (close < 0)
        return std::nullopt;
    return text.mid(1, close - 1).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
};

// A "key=value" line with key and value trimmed; comments (";" or "#"),
// section headers, blank lines and lines without "=" are not key lines.
std::optional<KeyLine> keyLineOf(const QString& line)
{
    const QString text = line.trimmed();
    if (text.isEmpty() || text.startsWith(u';') || text.startsWith(u'#') || sectionNameOf(text))
        return std::nullopt;
    const qsizetype eq = text.indexOf(u'=');
    if (eq <= 0)
        return std::nullopt;
    KeyLine kl{text.left(eq).trimmed(), text.mid(eq + 1).trimmed()};
    if (kl.key.isEmpty())
        return std::nullopt;
    return kl;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A value must stay on its own line: a line break in it would start new
// lines of the file (a new key or section) when it is read back.
QString singleLine(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

QChar localeDecimalPoint()
{
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 ? point.at(0) : QChar(u'.');
}

} // namespace

TIniFile::TIniFile(const QString& fileName)
    : fileName_(fileName), decimalPoint_(localeDecimalPoint())
{
    QFile file(fileName_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    encoding_ = pw::platform::encodingOf(bytes);
    for (const pw::platform::RawLine& raw : pw::platform::splitRawLines(bytes, encoding_)) {
        // A last line that ends inside a UTF-16 character cannot be followed
        // by more text as it is: it is written again, as the text it reads as.
        const bool partial = (encoding_ == pw::platform::TextEncoding::Utf16LE ||
                              encoding_ == pw::platform::TextEncoding::Utf16BE) &&
                             raw.bytes.size() % 2 != 0;
        lines_.append(
            Line{pw::platform::decodeLine(raw.bytes, encoding_), raw.bytes, raw.eol, partial});
        // Lines the dock adds end like the file's first line.
        if (lineBreak_.isEmpty())
            lineBreak_ = raw.eol;
    }
}

void TIniFile::setLine(qsizetype i, const QString& text)
{
    Line& line = lines_[i];
    if (!line.changed && line.text == text)
        return;
    line.text = text;
    line.changed = true;
}

void TIniFile::insertLine(qsizetype i, const QString& text)
{
    lines_.insert(i, Line{text, {}, {}, true});
}

std::optional<TIniFile::SectionRange> TIniFile::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const auto name = sectionNameOf(lineAt(i));
        if (!name || !sameName(*name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines_.size() && !sectionNameOf(lineAt(end)))
            ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

qsizetype TIniFile::findKey(const SectionRange& range, const QString& key) const
{
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const auto kl = keyLineOf(lineAt(i));
        if (kl && sameName(kl->key, key))
            return i;
    }
    return -1;
}

std::optional<QString> TIniFile::readValue(const QString& section, const QString& key) const
{
    const auto range = findSection(section);
    if (!range)
        return std::nullopt;
    const qsizetype index = findKey(*range, key);
    if (index < 0)
        return std::nullopt;
    QString value = keyLineOf(lineAt(index))->value;
    if (value.size() > kMaxValueLength) {
        value.truncate(kMaxValueLength);
        if (value.back().isHighSurrogate()) // never keep half a character
            value.chop(1);
    }
    return value;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    return readValue(section, key).value_or(def);
}

std::int32_t TIniFile::ReadInteger(const QString& section, const QString& key,
                                   std::int32_t def) const
{
    const auto text = readValue(section, key);
    if (!text)
        return def;
    return pw::ini::parseInteger(*text).value_or(def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
    const auto text = readValue(section, key);
    if (!text)
        return def;
    return pw::ini::parseFloat(*text, decimalPoint_).value_or(def);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString text = singleLine(value);
    const auto range = findSection(section);
    if (!range) {
        if (!lines_.isEmpty() && !lines_.last().text.trimmed().isEmpty())
            insertLine(lines_.size(), QString());
        insertLine(lines_.size(), u'[' + section + u']');
        insertLine(lines_.size(), key + u'=' + text);
        return;
    }
    const qsizetype index = findKey(*range, key);
    if (index >= 0) {
        // Keep the key as the file spells it.
        setLine(index, keyLineOf(lineAt(index))->key + u'=' + text);
        return;
    }
    qsizetype insertAt = range->header + 1;
    for (qsizetype i = range->header + 1; i < range->end; ++i) {
        if (keyLineOf(lineAt(i)))
            insertAt = i + 1;
    }
    insertLine(insertAt, key + u'=' + text);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, std::int32_t value)
{
    WriteString(section, key, pw::ini::formatInteger(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::WriteFloat(const QString& section, const QString& key, double value)
{
    WriteString(section, key, pw::ini::formatFloat(value, decimalPoint_));
}

std::optional<QByteArray> TIniFile::contents() const
{
    const QByteArray lineBreak = lineBreak_.isEmpty()
                                     ? pw::platform::encodeLine(QStringLiteral("\r\n"), encoding_)
                                     : lineBreak_;
    QByteArray bytes = pw::platform::byteOrderMark(encoding_);
    for (const Line& line : lines_) {
        if (line.changed) {
            const std::optional<QByteArray> encoded =
                pw::platform::encodeLineExactly(line.text, encoding_);
            if (!encoded)
                return std::nullopt;
            bytes += *encoded;
        } else {
            bytes += line.raw;
        }
        // The last line, read without a break, gets one, so that lines added
        // after it stay lines of their own.
        bytes += line.changed || line.eol.isEmpty() ? lineBreak : line.eol;
    }
    return bytes;
}

void TIniFile::reencode(pw::platform::TextEncoding encoding)
{
    // Line breaks are CR and LF alone, in any encoding.
    const auto convert = [&](const QByteArray& bytes) {
        return pw::platform::encodeLine(pw::platform::decodeLine(bytes, encoding_), encoding);
    };
    for (Line& line : lines_) {
        if (!line.changed)
            line.raw = pw::platform::encodeLine(line.text, encoding);
        line.eol = convert(line.eol);
    }
    lineBreak_ = convert(lineBreak_);
    encoding_ = encoding;
}

void TIniFile::UpdateFile()
{
    std::optional<QByteArray> bytes = contents();
    if (!bytes) {
        // Only the ANSI encoding lacks characters: UTF-16 holds any text.
        reencode(pw::platform::TextEncoding::Utf16LE);
        bytes = contents();
    }
    const QString reason = pw::platform::writeFileAtomically(fileName_, *bytes);
    if (!reason.isEmpty()) {
        throw pw::Error(QCoreApplication::translate("TIniFile", "%1 に書き込めません: %2")
                            .arg(QFileInfo(fileName_).absoluteFilePath(), reason));
    }
}
