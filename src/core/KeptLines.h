#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pw
{

// The lines of one group file that the dock does not show: an entry whose
// file is missing when the group loads (a drive not mounted yet, say), or any
// other line with content that makes no tile. The list of shown lines holds
// one line per tile and nothing else; these lines are kept beside it and
// written back exactly as they were read each time the group is saved, so an
// entry's tile comes back once its file does.
//
// Where a kept line goes: it is attached to the shown line that stood before
// it in the file (or to the file's start) and is written right after that
// line, after the kept lines attached to it that came earlier in the file.
// - A shown line that moves takes its kept lines with it.
// - When a shown line is removed, its kept lines attach to the shown line
//   that stood before it (or to the start), after that line's own.
// - A new shown line has none; one appended at the end is written after the
//   kept lines of the line before it.
// - A shown line rewritten in place keeps its kept lines.
class KeptLines
{
public:
    struct Line {
        // The index of the shown line it follows; -1: the file's start.
        int after = -1;
        // The line as it was read.
        QString text;
        friend bool operator==(const Line&, const Line&) = default;
    };

    // Keeps a line that follows shown line `after` (-1: the start). Lines
    // kept for the same shown line are written in the order they were kept.
    void keep(int after, const QString& text);
    void clear() { lines_.clear(); }
    bool isEmpty() const { return lines_.isEmpty(); }
    // In file order: by the shown line they follow, then as kept.
    const QList<Line>& lines() const { return lines_; }

    // The file's lines: the shown lines, each followed by its kept lines,
    // after the kept lines of the start. A kept line that follows no line of
    // `shown` is written at the end, so that none is ever lost.
    QStringList fileLines(const QStringList& shown) const;

    // Follows a change of the shown lines: new shown line j was line from[j]
    // before the change, or is new (-1). A line before the change that
    // appears in `from` nowhere has been removed.
    void carry(const QList<int>& from);

    // carry() for the usual changes: line `from` moved to index `to`
    // (as QList::move does); line `index` removed.
    void carryMove(qsizetype lineCount, qsizetype from, qsizetype to);
    void carryRemove(qsizetype lineCount, qsizetype index);

private:
    QList<Line> lines_;
};

} // namespace pw
