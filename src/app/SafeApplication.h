#pragma once

#include <QApplication>

#include <functional>

namespace app {

// The program's application object. A store error that a handler did not
// catch ends that action with a Turkish message instead of ending the
// program through the event loop; the user's data is already safe, since
// every change is stored (or rolled back) where it is made.
class SafeApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;

    // One event delivery: what it throws becomes a message, and the event
    // counts as not handled.
    static bool DeliverSafely(const std::function<bool()>& deliver);
};

} // namespace app
