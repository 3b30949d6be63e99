// The program's entry: initialises the application, creates the three
// windows in order and runs the event loop.
#include "Application.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Utils.MessageDispatcher.Win.h"
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
        std::unique_ptr<TForm2> form2;
        std::unique_ptr<TForm3> form3;
        TApplication::guarded([&] {
            form1 = std::make_unique<TForm1>();
            Form1 = form1.get();
            form2 = std::make_unique<TForm2>();
            Form2 = form2.get();
            form3 = std::make_unique<TForm3>();
            Form3 = form3.get();
        });
        if (!form1 || !form2 || !form3)
            return 1;
        form1->show();
        rc = TApplication::exec();
        // The parameter window, the settings window, then the dock.
        Form3 = nullptr;
        form3.reset();
        Form2 = nullptr;
        form2.reset();
        Form1 = nullptr;
        form1.reset();
    }
    return rc;
}
