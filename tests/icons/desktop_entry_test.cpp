#include "icons/DesktopEntry.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace
{

using pw::platform::desktopEntryIconValue;
using pw::platform::unescapeDesktopValue;

TEST(DesktopEntry, IconValueComesFromTheEntryGroupOnly)
{
    struct Case {
        const char* name;
        QByteArray text;
        QString icon;
    };
    const Case cases[] = {
        {"plain", "[Desktop Entry]\nName=x\nIcon=text-editor\n", u"text-editor"_s},
        {"blanks around key and value, CR LF", "[Desktop Entry]\r\n  Icon =  a b \r\n", u"a b"_s},
        {"first of two", "[Desktop Entry]\nIcon=one\nIcon=two\n", u"one"_s},
        {"no final break", "[Desktop Entry]\nIcon=last", u"last"_s},
        {"escapes", "[Desktop Entry]\nIcon=/p/a\\sb\\\\c.png\n", u"/p/a b\\c.png"_s},
        {"UTF-8", "[Desktop Entry]\nIcon=/p/\xE3\x83\xA1\xE3\x83\xA2.png\n", u"/p/メモ.png"_s},
        {"the entry after an action", "[Desktop Action new]\nIcon=no\n[Desktop Entry]\nIcon=yes\n",
         u"yes"_s},
        {"an action after the entry", "[Desktop Entry]\nName=x\n[Desktop Action a]\nIcon=no\n",
         QString()},
        {"outside any group", "Icon=no\n[Desktop Entry]\nName=x\n", QString()},
        {"commented out", "[Desktop Entry]\n# Icon=no\n", QString()},
        {"localised key", "[Desktop Entry]\nIcon[de]=no\n", QString()},
        {"key without value", "[Desktop Entry]\nIcon\n", QString()},
        {"empty value", "[Desktop Entry]\nIcon=\n", QString()},
        {"group name with blanks inside", "[ Desktop Entry ]\nIcon=no\n", QString()},
        {"empty file", QByteArray(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(desktopEntryIconValue(c.text), c.icon);
    }
}

TEST(DesktopEntry, UnescapesValues)
{
    struct Case {
        QString escaped;
        QString value;
    };
    const Case cases[] = {
        {u"a\\sb"_s, u"a b"_s}, {u"\\n\\t\\r"_s, u"\n\t\r"_s}, {u"a\\\\b"_s, u"a\\b"_s},
        {u"\\x"_s, u"x"_s},     {u"end\\"_s, u"end\\"_s},      {u"\\\\\\"_s, u"\\\\"_s},
        {QString(), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(unescapeDesktopValue(c.escaped), c.value) << c.escaped.toStdString();
}

} // namespace
