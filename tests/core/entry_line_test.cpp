#include "core/EntryLine.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const TRec& r, std::ostream* os)
{
    *os << "{" << r.fname.toStdString() << " | " << r.param.toStdString() << " | "
        << r.hint.toStdString() << "}";
}

namespace
{

struct SplitCase {
    const char16_t* line;
    QStringList fields;
};

TEST(EntryLine, SplitFollowsTheLineGrammar)
{
    const SplitCase cases[] = {
        {u"C:\\Tools\\edit.exe", {u"C:\\Tools\\edit.exe"_s}},
        {u",,", {u""_s, u""_s, u""_s}},
        {u",", {u""_s, u""_s}},
        {u"C:\\a.exe,-x,", {u"C:\\a.exe"_s, u"-x"_s, u""_s}},
        {u"C:\\a.exe,,Editor", {u"C:\\a.exe"_s, u""_s, u"Editor"_s}},
        // A quoted field keeps its comma; "" inside stands for one quote.
        {u"\"C:\\a,b.exe\",p,h", {u"C:\\a,b.exe"_s, u"p"_s, u"h"_s}},
        {u"\"say \"\"hi\"\"\",p", {u"say \"hi\""_s, u"p"_s}},
        {u"\"\"", {u""_s}},
        {u"\"a\",", {u"a"_s, u""_s}},
        // Without a closing quote the field runs to the end of the line.
        {u"\"C:\\open,end", {u"C:\\open,end"_s}},
        {u"\"ab\"\"", {u"ab\""_s}},
        // Text after a closing quote starts a further field.
        {u"\"C:\\Program Files\\a.exe\" /s,hint",
         {u"C:\\Program Files\\a.exe"_s, u" /s"_s, u"hint"_s}},
        {u"\"a\"\"b\"c", {u"a\"b"_s, u"c"_s}},
        {u"\"a\"\"\"\"b\"", {u"a\"\"b"_s}},
        // A quote inside an unquoted field is an ordinary character.
        {u"a\"b,c", {u"a\"b"_s, u"c"_s}},
        // Nothing is trimmed.
        {u" a , b ,\tc ", {u" a "_s, u" b "_s, u"\tc "_s}},
        {u"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.line).toStdString());
        EXPECT_EQ(pw::splitEntryLine(QString::fromUtf16(c.line)), c.fields);
    }
}

struct ComposeCase {
    TRec entry;
    const char16_t* line;
};

TEST(EntryLine, ComposeQuotesOnlyWhatWouldNotSplitBack)
{
    const ComposeCase cases[] = {
        // Plain fields: plain concatenation.
        {{u"C:\\a.exe"_s, u"-x"_s, u"Editor"_s}, u"C:\\a.exe,-x,Editor"},
        {{u"C:\\a.exe"_s, {}, {}}, u"C:\\a.exe,,"},
        {{{}, {}, {}}, u",,"},
        {{u"C:\\a.exe"_s, u"say \"hi\""_s, u" spaced "_s}, u"C:\\a.exe,say \"hi\", spaced "},
        // A comma anywhere, or a leading quote, makes the field quoted.
        {{u"C:\\a.exe"_s, {}, u"My, tool"_s}, u"C:\\a.exe,,\"My, tool\""},
        {{u"C:\\x,y\\b.exe"_s, {}, {}}, u"\"C:\\x,y\\b.exe\",,"},
        {{u"C:\\a.exe"_s, u"\"C:\\My Docs\\b.txt\" /s"_s, {}},
         u"C:\\a.exe,\"\"\"C:\\My Docs\\b.txt\"\" /s\","},
        {{u"C:\\a.exe"_s, {}, u"\""_s}, u"C:\\a.exe,,\"\"\"\""},
    };
    for (const auto& c : cases) {
        const QString expected = QString::fromUtf16(c.line);
        SCOPED_TRACE(expected.toStdString());
        const QString line = pw::composeEntryLine(c.entry);
        EXPECT_EQ(line, expected);
        const QStringList fields = pw::splitEntryLine(line);
        ASSERT_EQ(fields.size(), 3);
        EXPECT_EQ((TRec{fields[0], fields[1], fields[2]}), c.entry);
        EXPECT_EQ(pw::entryFromLine(line), c.entry);
    }
}

TEST(EntryLine, EntryFromLineFillsMissingFieldsAndKeepsExtraInHint)
{
    struct Case {
        const char16_t* line;
        std::optional<TRec> entry;
    };
    const Case cases[] = {
        {u"", std::nullopt},
        {u"C:\\a.exe", TRec{u"C:\\a.exe"_s, {}, {}}},
        {u"C:\\a.exe,-x", TRec{u"C:\\a.exe"_s, u"-x"_s, {}}},
        {u"C:\\a.exe,-x,Editor", TRec{u"C:\\a.exe"_s, u"-x"_s, u"Editor"_s}},
        {u"C:\\a.exe,-x,My, own, tool", TRec{u"C:\\a.exe"_s, u"-x"_s, u"My, own, tool"_s}},
        {u"\"C:\\a,b.exe\",,", TRec{u"C:\\a,b.exe"_s, {}, {}}},
        {u"\"C:\\a.exe\" /s,hint", TRec{u"C:\\a.exe"_s, u" /s"_s, u"hint"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.line).toStdString());
        EXPECT_EQ(pw::entryFromLine(QString::fromUtf16(c.line)), c.entry);
    }
}

TEST(EntryLine, FileNameAndTitle)
{
    struct Case {
        const char16_t* path;
        const char16_t* name;
        const char16_t* title;
    };
    const Case cases[] = {
        {u"C:\\Docs\\report.final.txt", u"report.final.txt", u"report.final"},
        {u"C:\\Docs\\.profile", u".profile", u""},
        {u"C:\\Docs\\Notes", u"Notes", u"Notes"},
        {u"C:notes.txt", u"notes.txt", u"notes"},
        {u"/home/user/bin/run.sh", u"run.sh", u"run"},
        {u"/home/user.d/tool", u"tool", u"tool"},
        {u"plain.exe", u"plain.exe", u"plain"},
        {u"C:\\Docs\\", u"", u""},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.path).toStdString());
        EXPECT_EQ(pw::fileNamePart(QString::fromUtf16(c.path)), QString::fromUtf16(c.name));
        EXPECT_EQ(pw::GetFileTitle(QString::fromUtf16(c.path)), QString::fromUtf16(c.title));
    }
}

} // namespace
