// velmora-sql beside SQLite's own shell (sqlite3, with the stores' TURKISH
// collation loaded from libvelmora_turkish, built from the store code) on
// the four list queries of the board, on the large demo data. Each side is a
// separate process writing its rows to /dev/null; the figure is the CPU time
// (user + system) the process used, the mean of the runs.
//   velmora-sql STORE 'the board's query in the program's dialect'
//   sqlite3 -batch -header -separator TAB -cmd '.load libvelmora_turkish' STORE
//           'the same query as the dialect translator gives it'
// The shell is taken from PATH (Debian package sqlite3).

#include "app/DemoData.h"
#include "store/JetDialect.h"
#include "store/JobKinds.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

const QDate kToday(2026, 12, 7);

struct Data {
    QTemporaryDir temp;
    QString orders, jobs;
};

Data& data()
{
    static std::unique_ptr<Data> d = [] {
        auto made = std::make_unique<Data>();
        const QString kept = qEnvironmentVariable("VELMORA_BENCH_DIR");
        const QString dir = kept.isEmpty() ? made->temp.path() : kept;
        made->orders = dir + QStringLiteral("/MuhasebeData/Siparis.Mdb");
        made->jobs = dir + QStringLiteral("/MuhasebeData/Montaj.mdb");
        if (!QFileInfo::exists(made->orders))
            app::MakeDemoData(dir, kToday, app::DemoSize::Large, 7);
        return made;
    }();
    return *d;
}

// The CPU seconds a program used, its output thrown away; -1 when it failed.
double cpuSeconds(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    const auto secs = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return secs(usage.ru_utime) + secs(usage.ru_stime);
}

struct ListQuery {
    const char* name;
    bool orders; // on the order store, else on the job store
    QString jet;
};

std::vector<ListQuery> boardQueries()
{
    const QString day = QStringLiteral("#12/07/2026#");
    return {
        {"order lines (DataSiparis)", true,
         QStringLiteral("Select * From Siparisler Where SipTarih<=") + day
             + QString::fromUtf8(store::KindByCode(QStringLiteral("Montaj")).orderFilter)
             + QStringLiteral(" Order By SipNo Desc")},
        {"staff of the day (DataSipEleman)", true,
         QStringLiteral("Select * From Montaj Where Iptal=False And Tarih=") + day
             + QStringLiteral(" Order By SipNo Asc")},
        {"jobs of the day (DataGörev)", false,
         QStringLiteral("Select * From Montaj Where Tarih=") + day
             + QStringLiteral(" And Görev='Montaj' Order By Eleman Asc")},
        {"jobs of the kind (DataGörevTmp)", false,
         QStringLiteral("Select * From Montaj Where Görev='Montaj' Order By SipNo Asc")},
    };
}

struct Figure {
    double tool = 0, shell = 0;
    int runs = 0;
};
std::vector<Figure> figures(4);

void BM_ListQuery(benchmark::State& state)
{
    const ListQuery q = boardQueries()[size_t(state.range(0))];
    const std::string bin = VELMORA_BIN_DIR;
    const std::string store = (q.orders ? data().orders : data().jobs).toStdString();
    const std::vector<std::string> tool{bin + "/velmora-sql", store, q.jet.toStdString()};
    const std::vector<std::string> shell{"sqlite3", "-batch", "-header", "-separator", "\t", "-cmd",
                                         ".load " + bin + "/libvelmora_turkish", store,
                                         store::TranslateJet(q.jet).toStdString()};
    // A run of each first: the page cache holds the file for both sides.
    if (cpuSeconds(tool) < 0 || cpuSeconds(shell) < 0) {
        state.SkipWithError("velmora-sql or sqlite3 failed (is the sqlite3 package installed?)");
        return;
    }
    Figure& f = figures[size_t(state.range(0))];
    for (auto _ : state) {
        // Turns alternate, so neither side always follows the other.
        const bool toolFirst = f.runs % 2 == 0;
        const double a = cpuSeconds(toolFirst ? tool : shell);
        const double b = cpuSeconds(toolFirst ? shell : tool);
        f.tool += toolFirst ? a : b;
        f.shell += toolFirst ? b : a;
        ++f.runs;
        state.SetIterationTime(toolFirst ? a : b);
    }
    state.SetLabel(q.name);
    state.counters["velmora_sql_cpu_ms"] = f.tool / f.runs * 1e3;
    state.counters["sqlite3_cpu_ms"] = f.shell / f.runs * 1e3;
    state.counters["ratio"] = f.tool / f.shell;
}
BENCHMARK(BM_ListQuery)->DenseRange(0, 3)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    data();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nCPU time per run, velmora-sql beside sqlite3 with the TURKISH collation loaded:\n");
    const auto queries = boardQueries();
    for (size_t i = 0; i < figures.size(); ++i)
        if (figures[i].runs > 0)
            std::printf("%-34s velmora-sql %.1f ms, sqlite3 %.1f ms, ratio %.2f\n", queries[i].name,
                        figures[i].tool / figures[i].runs * 1e3, figures[i].shell / figures[i].runs * 1e3,
                        figures[i].tool / figures[i].shell);
    benchmark::Shutdown();
    return 0;
}
