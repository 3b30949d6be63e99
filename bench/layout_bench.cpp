// A layout pass of the dock (take the tiles off, load the group file, build
// every tile, place the window) for 10, 100 and 1000 entries, with the icon
// cache cold (every icon extracted again) and warm (what every group switch
// and settings close after the first one costs).
#include "Prompter.h"
#include "Unit1.h"
#include "platform/IconCache.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

void makeGroup(const QTemporaryDir& dir, int n)
{
    // A mix of file types, as a real group holds.
    const char* kinds[] = {"txt", "png", "sh", "pdf", "html"};
    QByteArray lines;
    for (int i = 0; i < n; ++i) {
        const QString name = dir.filePath(QStringLiteral("file%1.%2").arg(i).arg(kinds[i % 5]));
        QFile f(name);
        f.open(QIODevice::WriteOnly);
        f.write("x");
        lines += (name + QStringLiteral(",-v,entry %1\r\n").arg(i)).toUtf8();
    }
    QFile group(dir.filePath("PondwillowPath0.txt"));
    group.open(QIODevice::WriteOnly);
    group.write(lines);
}

void layoutPass(benchmark::State& state)
{
    const int n = int(state.range(0));
    const bool warm = state.range(1) != 0;
    QTemporaryDir dir;
    makeGroup(dir, n);
    pw::setHomeDirectoryForTesting(dir.path());
    pw::setScreenSizeForTesting(QSizeF(1920, 1080));
    TForm1 dock;
    dock.FormShow();
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            pw::platform::IconCache::instance().clear();
            state.ResumeTiming();
        }
        dock.clearTiles();
        dock.SetMenu(dock.MenuIndex);
        // What the event loop does between two passes: the scene polishes the
        // new tiles, and the old ones are deleted. (Left undone, the scene's list
        // of tiles to polish grows with every pass and each removal searches it.)
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (dock.LaunchBtn.size() != n)
        state.SkipWithError("not every entry became a tile");
    state.SetItemsProcessed(state.iterations() * n);
    pw::setHomeDirectoryForTesting({});
}

BENCHMARK(layoutPass)
    ->ArgNames({"entries", "warm"})
    ->ArgsProduct({{10, 100, 1000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace
