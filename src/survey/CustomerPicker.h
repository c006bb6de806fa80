#pragma once

#include <QObject>
#include <QString>

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace store { class RecordView; }
namespace ui { class DataList; }

namespace survey {

// The customer block of the entry dialog: seven boxes (name, address, city,
// work telephone, home telephone, mobile number, note), the list of cards
// whose name begins with the typed text, and the lookup that fills the boxes
// from the card when the name box is left.
//
// It is handed the dialog's controls and views: `matches` is the dialog's
// view the list shows, `cards` the main window's view of every card.
class CustomerPicker : public QObject {
public:
    enum Box { Name, Address, City, WorkPhone, HomePhone, Mobile, Note, BoxCount };

    CustomerPicker(const std::array<QLineEdit*, 6>& boxes, QPlainTextEdit* note, ui::DataList* list,
                   store::RecordView& matches, store::RecordView& cards, QPushButton* confirm);

    // The text of a box (the note's too).
    QString Text(int box) const;
    void SetText(int box, const QString& text);

    // The name changed: the cards in use whose name begins with it; the list
    // offers them unless the first one is exactly the name typed.
    void Search();
    // Looks the typed name up among every card (name, account code, Turkish
    // upper and lower case) and fills the boxes from the card found; false
    // when there is none (a new customer).
    bool LookUp();
    // The list's current entry becomes the name, and the focus moves on so
    // the lookup fills the other boxes.
    void TakeListEntry();

    // The search of a name among the cards in use, in name order.
    static QString SearchSource(const QString& typed);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool BoxKey(int box, QObject* watched, QEvent* e);
    void ShowList();
    int IndexOf(const QObject* o) const;

    std::array<QLineEdit*, 6> boxes_;
    QPlainTextEdit* note_;
    ui::DataList* list_;
    store::RecordView& matches_;
    store::RecordView& cards_;
    QPushButton* confirm_;
};

} // namespace survey
