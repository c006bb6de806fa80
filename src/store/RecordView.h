#pragma once

#include "store/Connection.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdio>
#include <memory>
#include <vector>

// The C library's EOF macro would swallow RecordView::EOF(). <cstdio> is
// included first so that no later include brings the macro back; code that
// needs the value uses std::char_traits<char>::eof().
#ifdef EOF
#undef EOF
#endif

namespace store {

enum class FieldType { Text, Number, YesNo, DateTime, Other };

// A named view on one store: a record source (a table name or a SELECT in the
// program's dialect), the ordered keys of its result, and a current row.
//
// After Refresh the view holds only the keys of its rows (a keyset) and reads
// the rows it is asked for on demand, so a list of 200,000 order lines costs a
// few megabytes. RecordCount is complete at once. Sources that are not
// "Select * From <table> ..." (aggregates, joins, field lists) are read whole
// and are read-only.
//
// Writes go to the base table; a change is stored when Update returns.
// Errors raise StoreError.
class RecordView : public QObject {
    Q_OBJECT
public:
    explicit RecordView(const QString& name = {}, QObject* parent = nullptr);
    ~RecordView() override;

    void setDatabaseName(const QString& path);
    QString DatabaseName() const { return databaseName_; }
    void setRecordSource(const QString& source);
    QString RecordSource() const { return recordSource_; }

    // Runs the record source again; the current row becomes the first row.
    void Refresh();
    // Forgets the result and the connection (Refresh opens it again).
    void Close();
    bool IsOpen() const;

    int RecordCount() const;
    bool BOF() const;
    bool EOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    // 0-based position of the current row; -1 before the first, RecordCount() past the last.
    int AbsolutePosition() const { return pos_; }
    // A row outside the result stops one past the nearer end (BOF or EOF).
    // Moving to another row forgets a pending Edit or AddNew.
    void setAbsolutePosition(int row);

    // Criteria are the body of a WHERE clause in the dialect. A find searches
    // the view's own rows in the view's order and moves to the match; on no
    // match the current row stays and NoMatch() is true.
    void FindFirst(const QString& criteria);
    void FindNext(const QString& criteria);
    void FindPrevious(const QString& criteria);
    void FindLast(const QString& criteria);
    bool NoMatch() const { return noMatch_; }

    // Fields of the current row (including pending edits).
    QVariant Field(const QString& name) const;
    QVariant Field(int position) const;
    void setField(const QString& name, const QVariant& value);
    void setField(int position, const QVariant& value);

    void Edit();
    void AddNew();
    // Stores the pending Edit or AddNew. A new row joins the end of the view;
    // the current row stays where it was.
    void Update();
    void CancelUpdate();
    bool Editing() const { return editMode_ != EditMode::None; }
    // Deletes the current row; the row after it becomes current (EOF when it
    // was the last).
    void Delete();

    int FieldCount() const;
    QStringList FieldNames() const;
    int FieldIndex(const QString& name) const; // -1 when unknown (case-insensitive)
    FieldType TypeOf(int position) const;
    bool ReadOnly() const { return readOnly_; }

    // Any row of the result, for grids: row in [0, RecordCount()).
    QVariant ValueAt(int row, int position) const;

    // How SQLite runs the statement of the last Refresh (EXPLAIN QUERY PLAN,
    // one step a line): tests check that a list keeps its index.
    QString QueryPlan() const;

    Connection* connection() const { return conn_.get(); }
    const QString& name() const { return name_; }

signals:
    void refreshed();          // new result: everything may have changed
    void currentChanged(int row);
    void rowChanged(int row);  // a stored Edit
    void rowInserted(int row); // a stored AddNew, at the end
    void rowRemoved(int row);

private:
    struct Impl;
    struct Plan;
    void ensureConnection();
    std::unique_ptr<Plan> makePlan() const;
    void load(); // the body of Refresh
    void setPos(int row);
    void findIn(const QString& criteria, int from, int step);
    QVariant readCurrent(int position) const;

    QString name_;
    QString databaseName_;
    QString recordSource_;
    std::shared_ptr<Connection> conn_;
    std::unique_ptr<Impl> d_;
    int pos_ = -1;
    bool noMatch_ = false;
    bool readOnly_ = false;
    enum class EditMode { None, Edit, AddNew } editMode_ = EditMode::None;
};

} // namespace store
