#pragma once

#include "app/Clock.h"
#include "app/DemoData.h"
#include "app/Pause.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "app/Sound.h"
#include "board/MainWindow.h"
#include "store/Connection.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// Each board test gets a fresh copy of the demo data, its own settings file,
// a fixed "today", silent sounds, instant pauses and a fresh window.
class BoardTest : public ::testing::Test {
protected:
    static QDate Today() { return QDate(2026, 12, 7); }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        app::SettingsFile::SetPathForTesting(dir.filePath(QStringLiteral("settings.reg")));
        app::SaveRegString(app::RootKey::CurrentUser, app::kSettingsKey, QStringLiteral("Diski"),
                           dir.path() + QLatin1Char('/'));
        app::MakeDemoData(dir.path(), Today(), app::DemoSize::Small, 7);
        app::Clock::SetTodayForTesting(Today());
        app::SetPausesForTesting(false);
        app::Sound::RecordForTesting(&played);
    }

    void TearDown() override
    {
        window.reset();
        app::Sound::RecordForTesting(nullptr);
        app::Clock::SetTodayForTesting(QDate());
        app::SettingsFile::SetPathForTesting(QString());
    }

    // Loads and activates a fresh main window on the demo data.
    board::MainWindow& Open()
    {
        window = std::make_unique<board::MainWindow>();
        EXPECT_TRUE(window->Load());
        window->show();
        window->Activate();
        return *window;
    }

    QString Store(const char* file) const
    {
        return dir.filePath(QStringLiteral("MuhasebeData/") + QString::fromUtf8(file));
    }
    std::shared_ptr<store::Connection> Orders() const { return store::Connection::Open(Store("Siparis.Mdb")); }
    std::shared_ptr<store::Connection> Jobs() const { return store::Connection::Open(Store("Montaj.mdb")); }

    template <typename T> T* Find(const QString& name) const
    {
        return window->findChild<T*>(name);
    }

    QTemporaryDir dir;
    app::ScriptedPrompt prompt;
    QStringList played;
    std::unique_ptr<board::MainWindow> window;
};
