#pragma once

#include "store/RecordView.h"

#include <QString>
#include <QStringList>
#include <vector>

// The record layouts of the five stores: the one place that knows every
// table, its fields in store order and its indexes. The demo tool, the tests
// and the importer create stores from it; the program itself never creates a
// table.
namespace store {

class Connection;

enum class StoreKind { Jobs, Reports, Accounts, Orders, Index };

struct FieldDef {
    const char* name;
    FieldType type;
};

// An index for a query the program runs often: the list of a kind, the
// day's jobs, the sums of the work report. `where` (SQLite SQL, or null) makes
// it partial; the planner takes such an index only for a query whose WHERE
// holds each of its terms word for word, so the terms are written as the
// dialect translator writes the program's conditions.
struct QueryIndex {
    const char* name; // ix_<table>_<name>
    std::vector<const char*> fields;
    const char* where = nullptr;
};

struct TableDef {
    const char* name;
    std::vector<FieldDef> fields;       // in store order: position = index
    std::vector<const char*> indexed;   // fields with an index of their own
    std::vector<QueryIndex> queryIndexes = {};
};

const std::vector<TableDef>& TablesOf(StoreKind kind);

// A table or field name as it stands in SQLite SQL: in double quotes, any
// double quote inside doubled.
QString QuotedName(const QString& name);

// The CREATE TABLE statement (SQLite SQL) of a table.
QString CreateTableSql(const TableDef& table);

// The CREATE INDEX statement of an index on fields of a table, named
// ix_<table>_<field>[_<field>...]; text fields are ordered the Turkish way.
QString CreateIndexSql(const TableDef& table, const QStringList& fields);

// What in a store differs from its layout, one Turkish line each: a missing
// table, a missing field, a field out of its place (by name and position;
// fields after the layout's own are the accounting package's and allowed).
// Empty when the store is as the program reads and writes it.
QStringList LayoutProblems(StoreKind kind, Connection& store);

// The CREATE INDEX IF NOT EXISTS statement of a query index, in the schema
// given (SQLite SQL, quoted) or the handle's main one.
QString CreateQueryIndexSql(const TableDef& table, const QueryIndex& index, const QString& schemaSql = {});

// Gives a store written by an earlier version the query indexes of its kind
// (known by its first table). An index is no data: adding one changes no
// row. A store that cannot take one now (read-only, locked by another
// program, a field missing) is used as it is, only slower.
void AddQueryIndexes(Connection& conn);

// Creates a store file with all tables and indexes of its kind. An existing
// file is left alone and reported as a StoreError.
void CreateStore(StoreKind kind, const QString& path);

} // namespace store
