#include "platform/AtomicFile.h"

#include <QSaveFile>

namespace pw::platform
{

QString writeFileAtomically(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    // Writing straight into the target would leave it half written on a
    // failure; without a temporary file beside it the write fails instead.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        file.commit(); // discards the temporary file
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace pw::platform
