#pragma once

#include "TestSupport.h"

#include "store/Connection.h"
#include "store/RecordView.h"
#include "store/StoreError.h"
#include "ui/GridColumn.h"

#include <QTemporaryDir>

#include <memory>

// A grid column on a field, as the forms design them.
inline ui::GridColumn Col(const char* caption, const char* field, double twips = 1200,
                          ui::ColumnFormat format = ui::ColumnFormat::None,
                          ui::ColumnAlign align = ui::ColumnAlign::Left)
{
    ui::GridColumn c;
    c.caption = QString::fromUtf8(caption);
    c.dataField = QString::fromUtf8(field);
    c.widthTwips = twips;
    c.format = format;
    c.alignment = align;
    return c;
}

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
        return testsupport::OpenView(path, source);
    }

    QTemporaryDir dir;
    QString path;
    std::shared_ptr<store::Connection> conn;
};
