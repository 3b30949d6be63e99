// The command line, read before the application object exists.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace
{

using Action = pw::CommandLine::Action;

TEST(CommandLine, ActionsAndTheFolderFromTheArguments)
{
    struct Case {
        QStringList arguments;
        Action action;
        QString home;
    };
    const Case cases[] = {
        {{}, Action::Run, {}},
        {{"pondwillow"}, Action::Run, {}},
        {{"pondwillow", "--help"}, Action::ShowHelp, {}},
        {{"pondwillow", "-h"}, Action::ShowHelp, {}},
        {{"pondwillow", "--version"}, Action::ShowVersion, {}},
        {{"pondwillow", "-v"}, Action::ShowVersion, {}},
        {{"pondwillow", "--home", "/tmp/a b"}, Action::Run, "/tmp/a b"},
        {{"pondwillow", "--home=docs"}, Action::Run, "docs"},
        {{"pondwillow", "-home", "docs"}, Action::Run, "docs"},
        // Qt's own options reach the application object.
        {{"pondwillow", "-platform", "offscreen", "-session", "1234_5", "-reverse"},
         Action::Run,
         {}},
        {{"pondwillow", "-style=fusion", "--home", "x"}, Action::Run, "x"},
        // Other arguments are ignored, as a file manager's "open with" passes.
        {{"pondwillow", "some file.txt"}, Action::Run, {}},
        {{"pondwillow", "--no-such-option"}, Action::Fail, {}},
        {{"pondwillow", "-x"}, Action::Fail, {}},
        {{"pondwillow", "--home"}, Action::Fail, {}},
        {{"pondwillow", "--home="}, Action::Fail, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const pw::CommandLine command = pw::parseCommandLine(c.arguments);
        EXPECT_EQ(command.action, c.action);
        EXPECT_EQ(command.home, c.home);
    }
}

TEST(CommandLine, TextsSayWhatToDo)
{
    EXPECT_TRUE(pw::parseCommandLine({"pondwillow", "--help"}).text.contains("--home DIR"));
    EXPECT_TRUE(pw::parseCommandLine({"pondwillow", "--version"}).text.startsWith("Pondwillow "));
    const QString error = pw::parseCommandLine({"pondwillow", "--frobnicate"}).text;
    EXPECT_TRUE(error.contains("frobnicate")) << error.toStdString();
    EXPECT_TRUE(error.contains("--help")) << error.toStdString();
}

} // namespace
