#pragma once

#include <QDate>
#include <QString>

class QStatusBar;

namespace store {
class StoreError;
} // namespace store

namespace board {

// The status bar of the board: one Turkish sentence saying what the last
// action did, or why it did nothing. It only adds words; an action that
// refuses silently still opens no dialog.
class StatusReport {
public:
    explicit StatusReport(QStatusBar* bar);

    void JobsCreated(int count, const QString& kindText, const QString& staff, const QDate& day, double batch);
    void NothingMarked();
    void Marked(const QString& sipNo, bool marked);
    void MarkRefused(const QString& sipNo, const QString& why);
    void JobStateChanged(const QString& sipNo, const QString& customer, bool done, bool cancelled);
    void JobStateRefused(const QString& sipNo, const QString& why);
    void QuantityStored(const QString& sipNo, double quantity, bool capped);
    void NumberRefused(const QString& typed);
    void JobDeleted(const QString& sipNo, const QString& customer);
    void LineDeleted(const QString& sipNo);
    void NothingDeleted(const QString& sipNo, const QString& why);
    void NoteStored(const QString& sipNo, bool cleared);
    void KindChosen(const QString& kindText);
    void OrderLinesReread(int count);
    // A store error that ended an action: a busy store says so and invites a
    // retry; anything else gives the first line of the error's own text.
    void Failed(const store::StoreError& e);

    // Any other sentence.
    void Say(const QString& text);
    QString Text() const;

private:
    QStatusBar* bar_;
};

} // namespace board
