#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// One open store file. Every record view, statement and aggregate on the same
// file shares one Connection, so a transaction covers all of them.
//
// Opening checks the file and raises StoreError with a Turkish message naming
// it when it is missing, not a database, or still an Access file. Each
// connection has the Turkish case-insensitive collation "TURKISH" (declared on
// the text columns of every store) and a like() that follows the dialect's
// Like: * ? # [..], case-insensitive with Turkish case pairs.
class Connection {
public:
    // The shared connection for a store path. File names are matched without
    // regard to case ("Montaj.Mdb" and "Montaj.mdb" are one file).
    static std::shared_ptr<Connection> Open(const QString& path);
    // A connection for a file that may not exist yet (the demo tool, tests).
    static std::shared_ptr<Connection> Create(const QString& path);

    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

    // A statement in the program's dialect; returns the number of rows changed.
    int Execute(const QString& jetSql);
    // A statement already in SQLite SQL (record layouts, internal work).
    int ExecuteNative(const QString& sql);
    // First field of the single result row; a null QVariant when there is no
    // row or no value (Sum over no rows).
    QVariant Scalar(const QString& jetSql);

    // Transactions nest: only the outermost Begin/Commit reach SQLite.
    void Begin();
    void Commit();
    void Rollback();
    bool InTransaction() const { return depth_ > 0; }

    // The highest rowid deleted from a table through a record view in this
    // session. New rows are numbered above it, so a key that an open view
    // still holds for a deleted row never comes back as another row.
    qint64 RowidFloor(const QString& table) const { return rowidFloor_.value(table, 0); }
    void NoteDeletedRowid(const QString& table, qint64 rowid)
    {
        if (rowid > rowidFloor_.value(table, 0))
            rowidFloor_.insert(table, rowid);
    }

    // Raises StoreError with the engine's message and the file name.
    [[noreturn]] void Fail(const QString& what) const;

    // Finds an existing file whose name matches `path` without regard to
    // case; returns `path` itself when there is none.
    static QString ResolveCaseInsensitive(const QString& path);

private:
    Connection(sqlite3* db, QString path);
    sqlite3* db_ = nullptr;
    QString path_;
    int depth_ = 0;
    bool rollbackOnly_ = false;
    QHash<QString, qint64> rowidFloor_;
};

// Commits on Commit(), rolls back when left without it (an exception on the way).
class Transaction {
public:
    explicit Transaction(Connection& c) : c_(&c) { c_->Begin(); }
    ~Transaction() { if (c_) { try { c_->Rollback(); } catch (...) {} } }
    // Commit closes the level even when it fails, so there is nothing left
    // for the destructor to undo.
    void Commit()
    {
        Connection* c = c_;
        c_ = nullptr;
        c->Commit();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Connection* c_;
};

// Registers the Turkish collation and the dialect's like() on a raw handle;
// the query tool and tests use it for handles they open themselves.
void RegisterDialectFunctions(sqlite3* db);

// Turkish alphabetical, case-insensitive comparison of two UTF-8 texts
// (a b c ç d e f g ğ h ı i j k l m n o ö p r s ş t u ü v y z).
int CompareTurkish(const char* a, int na, const char* b, int nb);
// The dialect's Like match, case-insensitive with Turkish case pairs.
bool JetLike(const QString& pattern, const QString& text);

} // namespace store
