#include "board/QuickSearch.h"

#include "app/TurkishCase.h"
#include "store/RecordView.h"
#include "store/Sql.h"
#include "store/StoreError.h"
#include "ui/DataGrid.h"
#include "ui/FocusReason.h"

#include <QLineEdit>

namespace board {

namespace {

const QString kResting = QStringLiteral(" Kayıt Bul");

} // namespace

QuickSearch::QuickSearch(QLineEdit* box, store::RecordView& orders, ui::DataGrid* orderGrid)
    : QObject(box)
    , box_(box)
    , orders_(orders)
    , grid_(orderGrid)
{
    setObjectName(QStringLiteral("QuickSearch"));
    box_->setText(kResting);
    box_->installEventFilter(this);
    connect(box_, &QLineEdit::textChanged, this, &QuickSearch::TextChanged);
}

bool QuickSearch::Find(const QString& text)
{
    const QString upper = app::TurkishUpperForm(text), lower = app::TurkishLowerForm(text);
    // The stores compare text without regard to Turkish case, so a lower-case
    // form that differs from the upper-case one only in case finds nothing the
    // upper-case one missed: it is not searched again, which spares a
    // keystroke that finds nothing two passes over every line.
    const bool lowerAdds = app::TurkishLowerForm(upper) != lower;
    const struct {
        const char* field;
        const QString& value;
        bool search;
    } tries[] = {
        {"SipNo", text, true},   {"CariAdi", upper, true}, {"CariAdi", lower, lowerAdds},
        {"StokAdi", upper, true}, {"StokAdi", lower, lowerAdds},
    };
    for (const auto& t : tries) {
        if (!t.search)
            continue;
        orders_.FindFirst(QString::fromLatin1(t.field) + QStringLiteral(" Like ")
                          + store::SqlText(store::LikeTypedText(t.value) + QLatin1Char('*')));
        if (!orders_.NoMatch())
            return true;
    }
    return false;
}

void QuickSearch::TextChanged(const QString& text)
{
    if (text.isEmpty() || text == kResting)
        return;
    bool found = false;
    try {
        found = Find(text);
    } catch (const store::StoreError&) {
        // A list that cannot be searched just stays where it is.
    }
    grid_->setHighlight(found);
}

bool QuickSearch::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == box_ && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut)) {
        if (ui::FocusMovedByUser(e))
            box_->setText(e->type() == QEvent::FocusIn ? QString() : kResting);
    }
    return QObject::eventFilter(watched, e);
}

} // namespace board
