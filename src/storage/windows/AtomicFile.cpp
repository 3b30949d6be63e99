// Atomic file replacement with Win32 calls: every step's error is checked
// before the file replaces the old one, since a full disk or a failing device
// may report itself only at the flush or the close.
#include "storage/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>
#include <algorithm>
#include <string>

namespace pw::platform
{

namespace
{

QString reasonFor(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString reason = size ? QString::fromWCharArray(text, int(size)).trimmed()
                          : QStringLiteral("error %1").arg(error);
    LocalFree(text);
    return reason;
}

std::wstring nativeName(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

HANDLE createTemporary(const QString& target, std::wstring* name)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = nativeName(
            info.absolutePath() + QLatin1Char('/') + info.fileName() + QLatin1Char('.') +
            QString::number(QRandomGenerator::global()->generate(), 16) + QLatin1String(".tmp"));
        const HANDLE h = CreateFileW(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return h;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

bool writeAll(HANDLE h, const char* data, qsizetype size)
{
    while (size > 0) {
        const DWORD chunk = DWORD(std::min<qsizetype>(size, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(h, data, chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

QString writeFileAtomically(const QString& path, const QByteArray& content)
{
    const auto fault = detail::takeWriteFault();
    const auto faultAt = [&fault](WriteStep step) {
        if (!fault || fault->step != step)
            return false;
        SetLastError(DWORD(fault->osError));
        return true;
    };

    const std::wstring target = nativeName(path);
    std::wstring tempName;
    const HANDLE h =
        faultAt(WriteStep::Create) ? INVALID_HANDLE_VALUE : createTemporary(path, &tempName);
    if (h == INVALID_HANDLE_VALUE)
        return reasonFor(GetLastError());

    const auto fail = [&](bool open) {
        const DWORD error = GetLastError();
        if (open)
            CloseHandle(h);
        DeleteFileW(tempName.c_str());
        return reasonFor(error);
    };

    if (faultAt(WriteStep::Write)) {
        const DWORD error = GetLastError();
        writeAll(h, content.constData(), content.size() / 2);
        SetLastError(error);
        return fail(true);
    }
    if (!writeAll(h, content.constData(), content.size()))
        return fail(true);
    if (faultAt(WriteStep::Sync) || !FlushFileBuffers(h))
        return fail(true);
    if (faultAt(WriteStep::Close)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        SetLastError(error);
        return fail(false);
    }
    if (!CloseHandle(h))
        return fail(false);
    if (faultAt(WriteStep::Rename) ||
        !MoveFileExW(tempName.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(false);
    return QString();
}

} // namespace pw::platform
