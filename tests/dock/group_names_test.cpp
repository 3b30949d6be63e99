// The five group names: a new settings file gets them in the user's language,
// and names that are in the file are the user's own in every language.
#include "app/Translation.h"
#include "storage/IniFile.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QAction>

#include <string>

namespace
{

class GroupNames : public DockFixture
{
protected:
    void TearDown() override
    {
        pw::translation::install({});
        DockFixture::TearDown();
    }

    // The names the dock shows in its group list.
    std::string shown() const
    {
        QStringList names;
        for (int i = 0; i < 5; ++i)
            names << dock->groupItem(i)->text();
        return names.join(" | ").toStdString();
    }

    // The names the dock writes into its settings file.
    std::string saved()
    {
        dock->WriteIniFile();
        const TIniFile ini(path("Pondwillow.ini"));
        QStringList names;
        for (int i = 0; i < 5; ++i)
            names << ini.ReadString("Menu", QStringLiteral("Name%1").arg(i), "(none)");
        return names.join(" | ").toStdString();
    }
};

TEST_F(GroupNames, ANewSettingsFileNamesTheGroupsInTheUsersLanguage)
{
    struct Case {
        const char* translation; // "" for the program's own texts (Japanese, C)
        QStringList names;
    };
    const Case cases[] = {
        {"", {"メニュー1", "メニュー2", "メニュー3", "メニュー4", "メニュー5"}},
        {"en", {"Menu 1", "Menu 2", "Menu 3", "Menu 4", "Menu 5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.translation);
        ASSERT_TRUE(pw::translation::install(QString::fromLatin1(c.translation)));
        QFile::remove(path("Pondwillow.ini"));
        create(false);
        EXPECT_EQ(shown(), c.names.join(" | ").toStdString());
        EXPECT_EQ(saved(), c.names.join(" | ").toStdString());
        dock.reset();
    }
}

TEST_F(GroupNames, StoredNamesAreKeptInEveryLanguage)
{
    const QStringList stored{"メニュー1", "Photos", "メニュー3", "仕事", "Menu 5"};
    for (const char* translation : {"en", ""}) {
        SCOPED_TRACE(translation);
        writeIni(
            "[Menu]\nName0=メニュー1\nName1=Photos\nName2=メニュー3\nName3=仕事\nName4=Menu 5\n");
        ASSERT_TRUE(pw::translation::install(QString::fromLatin1(translation)));
        create(false);
        EXPECT_EQ(shown(), stored.join(" | ").toStdString());
        EXPECT_EQ(saved(), stored.join(" | ").toStdString());
        dock.reset();
    }
}

} // namespace
