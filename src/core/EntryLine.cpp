#include "core/EntryLine.h"

namespace pw
{

namespace
{

constexpr QChar kDelimiter = u',';
constexpr QChar kQuote = u'"';

// Reads a quoted field that starts at line[pos] (the opening quote). Returns
// the field's text and leaves pos just after the closing quote, or at the end
// of the line when the quote is never closed.
QString readQuotedField(QStringView line, qsizetype& pos)
{
    QString field;
    ++pos; // the opening quote
    while (pos < line.size()) {
        const QChar c = line[pos];
        if (c == kQuote) {
            if (pos + 1 < line.size() && line[pos + 1] == kQuote) {
                field += kQuote;
                pos += 2;
                continue;
            }
            ++pos; // the closing quote
            return field;
        }
        field += c;
        ++pos;
    }
    return field;
}

bool needsQuoting(const QString& field)
{
    return field.contains(kDelimiter) || field.startsWith(kQuote);
}

QString quotedIfNeeded(const QString& field)
{
    if (!needsQuoting(field))
        return field;
    QString out = field;
    out.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + out + kQuote;
}

} // namespace

QStringList splitEntryLine(QStringView line)
{
    QStringList fields;
    qsizetype pos = 0;
    const qsizetype size = line.size();
    while (pos < size) {
        if (line[pos] == kQuote) {
            fields.append(readQuotedField(line, pos));
        } else {
            qsizetype end = line.indexOf(kDelimiter, pos);
            if (end < 0)
                end = size;
            fields.append(line.mid(pos, end - pos).toString());
            pos = end;
        }
        // A comma ends the field; one that ends the line adds an empty field.
        // Any other character after a closing quote starts a further field.
        if (pos < size && line[pos] == kDelimiter) {
            ++pos;
            if (pos == size)
                fields.append(QString());
        }
    }
    return fields;
}

QString composeEntryLine(const TRec& entry)
{
    return quotedIfNeeded(entry.fname) + kDelimiter + quotedIfNeeded(entry.param) + kDelimiter +
           quotedIfNeeded(entry.hint);
}

std::optional<TRec> entryFromLine(QStringView line)
{
    const QStringList fields = splitEntryLine(line);
    if (fields.isEmpty())
        return std::nullopt;
    TRec entry;
    entry.fname = fields.at(0);
    if (fields.size() > 1)
        entry.param = fields.at(1);
    if (fields.size() > 2)
        entry.hint = fields.mid(2).join(kDelimiter);
    return entry;
}

QString fileNamePart(QStringView path)
{
    qsizetype cut = -1;
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path[i];
        if (c == u'\\' || c == u'/' || c == u':') {
            cut = i;
            break;
        }
    }
    return path.mid(cut + 1).toString();
}

std::optional<QString> listedFileName(QStringView path)
{
    for (const QChar c : path) {
        if (c.unicode() < 0x20 || c == u'"' || c == u'<' || c == u'>' || c == u'|')
            return std::nullopt;
    }
    return fileNamePart(path);
}

QString GetFileTitle(QStringView fileName)
{
    const QString name = fileNamePart(fileName);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString tileHint(const TRec& entry)
{
    return entry.param.isEmpty() ? entry.hint
                                 : entry.hint + QStringLiteral(" -> ") + fileNamePart(entry.param);
}

} // namespace pw
