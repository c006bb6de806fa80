#include "app/Look.h"
#include "app/SafeApplication.h"
#include "app/SingleInstance.h"
#include "app/Sound.h"
#include "app/Turkish.h"
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
    app::UseTurkish(app);
    app::UseOneLook(app);

    // A second start opens no window of its own: it brings the running one
    // to the front, then ends.
    app::SingleInstance instance;
    if (!instance.IsFirst()) {
        instance.AskFirstToShow();
        return 0;
    }

    // The README's picture of the board on a dark desktop.
    if (qEnvironmentVariable("VELMORA_SCREENSHOT_THEME") == QStringLiteral("dark"))
        QApplication::setPalette(app::DarkPalette());

    board::MainWindow window;
    if (!window.Load())
        return 1;
    instance.ListenForLaterStarts([&window] { app::BringToFront(&window); });
    window.show();

    // For the README's picture and support: save what the window shows, then end.
    const QString screenshot = qEnvironmentVariable("VELMORA_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, &window, [&window, screenshot] {
            const bool saved = window.grab().save(screenshot);
            QApplication::exit(saved ? 0 : 1);
        });
    }
    const int result = QApplication::exec();
    app::Sound::WaitUntilPlayed();
    return result;
}
