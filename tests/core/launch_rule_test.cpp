#include "core/LaunchRule.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;

namespace pw
{
void PrintTo(const LaunchTarget& t, std::ostream* os)
{
    *os << '{' << t.file.toStdString() << " | " << t.params.toStdString() << " | "
        << t.dir.toStdString() << '}';
}
} // namespace pw

namespace
{

TEST(LaunchRule, AnEntryLineGivesFileParametersAndDirectory)
{
    struct Case {
        QString line;
        pw::LaunchTarget expected;
    };
    const Case cases[] = {
        // Windows paths: "\" and ":" separate.
        {u"C:\\Tools\\app.exe,-v,App"_s, {u"C:\\Tools\\app.exe"_s, u"-v"_s, u"C:\\Tools"_s}},
        {u"C:\\app.exe,,App"_s, {u"C:\\app.exe"_s, u""_s, u"C:\\"_s}},
        {u"C:\\Tools\\app.exe"_s, {u"C:\\Tools\\app.exe"_s, u"C:\\Tools\\"_s, u"C:\\Tools"_s}},
        {u"\\app.exe,,"_s, {u"\\app.exe"_s, u""_s, u"\\"_s}},
        {u"C:app.exe,,"_s, {u"C:app.exe"_s, u""_s, u"C:"_s}},
        {u"\\\\server\\share\\x.exe,,"_s,
         {u"\\\\server\\share\\x.exe"_s, u""_s, u"\\\\server\\share"_s}},
        // A path a drop delivers with forward slashes.
        {u"C:/Tools/app.exe,-v,App"_s, {u"C:/Tools/app.exe"_s, u"-v"_s, u"C:/Tools"_s}},
        {u"C:/app.exe,,"_s, {u"C:/app.exe"_s, u""_s, u"C:/"_s}},
        // Linux paths: "/" alone separates; ":" and "\" belong to names.
        {u"/usr/bin/app,-v,App"_s, {u"/usr/bin/app"_s, u"-v"_s, u"/usr/bin"_s}},
        {u"/app,,"_s, {u"/app"_s, u""_s, u"/"_s}},
        {u"/home/me/a:b/run.sh"_s,
         {u"/home/me/a:b/run.sh"_s, u"/home/me/a:b/"_s, u"/home/me/a:b"_s}},
        {u"/opt/my app/run.sh,--x \"a b\",Run"_s,
         {u"/opt/my app/run.sh"_s, u"--x \"a b\""_s, u"/opt/my app"_s}},
        // Two fields: the second is not the parameter string.
        {u"/usr/bin/app,-v"_s, {u"/usr/bin/app"_s, u"/usr/bin/"_s, u"/usr/bin"_s}},
        // A bare name: no directory.
        {u"app.exe,,"_s, {u"app.exe"_s, u""_s, u""_s}},
        {u"app.exe"_s, {u"app.exe"_s, u""_s, u""_s}},
        // A comma in the hint: the first two fields still launch.
        {u"/usr/bin/app,-v,Hint, with comma"_s, {u"/usr/bin/app"_s, u"-v"_s, u"/usr/bin"_s}},
        // A quoted file holding a comma.
        {u"\"/opt/a,b/run\",-q,R"_s, {u"/opt/a,b/run"_s, u"-q"_s, u"/opt/a,b"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        EXPECT_EQ(pw::launchFor(c.line), c.expected);
    }
    EXPECT_EQ(pw::launchFor(u""_s), std::nullopt);
}

} // namespace
