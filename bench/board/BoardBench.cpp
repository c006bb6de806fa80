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

// Marks the first 500 open installation lines that have no job yet, and
// after a run puts them back as they were: the run's jobs and day row
// deleted, the lines unassigned. Every run of either side so creates jobs for
// the same 500 lines on the same data, so the figures are averages of like
// runs rather than of three. Each side marks and restores through its own
// handle, so neither finds its page cache made stale by the other's writing.
const char* const kPick500 = "SELECT group_concat(rowid) FROM (SELECT rowid FROM Siparisler WHERE Görev='' AND "
                             "KalAdet>0 AND StokKod<>'' AND Sec='' ORDER BY SipNo LIMIT 500)";
QString MarkSql(const QString& rowids)
{
    return QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE rowid IN (%1)").arg(rowids);
}
QStringList RestoreSql(const QString& rowids, const QString& batch)
{
    return {QStringLiteral("UPDATE Siparisler SET Sec='', \"Görev\"='', Eleman='', Montaj=0 WHERE rowid IN (%1)")
                .arg(rowids),
            QStringLiteral("DELETE FROM Montaj WHERE RecNo=%1").arg(batch)};
}
const char* const kBatch = "SELECT RecNo FROM RecSay LIMIT 1";

QString Text(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* st = plainsql::Prepare(db, sql);
    QString text;
    if (sqlite3_step(st) == SQLITE_ROW)
        text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return text;
}

// The program's side, on the window's own handle.
struct ProgramLines {
    std::shared_ptr<store::Connection> orders = store::Connection::Open(data().orders);
    std::shared_ptr<store::Connection> jobs = store::Connection::Open(data().jobs);
    QString rowids = Text(orders->handle(), orders->Qualified(QString::fromUtf8(kPick500)));

    void Mark() { orders->ExecuteNative(MarkSql(rowids)); }
    // Jobs of the last run, before they are deleted.
    double made = 0;
    void Restore()
    {
        const QString batch = Text(jobs->handle(), jobs->Qualified(QString::fromUtf8(kBatch)));
        made = Text(jobs->handle(), jobs->Qualified(QStringLiteral("SELECT count(*) FROM Montaj WHERE RecNo=") + batch))
                   .toDouble();
        const QStringList sql = RestoreSql(rowids, batch);
        orders->ExecuteNative(sql[0] + QLatin1Char(';') + sql[1]);
        jobs->ExecuteNative(sql[1]);
    }
};

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

// The plain side's statements, lines and restoring.
struct PlainCreation {
    PlainBoard plain;
    const QByteArray staff = window().DBCombo1->Text().toUtf8();
    std::vector<sqlite3_stmt*> st;
    QString rowids;
    double made = 0;

    PlainCreation()
    {
        const QString day = QStringLiteral("'") + store::StoredDate(kToday) + QStringLiteral("'");
        const QString kind = QStringLiteral("'Montaj'");
        for (const QString& sql : {
                 QStringLiteral("SELECT rowid FROM o.Montaj WHERE Iptal=0 AND Tarih=%1 AND Eleman=?1 LIMIT 1").arg(day),
                 QStringLiteral("SELECT RecNo FROM main.RecSay LIMIT 1"),
                 QStringLiteral("UPDATE main.RecSay SET RecNo=?1"),
                 QStringLiteral("SELECT rowid, SipNo, Miktar, CariKod, CariAdi, StokAdi, \"Not\" FROM o.Siparisler "
                                "WHERE Sec='X' ORDER BY SipNo ASC"),
                 QStringLiteral("SELECT Kalan FROM main.Montaj WHERE \"Görev\"=%1 AND SipNo=?1 ORDER BY rowid LIMIT 1")
                     .arg(kind),
                 QStringLiteral("INSERT INTO main.Montaj (Eleman, \"Görev\", Tarih, SipNo, Adet, RecNo, CariKod, Unvan, "
                                "Stok, \"Not\") VALUES (?1, %1, %2, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")
                     .arg(kind, day),
                 QStringLiteral("INSERT INTO o.Montaj (SipNo, Eleman, Tarih, RecNo) VALUES (?1, ?2, %1, ?3)").arg(day),
                 QStringLiteral("UPDATE o.Siparisler SET Sec='', \"Görev\"=%1, Eleman=?1, Montaj=1 WHERE rowid=?2")
                     .arg(kind),
                 QStringLiteral("SELECT rowid FROM main.Montaj WHERE Tarih=%1 AND \"Görev\"=%2 AND SipNo=?1 ORDER BY "
                                "Eleman LIMIT 1")
                     .arg(day, kind),
             })
            st.push_back(PlainBoard::Prepare(plain.db, sql));
        rowids = Text(plain.db, PlainBoard::InOrders(QString::fromUtf8(kPick500)));
    }
    ~PlainCreation()
    {
        for (sqlite3_stmt* s : st)
            sqlite3_finalize(s);
    }
    PlainCreation(const PlainCreation&) = delete;
    PlainCreation& operator=(const PlainCreation&) = delete;

    void Exec(const QString& sql) { sqlite3_exec(plain.db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); }
    void Mark() { Exec(PlainBoard::InOrders(MarkSql(rowids))); }
    void Run() { CreateDirect(plain, st.data(), staff); }
    void Restore()
    {
        const QString batch = Text(plain.db, QStringLiteral("SELECT RecNo FROM main.RecSay"));
        made = Text(plain.db, QStringLiteral("SELECT count(*) FROM main.Montaj WHERE RecNo=") + batch).toDouble();
        const QStringList restore = RestoreSql(rowids, batch);
        Exec(PlainBoard::InOrders(restore[0]));
        Exec(PlainBoard::InOrders(restore[1]));
        Exec(store::QualifyTables(restore[1], QStringLiteral("main")));
    }
};

// The two sides take turns, run by run, so that both meet the disk in the
// same moods: a commit's wait for the disk varies by tens of milliseconds
// over a minute, more than the difference measured.
void BM_CreateJobs500(benchmark::State& state)
{
    auto& w = window();
    ProgramLines lines;
    PlainCreation plain;
    Mean drawn;
    for (auto _ : state) {
        lines.Mark();
        auto t0 = Clock::now();
        w.CreateJobs();
        createMs.add(t0);
        DrawWindow();
        drawn.add(t0);
        lines.Restore();

        plain.Mark();
        t0 = Clock::now();
        plain.Run();
        createDirectMs.add(t0);
        plain.Restore();
    }
    state.counters["jobs_per_run"] = lines.made;
    state.counters["plain_jobs_per_run"] = plain.made;
    state.counters["with_drawing_ms"] = drawn.value();
    state.counters["program_ms"] = createMs.value();
    state.counters["plain_ms"] = createDirectMs.value();
    state.counters["ratio"] = Ratio(createMs, createDirectMs);
}
BENCHMARK(BM_CreateJobs500)->Unit(benchmark::kMillisecond)->Iterations(20);

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
