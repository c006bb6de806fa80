#include "app/SingleInstance.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
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

// A lock left by a process that no longer runs (no such pid) is taken over; the
// old lock of an instance that has run for hours still holds while it lives.
TEST(SingleInstanceTest, ALeftLockIsTakenOverOnlyWhenItsProcessIsGone)
{
    for (const qint64 pid : {qint64(999999), QCoreApplication::applicationPid()}) {
        const bool alive = pid != 999999;
        const QString name = UniqueLockName(), path = LockPath(name);
        ASSERT_TRUE(WriteLock(path, pid));
        if (alive) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-3 * 3600),
                                      QFileDevice::FileModificationTime));
        }
        {
            app::SingleInstance next(name);
            EXPECT_EQ(next.IsFirst(), !alive) << pid;
        }
        QFile::remove(path);
    }
}

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
