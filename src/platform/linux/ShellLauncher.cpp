// Launching through GIO, as the desktop's own file managers do, with no shell
// between the dock and a program:
// - a .desktop file starts its application (Exec field codes, Path, Terminal);
// - a program (an executable ELF file or script with "#!") starts directly,
//   its parameter string split into arguments as a shell would split it but
//   never expanded or run by one;
// - any other file, a folder, and a program the file system cannot run open
//   in the desktop's default application for their type.
// A launch that fails changes nothing and shows nothing; it is written to
// standard error.
// GIO is loaded at the first launch that needs it rather than linked: a dock
// that only sits on the screen then maps none of GIO, GObject and the
// libraries they pull in (about 1 MiB of memory, and their start-up).
// GIO's headers come first: Qt defines "signals" as a keyword, which GIO uses
// as a field name.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include "platform/ShellLauncher.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace pw::platform
{

namespace
{

// The GIO functions the launcher calls, resolved from the loaded library.
struct Gio {
    decltype(&g_desktop_app_info_new_from_filename) desktopAppInfoNewFromFilename = nullptr;
    decltype(&g_app_info_launch) appInfoLaunch = nullptr;
    decltype(&g_app_info_launch_default_for_uri) appInfoLaunchDefaultForUri = nullptr;
    decltype(&g_file_new_for_commandline_arg) fileNewForCommandlineArg = nullptr;
    decltype(&g_file_new_for_path) fileNewForPath = nullptr;
    decltype(&g_file_get_uri) fileGetUri = nullptr;
    decltype(&g_object_unref) objectUnref = nullptr; // from GObject, which GIO loads

    template <typename F> static bool resolve(QLibrary& lib, const char* name, F* fn)
    {
        *fn = reinterpret_cast<F>(lib.resolve(name));
        return *fn != nullptr;
    }
};

// GIO, loaded once, by whichever thread launches first; null when the
// library or one of its functions is missing.
const Gio* gio()
{
    static const Gio* const loaded = []() -> const Gio* {
        // Kept loaded until the program ends.
        QLibrary lib(QStringLiteral("gio-2.0"), 0);
        lib.setLoadHints(QLibrary::PreventUnloadHint);
        if (!lib.load())
            return nullptr;
        static Gio g;
        const bool ok =
            Gio::resolve(lib, "g_desktop_app_info_new_from_filename",
                         &g.desktopAppInfoNewFromFilename) &&
            Gio::resolve(lib, "g_app_info_launch", &g.appInfoLaunch) &&
            Gio::resolve(lib, "g_app_info_launch_default_for_uri", &g.appInfoLaunchDefaultForUri) &&
            Gio::resolve(lib, "g_file_new_for_commandline_arg", &g.fileNewForCommandlineArg) &&
            Gio::resolve(lib, "g_file_new_for_path", &g.fileNewForPath) &&
            Gio::resolve(lib, "g_file_get_uri", &g.fileGetUri) &&
            Gio::resolve(lib, "g_object_unref", &g.objectUnref);
        return ok ? &g : nullptr;
    }();
    return loaded;
}

void report(const QString& file, const char* what, GError* error)
{
    std::fprintf(stderr, "Pondwillow: cannot launch %s: %s\n", file.toLocal8Bit().constData(),
                 error ? error->message : what);
    if (error)
        g_error_free(error);
}

// An executable the system can start by itself: ELF, or a script naming its
// interpreter. Anything else with the execute bit (a document on a FAT or
// NTFS mount) would otherwise be handed to a shell by the spawn's fallback.
bool isProgram(const QFileInfo& info)
{
    if (!info.isFile() ||
        ::access(QFile::encodeName(info.absoluteFilePath()).constData(), X_OK) != 0)
        return false;
    QFile f(info.absoluteFilePath());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4);
    return head == QByteArray("\x7F"
                              "ELF",
                              4) ||
           head.startsWith("#!");
}

// Splits the parameter string as a shell would (quotes, backslashes), without
// expanding anything. Nullopt-like: false when the quoting is unbalanced.
bool splitParams(const QString& params, QList<QByteArray>* args, GError** error)
{
    if (params.trimmed().isEmpty())
        return true;
    gint argc = 0;
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(params.toUtf8().constData(), &argc, &argv, error))
        return false;
    for (gint i = 0; i < argc; ++i)
        args->append(QByteArray(argv[i]));
    g_strfreev(argv);
    return true;
}

void startProgram(const QFileInfo& info, const QString& params, const QString& dir)
{
    GError* error = nullptr;
    QList<QByteArray> args{QFile::encodeName(info.absoluteFilePath())};
    if (!splitParams(params, &args, &error))
        return report(info.filePath(), "bad parameters", error);
    std::vector<gchar*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const QByteArray cwd = QFile::encodeName(dir);
    // The spawn reaps the program itself; the dock never waits for it.
    const gboolean ok =
        g_spawn_async(dir.isEmpty() ? nullptr : cwd.constData(), argv.data(), nullptr,
                      G_SPAWN_STDIN_FROM_DEV_NULL, nullptr, nullptr, nullptr, &error);
    if (!ok)
        report(info.filePath(), "spawn failed", error);
}

void startDesktopEntry(const QFileInfo& info, const QString& params)
{
    const Gio* g = gio();
    if (!g)
        return report(info.filePath(), "GIO is not available", nullptr);
    GDesktopAppInfo* app =
        g->desktopAppInfoNewFromFilename(QFile::encodeName(info.absoluteFilePath()).constData());
    if (!app)
        return report(info.filePath(), "not a valid desktop entry", nullptr);
    GError* error = nullptr;
    QList<QByteArray> args;
    GList* files = nullptr;
    if (splitParams(params, &args, &error)) {
        // Parameters are what the application's %f/%u codes receive.
        for (const QByteArray& a : std::as_const(args))
            files = g_list_append(files, g->fileNewForCommandlineArg(a.constData()));
        // A desktop application's info is a GAppInfo.
        if (!g->appInfoLaunch(reinterpret_cast<GAppInfo*>(app), files, nullptr, &error))
            report(info.filePath(), "launch failed", error);
    } else {
        report(info.filePath(), "bad parameters", error);
    }
    g_list_free_full(files, g->objectUnref);
    g->objectUnref(app);
}

void openWithDefault(const QFileInfo& info)
{
    const Gio* g = gio();
    if (!g)
        return report(info.filePath(), "GIO is not available", nullptr);
    GFile* file = g->fileNewForPath(QFile::encodeName(info.absoluteFilePath()).constData());
    gchar* uri = g->fileGetUri(file);
    GError* error = nullptr;
    if (!g->appInfoLaunchDefaultForUri(uri, nullptr, &error))
        report(info.filePath(), "no application for it", error);
    g_free(uri);
    g->objectUnref(file);
}

} // namespace

// Desktops on Linux take no owner window for a launch.
void shellLaunchNative(const QString& file, const QString& params, const QString& dir,
                       std::uintptr_t /*owner*/)
{
    if (file.isEmpty())
        return;
    const QFileInfo info(file);
    if (!info.exists())
        return report(file, "no such file", nullptr);
    if (info.isFile() && info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
        return startDesktopEntry(info, params);
    if (isProgram(info))
        return startProgram(info, params, dir);
    openWithDefault(info);
}

} // namespace pw::platform
