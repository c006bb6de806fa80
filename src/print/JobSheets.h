#pragma once

#include <QString>

#include <array>

class QDateEdit;
class QPushButton;
class QWidget;

namespace store {
class RecordView;
}

namespace print {

// The record views of the board that the job sheets read and fill.
struct JobSheetViews {
    store::RecordView& DataGörev;    // the board's jobs; its current row names the staff member
    store::RecordView& DataGörevTmp; // gets the sheet's job query
    store::RecordView& DataTmp;      // gets the order lines up to the board day
    store::RecordView& DataCari;     // customer cards
    store::RecordView& DataYazTmp;   // counts a customer's jobs
    store::RecordView& DataSiparis;  // whose store DataTmp takes over
};

// The board's controls the job sheets use.
struct JobSheetControls {
    QWidget* owner = nullptr;              // the main window
    std::array<QPushButton*, 3> Command1{}; // "&Çıkış", "&Tüm Yazdır", "Tek &Yazdır"
    QWidget* MrFrame = nullptr;             // while a report panel is open, the buttons do nothing
    QWidget* Frame1 = nullptr;
    const QDateEdit* DTPicker1 = nullptr;   // the board day
    const QString* BoardDateText = nullptr; // the same day as a date literal
};

// The installers' job sheets: for the board day, every open job except
// package deliveries, grouped by customer with the customer's address,
// telephones and note, each job with its order number, kind, product and
// quantity, and the customer's balance after its last job.
class JobSheets {
public:
    JobSheets(const JobSheetViews& views, const JobSheetControls& controls);

    // A click on "&Tüm Yazdır" (1) or "Tek &Yazdır" (2): nothing while a
    // report panel is open; otherwise the button turns green and the printout
    // runs; both print buttons are yellow when it ends.
    void Click(int index);

    // The sheet of the staff member of the board's current job.
    void PrintJobSheet();
    // The sheets of every staff member of the day, each on pages of its own.
    void PrintAllJobSheets();

private:
    void Run(bool all);
    void SetButtonColours(int green);

    JobSheetViews v_;
    JobSheetControls c_;
};

} // namespace print
