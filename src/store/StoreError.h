#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// Every failure of the store layer travels as this exception. The text is
// Turkish and meant for the user as it stands; windows show it, the store
// layer never opens a message box itself.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message, bool busy = false)
        : std::runtime_error(message.toStdString()), message_(message), busy_(busy) {}
    const QString& message() const { return message_; }
    // Another process holds the store's lock: nothing is wrong with the data,
    // the action may simply be tried again a moment later.
    bool busy() const { return busy_; }

private:
    QString message_;
    bool busy_ = false;
};

// A statement the dialect translator cannot carry over faithfully.
class DialectError : public StoreError {
public:
    using StoreError::StoreError;
};

} // namespace store
