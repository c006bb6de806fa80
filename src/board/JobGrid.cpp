// The job grid: done and cancelled, the quantity done, notes and deleting.
#include "board/MainWindow.h"
#include "board/StatusReport.h"
#include "board/ViewHelpers.h"

#include "app/Prompt.h"
#include "app/Refresh.h"
#include "app/SharedState.h"
#include "app/Sound.h"
#include "store/JobKinds.h"
#include "store/Sql.h"
#include "store/StoreError.h"
#include "ui/DataGrid.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace board {

namespace {

bool ParseQuantity(QString text, double* value)
{
    text = text.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = text.toDouble(&ok);
    ok = ok && std::isfinite(v); // "inf" and "nan" are not quantities
    if (ok && value)
        *value = v;
    return ok;
}

} // namespace

void MainWindow::connectJobGrid()
{
    connect(GörevGrid, &ui::DataGrid::focusGained, this, &MainWindow::JobGridFocusGained);
    connect(GörevGrid, &ui::DataGrid::focusLost, this, [this] { GörevGrid->setHighlight(false); });
    connect(GörevGrid, &ui::DataGrid::rowChanged, this, &MainWindow::JobGridRowChanged);
    connect(GörevGrid, &ui::DataGrid::selectionChanging, this, [](bool* cancel) { *cancel = true; });
    connect(GörevGrid, &ui::DataGrid::cellDoubleClick, this, [this] {
        Guarded([this] {
            if (!HasRow(DataGörev))
                return;
            const int col = GörevGrid->Col();
            if (col == 4 && !DataGörev.Field(QStringLiteral("Iptal")).toBool())
                ToggleJobState(4);
            else if (col == 5 && !DataGörev.Field(QStringLiteral("Tamam")).toBool())
                ToggleJobState(9);
        });
    });
    connect(GörevGrid, &ui::DataGrid::mouseDown, this, [this](Qt::MouseButton button, Qt::KeyboardModifiers) {
        Guarded([&] { JobGridMouseDown(button); });
    });
    connect(GörevGrid, &ui::DataGrid::beforeColUpdate, this,
            [this](int col, const QVariant&, const QString& text, bool* cancel) {
                if (col == 7 && !JobQuantityAcceptable(text)) {
                    *cancel = true; // the previous value comes back, without a message box
                    Status->NumberRefused(text);
                }
            });
    connect(GörevGrid, &ui::DataGrid::afterColUpdate, this, [this](int col) {
        if (col == 7)
            StoreJobQuantity();
    });
    connect(GörevGrid, &ui::DataGrid::beforeUpdate, this, [this](bool*) { CapLockedQuantity(); });
}

void MainWindow::JobGridFocusGained()
{
    ActiveView = &DataGörev;
    ActiveGrid = GörevGrid;
    const bool rows = DataGörev.RecordCount() > 0;
    GörevGrid->setHighlight(rows);
    if (rows && HasRow(DataGörev) && DataSiparis.RecordCount() > 0)
        Try([this] { DataSiparis.FindFirst(Criteria("SipNo", DataGörev.Field(QStringLiteral("SipNo")).toString())); });
    Command1[2]->setEnabled(rows);
}

void MainWindow::JobGridRowChanged()
{
    if (!app::SuppressListSync)
        FollowJobInOrderList();
}

void MainWindow::FollowJobInOrderList()
{
    Try([this] {
        if (DataSiparis.RecordCount() == 0 || !HasRow(DataGörev))
            return;
        DataSiparis.FindFirst(Criteria("SipNo", DataGörev.Field(QStringLiteral("SipNo")).toString()));
        StokDataGrid->setHighlight(!DataSiparis.NoMatch());
    });
}

void MainWindow::JobGridKey(const QString& typed, int key)
{
    if (!HasRow(DataGörev))
        return;
    static const QString cancelKeys = QStringLiteral("iIıİ");
    const bool doneKey = key == Qt::Key_T || typed == QStringLiteral("t") || typed == QStringLiteral("T");
    // 222 is the dotted-i key of the Turkish Q keyboard.
    const bool cancelKey = key == Qt::Key_I || key == 222 || (typed.size() == 1 && cancelKeys.contains(typed));
    try {
        if (doneKey && !DataGörev.Field(QStringLiteral("Iptal")).toBool())
            ToggleJobState(4);
        else if (cancelKey && !DataGörev.Field(QStringLiteral("Tamam")).toBool())
            ToggleJobState(9);
    } catch (const store::StoreError& e) {
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Warning);
    }
}

void MainWindow::JobGridMouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton || !GörevGrid->Highlight() || !HasRow(DataGörev))
        return;
    Bul->setVisible(false);
    Detay->setVisible(false);
    Notu->setVisible(false);
    Sil->setVisible(true);
    if (!DataGörev.Field(QStringLiteral("Tamam")).toBool() && !DataGörev.Field(QStringLiteral("Iptal")).toBool())
        Dosya->popup(QCursor::pos());
}

void MainWindow::ToggleJobState(int position)
{
    if (!HasRow(DataGörev) || !HasRow(DataSiparis))
        return;
    const QString sipNo = DataGörev.Field(QStringLiteral("SipNo")).toString();
    // The order list follows the job grid; a job whose line is not there, or
    // that has a later job of its kind, stays as it is.
    if (DataSiparis.Field(QStringLiteral("SipNo")).toString() != sipNo) {
        Status->JobStateRefused(sipNo, QStringLiteral("sipariş satırı listede değil"));
        return;
    }
    if (DataGörevTmp.RecordCount() > 0) {
        DataGörevTmp.FindFirst(Criteria("SipNo", sipNo) + QStringLiteral(" And Tarih>") + BoardDateText);
        if (!DataGörevTmp.NoMatch()) {
            Status->JobStateRefused(sipNo, QStringLiteral("aynı sipariş için sonraki bir günde görev var"));
            return;
        }
    }
    try {
        DataGörev.Edit();
        bool done = DataGörev.Field(4).toBool();
        bool cancelled = DataGörev.Field(9).toBool();
        if (position == 4 && !cancelled) {
            done = !done;
            DataGörev.setField(4, done);
            if (done && DataGörev.Field(11).toDouble() == 0)
                DataGörev.setField(11, DataGörev.Field(5));
            if (!done)
                DataGörev.setField(11, 0.0);
        }
        if (position == 9 && !done) {
            cancelled = !cancelled;
            DataGörev.setField(9, cancelled);
            if (cancelled)
                DataGörev.setField(11, 0.0);
        }
        GörevGrid->setLocked(7, done || cancelled);
        DataGörev.Update();
        Status->JobStateChanged(sipNo, DataGörev.Field(QStringLiteral("Unvan")).toString(), done, cancelled);
    } catch (const store::StoreError& e) {
        if (DataGörev.Editing())
            DataGörev.CancelUpdate();
        Status->Failed(e);
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Warning);
    }
}

bool MainWindow::JobQuantityAcceptable(const QString& text) const
{
    double quantity = 0;
    return ParseQuantity(text, &quantity) && quantity >= 0;
}

void MainWindow::StoreJobQuantity()
{
    double quantity = 0;
    if (!HasRow(DataGörev) || !ParseQuantity(GörevGrid->Text(), &quantity))
        return;
    // More than the job's quantity is never stored, locked cell or not: the
    // next job of the line gets what is left. A service job's quantity counts
    // earlier work rather than work to do, so it caps nothing.
    const double typed = quantity;
    if (CurrentKind != QStringLiteral("Servis"))
        quantity = std::min(quantity, DataGörev.Field(QStringLiteral("Adet")).toDouble());
    try {
        DataGörev.Edit();
        DataGörev.setField(QStringLiteral("Kalan"), quantity);
        DataGörev.Update();
        Status->QuantityStored(DataGörev.Field(QStringLiteral("SipNo")).toString(), quantity, quantity < typed);
    } catch (const store::StoreError& e) {
        if (DataGörev.Editing())
            DataGörev.CancelUpdate();
        Status->Failed(e);
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Warning);
    }
}

void MainWindow::CapLockedQuantity()
{
    // A locked done quantity never exceeds the job's quantity.
    Try([this] {
        if (CurrentKind != QStringLiteral("Montaj") || !GörevGrid->Column(7).locked || !HasRow(DataGörev))
            return;
        const double quantity = DataGörev.Field(QStringLiteral("Adet")).toDouble();
        double done = 0;
        if (ParseQuantity(GörevGrid->CellText(7), &done) && quantity < done)
            GörevGrid->setCellText(7, QString::number(quantity));
    });
}

void MainWindow::EditNote()
{
    if (!HasRow(DataSiparis))
        return;
    const QString current = DataSiparis.Field(QStringLiteral("Not")).toString();
    const std::optional<QString> answer =
        app::Prompt::Input(this, QStringLiteral("Not Girin"), QStringLiteral("Not Girişi"), current);
    // Cancelling keeps the note; only an answer emptied on purpose clears it.
    if (!answer)
        return;
    const QString note = answer->left(200);
    const QString sipNo = DataSiparis.Field(QStringLiteral("SipNo")).toString();
    const bool stored = InOneAction([&] {
        DataSiparis.Edit();
        DataSiparis.setField(QStringLiteral("Not"), note);
        DataSiparis.Update();
        if (DataDetay.RecordCount() > 0) {
            DataDetay.FindFirst(Criteria("SipNo", sipNo));
            if (!DataDetay.NoMatch()) {
                DataDetay.Edit();
                DataDetay.setField(QStringLiteral("Not"), note);
                DataDetay.Update();
            }
        }
    });
    if (stored)
        Status->NoteStored(sipNo, note.isEmpty());
}

void MainWindow::DeleteEntry()
{
    if (CurrentKind == QStringLiteral("Kesif") && ActiveGrid == StokDataGrid) {
        // From the order list the job that counts is the survey job of the
        // line being deleted, not whatever job the job grid happens to show.
        if (!HasRow(DataSiparis))
            return;
        if (DataGörevTmp.RecordCount() > 0) {
            DataGörevTmp.FindFirst(Criteria("SipNo", DataSiparis.Field(QStringLiteral("SipNo")).toString())
                                   + QStringLiteral(" And (Tamam=True Or Iptal=True)"));
            if (!DataGörevTmp.NoMatch()) {
                Status->NothingDeleted(DataSiparis.Field(QStringLiteral("SipNo")).toString(),
                                       QStringLiteral("keşif görevi tamamlanmış ya da iptal edilmiş"));
                return;
            }
        }
        DeleteSurveyEntry();
        return;
    }
    // Done and cancelled jobs stay on record.
    if (!HasRow(DataGörev))
        return;
    if (DataGörev.Field(QStringLiteral("Tamam")).toBool() || DataGörev.Field(QStringLiteral("Iptal")).toBool()) {
        Status->NothingDeleted(DataGörev.Field(QStringLiteral("SipNo")).toString(),
                               QStringLiteral("tamamlanan ya da iptal edilen görev silinmez"));
        return;
    }
    if (CurrentKind == QStringLiteral("Kesif"))
        DeleteSurveyEntry();
    else
        DeleteJob();
}

store::RecordView& MainWindow::SpareJobView(const QString& where)
{
    DataTmp.setDatabaseName(app::StorePaths::Local(paths_.jobs()));
    DataTmp.setRecordSource(QStringLiteral("Select * From Montaj Where ") + where);
    DataTmp.Refresh();
    return DataTmp;
}

std::optional<QString> MainWindow::LatestJobStaff(const QString& sipNo, const QString& kind)
{
    store::RecordView& jobs = SpareJobView(Criteria("SipNo", sipNo) + QStringLiteral(" And ") + Criteria("Görev", kind)
                                           + QStringLiteral(" Order By Tarih Desc, RecNo Desc"));
    std::optional<QString> staff;
    if (HasRow(jobs))
        staff = jobs.Field(QStringLiteral("Eleman")).toString();
    jobs.Close();
    return staff;
}

void MainWindow::RemoveDayRowAfterLastJob(const QString& staff)
{
    // The registration belongs to the staff member, not to the batch that
    // made it: it goes with their last job of the day and kind.
    store::RecordView& jobs = SpareJobView(Criteria("Görev", CurrentKind) + QStringLiteral(" And ")
                                           + Criteria("Eleman", staff) + QStringLiteral(" And Tarih=") + BoardDateText);
    const bool otherJobs = jobs.RecordCount() > 0;
    jobs.Close();
    if (otherJobs)
        return;
    while (DataSipEleman.RecordCount() > 0) {
        DataSipEleman.FindFirst(Criteria("Eleman", staff));
        if (DataSipEleman.NoMatch())
            return;
        DataSipEleman.Delete();
    }
}

void MainWindow::RestoreOrderLine(const QString& sipNo, const QString& batch)
{
    if (DataSiparis.RecordCount() == 0)
        return;
    DataSiparis.FindFirst(Criteria("SipNo", sipNo));
    if (DataSiparis.NoMatch())
        return;
    // The line goes back to what it was before the deleted job was made:
    // while another job of its kind remains, the line stays that job's.
    const std::optional<QString> remaining = LatestJobStaff(sipNo, CurrentKind);
    const std::optional<QString> installer = !remaining && CurrentKind == QStringLiteral("Servis")
        ? LatestJobStaff(sipNo, QStringLiteral("Montaj"))
        : std::nullopt;
    DataSiparis.Edit();
    if (remaining) {
        DataSiparis.setField(25, CurrentKind);
        DataSiparis.setField(26, *remaining);
        DataSiparis.setField(store::KindByCode(CurrentKind).orderFlagPosition, true);
    } else if (CurrentKind == QStringLiteral("Montaj")) {
        DataSiparis.setField(25, QString());
        DataSiparis.setField(26, QString());
        DataSiparis.setField(27, false);
        DataSiparis.setField(28, false);
    } else if (CurrentKind == QStringLiteral("Servis")) {
        // Back to its installation, and to its installer.
        DataSiparis.setField(25, QStringLiteral("Montaj"));
        if (installer)
            DataSiparis.setField(26, *installer);
        DataSiparis.setField(28, false);
    } else if (CurrentKind == QStringLiteral("Kesif")) {
        DataSiparis.setField(26, QString());
        DataSiparis.setField(29, false);
    } else if (CurrentKind == QStringLiteral("Paket")) {
        DataSiparis.setField(25, QString());
        DataSiparis.setField(30, false);
    }
    DataSiparis.Update();

    if (CurrentKind != QStringLiteral("Montaj"))
        return;
    // A service job made in the installation's batch goes with it, and so
    // does the service registration of that batch.
    store::RecordView& service = SpareJobView(QStringLiteral("Tarih=") + BoardDateText + QStringLiteral(" And RecNo=")
                                              + batch + QStringLiteral(" And Görev='Servis'"));
    const bool found = service.RecordCount() > 0;
    if (found)
        service.Delete();
    service.Close();
    if (!found)
        return;
    DataSipEleman.setRecordSource(QStringLiteral("Select * From Servis Where RecNo=") + batch);
    DataSipEleman.Refresh();
    if (DataSipEleman.RecordCount() > 0) {
        DataSipEleman.MoveFirst();
        DataSipEleman.Delete();
    }
}

void MainWindow::DeleteSurveyEntry()
{
    const bool fromOrderList = ActiveGrid == StokDataGrid;
    QString sipNo;
    bool jobFound = false;
    if (fromOrderList) {
        sipNo = DataSiparis.Field(QStringLiteral("SipNo")).toString();
        if (DataGörev.RecordCount() > 0) {
            DataGörev.FindFirst(Criteria("SipNo", sipNo));
            jobFound = !DataGörev.NoMatch();
        }
    } else {
        sipNo = DataGörev.Field(QStringLiteral("SipNo")).toString();
        jobFound = true;
    }
    const QString staff = jobFound ? DataGörev.Field(QStringLiteral("Eleman")).toString() : QString();
    const QString customer = jobFound ? DataGörev.Field(QStringLiteral("Unvan")).toString() : QString();

    const bool stored = InOneAction([&] {
        if (fromOrderList) {
            DataSiparis.Delete();
            StayInside(DataSiparis);
        }
        if (!jobFound)
            return;
        DataGörev.Delete();
        StayInside(DataGörev);
        if (!fromOrderList)
            RestoreOrderLine(sipNo, QString());
        RemoveDayRowAfterLastJob(staff);
    });
    // The lists are not reloaded after a survey entry is deleted.
    if (stored && fromOrderList)
        Status->LineDeleted(sipNo);
    else if (stored)
        Status->JobDeleted(sipNo, customer);
    if (stored)
        app::Sound::Play(QStringLiteral("\\Recycle.wav"));
}

void MainWindow::DeleteJob()
{
    // Everything below acts on the job the user chose (the job grid's current
    // row) and on its own batch, day row and order line.
    const QString sipNo = DataGörev.Field(QStringLiteral("SipNo")).toString();
    const QString staff = DataGörev.Field(QStringLiteral("Eleman")).toString();
    const QString customer = DataGörev.Field(QStringLiteral("Unvan")).toString();
    const QString batch = QString::number(DataGörev.Field(QStringLiteral("RecNo")).toDouble(), 'f', 0);
    const QString dayJobs = QStringLiteral("Select * From Montaj Where Tarih=") + BoardDateText;

    if (CurrentKind == QStringLiteral("Montaj")) {
        store::RecordView& service = SpareJobView(QStringLiteral("Tarih=") + BoardDateText
                                                  + QStringLiteral(" And Görev='Servis' And ") + Criteria("SipNo", sipNo));
        const bool serviceFirst = service.RecordCount() > 0;
        service.Close();
        if (serviceFirst) {
            Status->NothingDeleted(sipNo, QStringLiteral("önce servis görevini silin"));
            app::Prompt::Message(this, QStringLiteral("Önce Servisini Silin...."));
            DataGörev.setRecordSource(dayJobs + QStringLiteral(" And Görev='Montaj' Order By SipNo Asc"));
            app::RefreshData(DataGörev);
            Try([&] { DataGörev.FindFirst(Criteria("SipNo", sipNo) + QStringLiteral(" And Görev='Montaj'")); });
            app::SuppressListSync = true;
            app::RefreshData(DataGörev);
            app::SuppressListSync = false;
            StokDataGrid->setFocus();
            return;
        }
    }

    // The order list must not follow the job grid while rows go.
    app::SuppressListSync = true;
    const bool stored = InOneAction([&] {
        DataGörev.Delete();
        StayInside(DataGörev);
        RemoveDayRowAfterLastJob(staff);
        RestoreOrderLine(sipNo, batch);
    });
    app::SuppressListSync = false;
    StokDataGrid->setFocus();
    // A deletion that was rolled back has already said so and re-read the board.
    if (stored) {
        ReloadBoardLists();
        Status->JobDeleted(sipNo, customer);
        app::Sound::Play(QStringLiteral("\\Recycle.wav"));
    }
}

} // namespace board
