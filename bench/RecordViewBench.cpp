// Record views on a large order store, each figure beside the same work done
// with plain SQLite calls on a handle of its own:
//   board list  Refresh + MoveLast of the board's order query
//               vs. the same query kept prepared, its rowids read, the last
//               row read by rowid;
//   find        FindFirst "SipNo='...'" on the refreshed board view
//               vs. preparing "SELECT ... WHERE SipNo=?", binding and stepping;
//   update      Edit / setField / Update of one row
//               vs. a kept "UPDATE ... WHERE rowid=?" statement;
//   delete      1,000 deletions through a 200,000-row view, first hundred
//               beside last hundred, vs. a kept "DELETE ... WHERE rowid=?";
//   memory      what a refreshed 200,000-row view holds.
// The store is the large demo data set (200,000 order lines), made once per
// run in a temporary folder.

#include "PlainSql.h"

#include "app/DemoData.h"
#include "store/Connection.h"
#include "store/JobKinds.h"
#include "store/RecordView.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <malloc.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const QDate kToday(2026, 12, 7);

// The board's order list of the installation kind, as the board asks for it.
const QString kBoardQuery = QStringLiteral("Select * From Siparisler Where SipTarih<=#12/07/2026#")
    + QString::fromUtf8(store::KindByCode(QStringLiteral("Montaj")).orderFilter)
    + QStringLiteral(" Order By SipNo Desc");
struct Store {
    QTemporaryDir temp;
    QString orders;
    int orderLines = 0;
};

// VELMORA_BENCH_DIR names a folder to keep the demo data in between runs
// (made there when missing); without it the data goes to a temporary folder.
Store& store()
{
    static std::unique_ptr<Store> s = [] {
        auto made = std::make_unique<Store>();
        const QString kept = qEnvironmentVariable("VELMORA_BENCH_DIR");
        const QString dir = kept.isEmpty() ? made->temp.path() : kept;
        made->orders = dir + QStringLiteral("/MuhasebeData/Siparis.Mdb");
        if (!QFileInfo::exists(made->orders)) {
            const auto t0 = Clock::now();
            const app::DemoSummary summary = app::MakeDemoData(dir, kToday, app::DemoSize::Large, 7);
            std::fprintf(stderr, "demo store: %d order lines, made in %.1f s\n", summary.orderLines,
                         std::chrono::duration<double>(Clock::now() - t0).count());
        }
        return made;
    }();
    return *s;
}

// A plain handle with the collation the store's text columns declare.
struct Raw {
    sqlite3* db = nullptr;
    Raw()
    {
        sqlite3_open_v2(store().orders.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        store::RegisterDialectFunctions(db);
    }
    ~Raw() { sqlite3_close_v2(db); }
};

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

// The view's time is the benchmark's time; the plain SQLite time and the
// ratio stand beside it as counters.
void report(benchmark::State& state, double viewTotal, double sqliteTotal)
{
    const double n = double(state.iterations());
    state.counters["view_us"] = viewTotal / n * 1e6;
    state.counters["sqlite_us"] = sqliteTotal / n * 1e6;
    state.counters["ratio"] = viewTotal / sqliteTotal;
}

// Bytes the heap has handed out and not taken back: unlike the resident
// size, not hidden by memory that earlier work freed and this reuses.
double heapBytes() { return double(mallinfo2().uordblks) + double(mallinfo2().hblkhd); }

long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

std::unique_ptr<store::RecordView> view(const QString& source)
{
    auto v = std::make_unique<store::RecordView>(QStringLiteral("DataSiparis"));
    v->setDatabaseName(store().orders);
    v->setRecordSource(source);
    return v;
}

std::unique_ptr<store::RecordView> boardView() { return view(kBoardQuery); }

const QString kAllLines = QStringLiteral("Select * From Siparisler Order By SipNo Desc");

// Registered first, before other benchmarks leave freed memory for it to
// reuse: what a refreshed view of all 200,000 order lines holds.
void BM_ViewMemory(benchmark::State& state)
{
    store();
    // Another view keeps the store's connection open and its page cache
    // warm, so the cache is not counted as this view's.
    auto holder = view(kAllLines);
    holder->Refresh();
    for (auto _ : state) {
        const double heapBefore = heapBytes();
        const long before = residentBytes();
        auto v = view(kAllLines);
        v->Refresh();
        const double heapRefreshed = heapBytes();
        const long refreshed = residentBytes();
        // Scroll the whole list as a grid would, then find: row cache and
        // position map at their largest.
        const int sipNo = v->FieldIndex(QStringLiteral("SipNo"));
        for (int r = 0; r < v->RecordCount(); r += 7)
            benchmark::DoNotOptimize(v->ValueAt(r, sipNo));
        v->FindFirst(QStringLiteral("SipNo='yok'"));
        const double heapUsed = heapBytes();
        const long used = residentBytes();
        constexpr double MB = 1048576.0;
        state.counters["rows"] = v->RecordCount();
        state.counters["heap_refreshed_MB"] = (heapRefreshed - heapBefore) / MB;
        state.counters["heap_scrolled_MB"] = (heapUsed - heapBefore) / MB;
        state.counters["rss_refreshed_MB"] = double(refreshed - before) / MB;
        state.counters["rss_scrolled_MB"] = double(used - before) / MB;
    }
}
BENCHMARK(BM_ViewMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Refresh + MoveLast + reading the last row, beside the fastest plain way to
// do the same: the translated query kept prepared, reading the rowids into a
// vector, then the last row by rowid with a kept statement (warm cache, the
// TURKISH collation registered).
void refreshBeside(benchmark::State& state, const QString& source)
{
    store();
    Raw raw;
    auto v = view(source);
    const QByteArray native = plainsql::RowidQuery(source).toUtf8();
    sqlite3_stmt* keys = nullptr;
    sqlite3_prepare_v3(raw.db, native.constData(), int(native.size()), SQLITE_PREPARE_PERSISTENT, &keys, nullptr);
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v3(raw.db, "SELECT * FROM Siparisler WHERE rowid=?", -1, SQLITE_PREPARE_PERSISTENT, &row, nullptr);
    std::vector<sqlite3_int64> rowids;
    double viewTotal = 0, sqliteTotal = 0;
    int rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        v->Refresh();
        v->MoveLast();
        benchmark::DoNotOptimize(v->Field(4));
        const auto t1 = Clock::now();

        rowids.clear();
        while (sqlite3_step(keys) == SQLITE_ROW)
            rowids.push_back(sqlite3_column_int64(keys, 0));
        sqlite3_reset(keys);
        if (!rowids.empty()) {
            sqlite3_bind_int64(row, 1, rowids.back());
            if (sqlite3_step(row) == SQLITE_ROW)
                for (int c = 0; c < sqlite3_column_count(row); ++c)
                    benchmark::DoNotOptimize(sqlite3_column_text(row, c));
            sqlite3_reset(row);
        }
        const auto t2 = Clock::now();

        if (int(rowids.size()) != v->RecordCount())
            state.SkipWithError("view and plain query disagree");
        rows = int(rowids.size());
        viewTotal += seconds(t0, t1);
        sqliteTotal += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    sqlite3_finalize(keys);
    sqlite3_finalize(row);
    state.counters["rows"] = rows;
    report(state, viewTotal, sqliteTotal);
}

void BM_BoardRefreshMoveLast(benchmark::State& state) { refreshBeside(state, kBoardQuery); }
BENCHMARK(BM_BoardRefreshMoveLast)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_AllLinesRefreshMoveLast(benchmark::State& state) { refreshBeside(state, kAllLines); }
BENCHMARK(BM_AllLinesRefreshMoveLast)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// FindFirst "SipNo='...'" on the refreshed board view, beside the plain
// look-up prepared for each number (sqlite_us, ratio) and beside a statement
// kept prepared (kept_us, ratio_kept).
void BM_FindFirstSipNo(benchmark::State& state)
{
    store();
    Raw raw;
    auto v = boardView();
    v->Refresh();
    // Order numbers spread over the list, so no find repeats the last one.
    std::vector<QString> numbers;
    const int sipNo = v->FieldIndex(QStringLiteral("SipNo"));
    for (int r = 0; r < v->RecordCount(); r += std::max(1, v->RecordCount() / 997))
        numbers.push_back(v->ValueAt(r, sipNo).toString());
    v->FindFirst(QStringLiteral("SipNo='") + numbers[0] + QLatin1Char('\'')); // builds the position map once

    const char* const lookUp = "SELECT rowid FROM Siparisler WHERE SipNo=?";
    sqlite3_stmt* kept = nullptr;
    sqlite3_prepare_v2(raw.db, lookUp, -1, &kept, nullptr);
    const auto step = [](sqlite3_stmt* st, const QByteArray& number) {
        sqlite3_bind_text(st, 1, number.constData(), int(number.size()), SQLITE_TRANSIENT);
        sqlite3_int64 found = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            found = sqlite3_column_int64(st, 0);
        benchmark::DoNotOptimize(found);
    };

    double viewTotal = 0, sqliteTotal = 0, keptTotal = 0;
    size_t k = 0;
    for (auto _ : state) {
        const QString& number = numbers[k++ % numbers.size()];
        const QByteArray utf8 = number.toUtf8();
        // The three take turns at going first, so none gains from what the
        // one before it left in the caches.
        double viewTime = 0;
        for (size_t turn = 0; turn < 3; ++turn) {
            const auto t0 = Clock::now();
            switch ((turn + k) % 3) {
            case 0:
                v->FindFirst(QStringLiteral("SipNo='") + number + QLatin1Char('\''));
                viewTime = seconds(t0, Clock::now());
                viewTotal += viewTime;
                break;
            case 1: {
                sqlite3_stmt* st = nullptr;
                sqlite3_prepare_v2(raw.db, lookUp, -1, &st, nullptr);
                step(st, utf8);
                sqlite3_finalize(st);
                sqliteTotal += seconds(t0, Clock::now());
                break;
            }
            default:
                step(kept, utf8);
                sqlite3_reset(kept);
                keptTotal += seconds(t0, Clock::now());
                break;
            }
        }
        if (v->NoMatch() || v->ValueAt(v->AbsolutePosition(), sipNo).toString() != number)
            state.SkipWithError("find missed");
        state.SetIterationTime(viewTime);
    }
    sqlite3_finalize(kept);
    report(state, viewTotal, sqliteTotal);
    state.counters["kept_us"] = keptTotal / double(state.iterations()) * 1e6;
    state.counters["ratio_kept"] = viewTotal / keptTotal;
}
BENCHMARK(BM_FindFirstSipNo)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The first find after a Refresh also sorts the view's rowids once.
void BM_FirstFindAfterRefresh(benchmark::State& state)
{
    store();
    auto v = view(kAllLines);
    v->Refresh();
    const QString number = v->ValueAt(v->RecordCount() / 2, v->FieldIndex(QStringLiteral("SipNo"))).toString();
    for (auto _ : state) {
        state.PauseTiming();
        v->Refresh();
        state.ResumeTiming();
        v->FindFirst(QStringLiteral("SipNo='") + number + QLatin1Char('\''));
    }
    state.counters["rows"] = v->RecordCount();
}
BENCHMARK(BM_FirstFindAfterRefresh)->Unit(benchmark::kMillisecond);

// Edit / setField / Update of one row beside a kept "UPDATE ... WHERE
// rowid=?". Argument 0: each change committed on its own, as the program
// does (the disk syncs dominate), the plain statement on a handle of its
// own. Argument 1: all inside one transaction on the view's own handle,
// which shows the view's own cost.
void BM_EditUpdate(benchmark::State& state)
{
    store();
    const bool inTransaction = state.range(0) == 1;
    Raw raw;
    auto v = boardView();
    v->Refresh();
    v->setAbsolutePosition(v->RecordCount() / 3);
    sqlite3* db = inTransaction ? v->connection()->handle() : raw.db;
    sqlite3_stmt* key = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid FROM Siparisler WHERE SipNo=?", -1, &key, nullptr);
    const QByteArray sipNo = v->Field(QStringLiteral("SipNo")).toString().toUtf8();
    sqlite3_bind_text(key, 1, sipNo.constData(), int(sipNo.size()), SQLITE_STATIC);
    if (sqlite3_step(key) != SQLITE_ROW)
        state.SkipWithError(sqlite3_errmsg(db));
    const sqlite3_int64 rowid = sqlite3_column_int64(key, 0);
    sqlite3_finalize(key);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE Siparisler SET \"Not\"=? WHERE rowid=?", -1, &update, nullptr);
    if (inTransaction)
        v->connection()->Begin();

    double viewTotal = 0, sqliteTotal = 0;
    int n = 0;
    for (auto _ : state) {
        const QString note = QStringLiteral("not %1").arg(++n);
        const auto t0 = Clock::now();
        v->Edit();
        v->setField(QStringLiteral("Not"), note);
        v->Update();
        const auto t1 = Clock::now();

        // A value of its own: writing the bytes just written would change no
        // page, and SQLite would skip the commit's disk syncs.
        const QByteArray utf8 = (note + QStringLiteral(" düz")).toUtf8();
        sqlite3_bind_text(update, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(update, 2, rowid);
        if (sqlite3_step(update) != SQLITE_DONE || sqlite3_changes(db) != 1)
            state.SkipWithError("plain update changed no row");
        sqlite3_reset(update);
        const auto t2 = Clock::now();

        viewTotal += seconds(t0, t1);
        sqliteTotal += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    sqlite3_finalize(update);
    if (inTransaction)
        v->connection()->Commit();
    report(state, viewTotal, sqliteTotal);
}
BENCHMARK(BM_EditUpdate)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

// 1,000 deletions through a view of all 200,000 lines whose position map a
// find has built, each timed: the first hundred beside the last hundred
// (flat when a deletion costs the same however many went before), beside a
// kept "DELETE ... WHERE rowid=?" of the same rows. All of it inside one
// transaction on the view's handle, rolled back at the end, so the figures
// are the view's own cost and not the disk's.
void BM_Delete1000Of200000(benchmark::State& state)
{
    store();
    constexpr int kDeletes = 1000, kBucket = 100;
    for (auto _ : state) {
        auto v = view(kAllLines);
        v->Refresh();
        v->FindFirst(QStringLiteral("SipNo='yok'")); // builds the position map
        sqlite3* db = v->connection()->handle();
        v->connection()->Begin();
        std::vector<double> each(kDeletes);
        std::vector<sqlite3_int64> rowids;
        v->setAbsolutePosition(v->RecordCount() / 4);
        for (int k = 0; k < kDeletes; ++k) {
            const auto t0 = Clock::now();
            v->Delete();
            each[size_t(k)] = seconds(t0, Clock::now());
        }
        v->FindFirst(QStringLiteral("SipNo='yok'"));
        v->connection()->Rollback();

        // The same rows deleted by a kept statement: the first kDeletes rows
        // from a quarter of the way down the same order.
        sqlite3_stmt* pick = nullptr;
        sqlite3_prepare_v2(db, "SELECT rowid FROM Siparisler ORDER BY SipNo DESC LIMIT ?1 OFFSET ?2", -1, &pick,
                           nullptr);
        sqlite3_bind_int(pick, 1, kDeletes);
        sqlite3_bind_int(pick, 2, v->RecordCount() / 4);
        while (sqlite3_step(pick) == SQLITE_ROW)
            rowids.push_back(sqlite3_column_int64(pick, 0));
        sqlite3_finalize(pick);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* del = nullptr;
        sqlite3_prepare_v2(db, "DELETE FROM Siparisler WHERE rowid=?", -1, &del, nullptr);
        const auto p0 = Clock::now();
        for (const sqlite3_int64 rowid : rowids) {
            sqlite3_bind_int64(del, 1, rowid);
            sqlite3_step(del);
            sqlite3_reset(del);
        }
        const double plain = seconds(p0, Clock::now());
        sqlite3_finalize(del);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);

        double first = 0, last = 0, all = 0;
        for (int k = 0; k < kDeletes; ++k) {
            all += each[size_t(k)];
            if (k < kBucket)
                first += each[size_t(k)];
            if (k >= kDeletes - kBucket)
                last += each[size_t(k)];
        }
        state.SetIterationTime(all);
        state.counters["first100_us_each"] = first / kBucket * 1e6;
        state.counters["last100_us_each"] = last / kBucket * 1e6;
        state.counters["view_us_each"] = all / kDeletes * 1e6;
        state.counters["sqlite_us_each"] = plain / double(rowids.size()) * 1e6;
        state.counters["ratio"] = all / plain;
    }
}
BENCHMARK(BM_Delete1000Of200000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
