#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// A launch entry: the file to start, the parameter string handed to it and the
// hint text of its tile.
struct TRec {
    QString fname;
    QString param;
    QString hint;
    friend bool operator==(const TRec&, const TRec&) = default;
};

namespace pw
{

// Splits an entry line into its fields: comma-delimited, nothing trimmed, a
// field that begins with a double quote is quoted ("" inside stands for ").
QStringList splitEntryLine(QStringView line);

// Composes fname,param,hint. A field that holds a comma or begins with a
// double quote is written quoted so the line splits back into the same three
// fields; other fields are written as they are.
QString composeEntryLine(const TRec& entry);

// The entry a stored line stands for. A line of no fields holds no entry;
// one or two fields leave the missing ones empty; from a fourth field on the
// extra fields belong to the hint (joined again with commas), so an entry
// written by an older version with a comma in its hint keeps its file.
std::optional<TRec> entryFromLine(QStringView line);

// The file name part of a path: the text after its last "\", "/" or ":".
QString fileNamePart(QStringView path);

// How an entry's file is listed: its file name part, extension included.
// Nothing for a path holding a control character, a double quote, "<", ">"
// or "|", which no file name can hold.
std::optional<QString> listedFileName(QStringView path);

// The file name part without its extension (from its last "." on).
QString GetFileTitle(QStringView fileName);
// The hint a tile shows for an entry: its hint, followed by " -> " and the
// file name part of its parameter string when it has one.
QString tileHint(const TRec& entry);

} // namespace pw
