#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace app {

// Holds the program's lock in the user's runtime directory for as long as it
// lives. A second instance finds the lock taken.
class SingleInstance {
public:
    explicit SingleInstance(const QString& lockName = QStringLiteral("velmora.lock"));
    ~SingleInstance();
    bool IsFirst() const { return first_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool first_ = false;
};

} // namespace app
