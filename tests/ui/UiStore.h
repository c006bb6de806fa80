#pragma once

#include "store/Connection.h"
#include "store/RecordView.h"
#include "store/StoreError.h"

#include <QTemporaryDir>

#include <memory>

// A small job store of its own for each ui test: table Montaj with text,
// date, Yes/No and number fields, `rows` jobs numbered S0001, S0002, ...
// Job i: Eleman "Eleman <i % 3>", Tarih 2024-03-(1 + i % 28), Tamam for
// every fourth job, Adet i, Kalan 0.
class UiStore {
public:
    explicit UiStore(int rows = 20)
    {
        path = dir.filePath(QStringLiteral("Montaj.mdb"));
        conn = store::Connection::Create(path);
        conn->ExecuteNative(QStringLiteral(
            "CREATE TABLE Montaj (Eleman TEXT COLLATE TURKISH, Görev TEXT COLLATE TURKISH, "
            "Tarih DATETIME, SipNo TEXT COLLATE TURKISH, Tamam YESNO NOT NULL DEFAULT 0, "
            "Adet DOUBLE, Kalan DOUBLE, \"Not\" TEXT COLLATE TURKISH)"));
        conn->ExecuteNative(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Montaj SELECT 'Eleman ' || (i % 3), 'Montaj', "
            "printf('2024-03-%02d 00:00:00', 1 + i % 28), printf('S%04d', i), i % 4 = 0, i, 0, '' "
            "FROM n").arg(rows));
    }

    // A view on the store, refreshed, on its first row.
    std::unique_ptr<store::RecordView> View(const QString& source = QStringLiteral(
                                                "Select * From Montaj Order By SipNo Asc"))
    {
        auto v = std::make_unique<store::RecordView>(QStringLiteral("DataTest"));
        v->setDatabaseName(path);
        v->setRecordSource(source);
        v->Refresh();
        return v;
    }

    QTemporaryDir dir;
    QString path;
    std::shared_ptr<store::Connection> conn;
};
