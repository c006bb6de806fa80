#include "app/SingleInstance.h"
#include "board/MainWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));

    // A second start ends at once: no window, no message.
    app::SingleInstance instance;
    if (!instance.IsFirst())
        return 0;

    board::MainWindow window;
    if (!window.Load())
        return 1;
    window.show();
    return QApplication::exec();
}
