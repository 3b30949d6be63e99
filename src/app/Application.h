#pragma once

#include <QApplication>

// The application object. An error that escapes an event handler is shown in
// the error report (a message box with an OK button); the rest of that
// handler does not run and the event loop goes on.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs a callable with the same guard, for code that is not an event
    // handler (start-up steps, timers run from tests).
    static void guarded(const std::function<void()>& fn);
};
