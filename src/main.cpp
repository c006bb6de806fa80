#include "app/SafeApplication.h"
#include "app/SingleInstance.h"
#include "board/MainWindow.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    app::SafeApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));

    // A second start ends at once: no window, no message.
    app::SingleInstance instance;
    if (!instance.IsFirst())
        return 0;

    board::MainWindow window;
    if (!window.Load())
        return 1;
    window.show();

    // For the README's picture and support: save what the window shows, then end.
    const QString screenshot = qEnvironmentVariable("VELMORA_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, &window, [&window, screenshot] {
            const bool saved = window.grab().save(screenshot);
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
