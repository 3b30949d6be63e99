// The program's entry: initialises the application, creates the dock
// window and runs the event loop. The settings and parameter windows are made
// when the dock first opens them.
#include "app/Application.h"
#include "app/Utils.MessageDispatcher.Win.h"
#include "dock/Unit1.h"
#include "editors/EditorWindows.h"
#include "platform/GuiPlatform.h"

#include <memory>

int main(int argc, char** argv)
{
    pw::platform::configureGuiPlatform();
    // The hooks watch the main thread from before any window exists.
    TMessageDispatcherWin::Initialize();
    TApplication app(argc, argv);
    TMessageDispatcherWin::AttachApplication();
    // Declared after the application: the hooks go after the windows are
    // destroyed and before the application is.
    pw::MessageDispatcherFinalizer dispatcherFinalizer;
    QApplication::setApplicationName(QStringLiteral("Pondwillow"));
    QApplication::setQuitOnLastWindowClosed(true);

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
        form1->show();
        rc = TApplication::exec();
        Form1 = nullptr;
        form1.reset();
    }
    return rc;
}
