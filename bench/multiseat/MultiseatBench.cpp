// The board's work on PostgreSQL beside the same on SQLite, on the large demo
// data (200,000 order lines, about 100,000 jobs). The benchmark makes the
// demo stores, starts a PostgreSQL cluster of its own in a temporary folder
// (initdb, pg_ctl; unix socket only), loads every table of the five stores
// into one database, each store a schema, in the types a server back end
// would use (timestamp, boolean, text in an ICU Turkish collation, a bigint
// key for the keyset), then measures:
//   lists    the queries of ReloadBoardLists, every column of every row read
//            to the client (libpq, statements prepared once) vs. the same on
//            SQLite (kept prepared statements, every column read);
//   keyset   the order list as the record view reads it: the ordered keys only;
//   create   a 500-line job creation as "Görev Ekle" does it, in one
//            transaction over both stores: the batch counter, a job per
//            marked line (with the line's earlier job looked up), each line
//            updated, the staff member's day row, then the lists again.
//            SQLite: one handle with the job store attached, one
//            transaction, kept prepared statements.
// Both sides start warm and commit durably (SQLite's default journal and
// synchronous=FULL, PostgreSQL's default fsync and synchronous_commit).

#include "LargeBoard.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <libpq-fe.h>
#include <pwd.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

namespace {

using namespace largeboard;

const char* const kStores[][2] = {
    {"siparis", "Siparis.Mdb"}, {"montaj", "Montaj.mdb"}, {"cari", "Cari.Mdb"},
    {"rapor", "Rapor.mdb"},     {"indeks", "Index.Mdb"},
};

// ---------------------------------------------------------------- the server

struct Server {
    QTemporaryDir dir;
    QString data;
    QString runAs; // initdb refuses root: then the server runs as "postgres"
    int port = 40000 + int(getpid() % 20000);
    bool started = false;
    PGconn* conn = nullptr;
    double loadSeconds = 0;
};

std::unique_ptr<Server>& server()
{
    static std::unique_ptr<Server> s;
    return s;
}

bool RunTool(const char* tool, const QStringList& args)
{
    QString program = QStringLiteral(VELMORA_PG_BINDIR "/") + QString::fromUtf8(tool);
    QStringList all = args;
    if (!server()->runAs.isEmpty()) {
        all = QStringList{QStringLiteral("-u"), server()->runAs, QStringLiteral("--"), program} + args;
        program = QStringLiteral("runuser");
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, all);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", tool, p.readAll().constData());
        return false;
    }
    return true;
}

void StopServer()
{
    auto& s = server();
    if (!s)
        return;
    if (s->conn)
        PQfinish(s->conn);
    s->conn = nullptr;
    if (s->started)
        RunTool("pg_ctl", {QStringLiteral("-D"), s->data, QStringLiteral("-m"), QStringLiteral("fast"),
                           QStringLiteral("-w"), QStringLiteral("stop")});
    s.reset();
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    StopServer();
    std::exit(1);
}

PGconn* Pg() { return server()->conn; }

PGresult* Check(PGresult* r, const std::string& sql)
{
    const ExecStatusType st = PQresultStatus(r);
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK && st != PGRES_COPY_IN)
        Fail(sql + "\n" + PQerrorMessage(Pg()));
    return r;
}

void Exec(const std::string& sql) { PQclear(Check(PQexec(Pg(), sql.c_str()), sql)); }

void StartServer()
{
    auto& s = server();
    s = std::make_unique<Server>();
    s->data = s->dir.filePath(QStringLiteral("data"));
    if (geteuid() == 0) {
        const passwd* pw = getpwnam("postgres");
        if (!pw || chown(QFile::encodeName(s->dir.path()).constData(), pw->pw_uid, pw->pw_gid) != 0)
            Fail("running as root needs the user \"postgres\" to run the server");
        s->runAs = QStringLiteral("postgres");
    }
    if (!RunTool("initdb", {QStringLiteral("-D"), s->data, QStringLiteral("-U"), QStringLiteral("velmora"),
                            QStringLiteral("--auth=trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                            QStringLiteral("--locale=C.UTF-8")}))
        Fail("initdb failed");
    const QString options = QStringLiteral("-k %1 -p %2 -c listen_addresses='' -c shared_buffers=256MB")
                                .arg(s->dir.path())
                                .arg(s->port);
    if (!RunTool("pg_ctl", {QStringLiteral("-D"), s->data, QStringLiteral("-l"), s->dir.filePath(QStringLiteral("log")),
                            QStringLiteral("-w"), QStringLiteral("-o"), options, QStringLiteral("start")}))
        Fail("pg_ctl start failed");
    s->started = true;
    const QByteArray conninfo = QStringLiteral("host=%1 port=%2 user=velmora dbname=postgres")
                                    .arg(s->dir.path())
                                    .arg(s->port)
                                    .toUtf8();
    s->conn = PQconnectdb(conninfo.constData());
    if (PQstatus(s->conn) != CONNECTION_OK)
        Fail(std::string("connect: ") + PQerrorMessage(s->conn));
}

// ------------------------------------------------------------------ loading

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// COPY's text format: backslash, tab and line ends escaped.
void AppendCopyText(std::string& out, const char* text, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        const char c = text[i];
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

void LoadTable(sqlite3* db, const std::string& schema, const std::string& table)
{
    struct Column {
        std::string name;
        bool yesNo = false;
    };
    std::vector<Column> columns;
    std::string create = "CREATE TABLE " + schema + "." + Quoted(table) + " (id bigserial PRIMARY KEY";
    sqlite3_stmt* info = nullptr;
    sqlite3_prepare_v2(db, ("PRAGMA table_info(" + Quoted(table) + ")").c_str(), -1, &info, nullptr);
    while (sqlite3_step(info) == SQLITE_ROW) {
        Column c{reinterpret_cast<const char*>(sqlite3_column_text(info, 1))};
        const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(info, 2));
        std::string pgType = "text COLLATE tr_ci";
        if (type.find("YESNO") != std::string::npos) {
            pgType = "boolean NOT NULL DEFAULT false";
            c.yesNo = true;
        } else if (type.find("DATETIME") != std::string::npos) {
            pgType = "timestamp";
        } else if (type.find("DOUBLE") != std::string::npos) {
            pgType = "double precision DEFAULT 0";
        } else if (type.find("TEXT") != std::string::npos) {
            pgType = "text COLLATE tr_ci DEFAULT ''";
        }
        create += ", " + Quoted(c.name) + " " + pgType;
        columns.push_back(c);
    }
    sqlite3_finalize(info);
    Exec(create + ")");

    std::string copy = "COPY " + schema + "." + Quoted(table) + " (id";
    for (const Column& c : columns)
        copy += ", " + Quoted(c.name);
    PQclear(Check(PQexec(Pg(), (copy + ") FROM STDIN").c_str()), copy));
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(db, ("SELECT rowid, * FROM " + Quoted(table)).c_str(), -1, &rows, nullptr);
    std::string buffer;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        buffer += std::to_string(sqlite3_column_int64(rows, 0));
        for (size_t i = 0; i < columns.size(); ++i) {
            const int col = int(i) + 1;
            buffer += '\t';
            if (sqlite3_column_type(rows, col) == SQLITE_NULL)
                buffer += "\\N";
            else if (columns[i].yesNo)
                buffer += sqlite3_column_int(rows, col) ? 't' : 'f';
            else
                AppendCopyText(buffer, reinterpret_cast<const char*>(sqlite3_column_text(rows, col)),
                               sqlite3_column_bytes(rows, col));
        }
        buffer += '\n';
        if (buffer.size() > (1 << 20)) {
            PQputCopyData(Pg(), buffer.data(), int(buffer.size()));
            buffer.clear();
        }
    }
    sqlite3_finalize(rows);
    PQputCopyData(Pg(), buffer.data(), int(buffer.size()));
    PQputCopyEnd(Pg(), nullptr);
    PQclear(Check(PQgetResult(Pg()), copy));
    Exec("SELECT setval(pg_get_serial_sequence('" + schema + "." + Quoted(table) + "', 'id'), "
         "coalesce((SELECT max(id) FROM " + schema + "." + Quoted(table) + "), 0) + 1, false)");

    // The store's own indexes, on the same fields.
    std::vector<std::string> indexes;
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(db, ("PRAGMA index_list(" + Quoted(table) + ")").c_str(), -1, &list, nullptr);
    while (sqlite3_step(list) == SQLITE_ROW)
        indexes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 1)));
    sqlite3_finalize(list);
    for (const std::string& index : indexes) {
        std::string fields;
        sqlite3_stmt* cols = nullptr;
        sqlite3_prepare_v2(db, ("PRAGMA index_info(" + Quoted(index) + ")").c_str(), -1, &cols, nullptr);
        while (sqlite3_step(cols) == SQLITE_ROW)
            fields += (fields.empty() ? "" : ", ") + Quoted(reinterpret_cast<const char*>(sqlite3_column_text(cols, 2)));
        sqlite3_finalize(cols);
        if (!fields.empty())
            Exec("CREATE INDEX ON " + schema + "." + Quoted(table) + " (" + fields + ")");
    }
}

// The dialect's Turkish comparisons as the server answers them, printed
// with the figures: case-insensitive = with the Turkish pairs through the
// nondeterministic collation, Like through lower() in the deterministic one.
void PrintDialectChecks()
{
    const char* const checks[] = {
        "SELECT 'IŞIK' = 'ışık' COLLATE tr_ci",
        "SELECT 'ISIK' = 'ışık' COLLATE tr_ci",
        "SELECT 'İzmir' = 'izmir' COLLATE tr_ci",
        "SELECT 'I' = 'i' COLLATE tr_ci",
        "SELECT lower('IŞIL' COLLATE \"tr-TR-x-icu\") LIKE lower('ışı%' COLLATE \"tr-TR-x-icu\")",
        "SELECT string_agg(x, ' ' ORDER BY x COLLATE tr_ci) FROM unnest(ARRAY['z','ı','İ','ç','c','i','I','ö','o']) x",
    };
    for (const char* sql : checks) {
        PGresult* r = Check(PQexec(Pg(), sql), sql);
        std::printf("%s -> %s\n", sql + 7, PQgetvalue(r, 0, 0));
        PQclear(r);
    }
    PGresult* r = PQexec(Pg(), "SELECT 'a' COLLATE tr_ci LIKE 'A%'");
    std::printf("LIKE on tr_ci -> %s\n", PQresultStatus(r) == PGRES_TUPLES_OK ? PQgetvalue(r, 0, 0)
                                                                               : PQresultErrorMessage(r));
    PQclear(r);
}

void LoadStores(Data& d)
{
    StartServer();
    QElapsedTimer timer;
    timer.start();
    // Case-insensitive = and order with the Turkish letter pairs; Like goes
    // through lower() in the deterministic "tr-TR-x-icu" on PostgreSQL 15.
    Exec("CREATE COLLATION tr_ci (provider = icu, locale = 'tr-TR-u-ks-level2', deterministic = false)");
    for (const auto& store : kStores) {
        const std::string schema = store[0];
        Exec("CREATE SCHEMA " + schema);
        sqlite3* db = OpenDirect(d.root + QStringLiteral("/MuhasebeData/") + QString::fromUtf8(store[1]));
        std::vector<std::string> tables;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        for (const std::string& t : tables)
            LoadTable(db, schema, t);
        sqlite3_close(db);
    }
    Exec("ANALYZE");
    PrintDialectChecks();
    server()->loadSeconds = timer.elapsed() / 1000.0;
}

// ------------------------------------------------------------- the queries

struct ListQuery {
    bool jobStore; // on SQLite: the job store's own table rather than the order store's
    const char* sqlite;
    const char* pg;
};

const ListQuery kLists[] = {
    {false,
     "SELECT * FROM Siparisler WHERE SipTarih<='2026-12-07 00:00:00' AND \"Görev\"<>'Kesif' AND KalAdet>0 "
     "AND StokKod<>'' ORDER BY SipNo DESC",
     "SELECT * FROM siparis.\"Siparisler\" WHERE \"SipTarih\"<='2026-12-07' AND \"Görev\"<>'Kesif' "
     "AND \"KalAdet\">0 AND \"StokKod\"<>'' ORDER BY \"SipNo\" DESC"},
    {false, "SELECT * FROM main.Montaj WHERE Iptal=0 AND Tarih='2026-12-07 00:00:00' ORDER BY SipNo ASC",
     "SELECT * FROM siparis.\"Montaj\" WHERE NOT \"Iptal\" AND \"Tarih\"='2026-12-07' ORDER BY \"SipNo\""},
    {true, "SELECT * FROM montaj.Montaj WHERE Tarih='2026-12-07 00:00:00' AND \"Görev\"='Montaj' ORDER BY Eleman ASC",
     "SELECT * FROM montaj.\"Montaj\" WHERE \"Tarih\"='2026-12-07' AND \"Görev\"='Montaj' ORDER BY \"Eleman\""},
    {true, "SELECT * FROM montaj.Montaj WHERE \"Görev\"='Montaj' ORDER BY SipNo ASC",
     "SELECT * FROM montaj.\"Montaj\" WHERE \"Görev\"='Montaj' ORDER BY \"SipNo\""},
    {false, "SELECT * FROM main.Montaj WHERE Iptal=0 AND Tarih='2026-12-07 00:00:00' ORDER BY SipNo ASC",
     "SELECT * FROM siparis.\"Montaj\" WHERE NOT \"Iptal\" AND \"Tarih\"='2026-12-07' ORDER BY \"SipNo\""},
};

const ListQuery kKeyset = {
    false,
    "SELECT rowid FROM Siparisler WHERE SipTarih<='2026-12-07 00:00:00' AND \"Görev\"<>'Kesif' AND KalAdet>0 "
    "AND StokKod<>'' ORDER BY SipNo DESC",
    "SELECT id FROM siparis.\"Siparisler\" WHERE \"SipTarih\"<='2026-12-07' AND \"Görev\"<>'Kesif' "
    "AND \"KalAdet\">0 AND \"StokKod\"<>'' ORDER BY \"SipNo\" DESC"};

// The plain SQLite side: the order store with the job store attached, as the
// program joins them, with the statements kept.
struct Plain {
    sqlite3* db = nullptr;
    std::vector<sqlite3_stmt*> kept;
    Plain()
    {
        db = OpenDirect(data().orders);
        const QByteArray attach = ("ATTACH DATABASE '" + data().jobs + "' AS montaj").toUtf8();
        sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr);
    }
    ~Plain()
    {
        for (sqlite3_stmt* st : kept)
            sqlite3_finalize(st);
        sqlite3_close(db);
    }
    sqlite3_stmt* Prepare(const char* sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
            Fail(std::string(sql) + "\n" + sqlite3_errmsg(db));
        kept.push_back(st);
        return st;
    }
    void Exec(const char* sql)
    {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail(std::string(sql) + "\n" + sqlite3_errmsg(db));
    }
};

// Every column of every row, read as the program reads values.
long ReadAll(sqlite3_stmt* st)
{
    long rows = 0;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER: benchmark::DoNotOptimize(sqlite3_column_int64(st, i)); break;
            case SQLITE_FLOAT: benchmark::DoNotOptimize(sqlite3_column_double(st, i)); break;
            case SQLITE_TEXT: benchmark::DoNotOptimize(sqlite3_column_text(st, i)); break;
            default: break;
            }
        }
        ++rows;
    }
    sqlite3_reset(st);
    return rows;
}

long ReadAll(PGresult* r)
{
    const int rows = PQntuples(r), n = PQnfields(r);
    for (int row = 0; row < rows; ++row)
        for (int i = 0; i < n; ++i)
            benchmark::DoNotOptimize(PQgetvalue(r, row, i));
    PQclear(r);
    return rows;
}

// Prepared once per connection, by name.
std::string PgPrepare(const char* sql)
{
    static std::map<std::string, std::string> names;
    auto it = names.find(sql);
    if (it != names.end())
        return it->second;
    const std::string name = "s" + std::to_string(names.size());
    PQclear(Check(PQprepare(Pg(), name.c_str(), sql, 0, nullptr), sql));
    names.emplace(sql, name);
    return name;
}

PGresult* PgRun(const char* sql, std::vector<std::string> params = {})
{
    const std::string name = PgPrepare(sql);
    std::vector<const char*> values;
    for (const std::string& p : params)
        values.push_back(p.c_str());
    return Check(PQexecPrepared(Pg(), name.c_str(), int(values.size()), values.data(), nullptr, nullptr, 0), sql);
}

long PgLists()
{
    long rows = 0;
    for (const ListQuery& q : kLists)
        rows += ReadAll(PgRun(q.pg));
    return rows;
}

long SqliteLists(Plain& plain, std::vector<sqlite3_stmt*>& lists)
{
    if (lists.empty())
        for (const ListQuery& q : kLists)
            lists.push_back(plain.Prepare(q.sqlite));
    long rows = 0;
    for (sqlite3_stmt* st : lists)
        rows += ReadAll(st);
    return rows;
}

Mean listsPg, listsSqlite, keysPg, keysSqlite, createPg, createSqlite;

void BM_BoardLists_PostgreSQL(benchmark::State& state)
{
    long rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        rows = PgLists();
        listsPg.add(t0);
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_BoardLists_PostgreSQL)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BoardLists_SQLite(benchmark::State& state)
{
    Plain plain;
    std::vector<sqlite3_stmt*> lists;
    long rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        rows = SqliteLists(plain, lists);
        listsSqlite.add(t0);
    }
    state.counters["rows"] = double(rows);
    state.counters["ratio"] = Ratio(listsPg, listsSqlite);
}
BENCHMARK(BM_BoardLists_SQLite)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OrderKeyset_PostgreSQL(benchmark::State& state)
{
    long rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        rows = ReadAll(PgRun(kKeyset.pg));
        keysPg.add(t0);
    }
    state.counters["keys"] = double(rows);
}
BENCHMARK(BM_OrderKeyset_PostgreSQL)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OrderKeyset_SQLite(benchmark::State& state)
{
    Plain plain;
    sqlite3_stmt* keys = plain.Prepare(kKeyset.sqlite);
    long rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        rows = ReadAll(keys);
        keysSqlite.add(t0);
    }
    state.counters["keys"] = double(rows);
    state.counters["ratio"] = Ratio(keysPg, keysSqlite);
}
BENCHMARK(BM_OrderKeyset_SQLite)->Unit(benchmark::kMillisecond)->Iterations(5);

// Marks the next 500 open installation lines that have no job yet.
const char* const kMarkSqlite = "UPDATE Siparisler SET Sec='X' WHERE rowid IN (SELECT rowid FROM Siparisler "
                                "WHERE \"Görev\"='' AND KalAdet>0 AND StokKod<>'' AND Sec='' ORDER BY SipNo LIMIT 500)";
const char* const kMarkPg = "UPDATE siparis.\"Siparisler\" SET \"Sec\"='X' WHERE id IN (SELECT id FROM "
                            "siparis.\"Siparisler\" WHERE \"Görev\"='' AND \"KalAdet\">0 AND \"StokKod\"<>'' "
                            "AND \"Sec\"='' ORDER BY \"SipNo\" LIMIT 500)";

void BM_CreateJobs500_PostgreSQL(benchmark::State& state)
{
    long made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Exec(kMarkPg);
        state.ResumeTiming();
        const auto t0 = Clock::now();
        Exec("BEGIN");
        PGresult* counter = PgRun("UPDATE montaj.\"RecSay\" SET \"RecNo\"=\"RecNo\"+1 RETURNING \"RecNo\"");
        const std::string batch = PQgetvalue(counter, 0, 0);
        PQclear(counter);
        // Another seat marking or taking the same lines waits for this one.
        PGresult* lines = PgRun("SELECT id, \"SipNo\", \"Miktar\", \"CariKod\", \"CariAdi\", \"StokAdi\", \"Not\" "
                                "FROM siparis.\"Siparisler\" WHERE \"Sec\"='X' ORDER BY \"SipNo\" FOR UPDATE");
        made = PQntuples(lines);
        for (int i = 0; i < made; ++i) {
            auto v = [&](int c) { return std::string(PQgetvalue(lines, i, c)); };
            PGresult* earlier = PgRun("SELECT \"Kalan\" FROM montaj.\"Montaj\" WHERE \"SipNo\"=$1 AND "
                                      "\"Görev\"='Montaj' ORDER BY id LIMIT 1",
                                      {v(1)});
            const double done = PQntuples(earlier) ? std::atof(PQgetvalue(earlier, 0, 0)) : 0;
            PQclear(earlier);
            PQclear(PgRun("INSERT INTO montaj.\"Montaj\" (\"Eleman\", \"Görev\", \"Tarih\", \"SipNo\", \"Adet\", "
                          "\"RecNo\", \"CariKod\", \"Unvan\", \"Stok\", \"Not\") VALUES ('Bench', 'Montaj', "
                          "'2026-12-07', $1, $2, $3, $4, $5, $6, $7)",
                          {v(1), std::to_string(std::atof(v(2).c_str()) - done), batch, v(3), v(4), v(5), v(6)}));
            PQclear(PgRun("UPDATE siparis.\"Siparisler\" SET \"Sec\"='', \"Görev\"='Montaj', \"Eleman\"='Bench', "
                          "\"Montaj\"=true WHERE id=$1",
                          {v(0)}));
        }
        PQclear(lines);
        PQclear(PgRun("INSERT INTO siparis.\"Montaj\" (\"SipNo\", \"Eleman\", \"Tarih\", \"RecNo\") "
                      "VALUES ('', 'Bench', '2026-12-07', $1)",
                      {batch}));
        Exec("COMMIT");
        PgLists(); // the board shows the new jobs
        createPg.add(t0);
    }
    state.counters["jobs"] = double(made);
}
BENCHMARK(BM_CreateJobs500_PostgreSQL)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CreateJobs500_SQLite(benchmark::State& state)
{
    Plain plain;
    std::vector<sqlite3_stmt*> lists;
    sqlite3_stmt* counter = plain.Prepare("UPDATE montaj.RecSay SET RecNo=RecNo+1 RETURNING RecNo");
    sqlite3_stmt* lines = plain.Prepare("SELECT rowid, SipNo, Miktar, CariKod, CariAdi, StokAdi, \"Not\" "
                                        "FROM Siparisler WHERE Sec='X' ORDER BY SipNo ASC");
    sqlite3_stmt* earlier = plain.Prepare("SELECT Kalan FROM montaj.Montaj WHERE SipNo=? AND +\"Görev\"='Montaj' "
                                          "ORDER BY rowid LIMIT 1");
    sqlite3_stmt* add = plain.Prepare("INSERT INTO montaj.Montaj (Eleman, \"Görev\", Tarih, SipNo, Adet, RecNo, "
                                      "CariKod, Unvan, Stok, \"Not\") VALUES ('Bench', 'Montaj', "
                                      "'2026-12-07 00:00:00', ?, ?, ?, ?, ?, ?, ?)");
    sqlite3_stmt* line = plain.Prepare("UPDATE Siparisler SET Sec='', \"Görev\"='Montaj', Eleman='Bench', Montaj=1 "
                                       "WHERE rowid=?");
    sqlite3_stmt* day = plain.Prepare("INSERT INTO main.Montaj (SipNo, Eleman, Tarih, RecNo) "
                                      "VALUES ('', 'Bench', '2026-12-07 00:00:00', ?)");
    long made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        plain.Exec(kMarkSqlite);
        state.ResumeTiming();
        const auto t0 = Clock::now();
        plain.Exec("BEGIN IMMEDIATE");
        sqlite3_step(counter);
        const sqlite3_int64 batch = sqlite3_column_int64(counter, 0);
        sqlite3_reset(counter);
        made = 0;
        while (sqlite3_step(lines) == SQLITE_ROW) {
            sqlite3_bind_value(earlier, 1, sqlite3_column_value(lines, 1));
            const double done = sqlite3_step(earlier) == SQLITE_ROW ? sqlite3_column_double(earlier, 0) : 0;
            sqlite3_reset(earlier);
            sqlite3_bind_value(add, 1, sqlite3_column_value(lines, 1));
            sqlite3_bind_double(add, 2, sqlite3_column_double(lines, 2) - done);
            sqlite3_bind_int64(add, 3, batch);
            for (int i = 3; i <= 6; ++i)
                sqlite3_bind_value(add, i + 1, sqlite3_column_value(lines, i));
            sqlite3_step(add);
            sqlite3_reset(add);
            sqlite3_bind_int64(line, 1, sqlite3_column_int64(lines, 0));
            sqlite3_step(line);
            sqlite3_reset(line);
            ++made;
        }
        sqlite3_reset(lines);
        sqlite3_bind_int64(day, 1, batch);
        sqlite3_step(day);
        sqlite3_reset(day);
        plain.Exec("COMMIT");
        SqliteLists(plain, lists);
        createSqlite.add(t0);
    }
    state.counters["jobs"] = double(made);
    state.counters["ratio"] = Ratio(createPg, createSqlite);
}
BENCHMARK(BM_CreateJobs500_SQLite)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    const int rc = RunBenchmarks(argc, argv,
                                 {{"board lists on PostgreSQL", listsPg, "on SQLite", listsSqlite},
                                  {"order list keyset on PostgreSQL", keysPg, "on SQLite", keysSqlite},
                                  {"Görev Ekle with 500 lines on PostgreSQL", createPg, "on SQLite", createSqlite}},
                                 LoadStores);
    if (server())
        std::printf("loading the five stores into PostgreSQL: %.1f s\n", server()->loadSeconds);
    StopServer();
    return rc;
}
