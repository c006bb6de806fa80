// The day board: refilling the lists for a kind and a day, and the kind buttons.
#include "board/MainWindow.h"
#include "board/StatusReport.h"
#include "board/ViewHelpers.h"

#include "app/Look.h"
#include "app/Pause.h"
#include "app/Prompt.h"
#include "app/Refresh.h"
#include "app/SharedState.h"
#include "app/Sound.h"
#include "store/Connection.h"
#include "store/JobKinds.h"
#include "store/Sql.h"
#include "store/StoreError.h"
#include "ui/DataCombo.h"
#include "ui/DataGrid.h"
#include "ui/DatePicker.h"
#include "ui/Painting.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace board {

void MainWindow::ReloadBoardLists()
{
    // Four lists are read again, from one state of the stores: the window is
    // drawn once, at the end, and each grid moves to its view's row once
    // instead of to the last row and back for every refresh. The grids are
    // let go while the lists still do not follow one another.
    const ui::PaintOnce paintOnce(this);
    const store::ReadSnapshot oneState(DataSiparis.connection());
    app::SuppressListSync = true;
    {
        const ui::DataGrid::HoldFollowing holdOrders(StokDataGrid), holdJobs(GörevGrid), holdStaff(DBGrid2);
        BoardDateText = store::DateLiteral(DTPicker1->date());

        DataSiparis.setRecordSource(QStringLiteral("Select * From Siparisler Where SipTarih<=")
                                    + BoardDateText
                                    + QString::fromUtf8(store::KindByCode(CurrentKind).orderFilter)
                                    + QStringLiteral(" Order By SipNo Desc"));
        app::RefreshData(DataSiparis);

        DataSipEleman.setRecordSource(QStringLiteral("Select * From ") + CurrentKind
                                      + QStringLiteral(" Where Iptal=False And Tarih=") + BoardDateText
                                      + QStringLiteral(" Order By SipNo Asc"));
        app::RefreshData(DataSipEleman);

        // The staff picker offers the first staff member of the day, or the first
        // staff card when nobody works that day. It shows names, so the card's name
        // is taken (not its account code): jobs are assigned by name.
        try {
            if (DataSipEleman.RecordCount() > 0) {
                DBCombo1->setText(DataSipEleman.Field(1).toString());
            } else if (DataElaman.RecordCount() > 0) {
                DataElaman.MoveFirst();
                DBCombo1->setText(DataElaman.Field(QStringLiteral("Unvan")).toString());
            }
        } catch (const store::StoreError&) {
        }

        DataGörev.setRecordSource(QStringLiteral("Select * From Montaj Where Tarih=") + BoardDateText
                                  + QStringLiteral(" And Görev=") + store::SqlText(CurrentKind)
                                  + QStringLiteral(" Order By Eleman Asc"));
        app::RefreshData(DataGörev);

        DataGörevTmp.setRecordSource(QStringLiteral("Select * From Montaj Where Görev=")
                                     + store::SqlText(CurrentKind) + QStringLiteral(" Order By SipNo Asc"));
        app::RefreshData(DataGörevTmp);
    }
    app::SuppressListSync = false;
}

void MainWindow::ShowChosenKind()
{
    // A clicked radio button is checked before the click is handled; put the
    // check back on the kind in force.
    for (int i = 0; i < 4; ++i)
        if (CurrentKind == QString::fromUtf8(store::JobKinds()[i].code))
            Option1[i]->setChecked(true);
}

void MainWindow::ChooseKind(int index)
{
    if (MrFrame->isVisible() || Frame1->isVisible()) {
        ShowChosenKind();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        store::Connection::Open(DataSiparis.DatabaseName())
            ->Execute(QStringLiteral("UPDATE Siparisler SET Sec='' WHERE Sec='X'"));
    } catch (const store::StoreError& e) {
        // Without the order store the kind cannot change; the board stays as
        // it is, and so does its button: "Görev Ekle" makes jobs of the kind shown.
        QApplication::restoreOverrideCursor();
        ShowChosenKind();
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Critical);
        return;
    }
    app::PauseProcessingEvents(1000);
    app::RefreshData(DataSiparis);
    QApplication::restoreOverrideCursor();

    CurrentKind = QString::fromUtf8(store::JobKinds()[index].code);
    Option1[index]->setChecked(true);
    const bool delivery = CurrentKind == QStringLiteral("Paket");
    Command1[1]->setEnabled(!delivery);
    Command1[2]->setEnabled(!delivery);
    GörevGrid->setColumnVisible(5, !delivery);

    app::RefreshData(DataSiparis);

    DataDetay.setRecordSource(QStringLiteral("Select * From Montaj Where Görev=")
                              + store::SqlText(CurrentKind) + QStringLiteral(" And Tarih=")
                              + BoardDateText + QStringLiteral(" Order By SipNo Asc"));
    app::RefreshData(DataDetay);

    if (index == 2) {
        Command3->setStyleSheet(app::ColouredButtonStyle(0, 255, 0));
        Command3->setText(QStringLiteral("Yeni Kayıt"));
    } else {
        Command3->setStyleSheet(app::ColouredButtonStyle(255, 255, 0));
        Command3->setText(QStringLiteral("Rapor"));
    }

    app::Sound::Play(QStringLiteral("\\Cmd.wav"));
    ReloadBoardLists();
    Status->KindChosen(QString::fromUtf8(store::JobKinds()[index].display));
}

void MainWindow::RereadOrderLines()
{
    // The user refreshes to see what others wrote, not to lose their place.
    QString sipNo;
    const int position = DataSiparis.AbsolutePosition();
    Try([&] {
        if (HasRow(DataSiparis))
            sipNo = DataSiparis.Field(QStringLiteral("SipNo")).toString();
    });
    app::RefreshData(DataSiparis);
    Try([&] {
        if (DataSiparis.RecordCount() == 0 || sipNo.isEmpty())
            return;
        DataSiparis.FindFirst(Criteria("SipNo", sipNo));
        if (DataSiparis.NoMatch())
            DataSiparis.setAbsolutePosition(qMin(position, DataSiparis.RecordCount() - 1));
    });
    Status->OrderLinesReread(DataSiparis.RecordCount());
}

} // namespace board
