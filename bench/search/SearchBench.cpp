// The order search and the quick search on the large demo data (200,000
// order lines), each beside the same look-up done with plain SQLite calls:
//   general   "GENEL ARAMA" for the start of a customer name whose only line
//             is the last of the store: no order number matches, so every
//             line is tried by number, then by name
//             vs. kept statements "SELECT rowid ... WHERE SipNo LIKE ?"
//             stepped to the lowest rowid (SQLite scans the field's covering
//             index, far smaller than the table), the same by CariAdi, then
//             the five detail fields of the row found, joined into the same
//             text;
//   keystroke one more letter in the board's quick-search box, finding that
//             customer's line, the last of the board's list, through the
//             upper-case form of the name after the order number
//             vs. kept statements with the list's own condition and order,
//             the matches taken from the field's covering index: "... WHERE
//             rowid IN (SELECT rowid ... WHERE SipNo LIKE ?) AND <the list's
//             condition> ORDER BY SipNo DESC LIMIT 1", then the same by
//             CariAdi.
// Both sides match with the program's Like and the Turkish collation.

#include "../board/LargeBoard.h"

#include "app/TurkishCase.h"
#include "board/QuickSearch.h"
#include "search/FindDialog.h"
#include "store/Sql.h"
#include "ui/DataGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

using namespace largeboard;

const QString kCustomer = QStringLiteral("Yeni Müşteri Dekorasyon");
const QString kTyped = QStringLiteral("yeni müşteri d");
const QString kLastSipNo = QStringLiteral("000001"); // last in the board's order, by number downwards

Mean generalMs, generalDirectMs, keyMs, keyDirectMs;

// One new customer's line, added after the 200,000 of the demo data and
// offered on the board for installation.
void AddLastLine(Data& d)
{
    store::Connection::Open(d.orders)
        ->Execute(QStringLiteral("INSERT INTO Siparisler (CariKod, SipNo, SipTarih, TesTarih, Miktar, KalAdet, "
                                 "TesAdet, StokKod, StokAdi, CariAdi, Fiyat, Tutar, Aciklama, Görev, Sec, Eleman) "
                                 "VALUES ('120.99.900', ")
                  + store::SqlText(kLastSipNo) + QStringLiteral(", ") + store::DateLiteral(kToday.addDays(-3))
                  + QStringLiteral(", ") + store::DateLiteral(kToday)
                  + QStringLiteral(", 2, 2, 0, 'K-9000', 'Split Klima 9000', ") + store::SqlText(kCustomer)
                  + QStringLiteral(", 1500, 3000, 'Salon', '', '', '')"));
}

search::FindDialog& dialog()
{
    static search::FindDialog* d = [] {
        auto& w = window();
        auto* made = search::FindDialog::Show(&w, w.DataSiparis, w.StokDataGrid);
        made->GenelChk->setChecked(true);
        made->Combo1->setEditText(kTyped);
        return made;
    }();
    return *d;
}

void BM_GeneralSearch(benchmark::State& state)
{
    auto& d = dialog();
    for (auto _ : state) {
        const auto t0 = Clock::now();
        d.CommandClicked(0);
        generalMs.add(t0);
        if (!d.Frame1->isVisible() || !d.Label3->text().contains(kCustomer))
            state.SkipWithError("the general search did not find the last line");
        d.Frame1->hide();
    }
    state.counters["lines"] = d.Data1.RecordCount();
}
BENCHMARK(BM_GeneralSearch)->Unit(benchmark::kMillisecond)->Iterations(10);

sqlite3_stmt* Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        std::abort();
    return st;
}

// The lowest rowid a kept statement gives for the pattern; 0 for none.
sqlite3_int64 FirstMatch(sqlite3_stmt* st, const QByteArray& pattern)
{
    sqlite3_bind_text(st, 1, pattern.constData(), int(pattern.size()), SQLITE_STATIC);
    sqlite3_int64 rowid = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const sqlite3_int64 r = sqlite3_column_int64(st, 0);
        if (rowid == 0 || r < rowid)
            rowid = r;
    }
    sqlite3_reset(st);
    return rowid;
}

QString Text(sqlite3_stmt* st, int col)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)), sqlite3_column_bytes(st, col));
}

void BM_GeneralSearch_DirectSQLite(benchmark::State& state)
{
    sqlite3* db = OpenDirect(data().orders);
    sqlite3_stmt* byField[] = {
        Prepare(db, "SELECT rowid FROM Siparisler WHERE SipNo LIKE ?1"),
        Prepare(db, "SELECT rowid FROM Siparisler WHERE CariAdi LIKE ?1"),
        Prepare(db, "SELECT rowid FROM Siparisler WHERE StokAdi LIKE ?1"),
    };
    sqlite3_stmt* details = Prepare(
        db, "SELECT \"Görev\", CariAdi, StokAdi, Miktar, Fiyat, Tutar, Aciklama FROM Siparisler WHERE rowid=?1");
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const QByteArray pattern = search::Criteria::ForText(kTyped).pattern.toUtf8();
        sqlite3_int64 rowid = 0;
        for (sqlite3_stmt* st : byField)
            if ((rowid = FirstMatch(st, pattern)) != 0)
                break;
        QString shown;
        sqlite3_bind_int64(details, 1, rowid);
        if (sqlite3_step(details) == SQLITE_ROW)
            shown = QStringLiteral("Görev = > ") + Text(details, 0) + QLatin1Char('\n') + Text(details, 1)
                + QLatin1Char('\n') + Text(details, 2) + QStringLiteral("\nAdet=") + Text(details, 3)
                + QStringLiteral(" Fiyat=") + Text(details, 4) + QStringLiteral(" Tutar=") + Text(details, 5)
                + QLatin1Char('\n') + Text(details, 6);
        sqlite3_reset(details);
        generalDirectMs.add(t0);
        if (!shown.contains(kCustomer))
            state.SkipWithError("the plain search did not find the last line");
    }
    for (sqlite3_stmt* st : byField)
        sqlite3_finalize(st);
    sqlite3_finalize(details);
    sqlite3_close(db);
    state.counters["ratio"] = Ratio(generalMs, generalDirectMs);
}
BENCHMARK(BM_GeneralSearch_DirectSQLite)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_QuickSearchKeystroke(benchmark::State& state)
{
    auto& w = window();
    auto* box = w.Text1;
    const QString before = kTyped.chopped(1);
    for (auto _ : state) {
        state.PauseTiming();
        {
            const QSignalBlocker quiet(box);
            box->setText(before);
        }
        w.DataSiparis.MoveFirst();
        state.ResumeTiming();
        const auto t0 = Clock::now();
        box->insert(kTyped.right(1));
        keyMs.add(t0);
        if (w.DataSiparis.Field(QStringLiteral("SipNo")).toString() != kLastSipNo || !w.StokDataGrid->Highlight())
            state.SkipWithError("the quick search did not find the last line");
    }
    state.counters["list_lines"] = w.DataSiparis.RecordCount();
    state.counters["found_at"] = w.DataSiparis.AbsolutePosition();
}
BENCHMARK(BM_QuickSearchKeystroke)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_QuickSearchKeystroke_DirectSQLite(benchmark::State& state)
{
    sqlite3* db = OpenDirect(data().orders);
    // The first match in the board's installation list for the day, in its order.
    const auto firstInList = [db](const char* field) {
        const QByteArray sql = QByteArrayLiteral("SELECT rowid FROM Siparisler WHERE rowid IN (SELECT rowid FROM "
                                                 "Siparisler WHERE ")
            + field
            + QByteArrayLiteral(" LIKE ?1) AND SipTarih<='2026-12-07 00:00:00' AND \"Görev\"<>'Kesif' AND "
                                "KalAdet>0 AND StokKod<>'' ORDER BY SipNo DESC LIMIT 1");
        return Prepare(db, sql.constData());
    };
    sqlite3_stmt* bySipNo = firstInList("SipNo");
    sqlite3_stmt* byName = firstInList("CariAdi");
    sqlite3_stmt* number = Prepare(db, "SELECT SipNo FROM Siparisler WHERE rowid=?1");
    for (auto _ : state) {
        const auto t0 = Clock::now();
        sqlite3_int64 rowid = FirstMatch(bySipNo, (store::LikeTypedText(kTyped) + QLatin1Char('*')).toUtf8());
        if (!rowid)
            rowid = FirstMatch(byName,
                               (store::LikeTypedText(app::TurkishUpperForm(kTyped)) + QLatin1Char('*')).toUtf8());
        keyDirectMs.add(t0);
        sqlite3_bind_int64(number, 1, rowid);
        if (sqlite3_step(number) != SQLITE_ROW || Text(number, 0) != kLastSipNo)
            state.SkipWithError("the plain search did not find the last line");
        sqlite3_reset(number);
    }
    for (sqlite3_stmt* st : {bySipNo, byName, number})
        sqlite3_finalize(st);
    sqlite3_close(db);
    state.counters["ratio"] = Ratio(keyMs, keyDirectMs);
}
BENCHMARK(BM_QuickSearchKeystroke_DirectSQLite)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv,
                         {{"General search, a name on the last of 200,001 lines", generalMs,
                           "the same look-up on SQLite", generalDirectMs},
                          {"Quick-search keystroke, a name on the last line of the board's list", keyMs,
                           "the same look-up on SQLite", keyDirectMs}},
                         AddLastLine);
}
