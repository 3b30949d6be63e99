#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace pw::platform
{

// How a text file is encoded: the host's ANSI encoding (no mark), or a
// Unicode encoding announced by a byte-order mark.
enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// Decodes file contents: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark,
// tested in that order, selects that encoding (the mark is not part of the
// text); any other content is decoded in the ANSI encoding.
QString decodeText(const QByteArray& bytes, TextEncoding* encoding = nullptr);

// Encodes text for a file, with the byte-order mark of a Unicode encoding.
QByteArray encodeText(const QString& text, TextEncoding encoding);

// The encoding a file's byte-order mark announces (UTF-8, UTF-16 LE, UTF-16
// BE, tested in that order), or the ANSI encoding when it has none.
TextEncoding encodingOf(QByteArrayView bytes);
QByteArray byteOrderMark(TextEncoding encoding);

// One line of a file as bytes, without its byte-order mark: its content and
// the line break that ended it (CR LF, CR or LF in the file's encoding; empty
// for a last line without one).
struct RawLine {
    QByteArray bytes;
    QByteArray eol;
};
// Splits a whole file's bytes into lines as splitLines() does for text, but
// keeps the bytes, also those that are no valid text in the encoding.
QList<RawLine> splitRawLines(QByteArrayView file, TextEncoding encoding);
// One line's text from its bytes, and back (no byte-order mark).
QString decodeLine(QByteArrayView bytes, TextEncoding encoding);
QByteArray encodeLine(const QString& text, TextEncoding encoding);
// The line's bytes when the encoding holds every character of the text;
// nullopt when it is the ANSI encoding and lacks one (see encodeAnsiExactly).
std::optional<QByteArray> encodeLineExactly(const QString& text, TextEncoding encoding);

// Splits text into lines ending at CR LF, a lone CR or a lone LF. The break
// after the last line adds no empty line; two breaks in a row make one.
QStringList splitLines(QStringView text);

// Each line followed by CR LF, the last one included.
QString joinLines(const QStringList& lines);

} // namespace pw::platform

// A list of text lines that loads from and saves to a text file.
class TStringList : public QStringList
{
public:
    using QStringList::QStringList;

    // Reads the whole file. A file that begins with a UTF-8 (EF BB BF),
    // UTF-16 LE (FF FE) or UTF-16 BE (FE FF) byte-order mark, tested in that
    // order, is decoded in that encoding without the mark; any other in the
    // host's ANSI encoding. Lines end at CR LF, a lone CR or a lone LF; the
    // break after the last line adds no empty line. Returns false, leaving the
    // list empty, when the file cannot be opened or read.
    bool LoadFromFile(const QString& fileName);

    // Writes every line followed by CR LF, atomically: in the host's ANSI
    // encoding without a byte-order mark when that encoding holds every
    // character of the text, whatever encoding the file had before;
    // otherwise in UTF-8 with its mark, so that nothing is lost. Raises
    // pw::Error when the file cannot be created or written; the old file is
    // then unchanged.
    void SaveToFile(const QString& fileName) const;
};
