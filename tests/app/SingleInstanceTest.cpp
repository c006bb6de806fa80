#include "app/SingleInstance.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTest>
#include <QUuid>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QString UniqueLockName()
{
    return QStringLiteral("velmora-test-%1.lock").arg(QUuid::createUuid().toString(QUuid::Id128));
}

QString LockPath(const QString& name)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(name);
}

// A lock file as QLockFile writes it: pid, application name, host name.
bool WriteLock(const QString& path, qint64 pid)
{
    return testsupport::WriteFile(path, QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8()
                                            + '\n' + QSysInfo::machineHostName().toUtf8() + '\n');
}

TEST(SingleInstanceTest, SecondInstanceRefusedUntilFirstEnds)
{
    const QString name = UniqueLockName();
    {
        app::SingleInstance first(name);
        ASSERT_TRUE(first.IsFirst());
        app::SingleInstance second(name);
        EXPECT_FALSE(second.IsFirst());
        // The refused one must not release the first one's lock when it goes.
        {
            app::SingleInstance third(name);
            EXPECT_FALSE(third.IsFirst());
        }
        app::SingleInstance fourth(name);
        EXPECT_FALSE(fourth.IsFirst());
    }
    app::SingleInstance again(name);
    EXPECT_TRUE(again.IsFirst());
}

TEST(SingleInstanceTest, LockOfACrashedInstanceIsTakenOver)
{
    // A lock file left behind by a process that no longer runs.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    ASSERT_TRUE(gone.waitForFinished(5000));
    const qint64 deadPid = gone.processId() > 0 ? gone.processId() : 0;
    const QString name = UniqueLockName();
    ASSERT_TRUE(WriteLock(LockPath(name), deadPid > 0 ? deadPid : 999999));
    app::SingleInstance next(name);
    EXPECT_TRUE(next.IsFirst());
}

TEST(SingleInstanceTest, OldLockOfARunningInstanceStillHolds)
{
    // The first instance has run for hours: its lock is old but its process
    // lives, so a second start is still refused.
    const QString name = UniqueLockName();
    const QString path = LockPath(name);
    ASSERT_TRUE(WriteLock(path, QCoreApplication::applicationPid()));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-3 * 3600),
                                  QFileDevice::FileModificationTime));
    }
    {
        app::SingleInstance second(name);
        EXPECT_FALSE(second.IsFirst());
    }
    QFile::remove(path);
}

} // namespace

namespace {

TEST(SingleInstanceTest, ALaterStartBringsTheFirstWindowToTheFront)
{
    const QString name = UniqueLockName();
    app::SingleInstance first(name);
    ASSERT_TRUE(first.IsFirst());
    QWidget window;
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());
    int asked = 0;
    ASSERT_TRUE(first.ListenForLaterStarts([&] {
        ++asked;
        app::BringToFront(&window);
    }));

    app::SingleInstance second(name);
    ASSERT_FALSE(second.IsFirst());
    // Handed over before the later start goes on to end.
    EXPECT_TRUE(second.AskFirstToShow());
    EXPECT_TRUE(QTest::qWaitFor([&] { return asked == 1; }, 5000));
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

TEST(SingleInstanceTest, AskingAFirstThatDoesNotListenFailsAtOnce)
{
    const QString name = UniqueLockName();
    app::SingleInstance first(name);
    app::SingleInstance second(name);
    EXPECT_FALSE(second.AskFirstToShow());
    EXPECT_FALSE(first.AskFirstToShow()); // the first never asks itself
}

} // namespace
