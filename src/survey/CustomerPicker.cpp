#include "survey/CustomerPicker.h"

#include "app/Refresh.h"
#include "app/TurkishCase.h"
#include "app/TurkishKeyFilter.h"
#include "store/RecordView.h"
#include "store/Sql.h"
#include "store/StoreError.h"
#include "ui/DataList.h"
#include "ui/FocusReason.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace survey {

namespace {

// The card field each box is filled from, by position in "CariKartlar".
constexpr std::array<int, 6> kCardPosition{1, 3, 4, 2, 24, 20};
constexpr int kNoteLength = 200;

bool IsEnter(const QKeyEvent* k)
{
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

// Moves the focus on as a Tab typed into the control would.
void SendTab(QWidget* from)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(from, &tab);
}

} // namespace

CustomerPicker::CustomerPicker(const std::array<QLineEdit*, 6>& boxes, QPlainTextEdit* note,
                               ui::DataList* list, store::RecordView& matches, store::RecordView& cards,
                               QPushButton* confirm)
    : QObject(list->parentWidget())
    , boxes_(boxes)
    , note_(note)
    , list_(list)
    , matches_(matches)
    , cards_(cards)
    , confirm_(confirm)
{
    setObjectName(QStringLiteral("CustomerPicker"));
    const int lengths[] = {50, 50, 50, 11, 11, 11};
    for (int i = 0; i < 6; ++i) {
        boxes_[i]->setMaxLength(lengths[i]);
        // The telephone boxes take digits only; the others capitalise names.
        // The picker's own filter goes on last, so it sees a key first.
        if (i < WorkPhone)
            app::TurkishKeyFilterHook::Install(boxes_[i]);
        boxes_[i]->installEventFilter(this);
        connect(boxes_[i], &QLineEdit::textChanged, this, [this] {
            confirm_->setEnabled(!boxes_[Name]->text().isEmpty());
        });
    }
    connect(boxes_[Name], &QLineEdit::textChanged, this, &CustomerPicker::Search);

    app::TurkishKeyFilterHook::Install(note_);
    note_->installEventFilter(this);
    connect(note_, &QPlainTextEdit::textChanged, this, [this] {
        confirm_->setEnabled(!boxes_[Name]->text().isEmpty());
        // A paste may bring more than the box holds; the rest is cut off.
        const QString t = note_->toPlainText();
        if (t.size() > kNoteLength) {
            note_->setPlainText(t.left(kNoteLength));
            note_->moveCursor(QTextCursor::End);
        }
    });

    list_->bind(&matches_, QStringLiteral("Unvan"));
    list_->hide();
    connect(list_, &ui::DataList::entryClicked, this, &CustomerPicker::TakeListEntry);
    connect(list_, &ui::DataList::focusLost, list_, &QWidget::hide);
    confirm_->setEnabled(!boxes_[Name]->text().isEmpty());
}

QString CustomerPicker::SearchSource(const QString& typed)
{
    return QStringLiteral("Select * From CariKartlar Where HesKullan=False And Unvan Like ")
           + store::SqlText(store::LikeTypedText(typed) + QLatin1Char('*'))
           + QStringLiteral(" Order By Unvan ASC");
}

QString CustomerPicker::Text(int box) const
{
    return box == Note ? note_->toPlainText() : boxes_[size_t(box)]->text();
}

void CustomerPicker::SetText(int box, const QString& text)
{
    if (box == Note)
        note_->setPlainText(text);
    else
        boxes_[size_t(box)]->setText(text);
}

void CustomerPicker::Search()
{
    list_->hide();
    const QString typed = boxes_[Name]->text();
    matches_.setRecordSource(SearchSource(typed));
    app::RefreshData(matches_);
    if (matches_.RecordCount() == 0)
        return;
    QString first;
    try {
        first = matches_.ValueAt(0, 1).toString();
    } catch (const store::StoreError&) {
        return;
    }
    if (first == typed)
        return;
    ShowList();
    list_->setText(first);
}

void CustomerPicker::ShowList()
{
    // Over the boxes below the name, as wide as the name box.
    QWidget* name = boxes_[Name];
    const QPoint top = name->mapTo(list_->parentWidget(), QPoint(0, name->height()));
    const QPoint bottom = note_->mapTo(list_->parentWidget(), QPoint(0, note_->height()));
    list_->setGeometry(top.x(), top.y(), name->width(), std::max(bottom.y() - top.y(), name->height() * 3));
    list_->show();
    list_->raise();
}

bool CustomerPicker::LookUp()
{
    const QString t = boxes_[Name]->text();
    if (t.isEmpty())
        return false;
    const QString criteria[] = {
        QStringLiteral("Unvan=") + store::SqlText(t),
        QStringLiteral("CariKod=") + store::SqlText(t),
        QStringLiteral("Unvan=") + store::SqlText(app::TurkishUpperForm(t)),
        QStringLiteral("Unvan=") + store::SqlText(app::TurkishLowerForm(t)),
    };
    bool found = false;
    try {
        for (const QString& c : criteria) {
            cards_.FindFirst(c);
            if (!cards_.NoMatch()) {
                found = true;
                break;
            }
        }
        if (!found)
            return false;
        std::array<QString, 6> values;
        for (int i = 0; i < 6; ++i)
            values[size_t(i)] = cards_.Field(kCardPosition[size_t(i)]).toString();
        for (int i = 0; i < 6; ++i) {
            // The limit is for typing: a longer value of the card ("0232 734
            // 48 31") is shown whole, or saving would write it back cut.
            QLineEdit* b = boxes_[size_t(i)];
            b->setMaxLength(std::max(b->maxLength(), int(values[size_t(i)].size())));
            b->setText(values[size_t(i)]);
        }
    } catch (const store::StoreError&) {
        // A card that cannot be read is looked for no further: the customer
        // counts as new, and the boxes keep what was typed.
        return false;
    }
    return true;
}

void CustomerPicker::TakeListEntry()
{
    const QString entry = list_->Text();
    if (entry.isEmpty())
        return;
    boxes_[Name]->setText(entry);
    boxes_[Name]->setFocus(Qt::OtherFocusReason);
    // Enter in the name box moves on, and leaving it runs the lookup.
    QApplication::postEvent(boxes_[Name], new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier,
                                                        QStringLiteral("\r")));
}

int CustomerPicker::IndexOf(const QObject* o) const
{
    for (int i = 0; i < 6; ++i)
        if (boxes_[size_t(i)] == o)
            return i;
    return o == note_ ? int(Note) : -1;
}

bool CustomerPicker::eventFilter(QObject* watched, QEvent* e)
{
    const int box = IndexOf(watched);
    if (box < 0)
        return QObject::eventFilter(watched, e);
    return BoxKey(box, watched, e);
}

bool CustomerPicker::BoxKey(int box, QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::FocusIn:
        // After the edit's own handling, which may place the cursor.
        QTimer::singleShot(0, watched, [this, box] {
            if (box == Note)
                note_->selectAll();
            else
                boxes_[size_t(box)]->selectAll();
        });
        return false;
    case QEvent::FocusOut:
        if (box == Name && ui::FocusMovedByUser(e))
            LookUp();
        return false;
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (IsEnter(k)) {
            // Enter moves on, as Tab does; in the note it does nothing.
            if (box != Note)
                SendTab(static_cast<QWidget*>(watched));
            return true;
        }
        if (box == WorkPhone || box == HomePhone || box == Mobile) {
            const QString text = k->text();
            if (text.size() != 1)
                return false; // cursor and editing keys that type nothing
            const QChar c = text.at(0);
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                return false;
            // Backspace and every typed character but a digit are refused;
            // Tab, Esc and the Ctrl shortcuts (copy, paste, undo) type none.
            return c == QLatin1Char('\b') || c.unicode() >= 32;
        }
        if (box == Note && k->text().size() == 1 && k->text().at(0).unicode() >= 32
            && note_->toPlainText().size() >= kNoteLength && !note_->textCursor().hasSelection())
            return true; // the note is full
        return false;
    }
    default:
        return false;
    }
}

} // namespace survey
