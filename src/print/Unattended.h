#pragma once

#include "print/Printers.h"

#include <QString>

#include <functional>

namespace print {

// Printing with nobody at the screen (velmora-sheets, the benchmark): the
// printer list holds only the PDF entry, files go to `folder`, the printer
// dialog is answered "Tamam" as soon as it is up and the file is not opened.
// Everything is put back when it goes out of scope. Message boxes are the
// caller's to answer (an app::ScriptedPrompt).
class UnattendedPdf {
public:
    explicit UnattendedPdf(const QString& folder);
    ~UnattendedPdf();
    UnattendedPdf(const UnattendedPdf&) = delete;
    UnattendedPdf& operator=(const UnattendedPdf&) = delete;

    // Runs `start` (a click on a print button) with the dialog answered;
    // returns the PDF file written, or empty when nothing was printed.
    QString Print(const std::function<void()>& start);

private:
    class PdfOnly : public PrinterList {
    public:
        QStringList Names() const override { return {kPdfPrinter}; }
        QString DefaultName() const override { return kPdfPrinter; }
    };
    PdfOnly printers_;
    QString written_;
};

} // namespace print
