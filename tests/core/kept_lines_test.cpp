// The lines a group keeps without showing them: where they are written back
// as the shown lines around them are removed, moved, added and rewritten.
#include "core/KeptLines.h"

#include <gtest/gtest.h>

namespace
{

// A group file written as letters: a capital is a shown line, a small letter
// a kept one. Kept lines stand for lines as a file may hold them, quotes,
// spaces, tabs and all, which must come back exactly as they were.
QString keptText(QChar c)
{
    return QStringLiteral("\"/media/usb/%1 tool.sh\" , -v ,\"say \"\"%1\"\", twice\"\t日本,")
        .arg(c);
}

struct Group {
    QStringList shown;
    pw::KeptLines kept;

    // As a load reads the file: a kept line follows the shown lines before it.
    explicit Group(const QString& file)
    {
        for (const QChar c : file) {
            if (c.isUpper())
                shown << QString(c);
            else
                kept.keep(int(shown.size()) - 1, keptText(c));
        }
    }

    // The file as a save writes it, in letters; a line that is neither a
    // shown letter nor a kept line exactly as read shows as '?'.
    QString file() const
    {
        QString letters;
        for (const QString& line : kept.fileLines(shown)) {
            if (line.size() == 1 && line.at(0).isUpper()) {
                letters += line;
                continue;
            }
            QChar found = u'?';
            for (char16_t c = u'a'; c <= u'z'; ++c) {
                if (line == keptText(QChar(c)))
                    found = QChar(c);
            }
            letters += found;
        }
        return letters;
    }
};

// A change of the shown lines, made as the dock makes it.
struct Step {
    enum Kind { Move, Remove, Append, Rewrite, Carry } kind;
    int a = 0;
    int b = 0;
    QList<int> from = {}; // Carry: for each new line, its index before or -1
};

void apply(Group& g, const Step& s)
{
    switch (s.kind) {
    case Step::Move:
        g.kept.carryMove(g.shown.size(), s.a, s.b);
        g.shown.move(s.a, s.b);
        break;
    case Step::Remove:
        g.kept.carryRemove(g.shown.size(), s.a);
        g.shown.removeAt(s.a);
        break;
    case Step::Append: // a drop: nothing to carry
        g.shown << QString(QChar(s.a));
        break;
    case Step::Rewrite: // the parameter window: one line changed in place
        g.shown[s.a] = QString(QChar(s.b));
        break;
    case Step::Carry: {
        QStringList next;
        char16_t fresh = u'N';
        for (const int old : s.from)
            next << (old >= 0 ? g.shown.at(old) : QString(QChar(fresh++)));
        g.kept.carry(s.from);
        g.shown = next;
        break;
    }
    }
}

TEST(KeptLines, AreWrittenBackInTheirPlacesAsTheShownLinesChange)
{
    struct Case {
        const char* name;
        const char* file;
        QList<Step> steps;
        const char* after;
    };
    const Case cases[] = {
        // Read and written back unchanged.
        {"first", "xAB", {}, "xAB"},
        {"between", "AxB", {}, "AxB"},
        {"last", "ABx", {}, "ABx"},
        {"several in a row, in several places", "xyAzwBCv", {}, "xyAzwBCv"},
        {"nothing shown", "xyz", {}, "xyz"},
        {"nothing kept", "ABC", {}, "ABC"},
        {"an empty group", "", {}, ""},

        // Removed: the kept lines of a removed line go to the line before it,
        // after that line's own, or to the start.
        {"the line after them removed", "AxB", {{Step::Remove, 1}}, "Ax"},
        {"the line they follow removed", "AxB", {{Step::Remove, 0}}, "xB"},
        {"removed after the line's own", "AwBxyC", {{Step::Remove, 1}}, "AwxyC"},
        {"removed behind the start's", "xAyB", {{Step::Remove, 0}}, "xyB"},
        {"the last line removed", "ABxy", {{Step::Remove, 1}}, "Axy"},
        {"every line removed", "xAyBz", {{Step::Remove, 0}, {Step::Remove, 0}}, "xyz"},

        // Moved: they move with the line they follow; those of the start stay.
        {"their line moved to the end", "AxBC", {{Step::Move, 0, 2}}, "BCAx"},
        {"their line moved to the front", "ABxC", {{Step::Move, 1, 0}}, "BxAC"},
        {"the last line moved first", "ABCxy", {{Step::Move, 2, 0}}, "CxyAB"},
        {"a line moved past them", "AxBC", {{Step::Move, 2, 0}}, "CAxB"},
        {"the start's stay first", "xAB", {{Step::Move, 0, 1}}, "xBA"},
        {"a line moved onto itself", "AxB", {{Step::Move, 1, 1}}, "AxB"},

        // Added: a new line comes after the last line's kept lines.
        {"a drop after them", "ABx", {{Step::Append, 'C'}}, "ABxC"},
        {"a drop after the start's", "xy", {{Step::Append, 'A'}}, "xyA"},
        // Rewritten in place: they stay with it.
        {"their line rewritten", "AxBy", {{Step::Rewrite, 1, 'Q'}}, "AxQy"},

        // Changes in a row: the file order among the lines that end up after
        // the same line is the order the file had before each change.
        {"moved, then the line before removed",
         "AxBy",
         {{Step::Move, 1, 0}, {Step::Remove, 1}},
         "Byx"},
        {"removed, then moved", "AxByC", {{Step::Remove, 1}, {Step::Move, 0, 1}}, "CAxy"},
        {"a move back and forth", "AxByC", {{Step::Move, 0, 2}, {Step::Move, 2, 0}}, "AxByC"},

        // The general form: several lines removed, moved and added at once.
        {"a run removed at once", "AxByCz", {{Step::Carry, 0, 0, {2}}}, "xyCz"},
        {"reversed, one new line", "xAyBzC", {{Step::Carry, 0, 0, {2, -1, 1, 0}}}, "xCNBzAy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Group g{QString::fromLatin1(c.file)};
        for (const Step& s : c.steps)
            apply(g, s);
        EXPECT_EQ(g.file(), QString::fromLatin1(c.after));
    }
}

TEST(KeptLines, ALineAttachedPastTheShownOnesIsStillWritten)
{
    // A change not reported to them must not lose a line: it goes last.
    pw::KeptLines kept;
    kept.keep(4, "far");
    kept.keep(0, "near");
    kept.keep(-1, "first");
    EXPECT_EQ(kept.fileLines({"A", "B"}), (QStringList{"first", "A", "near", "B", "far"}));
    EXPECT_EQ(kept.fileLines({}), (QStringList{"first", "near", "far"}));
}

} // namespace
