#include "survey/EntryNumbers.h"

#include "TestSupport.h"

#include "app/Refresh.h"
#include "store/Connection.h"
#include "store/RecordView.h"
#include "store/StoreError.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using survey::FollowingEntryNumber;
using survey::NewCustomerCode;
using survey::WholeNumber;

TEST(NewCustomerCode, FirstTwentyCharactersWhileFreeThenNumberedWithinTwenty)
{
    const struct {
        const char* name;
        std::set<QString> taken;
        const char* code;
    } cases[] = {
        {"Ali Usta", {}, "Ali Usta"},
        {"Yirmi Karakterli Adı", {}, "Yirmi Karakterli Adı"},
        {"Ege Klima Servis Ltd. Şti.", {}, "Ege Klima Servis Ltd"},
        {"Ege Klima Servis Ltd. Şti.", {"Ege Klima Servis Ltd"}, "Ege Klima Servis L-2"},
        {"Ege Klima Servis Ltd. Şti.", {"Ege Klima Servis Ltd", "Ege Klima Servis L-2"}, "Ege Klima Servis L-3"},
        {"Ali Usta", {"Ali Usta"}, "Ali Usta-2"},
        // Ten taken numbers: the suffix grows and the name shortens with it.
        {"Ege Klima Servis Ltd. Şti.",
         {"Ege Klima Servis Ltd", "Ege Klima Servis L-2", "Ege Klima Servis L-3", "Ege Klima Servis L-4",
          "Ege Klima Servis L-5", "Ege Klima Servis L-6", "Ege Klima Servis L-7", "Ege Klima Servis L-8",
          "Ege Klima Servis L-9"},
         "Ege Klima Servis -10"},
    };
    for (const auto& c : cases) {
        const QString code =
            NewCustomerCode(QString::fromUtf8(c.name), [&](const QString& k) { return c.taken.count(k) > 0; });
        EXPECT_EQ(code, QString::fromUtf8(c.code)) << c.name;
        EXPECT_LE(code.size(), survey::kCodeLength);
    }
}

TEST(FollowingEntryNumber, YearDigitsThenTheCountPlusOne)
{
    const struct {
        const char* last;
        const char* next; // nullptr: refused
    } cases[] = {
        {"261", "262"}, {"269", "2610"}, {"2619", "2620"}, {"2699", "26100"},
        {"26", nullptr}, {"26x", nullptr}, {"", nullptr}, {"26-1", nullptr}, {"26+1", nullptr},
    };
    for (const auto& c : cases) {
        const auto next = FollowingEntryNumber(QString::fromUtf8(c.last));
        if (c.next)
            EXPECT_EQ(next.value_or(QStringLiteral("<none>")), QString::fromUtf8(c.next)) << c.last;
        else
            EXPECT_FALSE(next.has_value()) << c.last;
    }
}

TEST(WholeNumber, DigitsOnlyUpToElevenOfThem)
{
    EXPECT_EQ(WholeNumber(QStringLiteral("500")), 500.0);
    EXPECT_EQ(WholeNumber(QStringLiteral(" 0 ")), 0.0);
    EXPECT_EQ(WholeNumber(QStringLiteral("99999999999")), 99999999999.0);
    for (const char* bad : {"", "  ", "12a", "1.5", "1,5", "-3", "+3", "1e3", "123456789012", "٣"})
        EXPECT_FALSE(WholeNumber(QString::fromUtf8(bad)).has_value()) << bad;
    EXPECT_EQ(survey::PlainDigits(12345678901.0), QStringLiteral("12345678901"));
}

// The yearly counter on a real index store: a year with a counter goes on
// from it; a damaged counter is refused and nothing is written. (A new year's
// first numbers are checked through the entry itself.)
TEST(NextEntryNumber, FollowingThenDamaged)
{
    testsupport::TestDataDir data;
    ASSERT_TRUE(data.ok());
    store::RecordView primary, secondary;
    for (store::RecordView* v : {&primary, &secondary})
        v->setDatabaseName(data.index());
    primary.setRecordSource(QStringLiteral("Tarih"));
    secondary.setRecordSource(QStringLiteral("Mdbindex"));
    app::RefreshData(primary);

    const QString indexi = QStringLiteral("Select Indexi From Mdbindex Where Tarih='2026'");
    auto conn = data.Open(data.index());
    EXPECT_EQ(survey::NextEntryNumber(primary, secondary, QStringLiteral("2026")), QStringLiteral("2620"));
    EXPECT_EQ(conn->Scalar(indexi).toString(), QStringLiteral("2620"));

    conn->Execute(QStringLiteral("UPDATE Mdbindex SET Indexi='26?' WHERE Tarih='2026'"));
    EXPECT_THROW(survey::NextEntryNumber(primary, secondary, QStringLiteral("2026")), store::StoreError);
    EXPECT_EQ(conn->Scalar(indexi).toString(), QStringLiteral("26?"));
}

} // namespace
