// The settings file: any bytes load; a write changes the one value it names
// and no other, and survives saving and loading again.
//
// Input: the file's bytes, then the value to write, then one byte with the
// value's length and one that picks the key (see splitInput).
#include "FuzzSupport.h"
#include "storage/IniFile.h"

#include <QList>
#include <array>

namespace
{

struct Key {
    const char16_t* section;
    const char16_t* key;
};

// The dock's own keys, and one of a section that no file has, so that some
// writes add a section.
constexpr std::array<Key, 12> kKeys{{
    {u"Icon", u"Size"},
    {u"Icon", u"Width"},
    {u"Icon", u"Refrection"},
    {u"Menu", u"Index"},
    {u"Menu", u"Name0"},
    {u"Back", u"Color0"},
    {u"Back", u"Opa"},
    {u"Back", u"ImageFile"},
    {u"Form", u"Left"},
    {u"Hint", u"Show"},
    {u"Refrect", u"Mode"},
    {u"Fuzz New Section", u"Value"},
}};

const QString kAbsent = QStringLiteral("\x01<absent>");

struct Input {
    QByteArray file;
    std::optional<QString> value; // nothing to write when absent
    std::size_t key = 0;
};

Input splitInput(const std::uint8_t* data, std::size_t size)
{
    Input in;
    if (size < 2) {
        in.file = pw::fuzz::bytesOf(data, size);
        return in;
    }
    in.key = data[size - 1] % kKeys.size();
    const std::size_t valueLength = std::min<std::size_t>(data[size - 2], size - 2);
    const std::size_t fileLength = size - 2 - valueLength;
    in.file = pw::fuzz::bytesOf(data, fileLength);
    in.value = QString::fromUtf8(reinterpret_cast<const char*>(data + fileLength),
                                 static_cast<qsizetype>(valueLength));
    return in;
}

QList<QString> readAll(const TIniFile& ini)
{
    QList<QString> values;
    for (const Key& k : kKeys) {
        const QString section = QString::fromUtf16(k.section);
        const QString key = QString::fromUtf16(k.key);
        const QString value = ini.ReadString(section, key, kAbsent);
        // A value is one line of at most 2047 characters; one cut to that
        // length never ends in half a character.
        if (value != kAbsent) {
            PW_FUZZ_CHECK(value.size() <= 2047);
            PW_FUZZ_CHECK(!value.contains(u'\r') && !value.contains(u'\n'));
            PW_FUZZ_CHECK(value.size() < 2047 || !value.back().isHighSurrogate());
        }
        // The typed reads of the same value.
        (void)ini.ReadInteger(section, key, 0);
        (void)ini.ReadBool(section, key, false);
        (void)ini.ReadFloat(section, key, 0.0);
        values.append(value);
    }
    return values;
}

// What reading a written value gives: line breaks become blanks, blanks
// around it go, and it is cut to 2047 characters without splitting a pair.
QString expectedRead(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    value = value.trimmed();
    if (value.size() > 2047) {
        value.truncate(2047);
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

// Names the keys whose values differ before the check fails.
bool sameValues(const QList<QString>& actual, const QList<QString>& expected)
{
    bool same = true;
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (actual[i] == expected[i])
            continue;
        same = false;
        std::fprintf(stderr, "[%s] %s: read \"%s\", expected \"%s\"\n",
                     QString::fromUtf16(kKeys[std::size_t(i)].section).toUtf8().constData(),
                     QString::fromUtf16(kKeys[std::size_t(i)].key).toUtf8().constData(),
                     actual[i].toUtf8().toPercentEncoding(" ").constData(),
                     expected[i].toUtf8().toPercentEncoding(" ").constData());
    }
    return same;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Input in = splitInput(data, size);
    const QString path = pw::fuzz::writeScratchFile(QStringLiteral("Pondwillow.ini"), in.file);

    TIniFile ini(path);
    ini.setDecimalPoint(u'.');
    const QList<QString> before = readAll(ini);
    if (!in.value)
        return 0;

    const Key& target = kKeys[in.key];
    ini.WriteString(QString::fromUtf16(target.section), QString::fromUtf16(target.key), *in.value);
    QList<QString> expected = before;
    expected[static_cast<qsizetype>(in.key)] = expectedRead(*in.value);
    PW_FUZZ_CHECK(sameValues(readAll(ini), expected));

    // Saved and loaded again, in the encoding the file came in (a UTF-16 file
    // cut in the middle of a character included).
    ini.UpdateFile();
    const TIniFile reloaded(path);
    PW_FUZZ_CHECK(sameValues(readAll(reloaded), expected));
    return 0;
}
