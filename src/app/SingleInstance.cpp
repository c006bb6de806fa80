#include "app/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace app {

namespace {

QString LockFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        dir = QDir::tempPath();
    return dir;
}

} // namespace

SingleInstance::SingleInstance(const QString& lockName)
    : lock_(std::make_unique<QLockFile>(QDir(LockFolder()).filePath(lockName)))
{
    // A running program may hold the lock for days: age alone never makes it
    // stale. A lock whose process is gone (a crash, a power cut) is stale and
    // is taken over at once, so a crashed instance never blocks the next start.
    lock_->setStaleLockTime(0);
    first_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance()
{
    if (first_)
        lock_->unlock();
}

} // namespace app
