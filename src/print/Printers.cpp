#include "print/Printers.h"

#include "app/Prompt.h"
#include "print/PainterSurface.h"
#include "print/RecordingSurface.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QUrl>

#include <optional>

namespace print {

namespace {

const PrinterList* g_testPrinters = nullptr;
std::optional<CurrentPrinterState> g_current;
SurfaceFactory g_factory;
QString g_pdfFolder;
std::function<void(const QString&)> g_opener;

// Characters a file name cannot hold on one of the systems the files travel to.
QString FileNamePart(QString text)
{
    static const QString bad = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : text)
        if (bad.contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    return text.trimmed();
}

bool DesktopAvailable()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void OpenPdf(const QString& path)
{
    if (g_opener) {
        g_opener(path);
        return;
    }
    if (DesktopAvailable())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

std::unique_ptr<QPrinter> SystemPrinter(const QString& name, const DocumentInfo& info)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(name);
    printer->setDocName(info.printout + QStringLiteral(" - ") + info.subject);
    printer->setFullPage(false);
    printer->setCopyCount(CurrentPrinter().copies);
    return printer;
}

} // namespace

QStringList SystemPrinterList::Names() const
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names << kPdfPrinter << kPreviewPrinter;
    return names;
}

QString SystemPrinterList::DefaultName() const
{
    const QString name = QPrinterInfo::defaultPrinterName();
    if (!name.isEmpty())
        return name;
    const QStringList system = QPrinterInfo::availablePrinterNames();
    return system.isEmpty() ? kPdfPrinter : system.first();
}

const PrinterList& Printers()
{
    static const SystemPrinterList system;
    return g_testPrinters ? *g_testPrinters : system;
}

void SetPrintersForTesting(const PrinterList* list)
{
    g_testPrinters = list;
}

CurrentPrinterState& CurrentPrinter()
{
    if (!g_current) {
        g_current.emplace();
        g_current->name = Printers().DefaultName();
    }
    return *g_current;
}

void ReplaceCurrentPrinter(const QString& name, int position)
{
    g_current.emplace();
    g_current->name = name;
    g_current->position = position;
}

void ResetCurrentPrinterForTesting()
{
    g_current.reset();
}

OutputKind KindOf(const QString& printerName)
{
    if (printerName == kPdfPrinter)
        return OutputKind::PdfFile;
    if (printerName == kPreviewPrinter)
        return OutputKind::Preview;
    return OutputKind::Printer;
}

QString PdfFolder()
{
    if (!g_pdfFolder.isEmpty())
        return g_pdfFolder;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Velmora/");
}

QString NewPdfPath(const DocumentInfo& info)
{
    const QString folder = QDir(PdfFolder()).absolutePath();
    const QString base = FileNamePart(info.printout) + QStringLiteral(" - ") + FileNamePart(info.subject)
                         + QStringLiteral(" - ")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    QString path = folder + QLatin1Char('/') + base + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + QLatin1Char('/') + base + QStringLiteral(" (%1).pdf").arg(n);
    return path;
}

void SetSurfaceFactoryForTesting(SurfaceFactory factory)
{
    g_factory = std::move(factory);
}

void SetPdfFolderForTesting(const QString& folder)
{
    g_pdfFolder = folder;
}

void SetPdfOpenerForTesting(std::function<void(const QString&)> opener)
{
    g_opener = std::move(opener);
}

Document::Document(QWidget* owner, const DocumentInfo& info)
    : owner_(owner)
    , info_(info)
{
    const CurrentPrinterState& printer = CurrentPrinter();
    kind_ = KindOf(printer.name);
    if (g_factory) {
        kind_ = OutputKind::Printer;
        surface_ = g_factory(printer.name, printer.font);
        return;
    }
    switch (kind_) {
    case OutputKind::Printer:
        surface_ = std::make_shared<PainterSurface>(SystemPrinter(printer.name, info), printer.font);
        break;
    case OutputKind::PdfFile: {
        pdfPath_ = NewPdfPath(info);
        QDir().mkpath(QFileInfo(pdfPath_).absolutePath());
        auto writer = std::make_unique<QPdfWriter>(pdfPath_);
        writer->setPageLayout(PageGeometry::StandardLayout());
        writer->setResolution(PageGeometry::Standard().dpi);
        writer->setTitle(info.printout + QStringLiteral(" - ") + info.subject);
        writer->setCreator(QStringLiteral("Velmora"));
        surface_ = std::make_shared<PainterSurface>(std::move(writer), printer.font);
        break;
    }
    case OutputKind::Preview: {
        // Recorded first, painted when the preview asks for its pages (as
        // often as it likes: after a change of page setup too).
        QPrinter preview(QPrinter::HighResolution);
        surface_ = std::make_shared<RecordingSurface>(PainterSurface::GeometryOf(preview), printer.font);
        break;
    }
    }
}

Document::~Document()
{
    End();
}

void Document::End()
{
    if (ended_)
        return;
    ended_ = true;
    surface_->EndDoc();
    CurrentPrinter().font = surface_->Font();
    const bool printed = surface_->PagesStarted() > 0;
    if (!printed)
        return;

    switch (kind_) {
    case OutputKind::Printer:
        if (auto* painter = dynamic_cast<PainterSurface*>(surface_.get()); painter && painter->Failed())
            app::Prompt::Message(owner_,
                                 QStringLiteral("\"%1\" yazıcısına yazdırılamadı.").arg(CurrentPrinter().name),
                                 {}, app::MessageIcon::Warning);
        break;
    case OutputKind::PdfFile:
        if (static_cast<PainterSurface*>(surface_.get())->Failed() || !QFileInfo::exists(pdfPath_)) {
            app::Prompt::Message(owner_,
                                 QStringLiteral("PDF dosyası yazılamadı:\n%1").arg(QDir::toNativeSeparators(pdfPath_)),
                                 {}, app::MessageIcon::Warning);
            return;
        }
        app::Prompt::Message(owner_,
                             QStringLiteral("PDF dosyası kaydedildi:\n%1").arg(QDir::toNativeSeparators(pdfPath_)),
                             {}, app::MessageIcon::Information);
        OpenPdf(pdfPath_);
        break;
    case OutputKind::Preview: {
        auto* recording = static_cast<RecordingSurface*>(surface_.get());
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(info_.printout + QStringLiteral(" - ") + info_.subject);
        QPrintPreviewDialog dialog(&printer, owner_);
        dialog.setObjectName(QStringLiteral("BaskiOnizleme"));
        dialog.setWindowTitle(QStringLiteral("Baskı Önizleme - ") + info_.printout);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [recording](QPrinter* target) {
            PainterSurface paper(*target, recording->Font());
            recording->ReplayOn(paper);
        });
        dialog.resize(900, 1000);
        dialog.exec();
        break;
    }
    }
}

} // namespace print
