// Every job sheet of the busiest day of the large demo data (about 100,000
// jobs, 50 staff) printed to a PDF file through "&Tüm Yazdır", its time per
// page beside the same work done directly:
//   program  the click on "&Tüm Yazdır", the printer dialog answered with the
//            PDF entry, every page-break question answered Yes;
//   direct   the same queries on SQLite with kept statements (the day's jobs
//            in the sheet's order, each job's order line and customer card,
//            the count of a customer's jobs per block), and the same texts
//            and rules drawn with QPainter on a QPdfWriter of the same page
//            and resolution, with the same measuring for centring and cutting
//            to a column and a new page at the same breaks.

#include "app/Clock.h"
#include "app/DemoData.h"
#include "app/Pause.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "board/MainWindow.h"
#include "print/PageLayout.h"
#include "print/Unattended.h"
#include "print/Surface.h"
#include "store/Connection.h"
#include "store/Sql.h"
#include "ui/DatePicker.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

// Processor time of the whole program: the work is all on one thread, and a
// busy machine stretches wall time but not this.
double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}
const QDate kToday(2026, 12, 7);

struct Data {
    QTemporaryDir temp;
    QString root, orders, jobs, accounts;
    QDate busiest;
    int jobsThatDay = 0;
    std::unique_ptr<print::UnattendedPdf> unattended;
};

Data& data()
{
    static std::unique_ptr<Data> d = [] {
        auto made = std::make_unique<Data>();
        made->root = made->temp.path();
        app::MakeDemoData(made->root, kToday, app::DemoSize::Large, 7);
        made->orders = made->root + QStringLiteral("/MuhasebeData/Siparis.Mdb");
        made->jobs = made->root + QStringLiteral("/MuhasebeData/Montaj.mdb");
        made->accounts = made->root + QStringLiteral("/MuhasebeData/Cari.Mdb");
        app::SettingsFile::SetPathForTesting(made->temp.filePath(QStringLiteral("settings.reg")));
        app::SaveRegString(app::RootKey::CurrentUser, app::kSettingsKey, QStringLiteral("Diski"),
                           made->root + QLatin1Char('/'));
        app::Clock::SetTodayForTesting(kToday);
        app::SetPausesForTesting(false);
        made->unattended = std::make_unique<print::UnattendedPdf>(made->temp.filePath(QStringLiteral("pdf")));

        // The day with the most open jobs that go on a sheet.
        auto jobs = store::Connection::Open(made->jobs);
        const QString day = jobs->Scalar(QStringLiteral(
                                 "Select Tarih From Montaj Where Görev<>'Paket' And Tamam=False And Iptal=False "
                                 "Group By Tarih Order By Count(*) Desc, Tarih Desc"))
                                .toString();
        made->busiest = QDate::fromString(day.left(10), QStringLiteral("yyyy-MM-dd"));
        made->jobsThatDay = jobs->Scalar(QStringLiteral("Select Count(*) From Montaj Where Görev<>'Paket' And "
                                                        "Tamam=False And Iptal=False And Tarih=")
                                         + store::DateLiteral(made->busiest))
                                .toInt();
        return made;
    }();
    return *d;
}

board::MainWindow& window()
{
    static std::unique_ptr<board::MainWindow> w = [] {
        data();
        auto made = std::make_unique<board::MainWindow>();
        if (!made->Load())
            std::abort();
        made->show();
        made->Activate();
        made->DTPicker1->setDate(data().busiest);
        return made;
    }();
    return *w;
}

struct Mean {
    double total = 0;
    int n = 0;
    void add(double v) { total += v; ++n; }
    double value() const { return n ? total / n : 0; }
};
Mean programPerPage, directPerPage, programCpuPerPage, directCpuPerPage;
int programPages = 0, directPages = 0;

app::ScriptedPrompt* g_prompt = nullptr;

// One "&Tüm Yazdır": returns the pages made (every question answered Yes).
int PrintAllToPdf()
{
    board::MainWindow& w = window();
    const size_t asked = g_prompt->shown.size();
    data().unattended->Print([&w] { w.Command1[1]->click(); });
    int breaks = 0;
    for (size_t i = asked; i < g_prompt->shown.size(); ++i)
        breaks += g_prompt->shown[i].text == QStringLiteral("Yazmaya Devam Et") ? 1 : 0;
    return breaks + 1;
}

void BM_JobSheetsToPdf(benchmark::State& state)
{
    window();
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const double c0 = CpuMs();
        programPages = PrintAllToPdf();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        programPerPage.add(ms / programPages);
        programCpuPerPage.add((CpuMs() - c0) / programPages);
    }
    state.counters["pages"] = programPages;
    state.counters["jobs"] = data().jobsThatDay;
    state.counters["ms_per_page"] = programPerPage.value();
}
BENCHMARK(BM_JobSheetsToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

sqlite3* OpenDirect(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    store::RegisterDialectFunctions(db);
    return db;
}

sqlite3_stmt* Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        std::abort();
    return st;
}

QString Col(sqlite3_stmt* st, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
}

// The sheets written directly: the same queries, texts, rules and breaks,
// without the program's record views and printing surface.
int DirectSheets(sqlite3* jobsDb, sqlite3* ordersDb, sqlite3* cardsDb, sqlite3_stmt* jobs, sqlite3_stmt* line,
                 sqlite3_stmt* card, sqlite3_stmt* count, const QString& file)
{
    QPdfWriter pdf(file);
    pdf.setPageLayout(print::PageGeometry::StandardLayout());
    pdf.setResolution(1200);
    QPainter p(&pdf);
    p.setPen(QPen(Qt::black, 0));
    const double dpi = 1200, tw = dpi / 1440.0; // pixels per twip
    const double pageW = pdf.pageLayout().paintRectPixels(1200).width();
    const double pageH = pdf.pageLayout().paintRectPixels(1200).height();
    print::FontState f8, f10, f12;
    f8.size = 8;
    f12.size = 12;
    const QFont font8 = f8.ToQFont(), font10 = f10.ToQFont(), font12 = f12.ToQFont();
    QFont bold8 = font8;
    bold8.setBold(true);
    const QFontMetricsF m8(font8, &pdf), m10(font10, &pdf), m12(font12, &pdf);
    const double w1 = m10.horizontalAdvance(QStringLiteral(" Sipariş No ")), w2 = 3600 * tw, w3 = 4300 * tw;
    const double t = pageW - 120 * tw, x0 = 60 * tw, col2 = x0 + w1, col3 = col2 + w2, col4 = col3 + w3;
    const QString date = QStringLiteral("Tarih : ") + print::LongDate(data().busiest);
    const auto text = [&](const QFont& f, const QFontMetricsF& m, double x, double y, const QString& s) {
        p.setFont(f);
        p.drawText(QPointF(x, y + m.ascent()), s);
    };
    const auto cut = [&](QString s, double w) {
        while (!s.isEmpty() && m8.horizontalAdvance(s) > w)
            s.chop(1);
        return s;
    };

    sqlite3_reset(jobs);
    int pages = 0;
    double y = 0, top = 0;
    double reserve = 0; // room kept below a job: the block height, as the sheet reckons it
    QString staff, previous;
    while (sqlite3_step(jobs) == SQLITE_ROW) {
        const QString eleman = Col(jobs, 0);
        if (pages > 0 && (eleman != staff || y + reserve > pageH)) {
            p.drawLine(QPointF(x0, y), QPointF(x0 + t, y));
            for (double x : {x0, col2, col3, col4, x0 + t})
                p.drawLine(QPointF(x, top), QPointF(x, y));
            text(font8, m8, (pageW - m8.horizontalAdvance(QStringLiteral("Sayfa 1"))) / 2, y + 60 * tw,
                 QStringLiteral("Sayfa %1").arg(pages));
            pdf.newPage();
            y = 0;
            previous.clear();
        }
        if (y == 0) {
            ++pages;
            staff = eleman;
            const QString title = QStringLiteral("* * * * * Sorvik * * * * *");
            text(font12, m12, (pageW - m12.horizontalAdvance(title)) / 2, m10.lineSpacing(), title);
            y = m10.lineSpacing() + 2 * m12.lineSpacing();
            text(font10, m10, x0, y, QStringLiteral("Montör Adı : ") + staff);
            text(font10, m10, x0 + t - m10.horizontalAdvance(date), y, date);
            y += m10.lineSpacing() + 60 * tw;
            top = y;
            p.drawLine(QPointF(x0, y), QPointF(x0 + t, y));
            y += 30 * tw;
            for (const auto& [x, w, h] : {std::tuple{x0, w1, "Sipariş No"},
                                          std::tuple{col2, w2, "Müşteri Adı - Adresi- Telefonu - Hizmet Türü"},
                                          std::tuple{col3, w3, "Görev"}, std::tuple{col4, t - col4, "Müşteri Notu"}})
                text(bold8, m8, x + (w - m8.horizontalAdvance(QString::fromUtf8(h))) / 2, y, QString::fromUtf8(h));
            y += m8.lineSpacing() + 30 * tw;
        }
        sqlite3_bind_text(line, 1, reinterpret_cast<const char*>(sqlite3_column_text(jobs, 2)), -1, SQLITE_STATIC);
        const bool hasLine = sqlite3_step(line) == SQLITE_ROW;
        QString product = hasLine ? Col(line, 3) : Col(jobs, 6);
        const QString quantity = hasLine ? print::CountText(sqlite3_column_double(line, 2)) + QStringLiteral(" Adet")
                                         : QString();
        if (hasLine) {
            sqlite3_bind_text(card, 1, reinterpret_cast<const char*>(sqlite3_column_text(line, 0)), -1,
                              SQLITE_TRANSIENT);
            if (sqlite3_step(card) == SQLITE_ROW && Col(card, 0) != previous) {
                previous = Col(card, 0);
                sqlite3_bind_text(count, 1, reinterpret_cast<const char*>(sqlite3_column_text(card, 0)), -1,
                                  SQLITE_TRANSIENT);
                sqlite3_step(count);
                reserve = (sqlite3_column_int(count, 0) + 10) * m8.lineSpacing();
                sqlite3_reset(count);
                p.drawLine(QPointF(x0, y), QPointF(x0 + t, y));
                y += 60 * tw;
                text(font8, m8, col2 + 30 * tw, y, cut(Col(card, 1), w2));
                const QString note = Col(jobs, 7);
                if (!note.isEmpty())
                    text(font8, m8, col4 + 30 * tw, y, note);
                y += m8.lineSpacing() + 60 * tw;
                text(font8, m8, col2 + 30 * tw, y, cut(Col(card, 3), w2));
                y += m8.lineSpacing() + 60 * tw;
                text(font8, m8, col2 + 30 * tw, y, Col(card, 4));
                y += m8.lineSpacing() + 60 * tw;
                text(font8, m8, col2 + 30 * tw, y, QStringLiteral("Telefon : ") + Col(card, 2) +
                                                        QStringLiteral("  Gsm : ") + Col(card, 5));
                y += m8.lineSpacing();
            }
            sqlite3_reset(card);
        }
        sqlite3_reset(line);
        y += 30 * tw;
        text(font8, m8, x0 + 30 * tw, y, Col(jobs, 2));
        text(font8, m8, col2 + 30 * tw, y, QStringLiteral("Görev : ") + Col(jobs, 1));
        text(font8, m8, col3 + 30 * tw, y, cut(product, w3));
        y += m8.lineSpacing();
        text(font8, m8, col3 + (w3 - m8.horizontalAdvance(quantity)) / 2, y, quantity);
        y += m8.lineSpacing();
    }
    p.drawLine(QPointF(x0, y), QPointF(x0 + t, y));
    for (double x : {x0, col2, col3, col4, x0 + t})
        p.drawLine(QPointF(x, top), QPointF(x, y));
    text(font8, m8, pageW / 2, y + 60 * tw, QStringLiteral("Sayfa %1").arg(pages));
    p.end();
    (void)jobsDb;
    (void)ordersDb;
    (void)cardsDb;
    return pages;
}

void BM_JobSheetsToPdf_Direct(benchmark::State& state)
{
    sqlite3* jobsDb = OpenDirect(data().jobs);
    sqlite3* ordersDb = OpenDirect(data().orders);
    sqlite3* cardsDb = OpenDirect(data().accounts);
    const QByteArray day = store::StoredDate(data().busiest).toUtf8();
    sqlite3_stmt* jobs = Prepare(jobsDb, "SELECT Eleman, \"Görev\", SipNo, Adet, CariKod, Unvan, Stok, \"Not\" "
                                         "FROM Montaj WHERE \"Görev\"<>'Paket' AND Tamam=0 AND Iptal=0 AND Tarih=? "
                                         "ORDER BY Eleman, \"Görev\", Unvan");
    sqlite3_bind_text(jobs, 1, day.constData(), -1, SQLITE_STATIC);
    sqlite3_stmt* line = Prepare(ordersDb, "SELECT CariKod, TesAdet, KalAdet, StokAdi, Tutar, \"Görev\", Miktar, "
                                           "Fiyat FROM Siparisler WHERE SipNo=? AND SipTarih<=? LIMIT 1");
    sqlite3_bind_text(line, 2, day.constData(), -1, SQLITE_STATIC);
    sqlite3_stmt* card = Prepare(cardsDb, "SELECT CariKod, Unvan, Tel, Adres, Sehir, Gsm, Bakiye, Hesap "
                                          "FROM CariKartlar WHERE CariKod=? LIMIT 1");
    sqlite3_stmt* count = Prepare(jobsDb, "SELECT COUNT(*) FROM Montaj WHERE CariKod=?");
    QTemporaryDir out;
    int run = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const double c0 = CpuMs();
        directPages = DirectSheets(jobsDb, ordersDb, cardsDb, jobs, line, card, count,
                                   out.filePath(QStringLiteral("direct%1.pdf").arg(++run)));
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        directPerPage.add(ms / directPages);
        directCpuPerPage.add((CpuMs() - c0) / directPages);
    }
    for (sqlite3_stmt* st : {jobs, line, card, count})
        sqlite3_finalize(st);
    for (sqlite3* db : {jobsDb, ordersDb, cardsDb})
        sqlite3_close(db);
    state.counters["pages"] = directPages;
    state.counters["ratio"] = directPerPage.value() > 0 ? programPerPage.value() / directPerPage.value() : 0;
}
BENCHMARK(BM_JobSheetsToPdf_Direct)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VELMORA_SOUND", "off");
    QApplication app(argc, argv);
    app::ScriptedPrompt prompt; // page breaks answered Yes, the PDF message answered
    g_prompt = &prompt;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const auto ratio = [](const Mean& a, const Mean& b) { return b.value() > 0 ? a.value() / b.value() : 0; };
    std::printf("\nJob sheets of %s (%d jobs) to PDF, a page: program %d pages, %.2f ms (%.2f ms processor); "
                "directly on SQLite and QPainter %d pages, %.2f ms (%.2f ms processor); "
                "ratio %.2f (processor %.2f)\n",
                qPrintable(data().busiest.toString(Qt::ISODate)), data().jobsThatDay, programPages,
                programPerPage.value(), programCpuPerPage.value(), directPages, directPerPage.value(),
                directCpuPerPage.value(), ratio(programPerPage, directPerPage),
                ratio(programCpuPerPage, directCpuPerPage));
    benchmark::Shutdown();
    return 0;
}
