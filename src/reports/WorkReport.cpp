#include "reports/WorkReport.h"

#include "app/Prompt.h"
#include "app/Refresh.h"
#include "app/Sound.h"
#include "print/PageLayout.h"
#include "reports/ListPrintouts.h"
#include "reports/PictureBox.h"
#include "reports/ShortWait.h"
#include "store/Connection.h"
#include "store/JobKinds.h"
#include "store/RecordView.h"
#include "store/Sql.h"
#include "store/StoreError.h"
#include "ui/DataGrid.h"
#include "ui/Painting.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDateEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QScopeGuard>

namespace reports {

namespace {

// Installation jobs of the pseudo staff member "Paket Teslim" are deliveries.
const QString kNotDeliveries = QStringLiteral(" And Eleman<>'Paket Teslim'");

} // namespace

QString PeriodCondition(const QDate& day, bool monthly)
{
    const QDate first = monthly ? QDate(day.year(), day.month(), 1) : day;
    const QDate last = monthly ? first.addMonths(1).addDays(-1) : day;
    return QStringLiteral(" And Tarih>=") + store::DayStartLiteral(first) + QStringLiteral(" And Tarih<=")
           + store::DayEndLiteral(last);
}

QString MonthlyCaption(const QDate& day)
{
    return print::DateText(day, QStringLiteral(" MMMM")) + QStringLiteral(" Aylık Raporu ");
}

QString DailyCaption(const QDate& day)
{
    return print::DateText(day, QStringLiteral(" dd/MMMM/yyyy dddd")) + QStringLiteral(" Günlük Raporu ");
}

WorkReport::WorkReport(const WorkReportViews& views, const WorkReportControls& controls)
    : v_(views)
    , c_(controls)
{
    Picture1 = new PictureBox(c_.Frame1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto* row = new QHBoxLayout;
    row->addWidget(Picture1);
    row->addStretch(1);
    const char* captions[] = {"Çıkış", "Yazdır", "Aylık", "Günlük"};
    for (int i : {3, 2, 1, 0}) {
        RapCmd[i] = new QPushButton(QString::fromUtf8(captions[i]), c_.Frame1);
        RapCmd[i]->setObjectName(QStringLiteral("RapCmd(%1)").arg(i));
        RapCmd[i]->setMinimumHeight(30);
        row->addWidget(RapCmd[i]);
        connect(RapCmd[i], &QPushButton::clicked, this, [this, i] { RapCmdClick(i); });
    }
    if (auto* box = qobject_cast<QBoxLayout*>(c_.Frame1->layout()))
        box->addLayout(row);
    connect(c_.RapDBGrid, &ui::DataGrid::selectionChanging, this, [](bool* cancel) { *cancel = true; });
}

WorkReport::~WorkReport() = default;

void WorkReport::Command3Click()
{
    if (building_)
        return;
    ShortWait();
    app::Sound::Play(QStringLiteral("\\Cmd.wav"));
    // Only the colour decides: green while the board shows surveys.
    if (c_.Command3->styleSheet().contains(QStringLiteral("rgb(0, 255, 0)"))) {
        if (newRecord_)
            newRecord_();
        return;
    }
    c_.Frame1->raise();
    c_.Frame1->setTitle(MonthlyCaption(c_.DTPicker1->date()));
    c_.Frame1->show();
    BuildWorkReport();
}

void WorkReport::RapCmdClick(int index)
{
    if (building_)
        return;
    switch (index) {
    case 0:
        c_.Frame1->hide();
        // The board's job grid shows the jobs of its kind and day again.
        v_.DataGörev.setRecordSource(QStringLiteral("Select * From Montaj Where Tarih=") + *c_.BoardDateText
                                     + QStringLiteral(" And Görev=") + store::SqlText(*c_.CurrentKind)
                                     + QStringLiteral(" Order By SipNo Asc"));
        app::RefreshData(v_.DataGörev);
        break;
    case 1:
        PrintReportList();
        break;
    case 2:
        c_.Frame1->setTitle(MonthlyCaption(c_.DTPicker1->date()));
        BuildWorkReport();
        break;
    case 3:
        c_.Frame1->setTitle(DailyCaption(c_.DTPicker1->date()));
        BuildWorkReport();
        break;
    default:
        break;
    }
}

bool WorkReport::BuildWorkReport()
{
    if (building_)
        return false;
    building_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto done = qScopeGuard([this] {
        QApplication::restoreOverrideCursor();
        building_ = false;
    });

    const auto previousPicture = Picture1->Content();
    const auto previousTotals = KindTotals;
    Picture1->Cls();
    KindTotals = {};
    try {
        Build();
    } catch (const store::StoreError& e) {
        // Nothing of the new report was stored: the rows, the totals and the
        // picture of the previous one stay.
        app::RefreshData(v_.DataRapor);
        KindTotals = previousTotals;
        Picture1->setContent(previousPicture);
        QApplication::restoreOverrideCursor();
        app::Prompt::Message(c_.owner,
                             QStringLiteral("Rapor hazırlanamadı; önceki rapor olduğu gibi duruyor.\n\n")
                                 + e.message(),
                             {}, app::MessageIcon::Warning);
        QApplication::setOverrideCursor(Qt::WaitCursor); // for the guard to put back
        return false;
    }
    // The stored rows read again and the totals drawn are shown with the
    // rest of the report, once, when the action is over.
    const ui::PaintOnce paintOnce(c_.owner);
    app::RefreshData(v_.DataRapor);
    DrawTotals();
    return true;
}

void WorkReport::Build()
{
    // The grid shows the rows as they arrive; the rest of the window is not
    // drawn again for each list the report reads.
    ui::ShowingProgress progress(c_.owner);
    // Emptying the table and writing the new rows are one change of the store.
    auto rapor = store::Connection::Open(v_.DataRapor.DatabaseName());
    store::Transaction transaction(*rapor);
    rapor->Execute(QStringLiteral("DELETE FROM Rapor"));
    app::RefreshData(v_.DataRapor);
    app::RefreshData(v_.DataSiparis);

    const QDate day = c_.DTPicker1->date();
    const bool monthly = c_.Frame1->title().contains(QStringLiteral("Aylık"), Qt::CaseSensitive);
    const QString period = PeriodCondition(day, monthly);
    if (!sums_)
        sums_ = store::Connection::Open(v_.DataGörev.DatabaseName());

    for (int i = 0; i < 4; ++i) {
        const QString kind = QString::fromUtf8(store::JobKinds()[size_t(i)].code);
        const QString kindCondition = QStringLiteral("Görev=") + store::SqlText(kind) + (i == 0 ? kNotDeliveries : QString());
        app::RefreshData(v_.DataElaman);
        v_.DataGörev.setRecordSource(QStringLiteral("Select * From Montaj Where ") + kindCondition + period
                                     + QStringLiteral(" Order By Eleman Asc"));
        app::RefreshData(v_.DataGörev);

        for (v_.DataElaman.MoveFirst(); !v_.DataElaman.EOF(); v_.DataElaman.MoveNext()) {
            const QString staff = v_.DataElaman.Field(1).toString();
            const QString done = QStringLiteral(" And Tamam=True And Iptal=False");
            const double sum = sums_
                                   ->Scalar(QStringLiteral("Select Sum(Kalan) FROM Montaj Where Eleman=")
                                            + store::SqlText(staff) + done + QStringLiteral(" And ") + kindCondition
                                            + period)
                                   .toDouble();
            if (sum == 0)
                continue;
            // Every row of the view is of the kind and the period; saying so lets
            // the engine look at those rows only instead of all the member's jobs.
            v_.DataGörev.FindFirst(QStringLiteral("Eleman=") + store::SqlText(staff) + done + QStringLiteral(" And ")
                                   + kindCondition + period);
            const QString customer = v_.DataGörev.NoMatch() ? QString() : v_.DataGörev.Field(QStringLiteral("Unvan")).toString();
            v_.DataRapor.AddNew();
            v_.DataRapor.setField(0, v_.DataElaman.Field(0));
            v_.DataRapor.setField(1, kind);
            v_.DataRapor.setField(2, sum);
            v_.DataRapor.setField(3, customer);
            v_.DataRapor.Update();
            KindTotals[size_t(i)] += sum;
            progress.Step(); // clicks wait for the end
        }
    }
    transaction.Commit();
}

void WorkReport::DrawTotals()
{
    print::Surface& s = Picture1->surface();
    const auto total = [this](int i) { return QStringLiteral(": ") + print::GroupedCountText(KindTotals[size_t(i)]); };
    s.setCurrentY(60);
    s.setCurrentX(0);
    s.PrintStaying(QStringLiteral(" Montaj  "));
    const double a = s.CurrentX();
    s.Print(total(0));
    s.PrintStaying(QStringLiteral(" Servis"));
    s.setCurrentX(a);
    s.Print(total(1));

    s.setCurrentY(60);
    s.setCurrentX(3000);
    const double w = s.TextWidth(QStringLiteral("Paket Teslim  "));
    s.PrintStaying(QStringLiteral("Keşif"));
    s.setCurrentX(3000 + w);
    s.Print(total(2));
    s.setCurrentX(3000);
    s.PrintStaying(QStringLiteral("Paket Teslim"));
    s.setCurrentX(3000 + w);
    s.PrintStaying(total(3));
    Picture1->setWidthTwips(s.CurrentX() + 120);
    Picture1->update();
}

void WorkReport::PrintReportList()
{
    reports::PrintReportList({c_.owner, v_.DataRapor, c_.Frame1->title(), Picture1});
}

} // namespace reports
