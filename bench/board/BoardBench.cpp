// The board's two heavy actions on the large demo data (200,000 order lines,
// about 100,000 jobs), each beside the same work written directly on SQLite
// the fastest careful way (each plain side says what it does below):
//   reload   ReloadBoardLists for a day and the installation kind;
//   create   "Görev Ekle" with 500 marked lines, the board's reload included.
// The window runs headless on a fresh copy of the large demo data.

#include "LargeBoard.h"
#include "../PlainSql.h"

#include "store/JobKinds.h"
#include "store/Sql.h"
#include "ui/DataCombo.h"

#include <algorithm>
#include <vector>

namespace {

using namespace largeboard;

Mean reloadMs, reloadDirectMs, createMs, createDirectMs;

// What ReloadBoardLists asks of SQLite, written directly on it the fastest
// careful way: the same statements (the translator's text, rowids only, the
// TURKISH collation and the dialect's like() registered), prepared once and
// kept, all reads of a reload in one read transaction, the page cache warm
// from the runs before. Like the program it reads the last and the first row
// of each list (a refresh moves to the last row and back), and like the
// program it has one handle for the data set: the job store, with the order
// store attached as "o" (an action that writes both commits them together).
struct PlainBoard {
    sqlite3* db = nullptr;
    std::vector<std::unique_ptr<plainsql::Keyset>> lists;

    static sqlite3_stmt* Prepare(sqlite3* db, const QString& sql) { return plainsql::Prepare(db, sql); }
    // A statement of the order store ("Montaj" is a table of both stores).
    static QString InOrders(const QString& sql) { return store::QualifyTables(sql, QStringLiteral("\"o\"")); }

    PlainBoard()
    {
        db = OpenDirect(data().jobs);
        const QByteArray attach = "ATTACH DATABASE '" + data().orders.toUtf8() + "' AS o";
        sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr);
        const QString day = store::DateLiteral(kToday);
        const auto add = [this](const QString& sql, const char* table) {
            lists.push_back(std::make_unique<plainsql::Keyset>(db, sql, table));
        };
        add(InOrders(plainsql::RowidQuery(QStringLiteral("Select * From Siparisler Where SipTarih<=") + day
                                          + QString::fromUtf8(store::KindByCode(QStringLiteral("Montaj")).orderFilter)
                                          + QStringLiteral(" Order By SipNo Desc"))),
            "o.Siparisler");
        add(InOrders(plainsql::RowidQuery(QStringLiteral("Select * From Montaj Where Iptal=False And Tarih=") + day
                                          + QStringLiteral(" Order By SipNo Asc"))),
            "o.Montaj");
        add(plainsql::RowidQuery(QStringLiteral("Select * From Montaj Where Tarih=") + day
                                 + QStringLiteral(" And Görev='Montaj' Order By Eleman Asc")),
            "Montaj");
        add(plainsql::RowidQuery(QStringLiteral("Select * From Montaj Where Görev='Montaj' Order By SipNo Asc")),
            "Montaj");
    }
    ~PlainBoard()
    {
        lists.clear();
        sqlite3_close(db);
    }

    void Reload()
    {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (auto& list : lists)
            list->Refresh();
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
};

void BM_ReloadBoardLists(benchmark::State& state)
{
    auto& w = window();
    w.ReloadBoardLists(); // warms the page cache, as the plain side does
    Mean drawn;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        w.ReloadBoardLists();
        reloadMs.add(t0);
        DrawWindow(); // the board drawn, untimed: the plain side draws nothing
        drawn.add(t0);
    }
    state.counters["with_drawing_ms"] = drawn.value();
    state.counters["order_lines"] = w.DataSiparis.RecordCount();
}
BENCHMARK(BM_ReloadBoardLists)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ReloadBoardLists_DirectSQLite(benchmark::State& state)
{
    PlainBoard plain;
    plain.Reload(); // warms the page cache as the program's runs did
    for (auto _ : state) {
        const auto t0 = Clock::now();
        plain.Reload();
        reloadDirectMs.add(t0);
    }
    state.counters["order_lines"] = double(plain.lists[0]->rowids.size());
    state.counters["ratio"] = Ratio(reloadMs, reloadDirectMs);
}
BENCHMARK(BM_ReloadBoardLists_DirectSQLite)->Unit(benchmark::kMillisecond)->Iterations(20);

// Marks the next 500 open installation lines that have no job yet.
// (The large set has about 6,000 such lines: enough for every iteration.)
// Each side marks through its own handle, so neither finds its page cache
// made stale by the other's writing.
const char* const kMark500 = "UPDATE Siparisler SET Sec='X' WHERE rowid IN (SELECT rowid FROM Siparisler WHERE "
                             "Görev='' AND KalAdet>0 AND StokKod<>'' AND Sec='' ORDER BY SipNo LIMIT 500)";
void Mark500() { store::Connection::Open(data().orders)->ExecuteNative(QString::fromUtf8(kMark500)); }
void Mark500(sqlite3* db)
{
    sqlite3_exec(db, PlainBoard::InOrders(QString::fromUtf8(kMark500)).toUtf8().constData(), nullptr, nullptr, nullptr);
}

void BM_CreateJobs500(benchmark::State& state)
{
    auto& w = window();
    Mean drawn;
    for (auto _ : state) {
        state.PauseTiming();
        Mark500();
        state.ResumeTiming();
        const auto t0 = Clock::now();
        w.CreateJobs();
        createMs.add(t0);
        DrawWindow();
        drawn.add(t0);
    }
    state.counters["with_drawing_ms"] = drawn.value();
}
BENCHMARK(BM_CreateJobs500)->Unit(benchmark::kMillisecond)->Iterations(3);

// "Görev Ekle" written directly on SQLite the fastest careful way, doing
// what the program does: the staff member looked up in the day's rows, the
// batch counter read and advanced, per marked line (SipNo order) the first
// earlier job of the kind for its done units, the job inserted and the line
// updated, the staff member's day row added once, all in one transaction on
// one handle with the order store attached, so that both files are committed
// together (SQLite's super-journal) as the program must; statements prepared
// once; then the board's reload as above and the first new job looked up in
// the day's jobs.
void CreateDirect(PlainBoard& plain, sqlite3_stmt* const* st, const QByteArray& staff)
{
    enum { Registered, Counter, Advance, Lines, Earlier, AddJob, AddDay, Line, FirstJob };
    sqlite3* action = plain.db;
    const auto text = [](sqlite3_stmt* s, int i, const QByteArray& v) {
        sqlite3_bind_text(s, i, v.constData(), int(v.size()), SQLITE_STATIC);
    };
    text(st[Registered], 1, staff);
    const bool newForDay = sqlite3_step(st[Registered]) != SQLITE_ROW;
    sqlite3_reset(st[Registered]);

    sqlite3_exec(action, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_step(st[Counter]);
    const double batch = sqlite3_column_double(st[Counter], 0) + 1;
    sqlite3_reset(st[Counter]);
    sqlite3_bind_double(st[Advance], 1, batch);
    sqlite3_step(st[Advance]);
    sqlite3_reset(st[Advance]);

    QByteArray first;
    while (sqlite3_step(st[Lines]) == SQLITE_ROW) {
        sqlite3_stmt* line = st[Lines];
        if (first.isEmpty()) {
            first = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(line, 1)));
            if (newForDay) {
                sqlite3_bind_value(st[AddDay], 1, sqlite3_column_value(line, 1));
                text(st[AddDay], 2, staff);
                sqlite3_bind_double(st[AddDay], 3, batch);
                sqlite3_step(st[AddDay]);
                sqlite3_reset(st[AddDay]);
            }
        }
        sqlite3_bind_value(st[Earlier], 1, sqlite3_column_value(line, 1));
        const double done = sqlite3_step(st[Earlier]) == SQLITE_ROW ? sqlite3_column_double(st[Earlier], 0) : 0;
        sqlite3_reset(st[Earlier]);
        text(st[AddJob], 1, staff);
        sqlite3_bind_value(st[AddJob], 2, sqlite3_column_value(line, 1));
        sqlite3_bind_double(st[AddJob], 3, std::max(0.0, sqlite3_column_double(line, 2) - done));
        sqlite3_bind_double(st[AddJob], 4, batch);
        for (int i = 3; i <= 6; ++i)
            sqlite3_bind_value(st[AddJob], i + 2, sqlite3_column_value(line, i));
        sqlite3_step(st[AddJob]);
        sqlite3_reset(st[AddJob]);
        text(st[Line], 1, staff);
        sqlite3_bind_int64(st[Line], 2, sqlite3_column_int64(line, 0));
        sqlite3_step(st[Line]);
        sqlite3_reset(st[Line]);
    }
    sqlite3_reset(st[Lines]);
    sqlite3_exec(action, "COMMIT", nullptr, nullptr, nullptr);

    plain.Reload();
    text(st[FirstJob], 1, first);
    benchmark::DoNotOptimize(sqlite3_step(st[FirstJob]));
    sqlite3_reset(st[FirstJob]);
}

void BM_CreateJobs500_DirectSQLite(benchmark::State& state)
{
    PlainBoard plain;
    const QByteArray staff = window().DBCombo1->Text().toUtf8();
    const QString day = QStringLiteral("'") + store::StoredDate(kToday) + QStringLiteral("'");
    const QString kind = QStringLiteral("'Montaj'");
    sqlite3* action = plain.db;
    sqlite3_stmt* st[] = {
        PlainBoard::Prepare(action, QStringLiteral("SELECT rowid FROM o.Montaj WHERE Iptal=0 AND Tarih=%1 AND "
                                                   "Eleman=?1 LIMIT 1").arg(day)),
        PlainBoard::Prepare(action, QStringLiteral("SELECT RecNo FROM main.RecSay LIMIT 1")),
        PlainBoard::Prepare(action, QStringLiteral("UPDATE main.RecSay SET RecNo=?1")),
        PlainBoard::Prepare(action, QStringLiteral("SELECT rowid, SipNo, Miktar, CariKod, CariAdi, StokAdi, "
                                                   "\"Not\" FROM o.Siparisler WHERE Sec='X' ORDER BY SipNo ASC")),
        PlainBoard::Prepare(action, QStringLiteral("SELECT Kalan FROM main.Montaj WHERE \"Görev\"=%1 AND SipNo=?1 "
                                                   "ORDER BY rowid LIMIT 1").arg(kind)),
        PlainBoard::Prepare(action, QStringLiteral("INSERT INTO main.Montaj (Eleman, \"Görev\", Tarih, SipNo, Adet, "
                                                   "RecNo, CariKod, Unvan, Stok, \"Not\") VALUES "
                                                   "(?1, %1, %2, ?2, ?3, ?4, ?5, ?6, ?7, ?8)").arg(kind, day)),
        PlainBoard::Prepare(action, QStringLiteral("INSERT INTO o.Montaj (SipNo, Eleman, Tarih, RecNo) VALUES "
                                                   "(?1, ?2, %1, ?3)").arg(day)),
        PlainBoard::Prepare(action, QStringLiteral("UPDATE o.Siparisler SET Sec='', \"Görev\"=%1, Eleman=?1, "
                                                   "Montaj=1 WHERE rowid=?2").arg(kind)),
        PlainBoard::Prepare(action, QStringLiteral("SELECT rowid FROM main.Montaj WHERE Tarih=%1 AND \"Görev\"=%2 "
                                                   "AND SipNo=?1 ORDER BY Eleman LIMIT 1").arg(day, kind)),
    };
    for (auto _ : state) {
        state.PauseTiming();
        Mark500(plain.db);
        state.ResumeTiming();
        const auto t0 = Clock::now();
        CreateDirect(plain, st, staff);
        createDirectMs.add(t0);
    }
    for (sqlite3_stmt* s : st)
        sqlite3_finalize(s);
    state.counters["ratio"] = Ratio(createMs, createDirectMs);
}
BENCHMARK(BM_CreateJobs500_DirectSQLite)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv,
                         {{"ReloadBoardLists", reloadMs,
                           "plain SQLite (same statements kept prepared, rowids, one read transaction, warm cache)",
                           reloadDirectMs},
                          {"Görev Ekle with 500 lines", createMs,
                           "plain SQLite (counter, day row, 500 look-ups, inserts and updates in one transaction "
                           "per store with kept statements, then the same reload)",
                           createDirectMs}});
}
