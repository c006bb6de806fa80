#pragma once

#include "print/Surface.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

// Where printouts go: the printer list, the current printer of the run, and
// the document a printout draws on. Every printout of the program uses these
// the same way:
//
//   if (!print::ShowPrinterDialog(owner)) return;        // PrinterDialog.h
//   print::Document doc(owner, {"Görev Fişi", staff});
//   print::Surface& s = doc.surface();                   // twips, see Surface.h
//   ... s.setFontSize(8); s.Print("..."); s.NewPage(); ...
//   doc.End();                                           // printer, PDF or preview
namespace print {

// The two entries every printer list ends with.
inline const QString kPdfPrinter = QStringLiteral("PDF Dosyası");
inline const QString kPreviewPrinter = QStringLiteral("Baskı Önizleme");

// The printers the dialog offers, in its order. Tests install their own list,
// so nothing depends on the printers of the machine the tests run on; an
// empty list is the machine without any printer.
class PrinterList {
public:
    virtual ~PrinterList() = default;
    virtual QStringList Names() const = 0;
    // The printer a run starts with.
    virtual QString DefaultName() const = 0;
};

// The system's printers (Qt PrintSupport; CUPS on Linux) in the order the
// system enumerates them, then the PDF file and the preview. The default is
// the system's default printer, else its first printer, else the PDF file.
class SystemPrinterList : public PrinterList {
public:
    QStringList Names() const override;
    QString DefaultName() const override;
};

const PrinterList& Printers();
void SetPrintersForTesting(const PrinterList* list); // nullptr: the system's list again

// The current printer: one for the whole run. The printer dialog replaces it;
// a font set by a printout stays with it until then.
struct CurrentPrinterState {
    QString name;
    int position = -1; // its place in the list when it was chosen; -1 for the start default
    FontState font;
    int copies = 1;
};
CurrentPrinterState& CurrentPrinter(); // the first use takes the list's default
// The printer at `position` of the list becomes current, with its own font.
void ReplaceCurrentPrinter(const QString& name, int position);
// Tests: the next use starts from the list's default again.
void ResetCurrentPrinterForTesting();

enum class OutputKind { Printer, PdfFile, Preview };
OutputKind KindOf(const QString& printerName);

// What a printout is called: it names the PDF file and the print job.
struct DocumentInfo {
    QString printout; // "Görev Fişi"
    QString subject;  // a staff member, "Tüm Elemanlar", a date
};

// One printout on the current printer. End() sends the pages: to the printer;
// into a PDF file in PdfFolder(), after which it says where the file is and
// opens it; or into a print preview window, from which the user can still
// print. A document with no pages sends nothing, makes no file and opens no
// window. Problems of the output are shown to the user by End().
class Document {
public:
    Document(QWidget* owner, const DocumentInfo& info);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    Surface& surface() { return *surface_; }
    void End();
    // The file a PDF document is written to (empty for other outputs).
    QString pdfPath() const { return pdfPath_; }

private:
    QWidget* owner_;
    DocumentInfo info_;
    OutputKind kind_;
    QString pdfPath_;
    std::shared_ptr<Surface> surface_;
    bool ended_ = false;
};

// The folder PDF files are written to: the user's documents folder + "/Velmora/".
QString PdfFolder();
// A file name in PdfFolder() for a printout made now; never an existing file.
QString NewPdfPath(const DocumentInfo& info);

// Tests: every Document draws on what the factory makes (kept by the test to
// read afterwards) instead of a printer, file or preview.
using SurfaceFactory = std::function<std::shared_ptr<Surface>(const QString& printerName, const FontState& font)>;
void SetSurfaceFactoryForTesting(SurfaceFactory factory); // empty: the real outputs again
void SetPdfFolderForTesting(const QString& folder);       // empty: the documents folder again
// Tests: called with the file instead of opening it in a viewer.
void SetPdfOpenerForTesting(std::function<void(const QString&)> opener);

} // namespace print
