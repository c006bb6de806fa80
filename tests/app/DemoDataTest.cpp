#include "app/DemoData.h"

#include "TestSupport.h"

#include "store/Connection.h"
#include "store/JobKinds.h"
#include "store/Layouts.h"
#include "store/Sql.h"
#include "store/StoreError.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testsupport::DemoToday;
using testsupport::TestDataDir;

namespace {

QString Day() { return store::DateLiteral(DemoToday()); }

} // namespace

TEST(DemoDataTest, SameArgumentsGiveTheSameData)
{
    QTemporaryDir a, b, c;
    const app::DemoSummary sa = app::MakeDemoData(a.path(), DemoToday(), app::DemoSize::Small, 7);
    const app::DemoSummary sb = app::MakeDemoData(b.path(), DemoToday(), app::DemoSize::Small, 7);
    const app::DemoSummary sc = app::MakeDemoData(c.path(), DemoToday(), app::DemoSize::Small, 8);
    EXPECT_EQ(testsupport::Snapshot(sa.dataRoot), testsupport::Snapshot(sb.dataRoot));
    EXPECT_NE(testsupport::Snapshot(sa.dataRoot), testsupport::Snapshot(sc.dataRoot));
    EXPECT_EQ(sa.orderLines, 400);
    EXPECT_EQ(sa.staff, 6);
    EXPECT_EQ(sa.customers, 60);
    EXPECT_EQ(sa.jobs, sb.jobs);
}

TEST(DemoDataTest, RefusesToWriteOverExistingStores)
{
    QTemporaryDir dir;
    app::MakeDemoData(dir.path(), DemoToday(), app::DemoSize::Small, 1);
    const auto before = testsupport::Snapshot(dir.path() + QStringLiteral("/MuhasebeData/"));
    EXPECT_THROW(app::MakeDemoData(dir.path(), DemoToday(), app::DemoSize::Small, 2), store::StoreError);
    EXPECT_EQ(testsupport::Snapshot(dir.path() + QStringLiteral("/MuhasebeData/")), before);
}

class DemoBoardTest : public ::testing::Test {
protected:
    // Rows of the orders, jobs or account cards that meet `where`.
    double Count(const QString& store, const char* table, const QString& where) const
    {
        return data.Number(store, QStringLiteral("Select Count(*) From %1 Where ").arg(QLatin1String(table)) + where);
    }
    double Orders(const QString& where) const { return Count(data.orders(), "Siparisler", where); }
    double Jobs(const QString& where) const { return Count(data.jobs(), "Montaj", where); }
    double Cards(const QString& where) const { return Count(data.accounts(), "CariKartlar", where); }
    TestDataDir data;
};

TEST_F(DemoBoardTest, StaffAndCustomerCards)
{
    EXPECT_EQ(Cards(QStringLiteral("HesKullan=False And Gurup='Eleman'")), 6);
    EXPECT_EQ(Cards(QStringLiteral("Gurup='Eleman' And Unvan='Paket Teslim'")), 1);
    EXPECT_EQ(Cards(QStringLiteral("HesKullan=False And Gurup='Müşteri'")), 60);
    EXPECT_EQ(Cards(QStringLiteral("HesKullan=True")), 1);
    EXPECT_EQ(Cards(QStringLiteral("Unvan=") + store::SqlText(QStringLiteral("Ahmet'in Yeri"))), 1);
    for (const char* letters : {"İ*", "*ı*", "Ş*", "*ğ*", "Ç*", "Ö*", "Ü*"})
        EXPECT_GT(Cards(QStringLiteral("Gurup='Müşteri' And Unvan Like '%1'").arg(QString::fromUtf8(letters))), 0)
            << letters;
    EXPECT_EQ(Cards(QStringLiteral("Gurup='Müşteri' And Adres=''")), 0);
    EXPECT_GT(Cards(QStringLiteral("Gurup='Müşteri' And Hesap='Borç' And Bakiye>0")), 0);
    // Balances follow the rule of the fee posting: never negative, the larger side named.
    EXPECT_EQ(Cards(QStringLiteral("Bakiye<0 Or (Hesap='Alacak' And Alacak<=Borc)")), 0);
}

TEST_F(DemoBoardTest, EveryKindOffersLinesOnToday)
{
    EXPECT_EQ(Orders(QStringLiteral("True")), 400);
    for (const store::JobKind& kind : store::JobKinds())
        EXPECT_GT(Orders(QStringLiteral("SipTarih<=") + Day() + QString::fromUtf8(kind.orderFilter)), 0)
            << kind.code;
    EXPECT_EQ(Orders(QStringLiteral("SipTarih>") + Day()), 0);
    EXPECT_EQ(Orders(QStringLiteral("SipTarih<") + store::DateLiteral(DemoToday().addDays(-91))), 0);
}

TEST_F(DemoBoardTest, OrderLinesInEveryState)
{
    EXPECT_GT(Orders(QStringLiteral("Sec='X'")), 0);
    EXPECT_GT(Orders(QStringLiteral("Sec=''")), 0);
    EXPECT_GT(Orders(QStringLiteral("StokKod='' And SipNo Not Like 'X*' And KalAdet>0")), 0);
    EXPECT_GT(Orders(QStringLiteral("Görev='Montaj' And Montaj And TesAdet>0")), 0);
    EXPECT_GT(Orders(QStringLiteral("Görev='Kesif' And SipNo Like 'X*' And StokAdi='KEŞİF'")), 0);
    EXPECT_EQ(Orders(QStringLiteral("Görev='Kesif' And SipNo Not Like 'X*'")), 0);
    EXPECT_GT(Orders(QStringLiteral("Görev='Servis' And SipNo Like 'X*' And SipTur='SERVİS'")), 0);
    EXPECT_GT(Orders(QStringLiteral("Görev='Paket' And Paket")), 0);
    EXPECT_GT(Orders(QStringLiteral("Görev='' And KalAdet>0 And StokKod<>''")), 0);
    // Marked lines are lines the board offers for installation today.
    EXPECT_EQ(Orders(QStringLiteral("Sec='X'")),
              Orders(QStringLiteral("Sec='X' And SipTarih<=") + Day()
                     + QString::fromUtf8(store::JobKinds()[0].orderFilter)));
}

TEST_F(DemoBoardTest, JobsInEveryStateAndKindToday)
{
    for (const store::JobKind& kind : store::JobKinds())
        EXPECT_GT(Jobs(QStringLiteral("Tarih=") + Day() + QStringLiteral(" And Görev=")
                       + store::SqlText(QString::fromUtf8(kind.code))),
                  0)
            << kind.code;
    EXPECT_GT(Jobs(QStringLiteral("Tamam=False And Iptal=False And Tarih=") + Day()), 0);
    EXPECT_GT(Jobs(QStringLiteral("Tamam=True And Iptal=False And Kalan=Adet And Adet>0")), 0);
    EXPECT_GT(Jobs(QStringLiteral("Tamam=True And Iptal=False And Kalan<Adet And Kalan>0")), 0);
    EXPECT_GT(Jobs(QStringLiteral("Iptal=True And Tamam=False And Kalan=0")), 0);
    EXPECT_GT(Jobs(QStringLiteral("Tarih<") + Day() + QStringLiteral(" And Tarih>=")
                   + store::DateLiteral(DemoToday().addDays(-7))), 0);
    EXPECT_EQ(Jobs(QStringLiteral("Tarih>") + Day()), 0);
    // A partly done installation was scheduled again for what was left.
    EXPECT_GT(data.Number(data.jobs(), QStringLiteral("Select Count(*) From Montaj As a, Montaj As b "
                                                      "Where a.SipNo=b.SipNo And a.Görev='Montaj' And b.Görev='Montaj' "
                                                      "And a.Tarih<b.Tarih And a.Tamam And a.Kalan<a.Adet "
                                                      "And b.Adet=a.Adet-a.Kalan")),
              0);
}

TEST_F(DemoBoardTest, DayStaffRowsMatchTheJobs)
{
    auto orders = data.Open(data.orders());
    auto jobs = data.Open(data.jobs());
    for (const store::JobKind& kind : store::JobKinds()) {
        const QString code = QString::fromUtf8(kind.code);
        const double registrations = orders->Scalar(QStringLiteral("Select Count(*) From ") + code).toDouble();
        const double staffDays = jobs->Scalar(QStringLiteral("Select Count(*) From (Select Distinct Eleman, Tarih "
                                                             "From Montaj Where Görev=")
                                              + store::SqlText(code) + QStringLiteral(")"))
                                     .toDouble();
        EXPECT_EQ(registrations, staffDays) << kind.code;
        EXPECT_GT(registrations, 0) << kind.code;
    }
    // Every registration carries the batch number of a job of that staff member, day and kind.
    const double today = orders->Scalar(QStringLiteral("Select Count(*) From Montaj Where Iptal=False And Tarih=")
                                        + Day()).toDouble();
    EXPECT_GT(today, 0);
    const double recNo = orders->Scalar(QStringLiteral("Select RecNo From Montaj Where Tarih=") + Day()).toDouble();
    EXPECT_GT(Jobs(QStringLiteral("Görev='Montaj' And RecNo=%1 And Tarih=").arg(recNo) + Day()), 0);
}

TEST_F(DemoBoardTest, CounterHoldsTheLastNumberUsed)
{
    const double last = data.Number(data.jobs(), QStringLiteral("Select RecNo From RecSay"));
    EXPECT_EQ(data.Number(data.jobs(), QStringLiteral("Select Count(*) From RecSay")), 1);
    EXPECT_EQ(data.Number(data.jobs(), QStringLiteral("Select Max(RecNo) From Montaj")), last);
    EXPECT_EQ(Jobs(QStringLiteral("RecNo>%1").arg(last)), 0);
    // Survey numbers and batch numbers come from the same counter and never meet.
    EXPECT_EQ(Orders(QStringLiteral("SipNo=") + store::SqlText(QStringLiteral("X%1").arg(last))), 0);
}

TEST_F(DemoBoardTest, FeesAreNumberedByYear)
{
    const double fees = data.Number(data.accounts(),
                                    QStringLiteral("Select Count(*) From CariHareket Where Nerde='C' And DigerId Like 'M*'"));
    EXPECT_GT(fees, 0);
    auto index = data.Open(data.index());
    EXPECT_EQ(index->Scalar(QStringLiteral("Select SeriNo From Mdbindex Where Tarih='2026'")).toString(),
              QStringLiteral("261"));
    const QString last = index->Scalar(QStringLiteral("Select Indexi From Mdbindex Where Tarih='2026'")).toString();
    EXPECT_EQ(data.Number(data.accounts(),
                          QStringLiteral("Select Count(*) From CariHareket Where DigerId=") + store::SqlText(QLatin1Char('M') + last)),
              1);
    EXPECT_EQ(data.Number(data.index(), QStringLiteral("Select Count(*) From Tarih Where Tarih='2026'")), 1);
}
