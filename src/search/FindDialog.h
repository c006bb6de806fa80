#pragma once

#include "search/FindCriteria.h"
#include "store/RecordView.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace ui { class DataGrid; }

namespace search {

// The order search " Bul": finds an order line by the start of its number,
// its customer's name or its product's name. A search moves the main
// window's order list to the match; with "GENEL ARAMA" ticked it looks
// through every order line of the store and shows the match here, leaving
// the order list where it is.
//
// Modeless and owned by the main window, so the user searches and works in
// the order list side by side. Closing discards it: the next opening starts
// with an empty list of texts and no condition.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    // Brings the owner's open search dialog to the front, or builds a new one.
    static FindDialog* Show(QWidget* owner, store::RecordView& orders, ui::DataGrid* orderGrid);

    FindDialog(QWidget* owner, store::RecordView& orders, ui::DataGrid* orderGrid);
    ~FindDialog() override;

    // Command1(index) clicked: with "GENEL ARAMA" ticked every button runs the
    // general search; otherwise 0 searches, 1 finds the next match, 2 closes.
    void CommandClicked(int index);

    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QCheckBox* GenelChk = nullptr;
    std::array<QPushButton*, 3> Command1{};
    QLabel* Label2 = nullptr;
    QTimer* Timer1 = nullptr;
    QFrame* Frame1 = nullptr;
    QLabel* Label3 = nullptr;
    // Every order line of the store, for the general search.
    store::RecordView Data1{QStringLiteral("Data1")};
    // The condition of the last search; "Tekrar Bul" steps on with it.
    Criteria FindCriteria;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void buildControls();
    void CentreOverOwner();
    void Activated();
    void Search();
    void SearchNext();
    void GeneralSearch();
    void ShowOrderList();
    void NotFound(const QString& t);
    void NoOtherFound(const QString& typed);
    void SearchBoxChanged();
    void SearchBoxLeft();
    bool HandleKey(QObject* watched, int key);

    store::RecordView& orders_;
    ui::DataGrid* orderGrid_;
};

} // namespace search
