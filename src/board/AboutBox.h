#pragma once

#include <QString>

class QWidget;

namespace app {
struct StorePaths;
} // namespace app

namespace board {

// "Velmora Hakkında": the version, the licence, and where this run keeps its
// data: the data folder, the settings file and every store file with its size,
// so that support can ask one question instead of five.
class AboutBox {
public:
    static QString Text(const app::StorePaths& paths);
    static void Show(QWidget* owner, const app::StorePaths& paths);
};

} // namespace board
