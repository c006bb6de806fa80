#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace store { class RecordView; }
namespace ui { class DataGrid; }

namespace board {

// The quick-search box " Kayıt Bul" over the order list: on every change of
// its text the list moves to the first line whose order number, else customer
// name, else product name begins with it, the names tried in both Turkish
// letter cases. Entering the box empties it; leaving it puts the resting text
// back.
class QuickSearch : public QObject {
    Q_OBJECT
public:
    QuickSearch(QLineEdit* box, store::RecordView& orders, ui::DataGrid* orderGrid);

    // Moves the list for a text; false when no line matched.
    bool Find(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void TextChanged(const QString& text);

    QLineEdit* box_;
    store::RecordView& orders_;
    ui::DataGrid* grid_;
};

} // namespace board
