#include "ReportFixture.h"

#include "reports/ListPrintouts.h"
#include "reports/WorkReport.h"

#include <QRadioButton>

namespace {

struct PeriodCase {
    QDate day;
    bool monthly;
    const char* condition;
};

TEST(WorkReportPeriod, EveryDayOfThePeriodFromMidnightToItsLastSecond)
{
    const PeriodCase cases[] = {
        {QDate(2028, 2, 14), true, " And Tarih>=#02/01/2028 00:00:00# And Tarih<=#02/29/2028 23:59:59#"},
        {QDate(2027, 2, 28), true, " And Tarih>=#02/01/2027 00:00:00# And Tarih<=#02/28/2027 23:59:59#"},
        {QDate(2026, 12, 31), true, " And Tarih>=#12/01/2026 00:00:00# And Tarih<=#12/31/2026 23:59:59#"},
        {QDate(2026, 4, 30), true, " And Tarih>=#04/01/2026 00:00:00# And Tarih<=#04/30/2026 23:59:59#"},
        {QDate(2026, 12, 7), false, " And Tarih>=#12/07/2026 00:00:00# And Tarih<=#12/07/2026 23:59:59#"},
        {QDate(2028, 2, 29), false, " And Tarih>=#02/29/2028 00:00:00# And Tarih<=#02/29/2028 23:59:59#"},
    };
    for (const PeriodCase& c : cases)
        EXPECT_EQ(reports::PeriodCondition(c.day, c.monthly), QString::fromUtf8(c.condition))
            << c.day.toString(Qt::ISODate).toStdString();
}

TEST(WorkReportPeriod, CaptionsInTurkishAndOnlyTheMonthlyOneSaysAylik)
{
    EXPECT_EQ(reports::MonthlyCaption(QDate(2026, 12, 7)), QStringLiteral(" Aralık Aylık Raporu "));
    EXPECT_EQ(reports::DailyCaption(QDate(2026, 12, 7)), QStringLiteral(" 07/Aralık/2026 Pazartesi Günlük Raporu "));
    EXPECT_EQ(reports::MonthlyCaption(QDate(2028, 2, 1)), QStringLiteral(" Şubat Aylık Raporu "));
    // A daily caption can name no month that contains "Aylık".
    for (int m = 1; m <= 12; ++m)
        EXPECT_FALSE(reports::DailyCaption(QDate(2026, m, 1)).contains(QStringLiteral("Aylık"))) << m;
}

TEST(ListFontSettings, BooleansAndSizesAsTheSettingsHoldThem)
{
    const std::pair<const char*, bool> booleans[] = {{"True", true}, {"true", true}, {"False", false}, {"0", false},
                                                     {"-1", true},   {"1", true},    {"", false},      {"evet", false}};
    for (const auto& [text, want] : booleans)
        EXPECT_EQ(reports::SettingBoolean(QString::fromUtf8(text)), want) << text;
    EXPECT_EQ(reports::SettingSize(QStringLiteral("9")), 9.0);
    EXPECT_EQ(reports::SettingSize(QStringLiteral("10,5")), 10.5);
    EXPECT_EQ(reports::SettingSize(QStringLiteral(" 12 ")), 12.0);
    for (const char* bad : {"", "on", "0", "-4", "1e9"})
        EXPECT_FALSE(reports::SettingSize(QString::fromUtf8(bad)).has_value()) << bad;
}

// Two staff members whose account codes differ from their names, the pseudo
// staff member of deliveries and one whose name carries a quote.
class WorkReportTest : public ReportTest {
protected:
    void Staff() const
    {
        AddStaff(QStringLiteral("320.01.001"), QStringLiteral("Ali Demir"));
        AddStaff(QStringLiteral("320.01.002"), QStringLiteral("Zeki Öztürk"));
        AddStaff(QStringLiteral("320.01.009"), QStringLiteral("Paket Teslim"));
        AddStaff(QStringLiteral("320.01.003"), QStringLiteral("Ahmet'in Ekibi"));
    }
};

TEST_F(WorkReportTest, AMonthRunsFromItsFirstToItsLastSecondAndADayCoversItsWholeDay)
{
    Staff();
    const QString zeki = QStringLiteral("Zeki Öztürk");
    AddJob({zeki, "Servis", Stored(QDate(2026, 12, 7), "08:00:00"), true, false, 1, "Sabah"});
    AddJob({zeki, "Servis", Stored(QDate(2026, 12, 7), "23:59:59"), true, false, 2, "Gece"});
    AddJob({zeki, "Servis", Stored(QDate(2026, 12, 1)), true, false, 4, "Sabah"});
    AddJob({zeki, "Servis", Stored(QDate(2026, 12, 31), "23:59:59"), true, false, 8, "Yılbaşı"});
    AddJob({zeki, "Servis", Stored(QDate(2026, 11, 30), "23:59:59"), true, false, 100, "Kasım"});
    AddJob({zeki, "Servis", Stored(QDate(2027, 1, 1)), true, false, 100, "Yeni Yıl"});
    AddJob({zeki, "Servis", Stored(QDate(2026, 12, 8)), true, false, 100, "Ertesi Gün"});
    OpenOnDay(QDate(2026, 12, 7));

    Click(QStringLiteral("Command3"));
    EXPECT_TRUE(Find<QGroupBox>(QStringLiteral("Frame1"))->isVisible());
    EXPECT_EQ(Find<QGroupBox>(QStringLiteral("Frame1"))->title(), QStringLiteral(" Aralık Aylık Raporu "));
    EXPECT_EQ(RaporRows(), QStringList{QStringLiteral("320.01.002 | Servis | 115 | Sabah")});

    Click(QStringLiteral("RapCmd(3)"));
    EXPECT_EQ(Find<QGroupBox>(QStringLiteral("Frame1"))->title(),
              QStringLiteral(" 07/Aralık/2026 Pazartesi Günlük Raporu "));
    // Rebuilt as a whole: the monthly row is gone, not added to.
    EXPECT_EQ(RaporRows(), QStringList{QStringLiteral("320.01.002 | Servis | 3 | Sabah")});

    Click(QStringLiteral("RapCmd(2)"));
    EXPECT_EQ(RaporRows(), QStringList{QStringLiteral("320.01.002 | Servis | 115 | Sabah")});
}

TEST_F(WorkReportTest, OneRowPerStaffAndKindWithTheCodeTheSumAndTheFirstCustomer)
{
    Staff();
    const QString ali = QStringLiteral("Ali Demir"), zeki = QStringLiteral("Zeki Öztürk");
    const QString paket = QStringLiteral("Paket Teslim"), ahmet = QStringLiteral("Ahmet'in Ekibi");
    const QString day = Stored(Today());
    AddJob({ali, "Montaj", day, false, false, 100, "Açık İş"});
    AddJob({zeki, "Montaj", day, false, false, 7, "Açık"});
    // Nothing done yet: an empty table and zero totals.
    OpenOnDay(Today());
    Click(QStringLiteral("Command3"));
    EXPECT_TRUE(RaporRows().isEmpty());
    EXPECT_EQ(Picture()->Texts(),
              (QStringList{" Montaj  ", ":  0", " Servis", ":  0", "Keşif", ":  0", "Paket Teslim", ":  0"}));

    AddJob({ali, "Montaj", day, true, false, 2, "İlk Müşteri"});
    AddJob({ali, "Montaj", day, true, false, 3.5, "İkinci Müşteri"});
    AddJob({ali, "Montaj", day, true, true, 100, "İptal Edilen"});
    AddJob({ali, "Kesif", day, true, false, 1, "Keşif Müşterisi"});
    // Deliveries made as installations are not installations; as any other kind they count.
    AddJob({paket, "Montaj", day, true, false, 50, "Paketçi Montaj"});
    AddJob({paket, "Paket", day, true, false, 6, "Paketçi"});
    AddJob({paket, "Servis", day, true, false, 1, "Paketçi Servis"});
    AddJob({ahmet, "Paket", day, true, false, 1228, "Tırnaklı"});
    Click(QStringLiteral("RapCmd(2)"));
    EXPECT_EQ(RaporRows(), (QStringList{
                               QStringLiteral("320.01.001 | Montaj | 5.5 | İlk Müşteri"),
                               QStringLiteral("320.01.009 | Servis | 1 | Paketçi Servis"),
                               QStringLiteral("320.01.001 | Kesif | 1 | Keşif Müşterisi"),
                               QStringLiteral("320.01.003 | Paket | 1228 | Tırnaklı"),
                               QStringLiteral("320.01.009 | Paket | 6 | Paketçi"),
                           }));
    EXPECT_EQ(window->RapDBGrid->model()->rowCount(), 5);

    // The totals as the panel draws them: Turkish grouping, whole units.
    EXPECT_EQ(Picture()->Texts(), (QStringList{" Montaj  ", ":  6", " Servis", ":  1", "Keşif", ":  1",
                                               "Paket Teslim", ":  1.234"}));
}

// A store that refuses the report, at its emptying or half-way through its rows.
TEST_F(WorkReportTest, AStoreThatRefusesLeavesThePreviousReportAsItWas)
{
    const char* triggers[] = {
        "CREATE TRIGGER refuse BEFORE DELETE ON Rapor BEGIN SELECT RAISE(ABORT, 'disk dolu'); END",
        "CREATE TRIGGER refuse BEFORE INSERT ON Rapor WHEN NEW.Eleman='320.01.002' "
        "BEGIN SELECT RAISE(ABORT, 'disk dolu'); END",
    };
    for (const char* trigger : triggers) {
        SCOPED_TRACE(trigger);
        auto rapor = data.Open(data.reports());
        rapor->ExecuteNative(QStringLiteral("DROP TRIGGER IF EXISTS refuse"));
        rapor->ExecuteNative(QStringLiteral("DELETE FROM Rapor"));
        rapor->ExecuteNative(QStringLiteral("INSERT INTO Rapor (Eleman, \"Görev\", Yapilan, Unvan) VALUES "
                                            "('320.01.001', 'Montaj', 9, 'Eski Rapor')"));
        window.reset();
        Jobs()->ExecuteNative(QStringLiteral("DELETE FROM Montaj"));
        Staff();
        AddJob({QStringLiteral("Ali Demir"), "Montaj", Stored(Today()), true, false, 2, "Yeni"});
        AddJob({QStringLiteral("Zeki Öztürk"), "Montaj", Stored(Today()), true, false, 3, "Yeni"});
        rapor->ExecuteNative(QString::fromUtf8(trigger));
        OpenOnDay(Today());
        prompt.shown.clear();
        Click(QStringLiteral("Command3"));

        EXPECT_EQ(RaporRows(), QStringList{QStringLiteral("320.01.001 | Montaj | 9 | Eski Rapor")});
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_TRUE(prompt.shown[0].text.startsWith(QStringLiteral("Rapor hazırlanamadı")));
        EXPECT_EQ(window->RapDBGrid->model()->rowCount(), 1);
        rapor->ExecuteNative(QStringLiteral("DROP TRIGGER refuse"));
        data.Open(data.accounts())->ExecuteNative(QStringLiteral("DELETE FROM CariKartlar"));
    }
}

TEST_F(WorkReportTest, ExitPutsTheBoardsJobsBackAndTheSurveyModeOpensNoReport)
{
    Staff();
    AddJob({QStringLiteral("Ali Demir"), "Servis", Stored(Today()), true, false, 2});
    AddJob({QStringLiteral("Ali Demir"), "Montaj", Stored(Today()), false, false, 1});
    auto& w = OpenOnDay(Today());
    Click(QStringLiteral("Command3"));
    // While the report is shown the job view holds the report's last query.
    EXPECT_TRUE(w.DataGörev.RecordSource().contains(QStringLiteral("'Paket'")));

    Click(QStringLiteral("RapCmd(0)"));
    EXPECT_FALSE(Find<QGroupBox>(QStringLiteral("Frame1"))->isVisible());
    EXPECT_EQ(w.DataGörev.RecordCount(), 1);
    EXPECT_EQ(w.DataGörev.Field(QStringLiteral("Görev")).toString(), QStringLiteral("Montaj"));

    // With surveys on the board the button reads "Yeni Kayıt" and is no report.
    QTest::mouseClick(Find<QRadioButton>(QStringLiteral("Option1(2)")), Qt::LeftButton);
    ASSERT_EQ(Button(QStringLiteral("Command3"))->text(), QStringLiteral("Yeni Kayıt"));
    data.Open(data.reports())->ExecuteNative(QStringLiteral("DELETE FROM Rapor"));
    Click(QStringLiteral("Command3"));
    EXPECT_FALSE(Find<QGroupBox>(QStringLiteral("Frame1"))->isVisible());
    EXPECT_TRUE(RaporRows().isEmpty());
}

} // namespace
