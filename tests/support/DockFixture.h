#pragma once

#include "app/Prompter.h"
#include "core/Errors.h"
#include "dock/Unit1.h"
#include "platform/KeyState.h"
#include "platform/ShellLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <mutex>

// A fresh home directory per test, a 1920 x 1080 screen, error reports and
// launches recorded instead of shown or spawned.
class DockFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        pw::setHomeDirectory(home.path());
        pw::setScreenSizeForTesting(QSizeF(1920, 1080));
        pw::prompt::setErrorSinkForTesting([this](const QString& m) { errors << m; });
        // Launches come from threads of their own.
        pw::platform::setShellLaunchForTesting(
            [this](const QString& f, const QString& p, const QString& d) {
                const std::lock_guard<std::mutex> lock(launchMutex);
                launches << (f + QLatin1Char('|') + p + QLatin1Char('|') + d);
            });
        pw::platform::setShiftStateForTesting([this] { return shiftDown; });
    }

    void TearDown() override
    {
        dock.reset();
        pw::setHomeDirectory({});
        pw::setScreenSizeForTesting(std::nullopt);
        pw::prompt::setErrorSinkForTesting({});
        pw::platform::setShellLaunchForTesting({});
        pw::platform::setShiftStateForTesting({});
    }

    QString path(const QString& name) const { return home.filePath(name); }

    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray readFile(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void writeIni(const QString& text) const { writeFile("Pondwillow.ini", text.toUtf8()); }

    // Creates the dock (which reads the settings) and, when asked, shows it,
    // which loads its group.
    TForm1& create(bool show = true)
    {
        dock = std::make_unique<TForm1>();
        if (show)
            dock->show();
        return *dock;
    }

    // The launches recorded so far ("file|params|dir"), once n have come or
    // `waitMs` have passed (generous: a loaded machine may start threads late).
    QStringList launchesAfter(qsizetype n, int waitMs = 5000)
    {
        const auto count = [this] {
            const std::lock_guard<std::mutex> lock(launchMutex);
            return launches.size();
        };
        [[maybe_unused]] const bool all = QTest::qWaitFor([&] { return count() >= n; }, waitMs);
        const std::lock_guard<std::mutex> lock(launchMutex);
        return launches;
    }

    QTemporaryDir home;
    std::unique_ptr<TForm1> dock;
    QStringList errors;
    std::mutex launchMutex;
    QStringList launches;
    bool shiftDown = false;
};
