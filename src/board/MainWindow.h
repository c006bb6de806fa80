#pragma once

#include "app/StorePaths.h"
#include "store/RecordView.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;
class QSplitter;

namespace print {
class JobSheets;
} // namespace print

namespace reports {
class OpenJobsPanel;
class WorkReport;
} // namespace reports

namespace ui {
class DataCombo;
class DataGrid;
class DatePicker;
} // namespace ui

namespace board {

class StatusReport;

// The day board: for one day and one job kind, the order lines open for that
// kind, the staff working that day and the day's jobs. Holds every record view
// of the board and the report panels for the window's lifetime.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Reads the settings, builds the store paths, binds the record views and
    // reads the staff list and the batch counter. On a missing or unreadable
    // store it tells the user which file and returns false; the program then
    // ends cleanly.
    bool Load();
    // The first activation builds the board; later activations change nothing.
    void Activate();
    bool Activated() const;

    void ReloadBoardLists();
    void ChooseKind(int index);
    // F5: the order lines read again, the current line kept where it still exists.
    void RereadOrderLines();

    // Order lines and job creation.
    void ToggleOrderLineMark();
    void CreateJobs();
    void FilterToggled(bool on);
    void ResetMarkedLines();

    // Job grid editing.
    void ToggleJobState(int position);
    void DeleteEntry();
    void EditNote();

    // Board state, shared with the other parts of the window.
    QString CurrentKind;
    QString BoardDateText;
    double LastRecNo = 0;
    bool CellClicked = false;
    store::RecordView* ActiveView = nullptr;
    ui::DataGrid* ActiveGrid = nullptr;
    const app::StorePaths& paths() const { return paths_; }
    // The status bar: what the last action did, in words.
    std::unique_ptr<StatusReport> Status;

    // Record views of the window.
    store::RecordView DataRec{QStringLiteral("DataRec")};
    store::RecordView DataGörev{QStringLiteral("DataGörev")};
    store::RecordView DataGörevTmp{QStringLiteral("DataGörevTmp")};
    store::RecordView DataDetay{QStringLiteral("DataDetay")};
    store::RecordView DataMr{QStringLiteral("DataMr")};
    store::RecordView DataRapor{QStringLiteral("DataRapor")};
    store::RecordView DataElaman{QStringLiteral("DataElaman")};
    store::RecordView DataCari{QStringLiteral("DataCari")};
    store::RecordView DataMüsteri{QStringLiteral("DataMüsteri")};
    store::RecordView DataSipEleman{QStringLiteral("DataSipEleman")};
    store::RecordView DataSiparis{QStringLiteral("DataSiparis")};
    store::RecordView DataYazTmp{QStringLiteral("DataYazTmp")};
    store::RecordView DataTmp{QStringLiteral("DataTmp")};

    // Controls, named as the window's interface names them.
    std::array<QRadioButton*, 4> Option1{};
    std::array<QPushButton*, 3> Command1{};
    ui::DatePicker* DTPicker1 = nullptr;
    ui::DatePicker* DTPicker2 = nullptr;
    ui::DataGrid* StokDataGrid = nullptr;
    ui::DataGrid* GörevGrid = nullptr;
    ui::DataGrid* DBGrid2 = nullptr;
    ui::DataGrid* DBGrid1 = nullptr;
    ui::DataGrid* RapDBGrid = nullptr;
    ui::DataGrid* DetayDBGrid = nullptr;
    ui::DataCombo* DBCombo1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QLineEdit* Text1 = nullptr;
    QGroupBox* DetayFrm = nullptr;
    QGroupBox* MrFrame = nullptr;
    QGroupBox* Frame1 = nullptr;
    QMenu* Dosya = nullptr;
    QAction* Bul = nullptr;
    QAction* Detay = nullptr;
    QAction* Notu = nullptr;
    QAction* Sil = nullptr;
    QLabel* SourceLbl = nullptr;
    // Between the order grid and the job grid; the user gives rows to either.
    QSplitter* BoardSplitter = nullptr;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildControls();
    void buildFrames();
    void placeFrames();
    void connectBoard();
    void bindStore(store::RecordView& view, const QString& path);
    void PickStaffFromList();
    void ShowChosenKind();
    void connectOrderGrid();
    void connectJobGrid();
    void OrderGridKey(int key, bool* consume);
    void OrderGridMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void FirstLetterSearch(const QString& typed);
    void JobGridKey(const QString& typed, int key);
    void JobGridFocusGained();
    void JobGridRowChanged();
    void JobGridMouseDown(Qt::MouseButton button);
    bool JobQuantityAcceptable(const QString& text) const;
    void StoreJobQuantity();
    void CapLockedQuantity();
    void DeleteSurveyEntry();
    void DeleteJob();
    // Deleting a job: the spare view on the jobs matching a condition, the
    // staff member of a line's latest job of a kind, the day row that goes
    // with a staff member's last job, and the order line put back.
    store::RecordView& SpareJobView(const QString& where);
    std::optional<QString> LatestJobStaff(const QString& sipNo, const QString& kind);
    void RemoveDayRowAfterLastJob(const QString& staff);
    void RestoreOrderLine(const QString& sipNo, const QString& batch);
    void FollowJobInOrderList();
    // Runs a change of the job and order stores as one store::StoreAction:
    // stored whole, or rolled back whole with a message saying so.
    bool InOneAction(const std::function<void()>& work);
    // Runs a handler; a store error ends the action with a message instead of
    // escaping into the event loop.
    void Guarded(const std::function<void()>& action);
    // Heading sorts, layout saving, hover highlight, keeping on the screen (GridWiring.cpp).
    void WireHelpers();
    void LoadGridLayouts();

    app::StorePaths paths_;
    std::unique_ptr<print::JobSheets> jobSheets_; // "&Tüm Yazdır" and "Tek &Yazdır"
    std::unique_ptr<reports::WorkReport> workReport_; // "Rapor" / "Yeni Kayıt" and the panel Frame1
    std::unique_ptr<reports::OpenJobsPanel> openJobs_; // "Yapılacak" and the panel MrFrame
    Qt::KeyboardModifiers lastClickModifiers_;
    bool loaded_ = false;
    bool activating_ = false; // the first activation runs once, even when events arrive inside it
};

} // namespace board
