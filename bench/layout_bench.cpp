// A layout pass of the dock (take the tiles off, load the group file, build
// every tile, place the window) for 10, 100 and 1000 entries, with the icon
// cache cold (every icon extracted again) and warm (what every group switch
// and settings close after the first one costs).
#include "app/Prompter.h"
#include "dock/Unit1.h"
#include "icons/IconCache.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <malloc.h>
#include <thread>

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
    pw::setHomeDirectory(dir.path());
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
    // The heap the dock holds with the group shown, over what the same dock
    // holds with the group emptied: what the entries cost in memory.
    const auto heap = [] { return double(mallinfo2().uordblks); };
    const double withGroup = heap();
    QFile(dir.filePath("PondwillowPath0.txt")).open(QIODevice::WriteOnly | QIODevice::Truncate);
    dock.clearTiles();
    dock.SetMenu(dock.MenuIndex);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.counters["entries_heap_kib"] = (withGroup - heap()) / 1024;
    state.SetItemsProcessed(state.iterations() * n);
    pw::setHomeDirectory({});
}

BENCHMARK(layoutPass)
    ->ArgNames({"entries", "warm"})
    ->ArgsProduct({{10, 100, 1000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace

namespace
{

// One frame of a pointer sweep over a shown dock of 100 entries, with icons
// of the default size (48) and of the largest the settings window offers
// (100): four neighbouring tiles turned to a new angle, then what the event
// loop does for it (the scene finds the changed area, the window clears and
// draws it). The process's CPU time counts the threads Qt hands large fills
// to.
void swingFrame(benchmark::State& state)
{
    QTemporaryDir dir;
    makeGroup(dir, 100);
    QFile ini(dir.filePath("Pondwillow.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Icon]\nSize=" + QByteArray::number(state.range(0)) + "\n");
    ini.close();
    pw::setHomeDirectory(dir.path());
    pw::setScreenSizeForTesting(QSizeF(1920, 1080));
    TForm1 dock;
    dock.FormShow();
    dock.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QList<TImage*> tiles{dock.LaunchBtn[10], dock.LaunchBtn[11], dock.LaunchBtn[12],
                               dock.LaunchBtn[13]};
    int frame = 0;
    for (auto _ : state) {
        // The dock draws at most once a frame (16 ms): each frame here comes a
        // frame after the last, as a swing's do.
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(17));
        state.ResumeTiming();
        ++frame;
        for (int i = 0; i < tiles.size(); ++i)
            tiles[i]->setRotation(((frame + i) % 12) * 30.0);
        // The scene's changed items, then the window's repaint.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
    }
    state.SetItemsProcessed(state.iterations());
    pw::setHomeDirectory({});
}

BENCHMARK(swingFrame)
    ->ArgName("icon")
    ->Arg(48)
    ->Arg(100)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
