// The board's two heavy actions on the large demo data (200,000 order lines,
// about 100,000 jobs), each beside the same work done with plain SQLite calls:
//   reload   ReloadBoardLists for a day and the installation kind
//            vs. preparing its four queries and stepping every row;
//   create   "Görev Ekle" with 500 marked lines
//            vs. inserting 500 jobs and updating 500 lines in one transaction,
//            then the reload's queries.
// The window runs headless on a fresh copy of the large demo data.

#include "LargeBoard.h"

namespace {

using namespace largeboard;

Mean reloadMs, reloadDirectMs, createMs, createDirectMs;

void StepAll(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    long rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        benchmark::DoNotOptimize(++rows);
    sqlite3_finalize(st);
}

// The queries of ReloadBoardLists as a program written directly on SQLite
// would send them, every row stepped.
void ReloadDirect(sqlite3* orders, sqlite3* jobs)
{
    StepAll(orders, "SELECT * FROM Siparisler WHERE SipTarih<='2026-12-07 00:00:00' AND \"Görev\"<>'Kesif' "
            "AND KalAdet>0 AND StokKod<>'' ORDER BY SipNo DESC");
    StepAll(orders, "SELECT * FROM Montaj WHERE Iptal=0 AND Tarih='2026-12-07 00:00:00' ORDER BY SipNo ASC");
    StepAll(jobs, "SELECT * FROM Montaj WHERE Tarih='2026-12-07 00:00:00' AND \"Görev\"='Montaj' "
              "ORDER BY Eleman ASC");
    StepAll(jobs, "SELECT * FROM Montaj WHERE \"Görev\"='Montaj' ORDER BY SipNo ASC");
    StepAll(orders, "SELECT * FROM Montaj WHERE Iptal=0 AND Tarih='2026-12-07 00:00:00' ORDER BY SipNo ASC");
}

void BM_ReloadBoardLists(benchmark::State& state)
{
    auto& w = window();
    for (auto _ : state) {
        const auto t0 = Clock::now();
        w.ReloadBoardLists();
        reloadMs.add(t0);
    }
    state.counters["order_lines"] = w.DataSiparis.RecordCount();
}
BENCHMARK(BM_ReloadBoardLists)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReloadBoardLists_DirectSQLite(benchmark::State& state)
{
    sqlite3* orders = OpenDirect(data().orders);
    sqlite3* jobs = OpenDirect(data().jobs);
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ReloadDirect(orders, jobs);
        reloadDirectMs.add(t0);
    }
    sqlite3_close(orders);
    sqlite3_close(jobs);
    state.counters["ratio"] = Ratio(reloadMs, reloadDirectMs);
}
BENCHMARK(BM_ReloadBoardLists_DirectSQLite)->Unit(benchmark::kMillisecond)->Iterations(5);

// Marks the next 500 open installation lines that have no job yet.
// (The large set has about 6,000 such lines: enough for every iteration.)
void Mark500()
{
    store::Connection::Open(data().orders)
        ->ExecuteNative(QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE rowid IN (SELECT rowid FROM Siparisler "
                                       "WHERE Görev='' AND KalAdet>0 AND StokKod<>'' AND Sec='' ORDER BY SipNo "
                                       "LIMIT 500)"));
}

void BM_CreateJobs500(benchmark::State& state)
{
    auto& w = window();
    for (auto _ : state) {
        state.PauseTiming();
        Mark500();
        state.ResumeTiming();
        const auto t0 = Clock::now();
        w.CreateJobs();
        createMs.add(t0);
    }
}
BENCHMARK(BM_CreateJobs500)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CreateJobs500_DirectSQLite(benchmark::State& state)
{
    // As the program does: one handle, the order store attached, one commit
    // over both files (atomic through SQLite's super-journal).
    sqlite3* orders = OpenDirect(data().orders);
    sqlite3* jobs = OpenDirect(data().jobs);
    const QByteArray attach = "ATTACH DATABASE '" + data().orders.toUtf8().replace("'", "''") + "' AS o";
    sqlite3_exec(jobs, attach.constData(), nullptr, nullptr, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        Mark500();
        state.ResumeTiming();
        const auto t0 = Clock::now();
        sqlite3_exec(jobs, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* lines = nullptr;
        sqlite3_prepare_v2(jobs, "SELECT rowid, SipNo, Miktar, CariKod, CariAdi, StokAdi, \"Not\" FROM o.Siparisler "
                                   "WHERE Sec='X' ORDER BY SipNo ASC", -1, &lines, nullptr);
        sqlite3_stmt* earlier = nullptr;
        sqlite3_prepare_v2(jobs, "SELECT Kalan FROM main.Montaj WHERE SipNo=? AND +\"Görev\"='Montaj' ORDER BY rowid LIMIT 1", -1,
                           &earlier, nullptr);
        sqlite3_stmt* add = nullptr;
        sqlite3_prepare_v2(jobs, "INSERT INTO main.Montaj (Eleman, \"Görev\", Tarih, SipNo, Adet, RecNo, CariKod, Unvan, "
                                 "Stok, \"Not\") VALUES ('Bench', 'Montaj', '2026-12-07 00:00:00', ?, ?, 1, ?, ?, ?, ?)",
                           -1, &add, nullptr);
        sqlite3_stmt* line = nullptr;
        sqlite3_prepare_v2(jobs, "UPDATE o.Siparisler SET Sec='', \"Görev\"='Montaj', Eleman='Bench', Montaj=1 "
                                   "WHERE rowid=?", -1, &line, nullptr);
        while (sqlite3_step(lines) == SQLITE_ROW) {
            sqlite3_bind_value(earlier, 1, sqlite3_column_value(lines, 1));
            double done = sqlite3_step(earlier) == SQLITE_ROW ? sqlite3_column_double(earlier, 0) : 0;
            sqlite3_reset(earlier);
            sqlite3_bind_value(add, 1, sqlite3_column_value(lines, 1));
            sqlite3_bind_double(add, 2, sqlite3_column_double(lines, 2) - done);
            for (int i = 3; i <= 6; ++i)
                sqlite3_bind_value(add, i, sqlite3_column_value(lines, i));
            sqlite3_step(add);
            sqlite3_reset(add);
            sqlite3_bind_int64(line, 1, sqlite3_column_int64(lines, 0));
            sqlite3_step(line);
            sqlite3_reset(line);
        }
        for (sqlite3_stmt* st : {lines, earlier, add, line})
            sqlite3_finalize(st);
        sqlite3_exec(jobs, "COMMIT", nullptr, nullptr, nullptr);
        ReloadDirect(orders, jobs); // the board shows the new jobs
        createDirectMs.add(t0);
    }
    sqlite3_close(orders);
    sqlite3_close(jobs);
    state.counters["ratio"] = Ratio(createMs, createDirectMs);
}
BENCHMARK(BM_CreateJobs500_DirectSQLite)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv,
                         {{"ReloadBoardLists", reloadMs, "the same queries on SQLite", reloadDirectMs},
                          {"Görev Ekle with 500 lines", createMs, "the same writes on SQLite", createDirectMs}});
}
