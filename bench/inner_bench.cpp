// The dock's inner costs, each on its own: reading entry lines, the settings
// file read and written, a group file loaded, icons looked up cold and warm,
// and a switch between two groups of 100 entries with warm icons.
#include "core/EntryLine.h"
#include "dock/Unit1.h"
#include "icons/IconCache.h"
#include "storage/IniFile.h"
#include "storage/StringList.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// n entry lines naming n files of mixed types in `dir`, the files made too.
QByteArray groupLines(const QTemporaryDir& dir, int n, bool makeFiles)
{
    const char* kinds[] = {"txt", "png", "sh", "pdf", "html"};
    QByteArray lines;
    for (int i = 0; i < n; ++i) {
        const QString name = dir.filePath(QStringLiteral("file%1.%2").arg(i).arg(kinds[i % 5]));
        if (makeFiles)
            writeBytes(name, "x");
        lines += (name + QStringLiteral(",--open \"a b\",entry %1\r\n").arg(i)).toUtf8();
    }
    return lines;
}

void entryLines(benchmark::State& state)
{
    const QStringList lines = {
        QStringLiteral("/home/user/bin/tool,,tool"),
        QStringLiteral("/usr/share/applications/org.gnome.gedit.desktop,--new-window,Editor"),
        QStringLiteral("\"/home/user/a, b.txt\",\"x,y\",\"say \"\"hi\"\"\""),
        QStringLiteral("C:\\Program Files\\App\\app.exe,/s,My, own, tool"),
    };
    for (auto _ : state) {
        for (const QString& line : lines)
            benchmark::DoNotOptimize(pw::entryFromLine(line));
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(entryLines);

// The settings file as the dock writes it: 31 keys in 7 sections.
void settingsFile(benchmark::State& state)
{
    const bool write = state.range(0) != 0;
    QTemporaryDir dir;
    pw::setHomeDirectory(dir.path());
    pw::setScreenSizeForTesting(QSizeF(1920, 1080));
    {
        TForm1 dock;
        dock.WriteIniFile();
        for (auto _ : state) {
            if (write)
                dock.WriteIniFile();
            else
                dock.ReadIniFile();
        }
    }
    pw::setHomeDirectory({});
    pw::setScreenSizeForTesting(std::nullopt);
}
BENCHMARK(settingsFile)->ArgName("write")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void groupFileLoad(benchmark::State& state)
{
    const int n = int(state.range(0));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("PondwillowPath0.txt"));
    writeBytes(file, groupLines(dir, n, false));
    for (auto _ : state) {
        TStringList lines;
        lines.LoadFromFile(file);
        for (const QString& line : std::as_const(lines))
            benchmark::DoNotOptimize(pw::entryFromLine(line));
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(groupFileLoad)->RangeMultiplier(10)->Range(10, 10000)->Unit(benchmark::kMicrosecond);

// One icon of each kind the dock meets: a picture file, a script, a document.
void iconLookup(benchmark::State& state)
{
    const bool warm = state.range(0) != 0;
    QTemporaryDir dir;
    QImage picture(64, 64, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    picture.save(dir.filePath("picture.png"));
    writeBytes(dir.filePath("run.sh"), "#!/bin/sh\n");
    writeBytes(dir.filePath("notes.txt"), "x");
    const QStringList files = {dir.filePath("picture.png"), dir.filePath("run.sh"),
                               dir.filePath("notes.txt")};
    auto& cache = pw::platform::IconCache::instance();
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            cache.clear();
            state.ResumeTiming();
        }
        for (const QString& f : files)
            benchmark::DoNotOptimize(cache.icon(f, 48));
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(iconLookup)->ArgName("warm")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// F1/F2 between two groups of 100 entries, icons already known.
void groupSwitch(benchmark::State& state)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("PondwillowPath0.txt"), groupLines(dir, 100, true));
    writeBytes(dir.filePath("PondwillowPath1.txt"), groupLines(dir, 100, false));
    pw::setHomeDirectory(dir.path());
    pw::setScreenSizeForTesting(QSizeF(1920, 1080));
    {
        TForm1 dock;
        dock.FormShow();
        int group = 0;
        for (auto _ : state) {
            group = 1 - group;
            dock.MenuClick(group);
            // What the event loop does between two passes: the scene polishes the
            // new tiles, and the old ones are deleted. (Left undone, the scene's list
            // of tiles to polish grows with every pass and each removal searches it.)
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        if (dock.LaunchBtn.size() != 100)
            state.SkipWithError("not every entry became a tile");
    }
    pw::setHomeDirectory({});
    pw::setScreenSizeForTesting(std::nullopt);
}
BENCHMARK(groupSwitch)->Unit(benchmark::kMillisecond);

} // namespace
