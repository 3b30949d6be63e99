#pragma once

#include <QString>
#include <stdexcept>

namespace pw
{

// An error that a user must see. It carries the message shown in the
// application's error box; the event loop catches it and goes on.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    const QString& message() const noexcept { return message_; }

private:
    QString message_;
};

} // namespace pw
