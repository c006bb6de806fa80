#include "store/Connection.h"
#include "store/RecordView.h"
#include "store/Sql.h"

#include "StoredRows.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

namespace {

TEST(StoredDates, AreReadByTheirDigitsAlone)
{
    // stored: by ParseStoredDateTime, iso: by ParseIsoDateTime; "" when invalid.
    const struct { const char* text; const char* stored; const char* iso; } cases[] = {
        {"2026-12-07 14:05:09", "2026-12-07 14:05:09", "2026-12-07 14:05:09"},
        {"2026-12-07", "2026-12-07 00:00:00", "2026-12-07 00:00:00"},
        {"2024-02-29 23:59:59", "2024-02-29 23:59:59", "2024-02-29 23:59:59"},
        {"2026-12-07T08:00:00", "2026-12-07 08:00:00", "2026-12-07 08:00:00"},
        // A longer text keeps its day, as the stores always read it.
        {"2026-12-07 08:00:00.000", "2026-12-07 00:00:00", ""},
        {"2026-12-07 24:00:00", "2026-12-07 00:00:00", ""},
        {"2026-02-29", "", ""}, {"2026-13-01 00:00:00", "", ""}, {"2026-1-07", "", ""}, {"26-12-07 00:00:00", "", ""},
        {"2026/12/07", "", ""}, {"2026-12-0x", "", ""},          {"07.12.2026", "", ""}, {"", "", ""},
    };
    const auto shown = [](const QDateTime& t) {
        return (t.isValid() ? store::StoredDateTime(t) : QString()).toStdString();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QDateTime fromText = store::ParseStoredDateTime(QString::fromUtf8(c.text));
        EXPECT_EQ(shown(fromText), c.stored);
        EXPECT_EQ(store::ParseStoredDateTime(c.text, qsizetype(std::strlen(c.text))), fromText);
        EXPECT_EQ(shown(store::ParseIsoDateTime(QString::fromUtf8(c.text))), c.iso);
    }
}

// Under a zone with summer time, 02:30 on the last Sunday of March does not
// exist as a local time: a date read as local time would move to 03:30.
class StoredDatesInAZone : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
        ASSERT_TRUE(dir.isValid());
        store::Connection::Create(path)->ExecuteNative(
            QStringLiteral("CREATE TABLE Montaj (SipNo TEXT COLLATE TURKISH, Tarih DATETIME);"
                           "INSERT INTO Montaj VALUES ('S1', '2026-03-29 02:30:00'), ('S2', '2026-10-25 02:30:00')"));
    }
    void TearDown() override
    {
        oldZone ? setenv("TZ", oldZone->c_str(), 1) : unsetenv("TZ");
        tzset();
    }
    QString stored(const char* sipNo)
    {
        return storetest::Stored(path,
                                 QStringLiteral("SELECT Tarih FROM Montaj WHERE SipNo='%1'").arg(QLatin1String(sipNo)));
    }

    const std::optional<std::string> oldZone =
        std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Montaj.mdb"));
};

TEST_F(StoredDatesInAZone, KeepTheirWallClockThroughReadingAndWriting)
{
    const auto view = testsupport::OpenView(path, QStringLiteral("Select * From Montaj Order By SipNo"));
    store::RecordView& v = *view;
    const QDateTime gap = v.Field(QStringLiteral("Tarih")).toDateTime();
    EXPECT_EQ(gap.date(), QDate(2026, 3, 29));
    EXPECT_EQ(gap.time(), QTime(2, 30));

    // Written back as read, and as typed in either of the program's forms.
    storetest::write(v, {{"Tarih", gap}});
    EXPECT_EQ(stored("S1"), QStringLiteral("2026-03-29 02:30:00"));
    storetest::write(v, {{"Tarih", QStringLiteral("29.03.2026 02:30:00")}});
    EXPECT_EQ(stored("S1"), QStringLiteral("2026-03-29 02:30:00"));

    // The hour that happens twice in autumn is still the one stored.
    v.MoveNext();
    storetest::write(v, {{"Tarih", QStringLiteral("10/25/2026 02:30:00")}});
    EXPECT_EQ(stored("S2"), QStringLiteral("2026-10-25 02:30:00"));
    EXPECT_EQ(v.Field(QStringLiteral("Tarih")).toDateTime().time(), QTime(2, 30));
}

} // namespace
