// The report panels on the large demo data (about 100,000 jobs, 50 staff
// members), each beside the same statements run directly on SQLite:
//   monthly  "Aylık" for the month with the most done jobs: Rapor emptied and
//            refilled in one transaction, the order list and the staff list
//            read again, per kind the month's jobs by staff member, per staff
//            member and kind the sum of the done units and, where there is
//            one, the first such job's customer and a Rapor row
//            vs. the same statements kept prepared on plain handles, one
//            transaction, warm cache, the TURKISH collation, each list read
//            as a refresh reads it (rowids, then its last and first row);
//   to-do    RefreshToDoReport of the shown open-jobs panel, run by its day
//            changed to the day with the most open jobs (the picker's own
//            redrawing of the date is left out: it is the user's typing, and
//            no plain side has a picker): the day's open jobs by kind (rowids,
//            then the last and the first row, as a refresh reads them) and
//            the open units of each kind, read in one transaction
//            vs. the same statements kept prepared (SQLite alone)
//            and vs. the same statements with the list shown as a careful
//            program written directly on SQLite and Qt shows it: a plain
//            table model reset around the rowids, the first row made
//            current, one pass over the window's events (the short wait,
//            paused off), the four counts in four labels; rows read when the
//            list draws them. Such a window draws inside its event pass, so
//            this side is timed until drawn, beside the program's figure
//            until drawn. Before each run of any side its list is refilled
//            for another day and drawn, untimed.
// The window is drawn after an action, when its events run; the SQLite-only
// sides draw nothing, so the figures with drawing are counters apart.
// Pauses are switched off on all sides (they are waits, not work).

#include "LargeBoard.h"
#include "../PlainSql.h"

#include "store/JobKinds.h"
#include "store/Sql.h"
#include "ui/DataGrid.h"
#include "ui/DatePicker.h"

#include <QAbstractTableModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <array>
#include <cstring>

namespace {

using namespace largeboard;

Mean monthMs, monthDirectMs, todoMs, todoDirectMs, todoDrawnMs, todoPlainQtDrawnMs;
QDate busiestMonth, busiestOpenDay;
QSize panelShown, gridShown; // the parts of the open-jobs panel and its list the window shows
QString reportStore;

QString FirstText(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    QString text;
    if (sqlite3_step(st) == SQLITE_ROW)
        text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return text;
}

void FindBusiest(Data& d)
{
    sqlite3* jobs = OpenDirect(d.jobs);
    busiestMonth = QDate::fromString(FirstText(jobs, "SELECT substr(Tarih,1,7) || '-15' FROM Montaj WHERE Tamam=1 "
                                                     "AND Iptal=0 GROUP BY substr(Tarih,1,7) ORDER BY count(*) DESC "
                                                     "LIMIT 1"),
                                     Qt::ISODate);
    busiestOpenDay = QDate::fromString(FirstText(jobs, "SELECT substr(Tarih,1,10) FROM Montaj WHERE Tamam=0 GROUP BY "
                                                       "Tarih ORDER BY count(*) DESC LIMIT 1"),
                                       Qt::ISODate);
    sqlite3_close(jobs);
    reportStore = d.root + QStringLiteral("/MuhasebeData/Rapor.mdb");
}

QPushButton* Button(board::MainWindow& w, const char* name)
{
    return w.findChild<QPushButton*>(QString::fromUtf8(name));
}

void BM_MonthlyReport(benchmark::State& state)
{
    auto& w = window();
    w.DTPicker1->setDate(busiestMonth);
    Mean drawn;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        Button(w, "RapCmd(2)")->click();
        monthMs.add(t0);
        DrawWindow();
        drawn.add(t0);
    }
    state.counters["with_drawing_ms"] = drawn.value();
    state.counters["rows"] = w.DataRapor.RecordCount();
}
BENCHMARK(BM_MonthlyReport)->Unit(benchmark::kMillisecond)->Iterations(10);

struct Stmt {
    sqlite3_stmt* st = nullptr;
    Stmt(sqlite3* db, const QString& sql) : st(plainsql::Prepare(db, sql)) {}
    ~Stmt() { sqlite3_finalize(st); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
};

void BM_MonthlyReport_DirectSQLite(benchmark::State& state)
{
    sqlite3* jobs = OpenDirect(data().jobs);
    sqlite3* rapor = OpenDirect(reportStore);
    sqlite3* orders = OpenDirect(data().orders);
    sqlite3* cards = OpenDirect(data().root + QStringLiteral("/MuhasebeData/Cari.Mdb"));
    const QDate first(busiestMonth.year(), busiestMonth.month(), 1);
    const QByteArray from = store::StoredDate(first).toUtf8();
    const QByteArray to = (first.addMonths(1).addDays(-1).toString(Qt::ISODate) + QStringLiteral(" 23:59:59")).toUtf8();
    // The board's order list as the board asks for it, translated as the program translates it.
    const QString order = plainsql::RowidQuery(QStringLiteral("Select * From Siparisler Where SipTarih<=")
                                               + store::DateLiteral(busiestMonth)
                                               + QString::fromUtf8(store::KindByCode(QStringLiteral("Montaj")).orderFilter)
                                               + QStringLiteral(" Order By SipNo Desc"));
    {
        // Rapor rows, order list, staff list; per kind and per staff member
        // the view's jobs, the sum, the first job's customer and the new row.
        Stmt empty(rapor, QStringLiteral("DELETE FROM Rapor"));
        plainsql::Keyset raporKeys(rapor, QStringLiteral("SELECT rowid FROM Rapor"), "Rapor");
        plainsql::Keyset orderKeys(orders, order, "Siparisler");
        Stmt staff(cards, QStringLiteral("SELECT rowid, CariKod, Unvan FROM CariKartlar WHERE HesKullan=0 AND "
                                         "Gurup='Eleman' ORDER BY Unvan ASC"));
        Stmt add(rapor, QStringLiteral("INSERT INTO Rapor (Eleman, \"Görev\", Yapilan, Unvan) VALUES (?, ?, ?, ?)"));
        const char* extra[] = {" AND Eleman<>'Paket Teslim'", "", "", ""};
        std::vector<std::unique_ptr<plainsql::Keyset>> view;
        std::vector<std::unique_ptr<Stmt>> sum, first1;
        for (const char* e : extra) {
            const QString kind = QStringLiteral("\"Görev\"=?1") + QString::fromUtf8(e)
                                 + QStringLiteral(" AND Tarih>=?2 AND Tarih<=?3");
            view.push_back(std::make_unique<plainsql::Keyset>(
                jobs, QStringLiteral("SELECT rowid FROM Montaj WHERE ") + kind + QStringLiteral(" ORDER BY Eleman ASC"),
                "Montaj"));
            sum.push_back(std::make_unique<Stmt>(jobs, QStringLiteral("SELECT Sum(Kalan) FROM Montaj WHERE Eleman=?4 "
                                                                      "AND Tamam=1 AND Iptal=0 AND ")
                                                           + kind));
            first1.push_back(std::make_unique<Stmt>(jobs, QStringLiteral("SELECT Unvan FROM Montaj WHERE ") + kind
                                                              + QStringLiteral(" AND Eleman=?4 AND Tamam=1 AND "
                                                                               "Iptal=0 ORDER BY Eleman, rowid LIMIT 1")));
        }
        const char* kinds[] = {"Montaj", "Servis", "Kesif", "Paket"};
        for (auto _ : state) {
            const auto t0 = Clock::now();
            sqlite3_exec(rapor, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            sqlite3_step(empty.st);
            sqlite3_reset(empty.st);
            raporKeys.Refresh();
            orderKeys.Refresh();
            for (int k = 0; k < 4; ++k) {
                for (sqlite3_stmt* st : {view[k]->keys, sum[k]->st, first1[k]->st}) {
                    sqlite3_bind_text(st, 1, kinds[k], -1, SQLITE_STATIC);
                    sqlite3_bind_text(st, 2, from.constData(), int(from.size()), SQLITE_STATIC);
                    sqlite3_bind_text(st, 3, to.constData(), int(to.size()), SQLITE_STATIC);
                }
                view[k]->Refresh();
                while (sqlite3_step(staff.st) == SQLITE_ROW) {
                    sqlite3_value* name = sqlite3_column_value(staff.st, 2);
                    sqlite3_bind_value(sum[k]->st, 4, name);
                    double s = sqlite3_step(sum[k]->st) == SQLITE_ROW ? sqlite3_column_double(sum[k]->st, 0) : 0;
                    sqlite3_reset(sum[k]->st);
                    if (s == 0)
                        continue;
                    sqlite3_bind_value(first1[k]->st, 4, name);
                    sqlite3_step(first1[k]->st);
                    sqlite3_bind_value(add.st, 1, sqlite3_column_value(staff.st, 1));
                    sqlite3_bind_text(add.st, 2, kinds[k], -1, SQLITE_STATIC);
                    sqlite3_bind_double(add.st, 3, s);
                    sqlite3_bind_value(add.st, 4, sqlite3_column_value(first1[k]->st, 0));
                    sqlite3_step(add.st);
                    sqlite3_reset(add.st);
                    sqlite3_reset(first1[k]->st);
                }
                sqlite3_reset(staff.st);
            }
            sqlite3_exec(rapor, "COMMIT", nullptr, nullptr, nullptr);
            raporKeys.Refresh();
            monthDirectMs.add(t0);
        }
    }
    for (sqlite3* db : {jobs, rapor, orders, cards})
        sqlite3_close(db);
    state.counters["ratio"] = Ratio(monthMs, monthDirectMs);
}
BENCHMARK(BM_MonthlyReport_DirectSQLite)->Unit(benchmark::kMillisecond)->Iterations(10);

// Before each timed refresh, on both sides: the shown panel refilled for
// another day and the window drawn, untimed. Both sides then start with the
// processor's caches as a user's click finds them, after the window was drawn.
void RefillForAnotherDay(board::MainWindow& w)
{
    w.DTPicker2->setDate(busiestOpenDay.addDays(-1));
    DrawWindow();
}

void MeasureShownPanel(board::MainWindow& w)
{
    panelShown = w.MrFrame->visibleRegion().boundingRect().size();
    gridShown = w.DBGrid1->visibleRegion().boundingRect().size();
}

void BM_RefreshToDoReport(benchmark::State& state)
{
    auto& w = window();
    Button(w, "Command4")->click(); // the panel shown, on the board's day
    DrawWindow();
    MeasureShownPanel(w);
    for (auto _ : state) {
        RefillForAnotherDay(w);
        {
            const QSignalBlocker quiet(w.DTPicker2);
            w.DTPicker2->setDate(busiestOpenDay);
        }
        const auto t0 = Clock::now();
        emit w.DTPicker2->dateChanged(busiestOpenDay); // RefreshToDoReport
        todoMs.add(t0);
        DrawWindow();
        todoDrawnMs.add(t0);
    }
    // The panel is drawn after the refresh, when the window's events run; the
    // SQLite-only side draws nothing, so the drawing is shown apart.
    state.counters["with_drawing_ms"] = todoDrawnMs.value();
    state.counters["open_jobs"] = w.DataMr.RecordCount();
}
BENCHMARK(BM_RefreshToDoReport)->Unit(benchmark::kMillisecond)->Iterations(500);

void BM_RefreshToDoReport_DirectSQLite(benchmark::State& state)
{
    sqlite3* jobs = OpenDirect(data().jobs);
    const QByteArray day = store::StoredDate(busiestOpenDay).toUtf8();
    {
        plainsql::Keyset list(jobs, QStringLiteral("SELECT rowid FROM Montaj WHERE Tamam=0 AND Tarih=?1 ORDER BY \"Görev\" ASC"),
                              "Montaj");
        Stmt units(jobs, QStringLiteral("SELECT Sum(Adet) FROM Montaj WHERE Tamam=0 AND \"Görev\"=?2 AND Tarih=?1"));
        for (auto _ : state) {
            RefillForAnotherDay(window());
            const auto t0 = Clock::now();
            sqlite3_bind_text(list.keys, 1, day.constData(), int(day.size()), SQLITE_STATIC);
            list.Refresh();
            sqlite3_bind_text(units.st, 1, day.constData(), int(day.size()), SQLITE_STATIC);
            sqlite3_exec(jobs, "BEGIN", nullptr, nullptr, nullptr);
            for (const char* kind : {"Montaj", "Servis", "Kesif", "Paket"}) {
                sqlite3_bind_text(units.st, 2, kind, -1, SQLITE_STATIC);
                if (sqlite3_step(units.st) == SQLITE_ROW)
                    benchmark::DoNotOptimize(sqlite3_column_double(units.st, 0));
                sqlite3_reset(units.st);
            }
            sqlite3_exec(jobs, "COMMIT", nullptr, nullptr, nullptr);
            todoDirectMs.add(t0);
        }
    }
    sqlite3_close(jobs);
    Button(window(), "Command4")->click(); // the panel hidden again
    state.counters["ratio"] = Ratio(todoMs, todoDirectMs);
}
BENCHMARK(BM_RefreshToDoReport_DirectSQLite)->Unit(benchmark::kMillisecond)->Iterations(500);

// The open-jobs list of a careful program written directly on SQLite and Qt:
// the day's rowids in a kept statement, a row read when the list first draws
// it and kept until the next refresh, the program's headings and widths.
class PlainOpenJobs : public QAbstractTableModel {
public:
    explicit PlainOpenJobs(sqlite3* db)
        : list_(db, QStringLiteral("SELECT rowid FROM Montaj WHERE Tamam=0 AND Tarih=?1 ORDER BY \"Görev\" ASC"),
                "Montaj")
    {
        const char* fields[] = {"Unvan", "Stok", "Adet", "Eleman", "Görev", "Not"};
        for (size_t c = 0; c < kColumns; ++c)
            for (int k = 0; k < sqlite3_column_count(list_.row); ++k)
                if (std::strcmp(sqlite3_column_name(list_.row, k), fields[c]) == 0)
                    positions_[c] = k;
    }

    void Refresh(const QByteArray& day)
    {
        beginResetModel();
        sqlite3_bind_text(list_.keys, 1, day.constData(), int(day.size()), SQLITE_STATIC);
        list_.Refresh();
        rows_.assign(list_.rowids.size(), {});
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(kColumns); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(index.column() == 2 ? Qt::AlignRight | Qt::AlignVCenter
                                                           : Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        auto& texts = rows_[size_t(index.row())];
        if (texts.empty()) {
            sqlite3_bind_int64(list_.row, 1, list_.rowids[size_t(index.row())]);
            if (sqlite3_step(list_.row) == SQLITE_ROW)
                for (size_t c = 0; c < kColumns; ++c)
                    texts.push_back(c == 2 ? QString::number(sqlite3_column_double(list_.row, positions_[c]))
                                           : QString::fromUtf8(reinterpret_cast<const char*>(
                                                 sqlite3_column_text(list_.row, positions_[c]))));
            sqlite3_reset(list_.row);
            texts.resize(kColumns);
        }
        return texts[size_t(index.column())];
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        static const char* captions[] = {"Müşteri", "Ürün", "Adet", "Eleman", "Görev", "Not"};
        if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= int(kColumns))
            return {};
        return QString::fromUtf8(captions[section]);
    }

private:
    static constexpr size_t kColumns = 6;
    plainsql::Keyset list_;
    std::array<int, kColumns> positions_{};
    mutable std::vector<std::vector<QString>> rows_;
};

// The panel of that program: the list above the four counts, laid out as the
// program's panel is.
struct PlainPanel {
    QWidget window;
    QTableView grid;
    std::array<QLabel*, 4> counts{};
    PlainOpenJobs model;
    Stmt units;

    PlainPanel(sqlite3* db, board::MainWindow& w)
        : model(db)
        , units(db, QStringLiteral("SELECT Sum(Adet) FROM Montaj WHERE Tamam=0 AND \"Görev\"=?2 AND Tarih=?1"))
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&grid);
        auto* row = new QHBoxLayout;
        for (QLabel*& label : counts) {
            label = new QLabel(QStringLiteral("0"), &window);
            label->setMinimumWidth(60); // a new count moves nothing
            row->addWidget(label);
        }
        layout->addLayout(row);
        grid.setModel(&model);
        grid.setSelectionBehavior(QAbstractItemView::SelectRows);
        grid.setWordWrap(false);
        grid.verticalHeader()->hide();
        grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid.verticalHeader()->setDefaultSectionSize(w.DBGrid1->verticalHeader()->defaultSectionSize());
        for (int c = 0; c < model.columnCount({}); ++c)
            grid.horizontalHeader()->resizeSection(c, w.DBGrid1->horizontalHeader()->sectionSize(c));
        grid.setFixedSize(gridShown); // the same cells drawn
        window.resize(panelShown);
        window.show();
    }

    void Refresh(const QDate& date)
    {
        const QByteArray day = store::StoredDate(date).toUtf8();
        model.Refresh(day);
        grid.setCurrentIndex(model.index(0, 0));
        QCoreApplication::processEvents(); // the short wait, paused off
        sqlite3_bind_text(units.st, 1, day.constData(), int(day.size()), SQLITE_STATIC);
        sqlite3* db = sqlite3_db_handle(units.st);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        size_t k = 0;
        for (const char* kind : {"Montaj", "Servis", "Kesif", "Paket"}) {
            sqlite3_bind_text(units.st, 2, kind, -1, SQLITE_STATIC);
            const double open = sqlite3_step(units.st) == SQLITE_ROW ? sqlite3_column_double(units.st, 0) : 0;
            sqlite3_reset(units.st);
            counts[k++]->setText(QString::number(open));
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
};

void BM_RefreshToDoReport_DirectSQLiteAndQt(benchmark::State& state)
{
    if (gridShown.isEmpty()) { // run on its own
        Button(window(), "Command4")->click();
        DrawWindow();
        MeasureShownPanel(window());
        Button(window(), "Command4")->click();
    }
    sqlite3* jobs = OpenDirect(data().jobs);
    {
        PlainPanel panel(jobs, window());
        for (auto _ : state) {
            panel.Refresh(busiestOpenDay.addDays(-1));
            DrawWindow();
            const auto t0 = Clock::now();
            panel.Refresh(busiestOpenDay);
            DrawWindow();
            todoPlainQtDrawnMs.add(t0);
        }
    }
    sqlite3_close(jobs);
    // A plain window draws inside its event pass, so only the figures with
    // the drawing compare.
    state.counters["ratio_drawn"] = Ratio(todoDrawnMs, todoPlainQtDrawnMs);
}
BENCHMARK(BM_RefreshToDoReport_DirectSQLiteAndQt)->Unit(benchmark::kMillisecond)->Iterations(500);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv,
                         {{"Aylık report of the busiest month", monthMs, "the same statements on SQLite", monthDirectMs},
                          {"RefreshToDoReport on the busiest day", todoMs, "the same statements on SQLite",
                           todoDirectMs},
                          {"RefreshToDoReport on the busiest day, drawn", todoDrawnMs,
                           "the same statements on SQLite, the list shown and drawn by plain Qt",
                           todoPlainQtDrawnMs}},
                         FindBusiest);
}
