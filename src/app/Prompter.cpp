#include "app/Prompter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace pw::prompt
{

namespace
{
std::function<void(const QString&)>& errorSink()
{
    static std::function<void(const QString&)> sink;
    return sink;
}
std::function<QString()>& fileAnswer()
{
    static std::function<QString()> answer;
    return answer;
}
std::function<std::optional<QRgb>()>& colorAnswer()
{
    static std::function<std::optional<QRgb>()> answer;
    return answer;
}
} // namespace

void showError(QWidget* parent, const QString& message)
{
    if (errorSink()) {
        errorSink()(message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Pondwillow"), message, QMessageBox::Ok,
                    parent);
    box.exec();
}

void setErrorSinkForTesting(std::function<void(const QString&)> sink)
{
    errorSink() = std::move(sink);
}

QString openFileName(QWidget* parent, const QString& filter)
{
    if (fileAnswer())
        return fileAnswer()();
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

void setNextFileNameForTesting(std::function<QString()> answer)
{
    fileAnswer() = std::move(answer);
}

std::optional<QRgb> pickColor(QWidget* parent, QRgb initial)
{
    if (colorAnswer())
        return colorAnswer()();
    const QColor c = QColorDialog::getColor(QColor::fromRgba(initial), parent, QString(),
                                            QColorDialog::ShowAlphaChannel);
    if (!c.isValid())
        return std::nullopt;
    return c.rgba();
}

void setNextColorForTesting(std::function<std::optional<QRgb>()> answer)
{
    colorAnswer() = std::move(answer);
}

} // namespace pw::prompt
