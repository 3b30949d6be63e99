#include "Application.h"

#include "Prompter.h"
#include "core/Errors.h"

#include <exception>

namespace
{

void report(const QString& message)
{
    pw::prompt::showError(QApplication::activeWindow(), message);
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const pw::Error& e) {
        report(e.message());
    } catch (const std::exception& e) {
        report(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void TApplication::guarded(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const pw::Error& e) {
        report(e.message());
    } catch (const std::exception& e) {
        report(QString::fromLocal8Bit(e.what()));
    }
}
