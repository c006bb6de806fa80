#include "ImportFixture.h"
#include "TestSupport.h"

#include "app/Pause.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "app/Sound.h"
#include "app/StorePaths.h"
#include "board/MainWindow.h"
#include "import/StoreImport.h"
#include "ui/DataGrid.h"
#include "ui/DatePicker.h"

#include <QDate>

#include <gtest/gtest.h>

#include <map>

using namespace importfixture;

namespace {

// A date/time cell of the expected files: "YYYY-MM-DD HH:MM:SS".
QDate dayOf(const std::optional<QString>& cell)
{
    return cell ? QDate::fromString(cell->left(10), QStringLiteral("yyyy-MM-dd")) : QDate();
}

} // namespace

// The business's Access data, imported with the company code of the
// settings, is what the board shows.
TEST(ImportedBoard, ShowsTheFixtureOrderLinesAndJobs)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::Nothing);
    ASSERT_TRUE(data.ok());
    ASSERT_TRUE(QFileInfo(AccessDir()).isDir()) << "fixtures missing: " << AccessDir().toStdString();
    app::SaveRegString(app::RootKey::CurrentUser, app::kSettingsKey, QStringLiteral("Firma"), QStringLiteral("ABC"));
    const app::StorePaths paths = app::StorePaths::FromSettings();
    const import::ImportSummary summary = import::ImportStores(
        {AccessDir(), app::StorePaths::Local(paths.dataRoot), paths.companyCode, false});
    ASSERT_EQ(summary.stores, 5);

    // Each kind's list on today's board: its rule worked out from the
    // expected rows. NULL fails every comparison, as in Access, except the
    // kind: the open lines the accounting package left without a kind (NULL,
    // not '') are offered for installation and delivery like lines with ''.
    const ExpectedTable lines = ReadExpected(QStringLiteral("ABCSiparis.Mdb"), QStringLiteral("Siparisler"));
    const auto listed = [&](int kind) {
        QStringList out;
        for (const auto& r : lines.rows) {
            const auto v = [&](const char* f) { return r[size_t(lines.fields.indexOf(QString::fromUtf8(f)))]; };
            const auto positive = [&](const char* f) { return v(f) && v(f)->toDouble() > 0; };
            const auto kindNot = [&](const char* k) { return !v("Görev") || *v("Görev") != QLatin1String(k); };
            const bool product = v("StokKod") && !v("StokKod")->isEmpty();
            const bool on = kind == 0 ? kindNot("Kesif") && positive("KalAdet") && product
                          : kind == 1 ? kindNot("Kesif") && kindNot("Paket") && product
                                            && v("Montaj") == QStringLiteral("1") && positive("TesAdet")
                          : kind == 2 ? v("Görev") == QStringLiteral("Kesif")
                                      : kindNot("Servis") && kindNot("Kesif") && kindNot("Montaj")
                                            && positive("KalAdet") && product;
            if (on && dayOf(v("SipTarih")) <= testsupport::DemoToday())
                out << *v("SipNo");
        }
        out.sort();
        return out;
    };

    app::SetPausesForTesting(false);
    QStringList played;
    app::Sound::RecordForTesting(&played);
    app::ScriptedPrompt prompt;
    {
        board::MainWindow w;
        ASSERT_TRUE(w.Load());
        w.show();
        w.Activate();
        EXPECT_TRUE(prompt.shown.empty());

        auto* orderGrid = w.findChild<ui::DataGrid*>(QStringLiteral("StokDataGrid"));
        ASSERT_NE(orderGrid, nullptr);
        int shownLines = 0;
        for (int kind : {1, 2, 3, 0}) {
            SCOPED_TRACE(kind);
            w.ChooseKind(kind);
            store::RecordView& orders = *orderGrid->view();
            QStringList shown;
            for (int r = 0; r < orders.RecordCount(); ++r)
                shown << orders.ValueAt(r, orders.FieldIndex(QStringLiteral("SipNo"))).toString();
            shown.sort();
            EXPECT_EQ(shown, listed(kind));
            shownLines += int(shown.size());
        }
        EXPECT_GT(shownLines, 10);

        // The busiest installation day of the fixture: its jobs on the job grid.
        const ExpectedTable jobs = ReadExpected(QStringLiteral("Montaj.mdb"), QStringLiteral("Montaj"));
        const size_t kindAt = size_t(jobs.fields.indexOf(QStringLiteral("Görev")));
        const size_t dayAt = size_t(jobs.fields.indexOf(QStringLiteral("Tarih")));
        std::map<QDate, int> perDay;
        for (const auto& r : jobs.rows)
            if (r[kindAt] == QStringLiteral("Montaj"))
                ++perDay[dayOf(r[dayAt])];
        ASSERT_FALSE(perDay.empty());
        const auto busiest = std::max_element(perDay.begin(), perDay.end(),
                                              [](const auto& a, const auto& b) { return a.second < b.second; });
        w.findChild<ui::DatePicker*>(QStringLiteral("DTPicker1"))->setDate(busiest->first);
        w.ReloadBoardLists();
        auto* jobGrid = w.findChild<ui::DataGrid*>(QString::fromUtf8("GörevGrid"));
        ASSERT_NE(jobGrid, nullptr);
        EXPECT_EQ(jobGrid->view()->RecordCount(), busiest->second);
    }
    app::Sound::RecordForTesting(nullptr);
}
