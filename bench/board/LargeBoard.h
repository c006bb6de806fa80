#pragma once

// The board on the large demo data (200,000 order lines, about 100,000 jobs),
// headless, for the benchmarks of the window's actions: each executable makes
// its own copy of the data, since actions change it.

#include "app/Clock.h"
#include "app/DemoData.h"
#include "app/Pause.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "board/MainWindow.h"
#include "store/Connection.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace largeboard {

using Clock = std::chrono::steady_clock;
inline const QDate kToday(2026, 12, 7);

struct Data {
    QTemporaryDir temp;
    QString root;
    QString orders, jobs;
};

// Copies every file of a data folder; false when any is missing or fails.
inline bool CopyStores(const QString& from, const QString& to)
{
    const QStringList files = QDir(from).entryList(QDir::Files);
    if (files.isEmpty() || !QDir().mkpath(to))
        return false;
    for (const QString& f : files)
        if (!QFile::copy(from + QLatin1Char('/') + f, to + QLatin1Char('/') + f))
            return false;
    return true;
}

// The data, made on first use; prepare runs once on it before any window opens.
inline std::unique_ptr<Data>& dataSlot()
{
    static std::unique_ptr<Data> d;
    return d;
}

inline Data& data(const std::function<void(Data&)>& prepare = {})
{
    auto& d = dataSlot();
    if (!d) {
        auto made = std::make_unique<Data>();
        made->root = made->temp.path();
        made->orders = made->root + QStringLiteral("/MuhasebeData/Siparis.Mdb");
        made->jobs = made->root + QStringLiteral("/MuhasebeData/Montaj.mdb");
        // Making the data takes a minute or more; a folder made once with
        // "velmora-demo DIR --large --today 2026-12-07 --seed 7" and named in
        // VELMORA_LARGE_DEMO is copied instead.
        const QString ready = qEnvironmentVariable("VELMORA_LARGE_DEMO");
        const QString stores = QStringLiteral("/MuhasebeData");
        if (ready.isEmpty() || !CopyStores(ready + stores, made->root + stores))
            app::MakeDemoData(made->root, kToday, app::DemoSize::Large, 7);
        app::SettingsFile::SetPathForTesting(made->temp.filePath(QStringLiteral("settings.reg")));
        app::SaveRegString(app::RootKey::CurrentUser, app::kSettingsKey, QStringLiteral("Diski"),
                           made->root + QLatin1Char('/'));
        app::Clock::SetTodayForTesting(kToday);
        app::SetPausesForTesting(false);
        if (prepare)
            prepare(*made);
        d = std::move(made);
    }
    return *d;
}

// The main window, loaded and activated once. It and its data go before the
// application object does: a window outliving it crashes on the way out.
inline std::unique_ptr<board::MainWindow>& windowSlot()
{
    static std::unique_ptr<board::MainWindow> w;
    return w;
}

inline board::MainWindow& window()
{
    auto& w = windowSlot();
    if (!w) {
        data();
        w = std::make_unique<board::MainWindow>();
        if (!w->Load())
            std::abort();
        w->show();
        w->Activate();
    }
    return *w;
}

// A plain handle with the program's collation and Like, as a careful program
// written directly on SQLite would open it.
inline sqlite3* OpenDirect(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    store::RegisterDialectFunctions(db);
    return db;
}

// Lets the window finish drawing and laying out what an action left. One
// pass over the events is not enough: a layout posts the repaint it causes,
// and what one pass leaves would be drawn inside the next timed action.
inline void DrawWindow()
{
    QAbstractEventDispatcher* events = QCoreApplication::eventDispatcher();
    for (int pass = 0; pass < 50 && events && events->processEvents(QEventLoop::AllEvents); ++pass) {
    }
}

// Totals over the timed iterations; the ratios compare the means.
struct Mean {
    double total = 0;
    int n = 0;
    void add(double ms) { total += ms; ++n; }
    void add(Clock::time_point since) { add(std::chrono::duration<double, std::milli>(Clock::now() - since).count()); }
    double value() const { return n ? total / n : 0; }
};
inline double Ratio(const Mean& a, const Mean& b) { return b.value() > 0 ? a.value() / b.value() : 0; }

// One figure of the summary: the program's action and its plain twin.
struct Figure {
    const char* action;
    const Mean& program;
    const char* plain;
    const Mean& direct;
};

// The body of main: the benchmarks run headless, every box answered at once,
// on the data made (and prepared) first; the figures close the output.
inline int RunBenchmarks(int argc, char** argv, std::initializer_list<Figure> figures,
                         const std::function<void(Data&)>& prepare = {})
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VELMORA_SOUND", "off");
    QApplication app(argc, argv);
    app::ScriptedPrompt prompt;
    data(prepare);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\n");
    for (const Figure& f : figures)
        std::printf("%s: %.2f ms, %s: %.2f ms, ratio %.2f\n", f.action, f.program.value(), f.plain, f.direct.value(),
                    Ratio(f.program, f.direct));
    std::fflush(stdout);
    benchmark::Shutdown();
    windowSlot().reset();
    dataSlot().reset();
    return 0;
}

} // namespace largeboard
