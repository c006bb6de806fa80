#pragma once

#include "app/StorePaths.h"
#include "store/RecordView.h"

#include <QDate>
#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace ui { class DataList; }

namespace survey {

class CustomerPicker;

// The survey and service entry " Keşif / Servis": a customer (picked from the
// cards or typed as a new one), survey or service, a record number and a fee.
// "Tamam" stores in one action the card (created or updated), the order line
// "X" + record number that the board then offers for job creation, the fee on
// the customer's account with the year's reference number, and the record
// number as the last one used; or, when anything fails, none of it.
//
// Modal over the main window and discarded when closed: the next opening
// starts afresh with the next record number.
class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // The main window's views: every card (`cards`) and its order list
    // (`orders`), which is refreshed after a line is added. `boardDay` is the
    // day the board shows.
    EntryDialog(QWidget* owner, const app::StorePaths& paths, store::RecordView& cards,
                store::RecordView& orders, const QDate& boardDay);
    ~EntryDialog() override;

    // Opens a new dialog modally over `owner`; `closed` runs when it has gone
    // (saved or not). Returns at once.
    static EntryDialog* Open(QWidget* owner, const app::StorePaths& paths, store::RecordView& cards,
                             store::RecordView& orders, const QDate& boardDay,
                             std::function<void()> closed);

    // KesifCmd(index) clicked: 0 closes without saving, 1 saves and closes.
    void CommandClicked(int index);

    // The record number of the entry.
    double NextRecordNo = 0;

    std::array<QLineEdit*, 6> CariTxt{};  // CariTxt(0) to CariTxt(5)
    QPlainTextEdit* CariTxt6 = nullptr;    // CariTxt(6), the note
    std::array<QLabel*, 7> lblLabels{};
    ui::DataList* dbListe1 = nullptr;
    QLabel* Label1 = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    QLineEdit* Text1 = nullptr;
    QLineEdit* CariText = nullptr;
    std::array<QPushButton*, 2> KesifCmd{};

    store::RecordView Data1{QStringLiteral("Data1")};
    store::RecordView DataRecSay{QStringLiteral("DataRecSay")};
    store::RecordView IndexPrimary{QStringLiteral("IndexPrimary")};
    store::RecordView IndexSecondary{QStringLiteral("IndexSecondary")};

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildControls();
    void Load();
    void KindChosen(int index);
    bool RecordNumberKey(QKeyEvent* k);
    bool FeeKey(QKeyEvent* k);
    void StoreRecordNumber();
    // "RecSay" := number (the first row, or a new one in an empty table).
    void WriteRecordNumber(double number);
    void Confirm();
    // The stored part of "Tamam"; raises StoreError, leaving the stores as
    // they were.
    QString Save(double fee, const QString& sipNo, bool found);
    QString StoreCard(bool found);
    void AddOrderLine(const QString& code, const QString& sipNo);
    void PostFee(double fee);
    bool CodeTaken(const QString& code) const;

    app::StorePaths paths_;
    store::RecordView& cards_;
    store::RecordView& orders_;
    QDate boardDay_;
    CustomerPicker* picker_ = nullptr;
};

} // namespace survey
