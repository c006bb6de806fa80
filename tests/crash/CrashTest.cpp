// Job creation and deletion are killed at every write the action makes on
// the stores (before and after each write, journal and super-journal
// included) and at random moments; after each kill the stores must hold the
// action whole or not at all, and pass SQLite's integrity check.
#include "TestSupport.h"

#include "store/Connection.h"
#include "store/RecordView.h"
#include "store/Sql.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace {

const char* const kStoreFiles[] = {"Montaj.mdb", "Rapor.mdb", "Cari.Mdb", "Siparis.Mdb", "Index.Mdb"};
constexpr int kLines = 6;          // order lines of one job creation
constexpr int kRandomKills = 20;   // per action, besides the stepped ones

// A store file read on a handle of its own, as the program will find it at
// its next start (a hot journal is rolled back on the first read).
class StoreFile {
public:
    explicit StoreFile(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        store::RegisterDialectFunctions(db_);
    }
    ~StoreFile() { sqlite3_close(db_); }
    QString Text(const QString& sql) const
    {
        sqlite3_stmt* st = nullptr;
        QString out = QStringLiteral("<error>");
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK) {
            const int rc = sqlite3_step(st);
            if (rc == SQLITE_ROW)
                out = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
            else if (rc == SQLITE_DONE)
                out.clear();
        }
        sqlite3_finalize(st);
        return out;
    }
    int Number(const QString& sql) const { return int(Text(sql).toDouble()); }
    bool Intact() const { return Text(QStringLiteral("PRAGMA integrity_check")) == QLatin1String("ok"); }

private:
    sqlite3* db_ = nullptr;
};

struct ChildRun {
    bool killed = false;
    QByteArray output;
};

class CrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(templateData.ok());
        // Lines open for installation that no job names yet.
        auto orders = templateData.Open(templateData.orders());
        orders->Execute(QStringLiteral("UPDATE Siparisler SET Sec='' WHERE Sec='X'"));
        store::RecordView open;
        open.setDatabaseName(templateData.orders());
        open.setRecordSource(QStringLiteral("Select * From Siparisler Where Görev='' And KalAdet>0 Order By SipNo"));
        open.Refresh();
        for (; !open.EOF() && lines.size() < kLines; open.MoveNext()) {
            const QString sipNo = open.Field(QStringLiteral("SipNo")).toString();
            const QString where = QStringLiteral(" Where SipNo=") + store::SqlText(sipNo);
            if (templateData.Number(templateData.jobs(), QStringLiteral("Select Count(*) From Montaj") + where) == 0
                && templateData.Number(templateData.orders(), QStringLiteral("Select Count(*) From Siparisler") + where)
                       == 1)
                lines << sipNo;
        }
        open.Close();
        ASSERT_EQ(lines.size(), kLines);
        for (const QString& s : lines)
            orders->Execute(QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE SipNo=") + store::SqlText(s));
        orders.reset();
        batch = int(templateData.Number(templateData.jobs(), QStringLiteral("Select RecNo From RecSay")));
    }

    // A folder for one run: in memory where there is a tmpfs, as syncing
    // to disk makes no difference to a kill and costs most of the time.
    static std::unique_ptr<QTemporaryDir> Folder()
    {
        if (QDir(QStringLiteral("/dev/shm")).exists())
            return std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/velmora-crash-XXXXXX"));
        return std::make_unique<QTemporaryDir>();
    }

    // A fresh copy of a folder's stores.
    static void CopyStores(const QString& fromRoot, const QTemporaryDir& to)
    {
        QDir().mkpath(to.path() + QStringLiteral("/MuhasebeData"));
        for (const char* f : kStoreFiles)
            QFile::copy(fromRoot + QLatin1String(f), to.path() + QStringLiteral("/MuhasebeData/") + QLatin1String(f));
    }

    // Runs the child on a folder; killAt 0 means no kill at a write, a
    // negative delay none after "armed". With a log file the child lists
    // every write it makes.
    static ChildRun Run(const QTemporaryDir& folder, const QStringList& args, int killAt, bool after,
                        int delayMicroseconds = -1, const QString& log = {})
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_PRELOAD"), testsupport::BinDir() + QStringLiteral("/libvelmora_killatwrite.so"));
        // Under AddressSanitizer the preloaded library comes before its runtime.
        const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) + QStringLiteral("verify_asan_link_order=0"));
        env.insert(QStringLiteral("VELMORA_KILL_FOLDER"), folder.path() + QStringLiteral("/MuhasebeData"));
        env.insert(QStringLiteral("VELMORA_KILL_AT"), QString::number(killAt));
        env.insert(QStringLiteral("VELMORA_KILL_AFTER"), after ? QStringLiteral("1") : QStringLiteral("0"));
        if (!log.isEmpty())
            env.insert(QStringLiteral("VELMORA_KILL_LOG"), log);
        env.insert(QStringLiteral("VELMORA_CRASH_TODAY"), testsupport::DemoToday().toString(Qt::ISODate));
        env.insert(QStringLiteral("VELMORA_SOUND"), QStringLiteral("off"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(testsupport::BinDir() + QStringLiteral("/velmora_crash_child"),
                    QStringList{folder.path()} + args);
        ChildRun run;
        if (!child.waitForStarted(10000))
            return run;
        if (delayMicroseconds >= 0) {
            while (!child.canReadLine() && child.state() == QProcess::Running)
                child.waitForReadyRead(50);
            std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds));
            child.kill();
        }
        child.waitForFinished(60000);
        run.killed = child.exitStatus() == QProcess::CrashExit;
        run.output = child.readAllStandardOutput();
        return run;
    }

    enum class Outcome { None, Whole, Half };

    // Job creation: every marked line got its job and the next batch number, or nothing did.
    Outcome CreationOutcome(const QTemporaryDir& folder, bool* intact) const
    {
        const QString root = folder.path() + QStringLiteral("/MuhasebeData/");
        StoreFile jobs(root + QStringLiteral("Montaj.mdb")), orders(root + QStringLiteral("Siparis.Mdb"));
        *intact = jobs.Intact() && orders.Intact();
        const QString next = QString::number(batch + 1);
        const int newJobs = jobs.Number(QStringLiteral("SELECT count(*) FROM Montaj WHERE RecNo=") + next);
        const int counter = jobs.Number(QStringLiteral("SELECT RecNo FROM RecSay"));
        const int marked = orders.Number(QStringLiteral("SELECT count(*) FROM Siparisler WHERE Sec='X'"));
        const int assigned = orders.Number(QStringLiteral("SELECT count(*) FROM Siparisler WHERE Görev='Montaj' AND "
                                                          "SipNo IN ('")
                                           + lines.join(QStringLiteral("','")) + QStringLiteral("')"));
        if (newJobs == 0 && counter == batch && marked == kLines && assigned == 0)
            return Outcome::None;
        if (newJobs == kLines && counter == batch + 1 && marked == 0 && assigned == kLines)
            return Outcome::Whole;
        ADD_FAILURE() << "half done: " << newJobs << " jobs, counter " << counter << ", " << marked << " marked, "
                      << assigned << " assigned";
        return Outcome::Half;
    }

    // Deleting one job: the job and its line's assignment go together, or stay.
    Outcome DeletionOutcome(const QTemporaryDir& folder, const QString& sipNo, bool* intact) const
    {
        const QString root = folder.path() + QStringLiteral("/MuhasebeData/");
        StoreFile jobs(root + QStringLiteral("Montaj.mdb")), orders(root + QStringLiteral("Siparis.Mdb"));
        *intact = jobs.Intact() && orders.Intact();
        const QString where = QStringLiteral(" WHERE SipNo='") + sipNo + QLatin1Char('\'');
        const int job = jobs.Number(QStringLiteral("SELECT count(*) FROM Montaj") + where);
        const int assigned = orders.Number(QStringLiteral("SELECT count(*) FROM Siparisler") + where
                                           + QStringLiteral(" AND Görev='Montaj' AND Montaj=1"));
        if (job == 1 && assigned == 1)
            return Outcome::None;
        if (job == 0 && assigned == 0)
            return Outcome::Whole;
        ADD_FAILURE() << "half done: " << job << " jobs, " << assigned << " assigned for " << sipNo.toStdString();
        return Outcome::Half;
    }

    struct Tally {
        int points = 0, none = 0, whole = 0, half = 0, damaged = 0;
        void add(Outcome o, bool intact)
        {
            ++points;
            (o == Outcome::None ? none : o == Outcome::Whole ? whole : half)++;
            damaged += intact ? 0 : 1;
        }
    };

    // Runs the action once whole, counting its writes; then kills it at
    // every write (before the odd ones, right after the even ones) and at
    // random moments, two children at a time. Returns what the stores held.
    template <typename Check>
    Tally KillEverywhere(const QString& fromRoot, const QStringList& args, Check check)
    {
        int writes = 0;
        {
            const auto folder = Folder();
            CopyStores(fromRoot, *folder);
            const QString log = folder->path() + QStringLiteral("/writes.log");
            const ChildRun run = Run(*folder, args, 0, false, -1, log);
            EXPECT_FALSE(run.killed);
            EXPECT_TRUE(run.output.contains("done")) << run.output.constData();
            bool intact = false;
            EXPECT_EQ(check(*folder, &intact), Outcome::Whole);
            EXPECT_TRUE(intact);
            QFile f(log);
            if (f.open(QIODevice::ReadOnly))
                writes = int(f.readAll().count('\n'));
        }
        EXPECT_GT(writes, 10);

        struct Trial {
            int killAt;
            bool after;
            int delay;
        };
        std::vector<Trial> trials;
        for (int n = 1; n <= writes; ++n)
            trials.push_back({n, n % 2 == 0, -1});
        for (int i = 0; i < kRandomKills; ++i)
            trials.push_back({0, false, int(QRandomGenerator::global()->bounded(150000))});

        Tally t;
        std::mutex m;
        std::atomic<size_t> next{0};
        const auto worker = [&] {
            for (size_t i; (i = next++) < trials.size();) {
                const auto folder = Folder();
                CopyStores(fromRoot, *folder);
                const Trial& trial = trials[i];
                const ChildRun run = Run(*folder, args, trial.killAt, trial.after, trial.delay);
                bool intact = false;
                const Outcome o = check(*folder, &intact);
                std::lock_guard<std::mutex> lock(m);
                // A kill at a write must come: the run before counted them.
                if (trial.delay < 0) {
                    EXPECT_TRUE(run.killed) << "write " << trial.killAt << " never came";
                }
                t.add(o, intact);
            }
        };
        std::thread a(worker), b(worker);
        a.join();
        b.join();
        return t;
    }

    testsupport::TestDataDir templateData;
    QStringList lines;
    int batch = 0;
};

TEST_F(CrashTest, JobCreationAndDeletionAreStoredWholeOrNotAtAllWhereverTheyAreKilled)
{
    const Tally creation = KillEverywhere(templateData.dataRoot(), {QStringLiteral("create")},
                                          [this](const QTemporaryDir& f, bool* intact) {
                                              return CreationOutcome(f, intact);
                                          });

    // The jobs made once, whole, are the start of the deletions.
    const auto made = Folder();
    CopyStores(templateData.dataRoot(), *made);
    ASSERT_FALSE(Run(*made, {QStringLiteral("create")}, 0, false).killed);
    bool intact = false;
    ASSERT_EQ(CreationOutcome(*made, &intact), Outcome::Whole);
    const QString sipNo = lines.front();
    const Tally deletion = KillEverywhere(made->path() + QStringLiteral("/MuhasebeData/"),
                                          {QStringLiteral("delete"), sipNo},
                                          [this, &sipNo](const QTemporaryDir& f, bool* ok) {
                                              return DeletionOutcome(f, sipNo, ok);
                                          });

    std::printf("[ crash    ] creation: %d kill points (%d nothing, %d whole, %d half, %d damaged)\n"
                "[ crash    ] deletion: %d kill points (%d nothing, %d whole, %d half, %d damaged)\n",
                creation.points, creation.none, creation.whole, creation.half, creation.damaged, deletion.points,
                deletion.none, deletion.whole, deletion.half, deletion.damaged);
    EXPECT_GE(creation.points + deletion.points, 200);
    EXPECT_EQ(creation.half + deletion.half, 0);
    EXPECT_EQ(creation.damaged + deletion.damaged, 0);
    // Killed before and after its commit point, the action is seen both ways.
    EXPECT_GT(creation.none, 0);
    EXPECT_GT(creation.whole, 0);
    EXPECT_GT(deletion.none, 0);
    EXPECT_GT(deletion.whole, 0);
}

} // namespace
