#include "PrintFixture.h"

#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// The day's sheets of the demo business through the two entries every
// printer list has: the PDF file and the preview.
class OutputTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        print::SetPdfFolderForTesting(pdfDir.path() + QStringLiteral("/Velmora/"));
        print::SetPdfOpenerForTesting([this](const QString& path) { opened << path; });
    }
    void TearDown() override
    {
        print::SetPdfFolderForTesting({});
        print::SetPdfOpenerForTesting({});
        PrintTest::TearDown();
    }

    // The day's sheets recorded, for what the real outputs must show.
    const print::RecordingSurface& Recorded()
    {
        ClickPrint(1);
        return Recording();
    }

    void ChooseInDialog(const QString& printer)
    {
        print::SetSurfaceFactoryForTesting({});
        ClickPrint(1, [printer](print::PrinterDialog& d) {
            d.Combo1->setCurrentIndex(d.Combo1->findText(printer));
            PressTamam(d);
        });
    }

    QStringList PdfFiles() const
    {
        return QDir(pdfDir.path() + QStringLiteral("/Velmora")).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    }

    static QString Run(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return {};
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QTemporaryDir pdfDir;
    QStringList opened;
};

TEST_F(OutputTest, PdfEntryWritesTheSheetsToAFileSaysWhereAndOpensIt)
{
    Open();
    const print::RecordingSurface& recorded = Recorded();
    ASSERT_GT(recorded.PagesStarted(), 1);
    const int questions = BreakQuestions();
    prompt.shown.clear();

    ChooseInDialog(print::kPdfPrinter);
    const QStringList files = PdfFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].startsWith(QStringLiteral("Görev Fişi - Tüm Elemanlar - 2"))) << files[0].toStdString();
    const QString path = pdfDir.path() + QStringLiteral("/Velmora/") + files[0];
    EXPECT_EQ(opened, QStringList{path});
    ASSERT_EQ(int(prompt.shown.size()), questions + 1);
    EXPECT_EQ(prompt.shown.back().text, QStringLiteral("PDF dosyası kaydedildi:\n") + QDir::toNativeSeparators(path));

    const QString info = Run(QStringLiteral("pdfinfo"), {path});
    ASSERT_FALSE(info.isEmpty()) << "pdfinfo (poppler-utils) is needed";
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    ASSERT_TRUE(pages.hasMatch());
    EXPECT_EQ(pages.captured(1).toInt(), recorded.PagesStarted());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Page size:.*\\(A4\\)")).match(info).hasMatch()) << info.toStdString();

    // Every page carries its header and footer; every staff member's header is there.
    const QString text = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    const QStringList pageTexts = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pageTexts.size(), recorded.PagesStarted());
    for (int i = 0; i < pageTexts.size(); ++i) {
        EXPECT_TRUE(pageTexts[i].contains(QStringLiteral("* * * * * Sorvik * * * * *"))) << i;
        EXPECT_TRUE(pageTexts[i].contains(QStringLiteral("Tarih : 07 Aralık 2026 Pazartesi"))) << i;
        EXPECT_TRUE(pageTexts[i].contains(QStringLiteral("Sayfa %1").arg(i + 1))) << i;
    }
    for (const QString& t : recorded.Texts()) {
        if (t.startsWith(QStringLiteral("Montör Adı : ")) || t.startsWith(QStringLiteral("  "))) {
            EXPECT_TRUE(text.contains(t.trimmed())) << t.toStdString();
        }
    }
}

TEST_F(OutputTest, PdfEntryWithNothingToPrintMakesNoFile)
{
    Jobs()->Execute(QStringLiteral("UPDATE Montaj SET Iptal=True"));
    Open();
    ChooseInDialog(print::kPdfPrinter);
    EXPECT_TRUE(PdfFiles().isEmpty());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(OutputTest, PreviewShowsThePagesInAPreviewWindow)
{
    Open();
    const int pages = Recorded().PagesStarted();
    int shownPages = -1;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview || preview->objectName() != QStringLiteral("BaskiOnizleme"))
            return;
        timer.stop();
        if (auto* widget = preview->findChild<QPrintPreviewWidget*>())
            shownPages = widget->pageCount();
        preview->reject();
    });
    timer.start();
    ChooseInDialog(print::kPreviewPrinter);
    EXPECT_EQ(shownPages, pages);
    EXPECT_TRUE(PdfFiles().isEmpty());
}

} // namespace
