// The order grid: marking lines, the filter, deleting own lines, and job
// creation from the marked lines.
#include "board/CustomerDetail.h"
#include "board/MainWindow.h"
#include "board/QuickSearch.h"
#include "board/StatusReport.h"
#include "board/ViewHelpers.h"

#include "app/Pause.h"
#include "app/Prompt.h"
#include "app/Refresh.h"
#include "app/SharedState.h"
#include "app/Sound.h"
#include "search/FindDialog.h"
#include "store/BatchCounter.h"
#include "store/JobKinds.h"
#include "store/Sql.h"
#include "store/StoreAction.h"
#include "store/StoreError.h"
#include "ui/DataCombo.h"
#include "ui/DataGrid.h"
#include "ui/DatePicker.h"
#include "ui/Painting.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace board {


void MainWindow::Guarded(const std::function<void()>& action)
{
    try {
        action();
    } catch (const store::StoreError& e) {
        Status->Failed(e);
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Warning);
    }
}

bool MainWindow::InOneAction(const std::function<void()>& work)
{
    try {
        store::StoreAction action({app::StorePaths::Local(paths_.jobs()), app::StorePaths::Local(paths_.orders())});
        work();
        action.Commit();
        return true;
    } catch (const store::StoreError& e) {
        // The action is rolled back whole: the views may still show rows
        // that are no longer stored, so the board is read again. The board
        // shows behind the message also where the action held its repaints.
        ui::PaintOnce::LetDraw(this);
        Status->Failed(e);
        app::Prompt::Message(this, e.message() + QStringLiteral("\n\nİşlem yapılmadı; kayıtlar değişmedi."), {},
                             app::MessageIcon::Warning);
        ReloadBoardLists();
        return false;
    }
}

void MainWindow::connectOrderGrid()
{
    StokDataGrid->setTipText(QStringLiteral(" Ara Çubuğu Seçim "));
    connect(StokDataGrid, &ui::DataGrid::focusGained, this, [this] {
        ActiveView = &DataSiparis;
        ActiveGrid = StokDataGrid;
        StokDataGrid->setHighlight(DataSiparis.RecordCount() > 0);
        Command1[2]->setEnabled(false);
        StokDataGrid->setTipText(QStringLiteral(" Ara Çubuğu Seçim "));
    });
    connect(StokDataGrid, &ui::DataGrid::focusLost, this, [this] { StokDataGrid->setHighlight(false); });
    connect(StokDataGrid, &ui::DataGrid::cellClick, this, [this] {
        CellClicked = true;
        StokDataGrid->setTipText(QString());
        const int col = StokDataGrid->Col();
        if (col >= 0)
            Check1->setToolTip(QLatin1Char(' ') + StokDataGrid->Column(col).caption.trimmed()
                               + QLatin1Char(' '));
        // Ctrl with the left button copies the clicked cell.
        if (lastClickModifiers_ == Qt::ControlModifier) {
            QClipboard* clip = QApplication::clipboard();
            clip->clear();
            clip->setText(StokDataGrid->Text());
        }
    });
    // Before the sort that the heading click triggers.
    connect(StokDataGrid, &ui::DataGrid::headClick, this, [this](int) { CellClicked = false; });
    connect(StokDataGrid, &ui::DataGrid::cellDoubleClick, this, [this] {
        const auto mods = lastClickModifiers_;
        Guarded([&] {
            if ((mods & Qt::ControlModifier) && (mods & Qt::AltModifier))
                ResetMarkedLines();
            else if (StokDataGrid->Highlight() && CellClicked && StokDataGrid->Col() == 0)
                ToggleOrderLineMark();
        });
    });
    connect(StokDataGrid, &ui::DataGrid::selectionChanging, this, [](bool* cancel) { *cancel = true; });
    connect(StokDataGrid, &ui::DataGrid::mouseDown, this, &MainWindow::OrderGridMouseDown);
    connect(StokDataGrid, &ui::DataGrid::keyDown, this, [this](int key, Qt::KeyboardModifiers, bool* consume) {
        Guarded([&] { OrderGridKey(key, consume); });
    });

    connect(Command2, &QPushButton::clicked, this, [this] { Guarded([this] { CreateJobs(); }); });
    connect(Check1, &QCheckBox::toggled, this, [this](bool on) { Guarded([&] { FilterToggled(on); }); });
    connect(Notu, &QAction::triggered, this, [this] { Guarded([this] { EditNote(); }); });
    connect(Sil, &QAction::triggered, this, [this] { Guarded([this] { DeleteEntry(); }); });

    // The order search, the customer detail and the quick search.
    connect(Bul, &QAction::triggered, this,
            [this] { Guarded([this] { search::FindDialog::Show(this, DataSiparis, StokDataGrid); }); });
    auto* detail = new CustomerDetail(DetayFrm, DetayDBGrid, DataDetay, DataSiparis, CurrentKind);
    connect(Detay, &QAction::triggered, this, [this, detail] { Guarded([detail] { detail->Open(); }); });
    new QuickSearch(Text1, DataSiparis, StokDataGrid);
}

void MainWindow::OrderGridMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    // The click and double click that follow act on the keys held at the press.
    lastClickModifiers_ = modifiers;
    if (button != Qt::RightButton || !StokDataGrid->Highlight())
        return;
    Bul->setVisible(true);
    Detay->setVisible(true);
    Notu->setVisible(true);
    Sil->setVisible(CurrentKind == QStringLiteral("Kesif"));
    Dosya->popup(QCursor::pos());
}

void MainWindow::OrderGridKey(int key, bool* consume)
{
    if (key != Qt::Key_Delete || !HasRow(DataSiparis))
        return;
    const QString sipNo = DataSiparis.Field(QStringLiteral("SipNo")).toString();
    // Only lines entered in this program (survey and service lines) may go.
    if (!sipNo.startsWith(QLatin1Char('X')))
        return;
    *consume = true;
    try {
        DataSiparis.Delete();
        if (DataSiparis.EOF() && DataSiparis.RecordCount() > 0)
            DataSiparis.MoveLast();
    } catch (const store::StoreError& e) {
        Status->Failed(e);
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Warning);
        return;
    }
    Status->LineDeleted(sipNo);
    app::Sound::Play(QStringLiteral("\\Recycle.wav"));
    StokDataGrid->setHighlight(DataSiparis.RecordCount() > 0);
}

void MainWindow::FirstLetterSearch(const QString& typed)
{
    const int col = StokDataGrid->Col();
    if ((col != 6 && col != 7) || typed.isEmpty() || !typed.at(0).isPrint() || !HasRow(DataSiparis))
        return;
    const QString criteria = (col == 6 ? QStringLiteral("CariAdi") : QStringLiteral("StokAdi"))
        + QStringLiteral(" Like ") + store::SqlText(store::LikeTypedText(typed.left(1)) + QLatin1Char('*'));
    try {
        DataSiparis.FindNext(criteria);
        if (DataSiparis.NoMatch())
            DataSiparis.FindFirst(criteria);
    } catch (const store::StoreError&) {
    }
}

void MainWindow::ToggleOrderLineMark()
{
    if (!HasRow(DataSiparis))
        return;
    try {
        const QString sipNo = DataSiparis.Field(QStringLiteral("SipNo")).toString();
        if (DataGörevTmp.RecordCount() > 0) {
            // Any job of the kind still planned for the line keeps it off,
            // not only the first one found.
            DataGörevTmp.FindFirst(Criteria("SipNo", sipNo) + QStringLiteral(" And Tamam=False And Iptal=False"));
            if (!DataGörevTmp.NoMatch()) {
                Status->MarkRefused(sipNo, QStringLiteral("planlanmış bir %1 görevi var")
                                               .arg(QString::fromUtf8(store::KindByCode(CurrentKind).display)));
                return;
            }
            DataGörevTmp.FindFirst(Criteria("SipNo", sipNo));
            if (!DataGörevTmp.NoMatch()) {
                const bool done = DataGörevTmp.Field(QStringLiteral("Tamam")).toBool();
                const double doneQty = DataGörevTmp.Field(QStringLiteral("Kalan")).toDouble();
                const double qty = DataGörevTmp.Field(QStringLiteral("Adet")).toDouble();
                // A line goes back on the list only after its job was
                // cancelled or, for installation and delivery, done in part.
                if ((done && doneQty == qty)
                    || (done && (CurrentKind == QStringLiteral("Servis")
                                 || CurrentKind == QStringLiteral("Kesif")))) {
                    Status->MarkRefused(sipNo, QStringLiteral("görevi tamamlandı"));
                    return;
                }
            }
        }
        DataSiparis.Edit();
        const bool wasMarked = DataSiparis.Field(QStringLiteral("Sec")).toString() == QStringLiteral("X");
        if (wasMarked) {
            DataSiparis.setField(QStringLiteral("Sec"), QString());
            if (DataSiparis.Field(QStringLiteral("Görev")).toString() == QStringLiteral("Kesif"))
                DataSiparis.setField(QStringLiteral("StokAdi"), QString());
        } else {
            DataSiparis.setField(QStringLiteral("Sec"), QStringLiteral("X"));
        }
        DataSiparis.Update();
        Status->Marked(sipNo, !wasMarked);
    } catch (const store::StoreError& e) {
        if (DataSiparis.Editing())
            DataSiparis.CancelUpdate();
        Status->Failed(e);
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Warning);
    }
}

void MainWindow::CreateJobs()
{
    const QString staff = DBCombo1->isVisible() ? DBCombo1->Text() : QString();
    const QDate day = DTPicker1->date();
    const store::JobKind& kind = store::KindByCode(CurrentKind);
    QString firstSipNo;
    int made = 0;

    // The loop below moves the order list and the job list once per line:
    // the grids follow and the window repaints once, when the work is done.
    const ui::DataGrid::HoldFollowing holdOrders(StokDataGrid), holdJobs(GörevGrid), holdStaff(DBGrid2);
    const ui::PaintOnce paintOnce(this);

    bool newForDay = true;
    try {
        if (DataSipEleman.RecordCount() > 0) {
            DataSipEleman.FindFirst(Criteria("Eleman", staff));
            newForDay = DataSipEleman.NoMatch();
        }
    } catch (const store::StoreError&) {
    }

    app::SuppressListSync = true;
    DataSiparis.setRecordSource(QStringLiteral("Select * From Siparisler Where Sec='X' Order By SipNo Asc"));
    app::RefreshData(DataSiparis);
    // The first earlier job of each line is asked of the job store directly,
    // in the order a view of every job of the kind would have (the order they
    // were added, this action's own jobs included): reading the keys of all
    // such jobs first, tens of thousands, cost more than the lines' look-ups.
    // The new jobs are added through the board's job view, which the reload
    // below reads again.
    if (!DataGörev.IsOpen())
        app::RefreshData(DataGörev);
    const QString earlierJob = QStringLiteral("Select Kalan From Montaj Where Görev=") + store::SqlText(CurrentKind)
        + QStringLiteral(" And SipNo=");

    // The number is taken from the store each time, so the survey dialog's
    // numbers and the board's never collide; it is taken inside the action,
    // so an action that fails uses none up.
    const bool stored = InOneAction([&] {
        LastRecNo = store::TakeBatchNumber(app::StorePaths::Local(paths_.jobs()));
        bool first = true;
        for (DataSiparis.MoveFirst(); !DataSiparis.EOF(); DataSiparis.MoveNext()) {
            const QString sipNo = DataSiparis.Field(QStringLiteral("SipNo")).toString();
            if (first && newForDay) {
                firstSipNo = sipNo;
                bool registered = false;
                if (DataSipEleman.RecordCount() > 0) {
                    DataSipEleman.FindFirst(Criteria("Eleman", staff) + QStringLiteral(" And ")
                                            + Criteria("SipNo", sipNo));
                    registered = !DataSipEleman.NoMatch();
                }
                if (!registered) {
                    DataSipEleman.AddNew();
                    DataSipEleman.setField(0, sipNo);
                    DataSipEleman.setField(1, staff);
                    DataSipEleman.setField(2, day);
                    DataSipEleman.setField(4, LastRecNo);
                    DataSipEleman.Update();
                }
            }
            first = false;

            store::Connection* jobs = DataGörev.connection();
            if (!jobs)
                throw store::StoreError(QStringLiteral("İş kayıtları açılamadı."));
            const double earlierDone =
                jobs->Scalar(earlierJob + store::SqlText(sipNo) + QStringLiteral(" Order By rowid")).toDouble();
            const double lineQty = DataSiparis.Field(14).toDouble();

            DataGörev.AddNew();
            DataGörev.setField(0, staff);
            DataGörev.setField(1, CurrentKind);
            DataGörev.setField(2, day);
            // A job never has less than nothing to do.
            DataGörev.setField(5, std::max(0.0, CurrentKind == QStringLiteral("Servis") ? earlierDone
                                                                                      : lineQty - earlierDone));
            DataGörev.setField(3, sipNo);
            DataGörev.setField(6, LastRecNo);
            DataGörev.setField(7, DataSiparis.Field(0));
            DataGörev.setField(8, DataSiparis.Field(QStringLiteral("CariAdi")));
            DataGörev.setField(10, DataSiparis.Field(QStringLiteral("StokAdi")));
            DataGörev.setField(12, DataSiparis.Field(QStringLiteral("Not")));
            DataGörev.Update();

            DataSiparis.Edit();
            DataSiparis.setField(24, QString());
            DataSiparis.setField(25, CurrentKind);
            DataSiparis.setField(26, staff);
            DataSiparis.setField(kind.orderFlagPosition, true);
            DataSiparis.Update();
            ++made;
        }
    });

    // ReloadBoardLists gives the order list its board query again and reads
    // it: refreshing the marked lines first would be read and thrown away.
    app::SuppressListSync = true;
    if (stored)
        app::Sound::Play(QStringLiteral("\\Cmd.wav"));
    ReloadBoardLists();
    if (stored && made == 0)
        Status->NothingMarked();
    else if (stored)
        Status->JobsCreated(made, QString::fromUtf8(kind.display), staff, day, LastRecNo);
    GörevGrid->setFocus();
    try {
        DataGörev.FindFirst(Criteria("SipNo", firstSipNo));
    } catch (const store::StoreError&) {
    }
}

void MainWindow::FilterToggled(bool on)
{
    if (on) {
        SourceLbl->setText(DataSiparis.RecordSource());
        const int col = StokDataGrid->Col();
        const QVariant value = StokDataGrid->Value();
        const QString text = value.toString();
        const QString day = store::DateLiteral(value.toDateTime().date());
        QString source;
        switch (col) {
        case 1:
            source = QStringLiteral("Select * From Siparisler Where SipTarih=") + day
                + QStringLiteral(" Order By SipNo Asc");
            break;
        case 2:
            source = QStringLiteral("Select * From Siparisler Where TesTarih=") + day
                + QStringLiteral(" And Görev=") + store::SqlText(CurrentKind)
                + QStringLiteral(" And KalAdet>0 And StokKod<>'' Order By SipNo Asc");
            break;
        case 6:
            source = QStringLiteral("Select * From Siparisler Where CariAdi=") + store::SqlText(text)
                + QStringLiteral(" Order By SipNo Asc");
            break;
        case 7:
            source = QStringLiteral("Select * From Siparisler Where StokAdi=") + store::SqlText(text)
                + QStringLiteral(" Order By SipNo Asc");
            break;
        case 9:
            source = QStringLiteral("Select * From Siparisler Where Eleman=") + store::SqlText(text)
                + QStringLiteral(" Order By SipNo Asc");
            break;
        default:
            break;
        }
        // A date column on a line without that date cannot filter either.
        if (source.isEmpty() || ((col == 1 || col == 2) && !value.toDateTime().isValid())) {
            Check1->setChecked(false); // runs the untick below
            return;
        }
        DataSiparis.setRecordSource(source);
    } else if (!SourceLbl->text().isEmpty()) {
        DataSiparis.setRecordSource(SourceLbl->text());
    }
    for (QWidget* w : {static_cast<QWidget*>(Option1[0]), static_cast<QWidget*>(Option1[1]),
                       static_cast<QWidget*>(Option1[2]), static_cast<QWidget*>(Option1[3]),
                       static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command3),
                       static_cast<QWidget*>(Command4)})
        w->setEnabled(!on);
    app::RefreshData(DataSiparis);
    StokDataGrid->setFocus();
}

void MainWindow::ResetMarkedLines()
{
    // The reset is a Ctrl+Alt double click; it starts once Ctrl is let go.
    for (int waited = 0; waited < 3000 && (QApplication::queryKeyboardModifiers() & Qt::ControlModifier);
         waited += 20)
        app::PauseProcessingEvents(20);
    app::RefreshData(DataSiparis);
    InOneAction([this] {
        for (DataSiparis.MoveFirst(); !DataSiparis.EOF(); DataSiparis.MoveNext()) {
            if (DataSiparis.Field(QStringLiteral("Sec")).toString() != QStringLiteral("X"))
                continue;
            DataSiparis.Edit();
            if (DataSiparis.Field(QStringLiteral("Görev")).toString() == QStringLiteral("Kesif"))
                DataSiparis.setField(QStringLiteral("StokAdi"), QString());
            DataSiparis.setField(24, QString());
            DataSiparis.setField(25, QString());
            DataSiparis.setField(26, QString());
            DataSiparis.Update();
        }
    });
    app::RefreshData(DataSiparis);
}

} // namespace board
