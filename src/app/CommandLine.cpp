#include "app/CommandLine.h"

#include <QCommandLineParser>

namespace pw
{

namespace
{

// The options Qt's GUI application takes itself, with and without a value.
// They are accepted here and left in the arguments for the application
// object, which removes them.
constexpr const char* kQtValueOptions[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon",  "qwindowtitle",       "session",       "display", "geometry",
    "style",        "stylesheet",         "title",         "visual",  "name",
    "qmljsdebugger"};
constexpr const char* kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

constexpr const char kHelp[] =
    "Usage: pondwillow [--home DIR]\n"
    "A small desktop dock: a row of icon tiles against one screen edge.\n"
    "\n"
    "  --home DIR     keep the settings and groups in DIR (made if missing)\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Without --home, the files live next to the program when it runs from\n"
    "where it was built or unpacked, and in the user's config folder when it\n"
    "is installed ($XDG_CONFIG_HOME/pondwillow, else ~/.config/pondwillow;\n"
    "%APPDATA%\\Pondwillow on Windows). One dock runs per folder: a second\n"
    "start on the same folder brings the running dock to the front.\n"
    "\n"
    "Keys: F1 to F5 switch groups, Ctrl+N add mode, F12 settings, Ctrl+X quit.\n";

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform xcb); ours read the same
    // either way (--home, -home).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption home(QStringLiteral("home"), QString(), QStringLiteral("DIR"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(home);
    for (const char* name : kQtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    CommandLine result;
    // The parser takes the first argument as the program's name.
    if (!parser.parse(arguments.isEmpty() ? QStringList{QStringLiteral("pondwillow")}
                                          : arguments)) {
        result.action = CommandLine::Action::Fail;
        result.text =
            QStringLiteral("pondwillow: %1\nTry 'pondwillow --help'.\n").arg(parser.errorText());
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::ShowHelp;
        result.text = QString::fromLatin1(kHelp);
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::ShowVersion;
        result.text = QStringLiteral("Pondwillow %1\n").arg(QStringLiteral(PONDWILLOW_VERSION));
        return result;
    }
    if (parser.isSet(home)) {
        result.home = parser.value(home);
        if (result.home.isEmpty()) {
            result.action = CommandLine::Action::Fail;
            result.text = QStringLiteral("pondwillow: --home needs a folder\n");
        }
    }
    return result;
}

} // namespace pw
