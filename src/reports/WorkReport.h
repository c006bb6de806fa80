#pragma once

#include <QDate>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QDateEdit;
class QGroupBox;
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

// The record views of the main window the work report reads and writes.
struct WorkReportViews {
    store::RecordView& DataRapor;   // the work table "Rapor" of the report store
    store::RecordView& DataGörev;   // the board's jobs; holds the report's job query while it runs
    store::RecordView& DataElaman;  // the staff cards, by name
    store::RecordView& DataSiparis; // the board's order lines, read again with the report
};

struct WorkReportControls {
    QWidget* owner = nullptr;          // the main window
    QGroupBox* Frame1 = nullptr;       // the panel; its caption says the period
    ui::DataGrid* RapDBGrid = nullptr; // the report rows
    QPushButton* Command3 = nullptr;   // "Rapor" (yellow) or "Yeni Kayıt" (green)
    const QDateEdit* DTPicker1 = nullptr;   // the board day
    const QString* CurrentKind = nullptr;   // the board's kind
    const QString* BoardDateText = nullptr; // the board day as a date literal
};

// The period condition of the work report for the day's month or the day
// alone, every day from 00:00:00 to 23:59:59:
// " And Tarih>=#02/01/2028 00:00:00# And Tarih<=#02/29/2028 23:59:59#".
QString PeriodCondition(const QDate& day, bool monthly);
// The panel's captions: " Aralık Aylık Raporu ", " 07/Aralık/2026 Pazartesi Günlük Raporu ".
QString MonthlyCaption(const QDate& day);
QString DailyCaption(const QDate& day);

// The work-report panel: for the board day's month or the day alone, the
// units each staff member did of each kind, one row per staff member and kind
// in "Rapor" (the staff card's account code, the kind, the sum of the done
// quantities, the customer of the first such job), and the four kind totals
// drawn in Picture1. It builds its buttons and picture into the panel.
class WorkReport : public QObject {
public:
    WorkReport(const WorkReportViews& views, const WorkReportControls& controls);
    ~WorkReport() override;

    // "Rapor": the panel for the board day's month. "Yeni Kayıt": the new
    // survey record action, when one is set.
    void Command3Click();
    // 0 "Çıkış", 1 "Yazdır", 2 "Aylık", 3 "Günlük".
    void RapCmdClick(int index);

    // Empties "Rapor" and writes the report of the period the caption names,
    // in one transaction. False when the store refused: the user has been
    // told, and the previous report is as it was.
    bool BuildWorkReport();
    void PrintReportList();

    // What the green "Yeni Kayıt" mode of Command3 opens (the survey entry).
    void setNewRecordAction(std::function<void()> action) { newRecord_ = std::move(action); }

    std::array<QPushButton*, 4> RapCmd{};
    PictureBox* Picture1 = nullptr;
    std::array<double, 4> KindTotals{}; // "Montaj", "Servis", "Kesif", "Paket"

private:
    void Build();
    void DrawTotals();

    WorkReportViews v_;
    WorkReportControls c_;
    std::function<void()> newRecord_;
    std::shared_ptr<store::Connection> sums_; // opened once, kept for the window's life
    bool building_ = false;
};

} // namespace reports
