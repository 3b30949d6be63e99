// The program's entry: reads the command line, initialises the application,
// takes the dock's folder, creates the dock window and runs the event loop.
// The settings and parameter windows are made when the dock first opens them.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/HomeFolder.h"
#include "app/Translation.h"
#include "app/Utils.MessageDispatcher.Win.h"
#include "dock/Unit1.h"
#include "editors/EditorWindows.h"
#include "platform/FolderLock.h"
#include "platform/GuiPlatform.h"

#include <QDir>
#include <cstdio>
#include <memory>

namespace
{

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char** argv)
{
    // --help and --version answer before anything needs a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const pw::CommandLine command = pw::parseCommandLine(arguments);
    switch (command.action) {
    case pw::CommandLine::Action::ShowHelp:
    case pw::CommandLine::Action::ShowVersion:
        print(stdout, command.text);
        return 0;
    case pw::CommandLine::Action::Fail:
        print(stderr, command.text);
        return 2;
    case pw::CommandLine::Action::Run:
        break;
    }

    pw::platform::configureGuiPlatform(argc, argv);
    // The hooks watch the main thread from before any window exists.
    TMessageDispatcherWin::Initialize();
    TApplication app(argc, argv);
    TMessageDispatcherWin::AttachApplication();
    // Declared after the application: the hooks go after the windows are
    // destroyed and before the application is.
    pw::MessageDispatcherFinalizer dispatcherFinalizer;
    QApplication::setApplicationName(QStringLiteral("Pondwillow"));
    QApplication::setQuitOnLastWindowClosed(true);
    // The texts in the user's language, before any window is made.
    pw::translation::installForUser();

    // The dock's folder, and one dock per folder: a second start brings the
    // running dock to the front and ends.
    const QString home = pw::chooseHomeFolder(command.home, QCoreApplication::applicationDirPath());
    if (!QDir().mkpath(home)) {
        print(stderr, QStringLiteral("pondwillow: cannot make the folder %1\n").arg(home));
        return 1;
    }
    pw::setHomeDirectory(home);
    pw::platform::FolderLock folderLock(home);
    if (!folderLock.tryLock()) {
        const QString folder = QDir::toNativeSeparators(home);
        print(stderr, folderLock.askHolderToShow()
                          ? QStringLiteral("pondwillow: a dock already runs on %1; it has been "
                                           "brought to the front\n")
                                .arg(folder)
                          : QStringLiteral("pondwillow: a dock already runs on %1\n").arg(folder));
        return 0;
    }

    int rc = 0;
    {
        std::unique_ptr<TForm1> form1;
        // The settings and parameter windows, made when the dock first opens
        // them; on the way out they go first, then the dock.
        pw::EditorWindows editors;
        TApplication::guarded([&] {
            form1 = std::make_unique<TForm1>();
            Form1 = form1.get();
        });
        if (!form1)
            return 1;
        form1->setEditorWindows(&editors);
        folderLock.listen([&form1] {
            form1->show();
            form1->raise();
            form1->activateWindow();
        });
        form1->show();
        rc = TApplication::exec();
        Form1 = nullptr;
        form1.reset();
    }
    return rc;
}
