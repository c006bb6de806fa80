// Record views on a large order store, each figure beside the same work done
// with plain SQLite calls on a handle of its own:
//   board list  Refresh + MoveLast of the board's order query
//               vs. preparing the same query and stepping every row;
//   find        FindFirst "SipNo='...'" on the refreshed board view
//               vs. preparing "SELECT ... WHERE SipNo=?", binding and stepping;
//   update      Edit / setField / Update of one row
//               vs. a kept "UPDATE ... WHERE rowid=?" statement;
//   memory      what a refreshed 200,000-row view holds.
// The store is the large demo data set (200,000 order lines), made once per
// run in a temporary folder.

#include "app/DemoData.h"
#include "store/Connection.h"
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

const QString kBoardQuery = QStringLiteral(
    "Select * From Siparisler Where SipTarih<=#12/07/2026# And Görev<>'Kesif' And KalAdet>0 And StokKod<>'' "
    "Order By SipNo Desc");
// The same query as a program written directly on SQLite would send it.
const char* const kBoardNative =
    "SELECT * FROM Siparisler WHERE SipTarih<='2026-12-07 00:00:00' AND \"Görev\"<>'Kesif' AND KalAdet>0 AND "
    "StokKod<>'' ORDER BY SipNo DESC";

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
const char* const kAllLinesNative = "SELECT * FROM Siparisler ORDER BY SipNo DESC";

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

// Refresh + MoveLast + reading the last row, beside preparing the same query
// and stepping all its rows.
void refreshBeside(benchmark::State& state, const QString& source, const char* native)
{
    store();
    Raw raw;
    auto v = view(source);
    double viewTotal = 0, sqliteTotal = 0;
    int rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        v->Refresh();
        v->MoveLast();
        benchmark::DoNotOptimize(v->Field(4));
        const auto t1 = Clock::now();

        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw.db, native, -1, &st, nullptr);
        int n = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            ++n;
        sqlite3_finalize(st);
        const auto t2 = Clock::now();

        if (n != v->RecordCount())
            state.SkipWithError("view and plain query disagree");
        rows = n;
        viewTotal += seconds(t0, t1);
        sqliteTotal += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    state.counters["rows"] = rows;
    report(state, viewTotal, sqliteTotal);
}

void BM_BoardRefreshMoveLast(benchmark::State& state) { refreshBeside(state, kBoardQuery, kBoardNative); }
BENCHMARK(BM_BoardRefreshMoveLast)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_AllLinesRefreshMoveLast(benchmark::State& state) { refreshBeside(state, kAllLines, kAllLinesNative); }
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

} // namespace
