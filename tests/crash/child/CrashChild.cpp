// The crash test's child: runs one action of the board on a data folder, as
// a user would, and is killed somewhere inside it by the preloaded
// KillAtWrite library (or by the parent after a random delay).
//
//   velmora_crash_child FOLDER create   marks nothing, presses "&Görev Ekle" on the lines marked in the store
//   velmora_crash_child FOLDER delete SIPNO   deletes the installation job of that line from the job grid
//
// It prints "armed" right before the action and "done" after it.
#include "app/Clock.h"
#include "app/Pause.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "board/MainWindow.h"
#include "store/Sql.h"
#include "ui/DataGrid.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    if (argc < 3)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString mode = QString::fromLocal8Bit(argv[2]);

    // The data folder holds MuhasebeData/ and nothing else is needed.
    app::SettingsFile::SetPathForTesting(folder + QStringLiteral("/settings.reg"));
    app::SaveRegString(app::RootKey::CurrentUser, app::kSettingsKey, QStringLiteral("Diski"),
                       folder + QLatin1Char('/'));
    app::Clock::SetTodayForTesting(QDate::fromString(qEnvironmentVariable("VELMORA_CRASH_TODAY"), Qt::ISODate));
    app::SetPausesForTesting(false);
    app::ScriptedPrompt prompt;

    board::MainWindow window;
    if (!window.Load())
        return 3;
    window.show();
    window.Activate();
    auto* jobGrid = window.findChild<ui::DataGrid*>(QStringLiteral("GörevGrid"));
    if (mode == QLatin1String("delete")) {
        if (argc < 4)
            return 2;
        window.DataGörev.FindFirst(QStringLiteral("SipNo=") + store::SqlText(QString::fromLocal8Bit(argv[3])));
        if (window.DataGörev.NoMatch())
            return 4;
        jobGrid->setFocus();
        QApplication::processEvents();
    }

    std::puts("armed");
    std::fflush(stdout);
    setenv("VELMORA_KILL_ARMED", "1", 1);
    if (mode == QLatin1String("create"))
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
    else
        QTest::keyClick(jobGrid, Qt::Key_Delete);
    setenv("VELMORA_KILL_ARMED", "0", 1);
    std::puts(prompt.shown.empty() ? "done" : "refused");
    std::fflush(stdout);
    return 0;
}
