#pragma once

#include <QString>
#include <QStringList>

// A list of text lines that loads from and saves to a text file.
class TStringList : public QStringList {
public:
    using QStringList::QStringList;

    // Reads the whole file. A file that begins with a UTF-8 (EF BB BF),
    // UTF-16 LE (FF FE) or UTF-16 BE (FE FF) byte-order mark, tested in that
    // order, is decoded in that encoding without the mark; any other in the
    // host's ANSI encoding. Lines end at CR LF, a lone CR or a lone LF; the
    // break after the last line adds no empty line. Returns false, leaving the
    // list empty, when the file cannot be opened or read.
    bool LoadFromFile(const QString& fileName);

    // Writes every line followed by CR LF in the host's ANSI encoding, without
    // a byte-order mark, atomically. Raises pw::Error when the file cannot be
    // created or written; the old file is then unchanged.
    void SaveToFile(const QString& fileName) const;
};
