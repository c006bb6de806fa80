#include "board/CustomerDetail.h"
#include "board/ViewHelpers.h"

#include "app/Refresh.h"
#include "app/SharedState.h"
#include "store/RecordView.h"
#include "store/Sql.h"
#include "ui/DataGrid.h"
#include "ui/FocusReason.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace board {

CustomerDetail::CustomerDetail(QGroupBox* frame, ui::DataGrid* grid, store::RecordView& detail,
                               store::RecordView& orders, const QString& currentKind)
    : QObject(frame)
    , frame_(frame)
    , grid_(grid)
    , detail_(detail)
    , orders_(orders)
    , currentKind_(currentKind)
{
    setObjectName(QStringLiteral("CustomerDetail"));
    DetayLbl = new QLabel(frame);
    DetayLbl->setObjectName(QStringLiteral("DetayLbl"));
    QFont bold = DetayLbl->font();
    bold.setBold(true);
    DetayLbl->setFont(bold);

    auto* row = new QHBoxLayout;
    row->addWidget(DetayLbl, 1);
    const char* captions[] = {"İptal", "Tamam", "Tümü"};
    for (int i = 0; i < 3; ++i) {
        Option2[i] = new QRadioButton(QString::fromUtf8(captions[i]), frame);
        Option2[i]->setObjectName(QStringLiteral("Option2(%1)").arg(i));
        connect(Option2[i], &QRadioButton::clicked, this, [this, i] { Filter(i); });
        row->addWidget(Option2[i]);
    }
    Option2[2]->setChecked(true);
    DetayCmd = new QPushButton(QStringLiteral("Kapat"), frame);
    DetayCmd->setObjectName(QStringLiteral("DetayCmd"));
    DetayCmd->installEventFilter(this);
    connect(DetayCmd, &QPushButton::clicked, this, &CustomerDetail::Close);
    row->addSpacing(12);
    row->addWidget(DetayCmd);
    if (auto* box = qobject_cast<QBoxLayout*>(frame->layout()))
        box->insertLayout(0, row);

    // Below the kind buttons and the day, over the lists.
    frame->move(frame->x(), 60);

    // The highlight shows whenever the list has rows, focus or not; the user
    // never selects in it.
    connect(&detail_, &store::RecordView::refreshed, this, &CustomerDetail::ShowHighlight);
    connect(&detail_, &store::RecordView::currentChanged, this, &CustomerDetail::ShowHighlight);
    connect(grid_, &ui::DataGrid::selectionChanging, this, [](bool* cancel) { *cancel = true; });
}

QString CustomerDetail::CustomerCode() const
{
    return orders_.Field(QStringLiteral("CariKod")).toString();
}

void CustomerDetail::ShowHighlight()
{
    grid_->setHighlight(detail_.RecordCount() > 0);
}

void CustomerDetail::Open()
{
    if (!HasRow(orders_))
        return;
    if (!Option2[2]->isChecked()) {
        Option2[2]->setChecked(true);
        Filter(2);
    }
    detail_.setRecordSource(QStringLiteral("Select * From Montaj Where CariKod=") + store::SqlText(CustomerCode())
                            + QStringLiteral(" Order By SipNo Asc"));
    app::RefreshData(detail_);
    if (HasRow(detail_))
        DetayLbl->setText(detail_.Field(QStringLiteral("Unvan")).toString());

    frame_->show();
    frame_->raise();
    app::SuppressListSync = true;
    grid_->setFocus(Qt::OtherFocusReason);
}

void CustomerDetail::Filter(int index)
{
    if (!HasRow(orders_))
        return;
    const QString tail = index == 0 ? QStringLiteral(" And Iptal=True")
                       : index == 1 ? QStringLiteral(" And Tamam=True")
                                    : QString();
    detail_.setRecordSource(QStringLiteral("Select * From Montaj Where Görev=") + store::SqlText(currentKind_)
                            + QStringLiteral(" And CariKod=") + store::SqlText(CustomerCode()) + tail
                            + QStringLiteral("  Order By SipNo, Tarih Asc"));
    app::RefreshData(detail_);
}

void CustomerDetail::Close()
{
    app::SuppressListSync = false;
    frame_->hide();
}

bool CustomerDetail::eventFilter(QObject* watched, QEvent* e)
{
    // While the frame is open, leaving "Kapat" leads back into the list, not
    // out to the board behind the frame.
    if (watched == DetayCmd && e->type() == QEvent::FocusOut && ui::FocusMovedByUser(e) && app::SuppressListSync
        && frame_->isVisible())
        QMetaObject::invokeMethod(
            this, [this] { if (frame_->isVisible()) grid_->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
    return QObject::eventFilter(watched, e);
}

} // namespace board
