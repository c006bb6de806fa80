// Turkish ordering and the dialect's Like over 200,000 customer names, each
// beside the same work done by SQLite's own BINARY ordering and LIKE.
#include "store/Connection.h"
#include "store/JetDialect.h"
#include "store/Sql.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <memory>
#include <random>

namespace {

constexpr int kRows = 200000;

struct Names {
    QTemporaryDir dir;
    std::shared_ptr<store::Connection> conn;

    Names()
    {
        conn = store::Connection::Create(dir.filePath(QStringLiteral("Cari.Mdb")));
        conn->ExecuteNative(QStringLiteral("CREATE TABLE CariKartlar (CariKod TEXT, Unvan TEXT COLLATE TURKISH)"));
        const QStringList first = {
            QStringLiteral("Ahmet"), QStringLiteral("ayşe"),  QStringLiteral("Çağlar"), QStringLiteral("İsmail"),
            QStringLiteral("ılgaz"), QStringLiteral("Ömer"),  QStringLiteral("şükrü"),  QStringLiteral("Gül"),
            QStringLiteral("Uğur"),  QStringLiteral("zeki"),  QStringLiteral("Özlem"),  QStringLiteral("Ilgın"),
            QStringLiteral("Burak"), QStringLiteral("Deniz"), QStringLiteral("Emre"),   QStringLiteral("Fatma"),
        };
        const QStringList last = {
            QStringLiteral("Yılmaz"), QStringLiteral("KAYA"),    QStringLiteral("Demir"), QStringLiteral("Şahin"),
            QStringLiteral("Çelik"),  QStringLiteral("Öztürk"),  QStringLiteral("aydın"), QStringLiteral("Arslan"),
            QStringLiteral("Doğan"),  QStringLiteral("Kılıç"),   QStringLiteral("Aslan"), QStringLiteral("Çetin"),
        };
        std::mt19937 rng(7);
        conn->Begin();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(conn->handle(), "INSERT INTO CariKartlar VALUES (?, ?)", -1, &st, nullptr);
        for (int i = 0; i < kRows; ++i) {
            const QByteArray code = QByteArray::number(100000 + i);
            const QByteArray name = (first[int(rng() % first.size())] + QLatin1Char(' ')
                                     + last[int(rng() % last.size())] + QLatin1Char(' ') + QString::number(rng() % 1000))
                                        .toUtf8();
            sqlite3_bind_text(st, 1, code.constData(), int(code.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        conn->Commit();
    }
};

Names& names()
{
    static Names n;
    return n;
}

// Runs a query to its end; returns the seconds it took.
double runAll(sqlite3* db, const QString& sql)
{
    const QByteArray utf8 = sql.toUtf8();
    const auto start = std::chrono::steady_clock::now();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, utf8.constData(), -1, &st, nullptr);
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        ++rows;
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(rows);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void compare(benchmark::State& state, const QString& ours, const QString& direct)
{
    sqlite3* db = names().conn->handle();
    double oursTotal = 0, directTotal = 0;
    for (auto _ : state) {
        const double t = runAll(db, ours);
        state.SetIterationTime(t);
        oursTotal += t;
        directTotal += runAll(db, direct);
    }
    state.counters["sqlite_ms"] = 1000.0 * directTotal / double(state.iterations());
    state.counters["ratio"] = oursTotal / directTotal;
}

void OrderByUnvanTurkish(benchmark::State& state)
{
    compare(state, store::TranslateJet(QStringLiteral("Select CariKod, Unvan From CariKartlar Order By Unvan ASC")),
            QStringLiteral("SELECT CariKod, Unvan FROM CariKartlar ORDER BY Unvan COLLATE BINARY"));
}
BENCHMARK(OrderByUnvanTurkish)->UseManualTime()->Unit(benchmark::kMillisecond);

void LikePrefixTurkish(benchmark::State& state)
{
    compare(state,
            store::TranslateJet(QStringLiteral("Select CariKod From CariKartlar Where Unvan Like ")
                                + store::SqlText(QStringLiteral("ÇAĞ*"))),
            QStringLiteral("SELECT CariKod FROM CariKartlar WHERE Unvan GLOB 'Çağ*'"));
}
BENCHMARK(LikePrefixTurkish)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
