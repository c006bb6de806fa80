#include "app/SafeApplication.h"
#include "app/SingleInstance.h"
#include "board/MainWindow.h"
#include "version/Version.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char** argv)
{
    if (version::PrintIfAsked(argc, argv, "velmora"))
        return 0;
    app::SafeApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QString::fromLatin1(version::Number()));
    // The menu entry velmora.desktop and its icon: desktops match the window to them.
    QApplication::setDesktopFileName(QStringLiteral("velmora"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("velmora")));

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
