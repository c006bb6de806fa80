// velmora-sheets FOLDER [YYYY-MM-DD]
//
// Prints every job sheet of a day (today by default) of the data in the
// current folder to a PDF file in FOLDER, as "&Tüm Yazdır" with the PDF entry
// would, answering every page-break question with Yes. Prints the file's path.
// For the README's picture, and for support on machines without a printer.

#include "app/Clock.h"
#include "app/Prompt.h"
#include "board/MainWindow.h"
#include "print/Unattended.h"
#include "ui/DatePicker.h"
#include "version/Version.h"

#include <QApplication>
#include <QPushButton>

#include <cstdio>

int main(int argc, char** argv)
{
    if (version::PrintIfAsked(argc, argv, "velmora-sheets"))
        return 0;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VELMORA_SOUND", "off");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "Kullanım: velmora-sheets KLASÖR [YYYY-AA-GG]\n");
        return 2;
    }
    QDate day = app::Clock::Today();
    if (args.size() > 2)
        day = QDate::fromString(args[2], Qt::ISODate);
    if (!day.isValid()) {
        std::fprintf(stderr, "Geçersiz tarih: %s\n", qPrintable(args[2]));
        return 2;
    }

    app::ScriptedPrompt prompt; // every question Yes, every message taken
    print::UnattendedPdf unattended(args[1]);

    board::MainWindow window;
    if (!window.Load()) {
        for (const auto& s : prompt.shown)
            std::fprintf(stderr, "%s\n", qPrintable(s.text));
        return 1;
    }
    window.show();
    window.Activate();
    window.DTPicker1->setDate(day);

    const QString written = unattended.Print([&window] { window.Command1[1]->click(); });
    if (written.isEmpty()) {
        for (const auto& s : prompt.shown)
            std::fprintf(stderr, "%s\n", qPrintable(s.text));
        return 1;
    }
    std::printf("%s\n", qPrintable(written));
    return 0;
}
