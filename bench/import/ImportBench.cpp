// The Access import on the five fixture stores (../shared/fixtures/access),
// each figure beside the plain reading cost of the same data:
//   import  ImportStores: all 12 tables into new SQLite stores, checked and
//           renamed into place
//           vs. mdb-export of the same 12 tables to TSV files, one process a
//           table as a script would run it (reading and text conversion only:
//           no store written, no check);
//   read    TableReader over every row of the order lines
//           vs. libmdb's own bind-and-fetch loop over the same table, every
//           column bound to a text buffer (what mdb-export does inside).
// rows_per_s is the import's (or the reader's) own rate.

#include "import/AccessFile.h"
#include "import/StoreImport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <mdbtools.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

QString fixtures() { return QDir(QStringLiteral(VELMORA_SOURCE_DIR "/../shared/fixtures/access")).absolutePath(); }

const char* const kStores[] = {"Montaj.mdb", "Rapor.mdb", "ABCCari.Mdb", "ABCSiparis.Mdb", "ABCIndex.Mdb"};

// What closes the output: each figure beside its plain twin, with what the
// plain side did.
struct Figure {
    std::string what, plain;
    double oursMs = 0, plainMs = 0, rowsPerSecond = 0;
};
std::vector<Figure>& figures()
{
    static std::vector<Figure> f;
    return f;
}

void report(benchmark::State& state, double ours, double plain, std::int64_t rows, const char* plainName,
            std::string what, std::string plainWhat)
{
    const double n = double(state.iterations());
    // Google Benchmark runs a function more than once to size it: the last run counts.
    Figure f{std::move(what), std::move(plainWhat), ours / n * 1e3, plain / n * 1e3, double(rows) * n / ours};
    auto& all = figures();
    const auto same = std::find_if(all.begin(), all.end(), [&](const Figure& g) { return g.what == f.what; });
    if (same != all.end())
        *same = f;
    else
        all.push_back(f);
    state.counters["rows"] = double(rows);
    state.counters["rows_per_s"] = double(rows) * n / ours;
    state.counters["ours_ms"] = ours / n * 1e3;
    state.counters[std::string(plainName) + "_ms"] = plain / n * 1e3;
    state.counters["ratio"] = ours / plain;
}

void BM_ImportFixtureStores(benchmark::State& state)
{
    const QString mdbExport = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
    if (mdbExport.isEmpty() || !QFileInfo(fixtures()).isDir()) {
        state.SkipWithError("mdb-export or the fixtures are missing");
        return;
    }
    // The tables, read once so the plain side exports the same ones.
    std::vector<std::pair<QString, QString>> tables;
    for (const char* s : kStores) {
        import::AccessFile file(fixtures() + QLatin1Char('/') + QLatin1String(s));
        for (const QString& t : file.TableNames())
            tables.emplace_back(file.path(), t);
    }
    double ours = 0, plain = 0;
    std::int64_t rows = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        const auto t0 = Clock::now();
        const import::ImportSummary s =
            import::ImportStores({fixtures(), out.filePath(QStringLiteral("MuhasebeData")), QStringLiteral("ABC"), false});
        const auto t1 = Clock::now();
        int n = 0;
        for (const auto& [path, table] : tables) {
            QProcess p;
            p.setStandardOutputFile(out.filePath(QStringLiteral("%1.tsv").arg(n++)));
            p.start(mdbExport, {QStringLiteral("-d"), QStringLiteral("\t"), QStringLiteral("-Q"), QStringLiteral("-0"),
                                QStringLiteral("\\N"), QStringLiteral("-T"), QStringLiteral("%Y-%m-%d %H:%M:%S"), path,
                                table});
            p.waitForFinished(-1);
            if (p.exitCode() != 0)
                state.SkipWithError("mdb-export failed");
        }
        const auto t2 = Clock::now();
        rows = s.rows;
        ours += seconds(t0, t1);
        plain += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    state.counters["tables"] = double(tables.size());
    report(state, ours, plain, rows, "mdbexport", "import of the 5 fixture stores (12 tables) into new checked stores",
           "mdb-export of the same 12 tables to TSV files, one process a table");
}
BENCHMARK(BM_ImportFixtureStores)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_ReadOrderLines(benchmark::State& state)
{
    const QString path = fixtures() + QStringLiteral("/ABCSiparis.Mdb");
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("the fixtures are missing");
        return;
    }
    import::AccessFile file(path);
    MdbHandle* mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    MdbTableDef* def = mdb_read_table_by_name(mdb, const_cast<gchar*>("Siparisler"), MDB_TABLE);
    mdb_read_columns(def);
    std::vector<std::vector<char>> bound(def->num_cols, std::vector<char>(MDB_BIND_SIZE));
    std::vector<int> lengths(def->num_cols);
    for (unsigned c = 0; c < def->num_cols; ++c)
        mdb_bind_column(def, int(c) + 1, bound[c].data(), &lengths[c]);

    double ours = 0, plain = 0;
    std::int64_t rows = 0;
    std::vector<import::Cell> row;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        auto reader = file.Open(QStringLiteral("Siparisler"));
        std::int64_t n = 0;
        while (reader->Next(row))
            ++n;
        const auto t1 = Clock::now();
        mdb_rewind_table(def);
        std::int64_t m = 0;
        while (mdb_fetch_row(def))
            ++m;
        const auto t2 = Clock::now();
        if (n != m)
            state.SkipWithError("the two readers disagree");
        rows = n;
        ours += seconds(t0, t1);
        plain += seconds(t1, t2);
        state.SetIterationTime(seconds(t0, t1));
    }
    mdb_free_tabledef(def);
    mdb_close(mdb);
    report(state, ours, plain, rows, "libmdb", "TableReader over the 300 order lines",
           "libmdb's bind-and-fetch loop over the same table, every column bound to text");
}
BENCHMARK(BM_ReadOrderLines)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\n");
    for (const Figure& f : figures())
        std::printf("%s: %.2f ms (%.0f rows/s); %s: %.2f ms; ratio %.2f\n", f.what.c_str(), f.oursMs,
                    f.rowsPerSecond, f.plain.c_str(), f.plainMs, f.plainMs > 0 ? f.oursMs / f.plainMs : 0.0);
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
