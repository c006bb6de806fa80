#pragma once

#include "../board/BoardFixture.h"

#include "app/SharedState.h"
#include "print/Printers.h"
#include "print/PrinterDialog.h"
#include "print/RecordingSurface.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <ostream>
#include <memory>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// A printer list of the test's own: nothing depends on the printers of the
// machine the tests run on.
class FixedPrinters : public print::PrinterList {
public:
    FixedPrinters(QStringList names, QString defaultName)
        : names_(std::move(names))
        , default_(std::move(defaultName))
    {
        print::SetPrintersForTesting(this);
        print::ResetCurrentPrinterForTesting();
    }
    ~FixedPrinters() override
    {
        print::SetPrintersForTesting(nullptr);
        print::ResetCurrentPrinterForTesting();
    }
    QStringList Names() const override { return names_; }
    QString DefaultName() const override { return default_; }

private:
    QStringList names_;
    QString default_;
};

// Does what `run` does, and answers the printer dialog with `action` as soon
// as it is up (inside its own event loop): the zero timer looks for it at
// every turn of the event loop until then. The timer dies with this call, so
// a dialog that never came up leaves nothing behind.
template <typename Run>
auto WithPrinterDialog(std::function<void(print::PrinterDialog&)> action, Run&& run)
{
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<print::PrinterDialog*>(w); d && d->isVisible()) {
                timer.stop();
                action(*d);
                return;
            }
    });
    timer.start();
    return run();
}

inline void PressTamam(print::PrinterDialog& d)
{
    QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("YazCmd(1)")), Qt::LeftButton);
}

// The first and the last recorded item with exactly this text (nullptr when none).
inline const print::TextItem* Item(const print::RecordingSurface& r, const QString& text)
{
    for (const auto& p : r.Items())
        if (p.item.text == text)
            return &p.item;
    return nullptr;
}
inline const print::TextItem* LastItem(const print::RecordingSurface& r, const QString& text)
{
    const print::TextItem* found = nullptr;
    for (const auto& p : r.Items())
        if (p.item.text == text)
            found = &p.item;
    return found;
}

// Compares a recording with its reviewed file in tests/<folder>/golden/.
// VELMORA_UPDATE_GOLDEN=1 writes the file instead (review the diff, then commit).
inline void ExpectGoldenFile(const print::RecordingSurface& recording, const char* folder, const char* name)
{
    const QString path = QStringLiteral(VELMORA_SOURCE_DIR "/tests/") + QString::fromUtf8(folder)
                         + QStringLiteral("/golden/") + QString::fromUtf8(name);
    const QString actual = recording.Text();
    if (qEnvironmentVariableIntValue("VELMORA_UPDATE_GOLDEN") == 1) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        out.write(actual.toUtf8());
        return;
    }
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << path.toStdString() << " is missing; make it with VELMORA_UPDATE_GOLDEN=1";
    const QStringList want = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    const QStringList got = actual.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < qMax(want.size(), got.size()); ++i) {
        const QString w = want.value(i, QStringLiteral("<none>"));
        const QString g = got.value(i, QStringLiteral("<none>"));
        if (w != g) {
            ADD_FAILURE() << name << " differs at line " << i + 1 << "\n  reviewed: " << w.toStdString()
                          << "\n  printed:  " << g.toStdString()
                          << "\n(VELMORA_UPDATE_GOLDEN=1 rewrites the file; review its diff)";
            return;
        }
    }
}

// Board tests that print: a fixed printer list, every printout recorded on a
// page of the given geometry, boxes answered through the prompt seam.
class PrintTest : public BoardTest {
protected:
    explicit PrintTest(testsupport::TestDataDir::Content content = testsupport::TestDataDir::Content::Demo)
        : BoardTest(content)
    {
    }

    void SetUp() override
    {
        BoardTest::SetUp();
        print::SetSurfaceFactoryForTesting([this](const QString& printer, const print::FontState& font) {
            auto s = std::make_shared<print::RecordingSurface>(geometry, font);
            recordings.push_back(s);
            printers.push_back(printer);
            return s;
        });
    }

    void TearDown() override
    {
        print::SetSurfaceFactoryForTesting({});
        BoardTest::TearDown();
    }

    // Clicks a print button with the dialog answered by `action` (default "Tamam").
    void ClickPrint(int index, std::function<void(print::PrinterDialog&)> action = PressTamam)
    {
        auto* button = Find<QPushButton>(QStringLiteral("Command1(%1)").arg(index));
        WithPrinterDialog(std::move(action), [&] {
            QTest::mouseClick(button, Qt::LeftButton);
            return 0;
        });
    }

    // The only recording, which must exist.
    const print::RecordingSurface& Recording() const
    {
        EXPECT_EQ(recordings.size(), 1u);
        static const print::RecordingSurface none;
        return recordings.empty() ? none : *recordings.back();
    }

    // The page-break questions asked so far.
    int BreakQuestions() const
    {
        int n = 0;
        for (const auto& s : prompt.shown)
            n += s.text == QStringLiteral("Yazmaya Devam Et") ? 1 : 0;
        return n;
    }

    FixedPrinters printerList{{QStringLiteral("Ofis Lazer"), print::kPdfPrinter, print::kPreviewPrinter},
                              QStringLiteral("Ofis Lazer")};
    print::PageGeometry geometry = print::PageGeometry::Standard();
    std::vector<std::shared_ptr<print::RecordingSurface>> recordings;
    QStringList printers;
};
