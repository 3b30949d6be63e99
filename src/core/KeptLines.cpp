#include "core/KeptLines.h"

#include <algorithm>
#include <numeric>

namespace pw
{

namespace
{

bool byPlace(const KeptLines::Line& a, const KeptLines::Line& b)
{
    return a.after < b.after;
}

} // namespace

void KeptLines::keep(int after, const QString& text)
{
    Line line{std::max(after, -1), text};
    // A load keeps them in file order: appended, the list stays sorted.
    if (lines_.isEmpty() || lines_.last().after <= line.after)
        lines_.append(std::move(line));
    else
        lines_.insert(std::upper_bound(lines_.begin(), lines_.end(), line, byPlace),
                      std::move(line));
}

QStringList KeptLines::fileLines(const QStringList& shown) const
{
    if (lines_.isEmpty())
        return shown;
    QStringList out;
    out.reserve(shown.size() + lines_.size());
    auto kept = lines_.cbegin();
    const auto keptUpTo = [&](qsizetype index) {
        for (; kept != lines_.cend() && kept->after <= index; ++kept)
            out.append(kept->text);
    };
    keptUpTo(-1);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        out.append(shown.at(i));
        keptUpTo(i);
    }
    // Attached to a line the list no longer has: kept all the same, at the end.
    for (; kept != lines_.cend(); ++kept)
        out.append(kept->text);
    return out;
}

void KeptLines::carry(const QList<int>& from)
{
    if (lines_.isEmpty())
        return;
    // Old line count: enough to cover every old index named here.
    int oldCount = 0;
    for (const Line& line : std::as_const(lines_))
        oldCount = std::max(oldCount, line.after + 1);
    for (const int old : from)
        oldCount = std::max(oldCount, old + 1);
    // Where each old line went (-1: removed).
    QList<int> newIndex(oldCount, -1);
    for (qsizetype j = 0; j < from.size(); ++j) {
        const int old = from.at(j);
        if (old >= 0 && newIndex.at(old) < 0)
            newIndex[old] = int(j);
    }
    // A removed line hands its kept lines to the nearest line before it that
    // is still there, or to the start.
    int lastKept = -1;
    for (int& to : newIndex) {
        if (to >= 0)
            lastKept = to;
        else
            to = lastKept;
    }
    for (Line& line : lines_)
        line.after = line.after >= 0 ? newIndex.at(line.after) : -1;
    // The list was in file order; a stable sort keeps that order among the
    // lines that now follow the same shown line.
    std::stable_sort(lines_.begin(), lines_.end(), byPlace);
}

void KeptLines::carryMove(qsizetype lineCount, qsizetype from, qsizetype to)
{
    if (lines_.isEmpty() || from == to)
        return;
    QList<int> order(lineCount);
    std::iota(order.begin(), order.end(), 0);
    order.move(from, to);
    carry(order);
}

void KeptLines::carryRemove(qsizetype lineCount, qsizetype index)
{
    if (lines_.isEmpty())
        return;
    QList<int> order(lineCount);
    std::iota(order.begin(), order.end(), 0);
    order.removeAt(index);
    carry(order);
}

} // namespace pw
