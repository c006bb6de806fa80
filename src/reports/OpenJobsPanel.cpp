#include "reports/OpenJobsPanel.h"

#include "app/Prompt.h"
#include "app/Refresh.h"
#include "app/Sound.h"
#include "print/PageLayout.h"
#include "reports/ListPrintouts.h"
#include "reports/ShortWait.h"
#include "store/Connection.h"
#include "store/JobKinds.h"
#include "store/RecordView.h"
#include "store/Sql.h"
#include "store/StoreError.h"
#include "ui/DataGrid.h"
#include "ui/Painting.h"

#include <QBoxLayout>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace reports {

OpenJobsPanel::OpenJobsPanel(const OpenJobsViews& views, const OpenJobsControls& controls)
    : v_(views)
    , c_(controls)
{
    QGroupBox* frame = c_.MrFrame;
    auto* totals = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        Label2[i] = new QLabel(QString::fromUtf8(store::JobKinds()[size_t(i)].display), frame);
        Label2[i]->setObjectName(QStringLiteral("Label2(%1)").arg(i));
        Label3[i] = new QLabel(QStringLiteral("0"), frame);
        Label3[i]->setObjectName(QStringLiteral("Label3(%1)").arg(i));
        Label3[i]->setMinimumWidth(60);
        totals->addWidget(Label2[i], 0, 2 * i);
        totals->addWidget(Label3[i], 0, 2 * i + 1);
    }
    Label1 = new QLabel(frame);
    Label1->setObjectName(QStringLiteral("Label1"));

    auto* row = new QHBoxLayout;
    row->addLayout(totals);
    row->addWidget(Label1);
    row->addStretch(1);
    const char* captions[] = {"Yazıcı", "Kapat"};
    for (int i = 0; i < 2; ++i) {
        Command5[i] = new QPushButton(QString::fromUtf8(captions[i]), frame);
        Command5[i]->setObjectName(QStringLiteral("Command5(%1)").arg(i));
        Command5[i]->setMinimumHeight(30);
        row->addWidget(Command5[i]);
        connect(Command5[i], &QPushButton::clicked, this, [this, i] { Command5Click(i); });
    }
    if (auto* box = qobject_cast<QBoxLayout*>(frame->layout()))
        box->addLayout(row);

    // The day is changed by the user only while the panel is shown; the
    // window setting it at start fills nothing.
    connect(c_.DTPicker2, &QDateEdit::dateChanged, this, [this] {
        if (c_.MrFrame->isVisible())
            RefreshToDoReport();
    });
    connect(c_.DBGrid1, &ui::DataGrid::selectionChanging, this, [](bool* cancel) { *cancel = true; });
}

OpenJobsPanel::~OpenJobsPanel() = default;

void OpenJobsPanel::Command4Click()
{
    c_.MrFrame->setVisible(!c_.MrFrame->isVisible());
    if (!c_.MrFrame->isVisible())
        return;
    ShortWait();
    c_.MrFrame->raise();
    RefreshToDoReport();
}

void OpenJobsPanel::Command5Click(int index)
{
    if (index == 0) {
        PrintPendingList();
        return;
    }
    // The board's job grid shows the jobs of its kind and day again.
    v_.DataGörev.setRecordSource(QStringLiteral("Select * From Montaj Where Görev=") + store::SqlText(*c_.CurrentKind)
                                 + QStringLiteral(" And Tarih=") + *c_.BoardDateText
                                 + QStringLiteral(" Order By SipNo Asc"));
    app::RefreshData(v_.DataGörev);
    c_.MrFrame->hide();
}

void OpenJobsPanel::RefreshToDoReport()
{
    app::Sound::Play(QStringLiteral("\\Cmd.wav"));
    // The list and the counts are drawn once, together.
    ui::PaintOnce paintOnce(c_.owner);
    const QString day = QStringLiteral(" And Tarih=") + store::DateLiteral(c_.DTPicker2->date());
    v_.DataMr.setRecordSource(QStringLiteral("Select * From Montaj Where Tamam=False") + day
                              + QStringLiteral(" Order By Görev Asc"));
    {
        // The refresh moves the view to its last row and back: the list
        // moves once, to where the view ends.
        const ui::DataGrid::HoldFollowing still(c_.DBGrid1);
        app::RefreshData(v_.DataMr);
    }
    ShortWait();

    // The four counts are read from one state of the store; a count that
    // could not be read is not shown as nothing open.
    QString problem;
    std::array<double, 4> open{};
    try {
        if (!sums_)
            sums_ = store::Connection::Open(v_.DataMr.DatabaseName());
        const store::ReadSnapshot snapshot(sums_.get());
        for (size_t i = 0; i < open.size(); ++i)
            open[i] = sums_
                          ->Scalar(QStringLiteral("Select Sum(Adet) FROM Montaj Where Tamam=False And Görev=")
                                   + store::SqlText(QString::fromUtf8(store::JobKinds()[i].code)) + day)
                          .toDouble();
    } catch (const store::StoreError& e) {
        problem = e.message();
    }
    for (size_t i = 0; i < open.size(); ++i)
        Label3[i]->setText(problem.isEmpty() ? print::CountText(open[i]) : QStringLiteral("?"));
    paintOnce.Release();
    if (!problem.isEmpty())
        app::Prompt::Message(c_.owner, QStringLiteral("Açık iş sayıları okunamadı.\n\n") + problem, {},
                             app::MessageIcon::Warning);
}

void OpenJobsPanel::PrintPendingList()
{
    PendingListSource source{c_.owner, v_.DataMr, c_.MrFrame->title(), {}, c_.Picture1,
                             print::DateText(c_.DTPicker2->date(), QStringLiteral("dd.MM.yyyy"))};
    for (size_t i = 0; i < 4; ++i)
        source.totals[i] = Label3[i]->text();
    reports::PrintPendingList(source);
}

} // namespace reports
