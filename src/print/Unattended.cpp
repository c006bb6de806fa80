#include "print/Unattended.h"

#include "print/PrinterDialog.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

namespace print {

UnattendedPdf::UnattendedPdf(const QString& folder)
{
    SetPrintersForTesting(&printers_);
    ResetCurrentPrinterForTesting();
    SetPdfFolderForTesting(QDir(folder).absolutePath() + QLatin1Char('/'));
    SetPdfOpenerForTesting([this](const QString& path) { written_ = path; });
}

UnattendedPdf::~UnattendedPdf()
{
    SetPdfOpenerForTesting({});
    SetPdfFolderForTesting({});
    SetPrintersForTesting(nullptr);
    ResetCurrentPrinterForTesting();
}

QString UnattendedPdf::Print(const std::function<void()>& start)
{
    written_.clear();
    QTimer answer; // looks for the dialog at every turn of the event loop until it is up
    answer.setInterval(0);
    QObject::connect(&answer, &QTimer::timeout, [&answer] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<PrinterDialog*>(top); d && d->isVisible()) {
                answer.stop();
                d->Press(1);
            }
    });
    answer.start();
    start();
    return written_;
}

} // namespace print
