#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <memory>

class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace store {
class Connection;
class RecordView;
} // namespace store
namespace ui {
class DataGrid;
}

namespace reports {

class PictureBox;

struct OpenJobsViews {
    store::RecordView& DataMr;    // the panel's open jobs
    store::RecordView& DataGörev; // the board's jobs, put back by "Kapat"
};

struct OpenJobsControls {
    QWidget* owner = nullptr;        // the main window
    QGroupBox* MrFrame = nullptr;    // the panel
    QDateEdit* DTPicker2 = nullptr;  // the panel's day
    ui::DataGrid* DBGrid1 = nullptr; // the open jobs
    const PictureBox* Picture1 = nullptr;   // the work report's totals, drawn on the printout too
    const QString* CurrentKind = nullptr;   // the board's kind
    const QString* BoardDateText = nullptr; // the board day as a date literal
};

// The open-jobs panel " Montaj Rapor ": the jobs not yet done on the panel's
// day, ordered by kind, and the units still open of each kind. It builds its
// labels and buttons into the panel.
class OpenJobsPanel : public QObject {
public:
    OpenJobsPanel(const OpenJobsViews& views, const OpenJobsControls& controls);
    ~OpenJobsPanel() override;

    // "Yapılacak": shows the panel (and fills it) or hides it.
    void Command4Click();
    // 0 "Yazıcı", 1 "Kapat".
    void Command5Click(int index);
    // Fills the list and the open units for the panel's day.
    void RefreshToDoReport();
    void PrintPendingList();

    std::array<QPushButton*, 2> Command5{};
    std::array<QLabel*, 4> Label2{}; // the kinds
    std::array<QLabel*, 4> Label3{}; // their open units
    QLabel* Label1 = nullptr;

private:
    OpenJobsViews v_;
    OpenJobsControls c_;
    std::shared_ptr<store::Connection> sums_; // opened once, kept for the window's life
};

} // namespace reports
