#pragma once

#include "storage/StringList.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

// Our own engine for INI settings files, with the behaviour of the Windows
// private-profile functions on every platform:
// - section and key names match without regard to case (first match wins);
// - an absent key, or a missing file, yields the caller's default;
// - a write replaces an existing value in place, adds a new key after the
//   last key line of its section, and a new section (with its key) at the end
//   of the file; every other line, unknown lines and comments included, is
//   kept as it was;
// - values are read with surrounding blanks removed and cut to 2047 chars.
// Reads come from the text loaded at construction; writes change the text in
// memory, and UpdateFile() saves it whole and atomically. A line that no write
// changed is saved as the bytes it was read from, line break included, even
// when they are not valid text in the file's encoding, unless the whole file
// has to change its encoding (UpdateFile).
class TIniFile
{
public:
    // Loads the file; a missing or unreadable file is an empty one. Text with a
    // byte-order mark (UTF-8, UTF-16 LE/BE) is decoded accordingly and saved
    // back with the same mark; otherwise the host's ANSI encoding is used, as
    // long as it holds what is written (see UpdateFile).
    explicit TIniFile(const QString& fileName);

    const QString& FileName() const { return fileName_; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    std::int32_t ReadInteger(const QString& section, const QString& key, std::int32_t def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    double ReadFloat(const QString& section, const QString& key, double def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, std::int32_t value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteFloat(const QString& section, const QString& key, double value);

    // Saves the whole text; lines that a write added or changed end like the
    // file's first line (CR LF in a new file). When a written line holds a
    // character that the ANSI encoding lacks, the whole file becomes UTF-16 LE
    // with its mark, as the Windows profile functions keep Unicode files:
    // every line is re-encoded, each keeping its line break, and the text of a
    // line whose bytes were no valid text becomes what it was read as. The
    // file then stays UTF-16 LE.
    // Raises pw::Error "<full path> に書き込めません: <reason>" when the file
    // cannot be written; the old file is then unchanged.
    void UpdateFile();

    // The decimal separator used for floats (the user's locale by default).
    void setDecimalPoint(QChar c) { decimalPoint_ = c; }

private:
    // The line range of the first section of that name: the header's index
    // and the index just past its last line; nullopt when there is none.
    struct SectionRange {
        qsizetype header;
        qsizetype end;
    };
    std::optional<SectionRange> findSection(const QString& section) const;
    // Index of the first line of the section that holds the key, or -1.
    qsizetype findKey(const SectionRange& range, const QString& key) const;
    std::optional<QString> readValue(const QString& section, const QString& key) const;

    // One line of the file: its text, and the bytes it was read from (with its
    // line break), which are saved again as long as no write changes the line.
    struct Line {
        QString text;
        QByteArray raw;
        QByteArray eol;
        bool changed = true;
    };
    const QString& lineAt(qsizetype i) const { return lines_.at(i).text; }
    void setLine(qsizetype i, const QString& text);
    void insertLine(qsizetype i, const QString& text);
    // The file's bytes in encoding_; nullopt when a line to be encoded holds
    // a character that the encoding lacks.
    std::optional<QByteArray> contents() const;
    // Turns the kept bytes of every line, and its line break, into encoding.
    void reencode(pw::platform::TextEncoding encoding);

    QString fileName_;
    QList<Line> lines_;
    // The line break of the file's first line, in its encoding; empty for CR LF.
    QByteArray lineBreak_;
    // The encoding the file was read in (with its byte-order mark), written back.
    pw::platform::TextEncoding encoding_ = pw::platform::TextEncoding::Ansi;
    QChar decimalPoint_;
};
