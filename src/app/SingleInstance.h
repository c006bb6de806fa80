#pragma once

#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;
class QWidget;

namespace app {

// Holds the program's lock in the user's runtime directory for as long as it
// lives. A second instance finds the lock taken; it asks the first, through a
// local socket beside the lock, to bring its window to the front, so the user
// sees the program they started.
class SingleInstance {
public:
    explicit SingleInstance(const QString& lockName = QStringLiteral("velmora.lock"));
    ~SingleInstance();
    bool IsFirst() const { return first_; }

    // The first instance: `show` runs (on the GUI thread) whenever a later
    // start asks. False when the socket could not be opened; the lock holds
    // either way.
    bool ListenForLaterStarts(std::function<void()> show);
    // A later instance: asks the first to show itself and returns once the
    // request has been handed over (true) or could not be (false: the first
    // does not listen, or is gone).
    bool AskFirstToShow() const;

private:
    QString socketPath() const;

    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    QString lockPath_;
    bool first_ = false;
};

// Brings a top-level window to the front: out of the task bar if it was
// minimised, raised above the others and given the keyboard.
void BringToFront(QWidget* window);

} // namespace app
