#pragma once

#include <QObject>
#include <QString>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace store { class RecordView; }
namespace ui { class DataGrid; }

namespace board {

// The customer detail " Müşteri Detay ": the job history of the current order
// line's customer, shown in a frame over the board. Opening lists the
// customer's jobs of every kind; the options then narrow it to the cancelled,
// the done or all jobs of the current kind. While it is open the job grid
// does not move the order list.
class CustomerDetail : public QObject {
    Q_OBJECT
public:
    // The frame holds the grid bound to the detail view; the options, the
    // name and the close button are added to it here.
    CustomerDetail(QGroupBox* frame, ui::DataGrid* grid, store::RecordView& detail, store::RecordView& orders,
                   const QString& currentKind);

    // For the current order line; nothing without one.
    void Open();
    // Option2(index): 0 cancelled, 1 done, 2 all jobs of the current kind.
    void Filter(int index);
    void Close();

    QLabel* DetayLbl = nullptr;
    std::array<QRadioButton*, 3> Option2{};
    QPushButton* DetayCmd = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QString CustomerCode() const;
    void ShowHighlight();

    QGroupBox* frame_;
    ui::DataGrid* grid_;
    store::RecordView& detail_;
    store::RecordView& orders_;
    const QString& currentKind_;
};

} // namespace board
