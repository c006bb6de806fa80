#include "UiStore.h"

#include "ui/DataGrid.h"
#include "ui/ToggleSortOrder.h"

#include <gtest/gtest.h>

namespace {

class ToggleSortOrderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Montaj.mdb"));
        auto c = store::Connection::Create(path);
        c->ExecuteNative(QStringLiteral(
            "CREATE TABLE Montaj (Eleman TEXT COLLATE TURKISH, Görev TEXT COLLATE TURKISH, "
            "Unvan TEXT COLLATE TURKISH)"));
        for (const char* row : {"'Zeki','Montaj','Bey Ltd'", "'Çetin','Montaj','Ada'",
                                "'Ahmet','Servis','Cem'", "'Ümit','Montaj','Ada'",
                                "'Deniz','Montaj','Zan'"})
            c->ExecuteNative(QStringLiteral("INSERT INTO Montaj VALUES (%1)").arg(QString::fromUtf8(row)));
        ui::SortDescending = false;
    }

    void Bind(store::RecordView& view, ui::DataGrid& grid, const QString& source)
    {
        view.setDatabaseName(path);
        view.setRecordSource(source);
        view.Refresh();
        grid.setColumns({Col("Müşteri", "Unvan"), Col("Eleman", "Eleman")});
        grid.setView(&view);
    }

    static QStringList Column(const store::RecordView& view, const char* field)
    {
        QStringList out;
        const int pos = view.FieldIndex(QString::fromLatin1(field));
        for (int r = 0; r < view.RecordCount(); ++r)
            out << view.ValueAt(r, pos).toString();
        return out;
    }

    QTemporaryDir dir;
    QString path;
};

} // namespace

TEST(SortedSource, ReplacesOrAppendsTheOrder)
{
    struct Case {
        const char* source;
        const char* field;
        bool descending;
        const char* expected;
    } cases[] = {
        {"Montaj", "Eleman", false, "Montaj ORDER BY Eleman ASC"},
        {"Select * From Montaj Where Görev='Montaj' Order By Görev, Unvan Asc", "Eleman", false,
         "Select * From Montaj Where Görev='Montaj' ORDER BY Eleman ASC"},
        {"Select * From Montaj order by SipNo desc", "Unvan", true,
         "Select * From Montaj ORDER BY Unvan DESC"},
        // Without the blank before it, it is not the clause.
        {"Select * From X Where A='ORDER BY'", "A", false,
         "Select * From X Where A='ORDER BY' ORDER BY A ASC"},
        // A field that is also a word of the language is bracketed, or the
        // query would not run and the list would empty.
        {"Select * From Siparisler Where Sec='X'", "Not", false,
         "Select * From Siparisler Where Sec='X' ORDER BY [Not] ASC"},
        {"Montaj", "Görev", true, "Montaj ORDER BY Görev DESC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(ui::SortedSource(QString::fromUtf8(c.source), QString::fromUtf8(c.field), c.descending),
                  QString::fromUtf8(c.expected));
    }
}

TEST_F(ToggleSortOrderTest, ReplacesTheOrderAndAlternatesAcrossGrids)
{
    store::RecordView jobs, other;
    ui::DataGrid jobGrid, otherGrid;
    const QString before = QStringLiteral("Select * From Montaj Where Görev='Montaj'");
    Bind(jobs, jobGrid, before + QStringLiteral(" Order By Görev, Unvan Asc"));
    Bind(other, otherGrid, QStringLiteral("Select * From Montaj"));
    jobGrid.setWidthTwips(0, 2345);

    // First click after start: ascending, the whole old order replaced.
    ui::ToggleSortOrder(1, jobs, jobGrid);
    EXPECT_EQ(jobs.RecordSource(), before + QStringLiteral(" ORDER BY Eleman ASC"));
    EXPECT_EQ(Column(jobs, "Eleman"),
              QStringList({QStringLiteral("Çetin"), QStringLiteral("Deniz"), QStringLiteral("Ümit"),
                           QStringLiteral("Zeki")}));
    // The grid kept its columns over the re-read.
    EXPECT_EQ(jobGrid.ColumnCount(), 2);
    EXPECT_DOUBLE_EQ(jobGrid.WidthTwips(0), 2345);
    EXPECT_EQ(jobGrid.model()->index(0, 1).data().toString(), QStringLiteral("Çetin"));

    // The next click, on another grid, sorts descending.
    ui::ToggleSortOrder(0, other, otherGrid);
    EXPECT_EQ(other.RecordSource(), QStringLiteral("Select * From Montaj ORDER BY Unvan DESC"));
    ASSERT_EQ(other.RecordCount(), 5);
    EXPECT_EQ(Column(other, "Unvan").first(), QStringLiteral("Zan"));

    // And back on the first grid: ascending again.
    ui::ToggleSortOrder(0, jobs, jobGrid);
    EXPECT_EQ(jobs.RecordSource(), before + QStringLiteral(" ORDER BY Unvan ASC"));
    EXPECT_TRUE(ui::SortDescending); // the next one, anywhere, descending
}

TEST_F(ToggleSortOrderTest, FailingReadIsIgnored)
{
    store::RecordView view;
    ui::DataGrid grid;
    Bind(view, grid, QStringLiteral("Montaj"));
    grid.setColumns({Col("Yok", "YokAlan")});

    EXPECT_NO_THROW(ui::ToggleSortOrder(0, view, grid));
    EXPECT_TRUE(ui::SortDescending); // the direction flips all the same
    EXPECT_EQ(grid.ColumnCount(), 1);
    // A column index out of range does nothing at all.
    EXPECT_NO_THROW(ui::ToggleSortOrder(5, view, grid));
    EXPECT_TRUE(ui::SortDescending);
}
