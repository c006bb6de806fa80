#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// One open store file. Every record view, statement and aggregate on the same
// file shares one Connection, so a transaction covers all of them.
//
// The stores of one data set (JoinStores) share one SQLite handle: the first
// store opened is its main database and the others are attached to it, each
// under a schema name of its own (schema()). Table names differ from store to
// store, so statements name tables without a schema; a transaction on any of
// them is one transaction of the handle, which SQLite commits over every
// file it changed at once (rollback journal and super-journal). StoreAction
// is the way to write several stores in one action.
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

    // Declares the stores of one data set: from now on those of them not
    // open yet are opened through one shared handle. Paths of missing files
    // are left out. A store already open on a handle of its own joins once
    // that connection has ended.
    static void JoinStores(const QStringList& paths);

    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const;
    const QString& path() const { return path_; }
    // The store's schema name on its handle ("main" when it is the first or
    // only store), quoted for SQLite SQL: "\"s2\"".
    QString schemaSql() const;
    bool SharesHandleWith(const Connection& other) const { return h_ == other.h_; }
    // A statement (SQLite SQL) with every table it names put in this store's
    // schema, so that it reads and writes this file also where another store
    // of the set has a table of that name ("Montaj" is a table of the job
    // store and of the order store). Unchanged for the main store.
    QString Qualified(const QString& sql) const;

    // A statement in the program's dialect; returns the number of rows changed.
    int Execute(const QString& jetSql);
    // A statement already in SQLite SQL (record layouts, internal work).
    int ExecuteNative(const QString& sql);
    // First field of the single result row; a null QVariant when there is no
    // row or no value (Sum over no rows).
    QVariant Scalar(const QString& jetSql);

    // Transactions nest: only the outermost Begin/Commit reach SQLite. They
    // are transactions of the handle, so stores sharing it nest into one.
    // Begin takes this store's write lock at once, so a busy store fails at
    // the start of an action rather than half-way through it.
    void Begin();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // The highest rowid deleted from a table through a record view in this
    // session. New rows are numbered above it, so a key that an open view
    // still holds for a deleted row never comes back as another row.
    qint64 RowidFloor(const QString& table) const { return rowidFloor_.value(table, 0); }
    void NoteDeletedRowid(const QString& table, qint64 rowid)
    {
        if (rowid > rowidFloor_.value(table, 0))
            rowidFloor_.insert(table, rowid);
    }

    // Raises StoreError with a Turkish text for the engine's last error (its
    // own words in brackets after it) and the file name.
    [[noreturn]] void Fail(const QString& what) const;

    // Finds an existing file whose name matches `path` without regard to
    // case; returns `path` itself when there is none.
    static QString ResolveCaseInsensitive(const QString& path);

    struct Handle;

private:
    Connection(std::shared_ptr<Handle> handle, QString schema, QString path);
    void lockForWriting();
    std::shared_ptr<Handle> h_;
    QString schema_;
    QString path_;
    QHash<QString, qint64> rowidFloor_;
    // Scalar's statements by the shape of their text, prepared once; null
    // for a shape whose values cannot become parameters.
    QHash<QString, sqlite3_stmt*> kept_;
    void forgetKeptStatements();
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

// Reads of several views from one state of the stores: a read transaction on
// the connection's handle while it lives, so that no other seat's change
// lands between one list and the next, and the handle checks its page cache
// once instead of once per statement. Nothing is written meanwhile; inside a
// transaction already open it does nothing.
class ReadSnapshot {
public:
    explicit ReadSnapshot(const Connection* c);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    sqlite3* db_ = nullptr;
};

// The Turkish text for an engine error (result code and the engine's own
// message): locked, busy, read-only, full, corrupt, not a store, missing table
// or field ...; the engine's words follow in brackets.
QString EngineErrorText(int code, const QString& engineMessage);

// The statement with `schemaSql` put before every table name that follows
// FROM, JOIN, UPDATE, INTO or TABLE and has no schema of its own. Literals,
// quoted names, comments and subqueries are respected; applying it twice
// changes nothing more.
QString QualifyTables(const QString& sql, const QString& schemaSql);

// Registers the Turkish collation and the dialect's like() on a raw handle;
// the query tool and tests use it for handles they open themselves.
void RegisterDialectFunctions(sqlite3* db);

// Turkish alphabetical, case-insensitive comparison of two UTF-8 texts
// (a b c ç d e f g ğ h ı i j k l m n o ö p r s ş t u ü v y z).
int CompareTurkish(const char* a, int na, const char* b, int nb);
// The dialect's Like match, case-insensitive with Turkish case pairs.
bool JetLike(const QString& pattern, const QString& text);

} // namespace store
