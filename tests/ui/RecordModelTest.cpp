#include "UiStore.h"

#include "ui/RecordModel.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

using ui::ColumnAlign;
using ui::ColumnFormat;
using ui::GridColumn;
using ui::RecordModel;

std::vector<GridColumn> JobColumns()
{
    return {Col("Sipariş", "SipNo"), Col("Tarih", "Tarih"),
            Col("Tamam", "Tamam", 1200, ColumnFormat::YesNo, ColumnAlign::Center),
            Col("Adet", "Adet", 1200, ColumnFormat::GeneralNumber, ColumnAlign::Right),
            Col("Yok", "BöyleAlanYok"), Col("Boş", "")};
}

// A model on its own store of 30 jobs.
class RecordModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.setColumns(JobColumns());
        model.setView(view.get());
    }
    UiStore s{30};
    std::unique_ptr<store::RecordView> view = s.View();
    RecordModel model;
};

// Collects what Qt's model checker reports.
class CheckerWarnings {
public:
    CheckerWarnings() { previous_ = qInstallMessageHandler(&CheckerWarnings::handle); }
    ~CheckerWarnings() { qInstallMessageHandler(previous_); }
    static QStringList& messages()
    {
        static QStringList list;
        return list;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& msg)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            messages().append(msg);
    }
    QtMessageHandler previous_ = nullptr;
};

TEST_F(RecordModelTest, FollowsEveryChangeOfItsViewAsQtsCheckerExpects)
{
    CheckerWarnings warnings;
    CheckerWarnings::messages().clear();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(model.rowCount(), 30);
    ASSERT_EQ(model.columnCount(), 6);

    // A stored edit redraws its row.
    int changedRow = -1;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& tl, const QModelIndex&) { changedRow = tl.row(); });
    view->setAbsolutePosition(4);
    view->Edit();
    view->setField(QStringLiteral("Adet"), 99);
    view->Update();
    EXPECT_EQ(changedRow, 4);
    EXPECT_EQ(model.index(4, 3).data().toString(), QStringLiteral("99"));

    // Added and deleted rows.
    view->AddNew();
    view->setField(QStringLiteral("SipNo"), QStringLiteral("S9999"));
    view->Update();
    EXPECT_EQ(model.rowCount(), 31);
    EXPECT_EQ(model.index(30, 0).data().toString(), QStringLiteral("S9999"));
    view->setAbsolutePosition(0);
    view->Delete();
    EXPECT_EQ(model.rowCount(), 30);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("S0002"));

    // Another source, no rows, a failing source, a closed view.
    view->setRecordSource(QStringLiteral("Select * From Montaj Where Tamam Order By SipNo Desc"));
    view->Refresh();
    EXPECT_EQ(model.rowCount(), 7);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("S0028"));
    view->setRecordSource(QStringLiteral("Select * From Montaj Where Adet < 0"));
    view->Refresh();
    EXPECT_EQ(model.rowCount(), 0);
    view->setRecordSource(QStringLiteral("Select * From Yok"));
    EXPECT_THROW(view->Refresh(), store::StoreError);
    EXPECT_EQ(model.rowCount(), 0);
    view->setRecordSource(QStringLiteral("Montaj"));
    view->Refresh();
    EXPECT_EQ(model.rowCount(), 30);
    view->Close();
    EXPECT_EQ(model.rowCount(), 0);

    EXPECT_TRUE(CheckerWarnings::messages().isEmpty())
        << CheckerWarnings::messages().join(QLatin1Char('\n')).toStdString();
}

TEST_F(RecordModelTest, CellsShowTheirFieldsInTheColumnsFormats)
{
    // Row 3 is job S0004: Tarih 2024-03-05, Tamam, Adet 4.
    EXPECT_EQ(model.index(3, 0).data().toString(), QStringLiteral("S0004"));
    EXPECT_EQ(model.index(3, 1).data().toString(), QStringLiteral("05.03.2024"));
    EXPECT_EQ(model.index(3, 2).data().toString(), QStringLiteral("\u2713"));
    EXPECT_EQ(model.index(2, 2).data().toString(), QString());
    EXPECT_EQ(model.index(3, 3).data().toString(), QStringLiteral("4"));
    EXPECT_EQ(model.index(3, 4).data().toString(), QString()); // unknown field
    EXPECT_EQ(model.index(3, 5).data().toString(), QString()); // no field
    EXPECT_EQ(model.index(3, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(model.index(3, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Sipariş"));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(model.value(3, 3).toDouble(), 4.0);
    EXPECT_EQ(model.value(3, 2).toBool(), true);
}

TEST_F(RecordModelTest, OnlyUnlockedColumnsOfWritableViewsAreEditableAndOnlyWhenAllowed)
{
    std::vector<GridColumn> cols = JobColumns();
    cols[3].locked = false; // Adet
    cols[4].locked = false; // unknown field: nothing to store into
    model.setColumns(cols);

    const auto editable = [&](int column) {
        return bool(model.flags(model.index(0, column)) & Qt::ItemIsEditable);
    };
    EXPECT_FALSE(editable(3));
    model.setEditable(true);
    EXPECT_TRUE(editable(3));
    EXPECT_FALSE(editable(0));
    EXPECT_FALSE(editable(4));

    view->setRecordSource(QStringLiteral("Select Eleman, Sum(Adet) As Adet From Montaj Group By Eleman"));
    view->Refresh();
    ASSERT_TRUE(view->ReadOnly());
    EXPECT_FALSE(editable(3));
}

TEST_F(RecordModelTest, PendingTextShowsUntilTheRowIsStored)
{
    model.setPending(1, 3, QStringLiteral("7"));
    EXPECT_EQ(model.index(1, 3).data().toString(), QStringLiteral("7"));
    EXPECT_EQ(model.value(1, 3).toString(), QStringLiteral("7"));
    EXPECT_EQ(model.index(0, 3).data().toString(), QStringLiteral("1"));

    // Someone stores the row: what is stored wins.
    view->setAbsolutePosition(1);
    view->Edit();
    view->setField(QStringLiteral("Adet"), 8);
    view->Update();
    EXPECT_FALSE(model.hasPending());
    EXPECT_EQ(model.index(1, 3).data().toString(), QStringLiteral("8"));
}

// FormatValue, case by case, in the C locale and in Turkish.
struct FormatCase {
    QVariant value;
    ColumnFormat format;
    const char* c;       // shown in the C locale
    const char* turkish; // shown in Turkish
};

class FormatValueTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatValueTest, ShowsTheValueAsTheUserReadsIt)
{
    const FormatCase& f = GetParam();
    const QLocale before;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(RecordModel::FormatValue(f.value, f.format), QString::fromUtf8(f.c));
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    EXPECT_EQ(RecordModel::FormatValue(f.value, f.format), QString::fromUtf8(f.turkish));
    QLocale::setDefault(before);
}

const QDateTime kMidnight(QDate(2024, 2, 29), QTime(0, 0));
const QDateTime kAfternoon(QDate(2024, 2, 29), QTime(14, 5, 9));

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatValueTest,
    ::testing::Values(
        // nothing shows as nothing, in every format
        FormatCase{QVariant(), ColumnFormat::None, "", ""},
        FormatCase{QVariant(), ColumnFormat::GeneralNumber, "", ""},
        FormatCase{QVariant(), ColumnFormat::YesNo, "", ""},
        FormatCase{QVariant(), ColumnFormat::GeneralDate, "", ""},
        // General Number: no needless decimals, no thousands separator
        FormatCase{5.0, ColumnFormat::GeneralNumber, "5", "5"},
        FormatCase{2.5, ColumnFormat::GeneralNumber, "2.5", "2,5"},
        FormatCase{0.1 + 0.2, ColumnFormat::GeneralNumber, "0.3", "0,3"},
        FormatCase{1234567.0, ColumnFormat::GeneralNumber, "1234567", "1234567"},
        FormatCase{-12.75, ColumnFormat::GeneralNumber, "-12.75", "-12,75"},
        FormatCase{-0.0, ColumnFormat::GeneralNumber, "0", "0"},
        FormatCase{qlonglong(42), ColumnFormat::GeneralNumber, "42", "42"},
        FormatCase{QStringLiteral("12"), ColumnFormat::GeneralNumber, "12", "12"},
        FormatCase{QStringLiteral("abc"), ColumnFormat::GeneralNumber, "abc", "abc"},
        FormatCase{3.0, ColumnFormat::None, "3", "3"},
        // Yes/No: a check mark or nothing
        FormatCase{true, ColumnFormat::YesNo, "\u2713", "\u2713"},
        FormatCase{false, ColumnFormat::YesNo, "", ""},
        FormatCase{qlonglong(1), ColumnFormat::YesNo, "\u2713", "\u2713"},
        FormatCase{qlonglong(-1), ColumnFormat::YesNo, "\u2713", "\u2713"},
        FormatCase{0.0, ColumnFormat::YesNo, "", ""},
        FormatCase{QStringLiteral("False"), ColumnFormat::YesNo, "", ""},
        FormatCase{true, ColumnFormat::None, "\u2713", "\u2713"},
        // dates: day.month.year, the time only when there is one
        FormatCase{kMidnight, ColumnFormat::GeneralDate, "29.02.2024", "29.02.2024"},
        FormatCase{kAfternoon, ColumnFormat::GeneralDate, "29.02.2024 14:05:09", "29.02.2024 14:05:09"},
        FormatCase{kMidnight, ColumnFormat::None, "29.02.2024", "29.02.2024"},
        FormatCase{QDate(2024, 12, 1), ColumnFormat::None, "01.12.2024", "01.12.2024"},
        FormatCase{QStringLiteral("2024-02-29 00:00:00"), ColumnFormat::GeneralDate, "29.02.2024", "29.02.2024"},
        FormatCase{QStringLiteral("yarın"), ColumnFormat::GeneralDate, "yarın", "yarın"},
        // text as it is
        FormatCase{QStringLiteral("Ahmet'in Yeri"), ColumnFormat::None, "Ahmet'in Yeri", "Ahmet'in Yeri"}));

} // namespace
