#include "ReportFixture.h"

#include "ui/DatePicker.h"

namespace {

class OpenJobsTest : public ReportTest {
protected:
    void Business() const
    {
        AddStaff(QStringLiteral("320.01.001"), QStringLiteral("Ali Demir"));
        const QString ali = QStringLiteral("Ali Demir"), day = Stored(Today());
        AddJob({ali, "Servis", day, false, false, 0, "Servis Müşterisi", 2.5});
        AddJob({ali, "Montaj", day, false, false, 0, "Montaj Müşterisi", 2});
        AddJob({ali, "Montaj", day, false, false, 0, "İkinci Montaj", 3});
        AddJob({ali, "Paket", day, false, true, 0, "İptal Edilmiş Paket", 1}); // cancelled but not done: open
        AddJob({ali, "Montaj", day, true, false, 1, "Biten İş", 40});
        AddJob({ali, "Montaj", Stored(Today().addDays(1)), false, false, 0, "Yarının İşi", 7});
    }
    QStringList Customers() const
    {
        QStringList out;
        for (int r = 0; r < window->DataMr.RecordCount(); ++r)
            out << window->DataMr.ValueAt(r, 8).toString();
        return out;
    }
    // The four labels of a control array, as text.
    QStringList Labels(const char* array) const
    {
        QStringList out;
        for (int i = 0; i < 4; ++i)
            out << Find<QLabel>(QStringLiteral("%1(%2)").arg(QString::fromUtf8(array)).arg(i))->text();
        return out;
    }
    QStringList Units() const { return Labels("Label3"); }
};

TEST_F(OpenJobsTest, ThePanelListsTheDaysOpenJobsByKindAndTheOpenUnitsPerKind)
{
    Business();
    auto& w = OpenOnDay(Today());
    auto* frame = Find<QGroupBox>(QStringLiteral("MrFrame"));
    auto* picker = Find<ui::DatePicker>(QStringLiteral("DTPicker2"));
    ASSERT_FALSE(frame->isVisible());
    // Setting the day while the panel is hidden fills nothing.
    played.clear();
    picker->setDate(Today().addDays(1));
    EXPECT_TRUE(played.isEmpty());
    EXPECT_EQ(Units(), (QStringList{"0", "0", "0", "0"}));

    // Opened on the panel's own day.
    Click(QStringLiteral("Command4"));
    ASSERT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->title(), QStringLiteral(" Montaj Rapor "));
    EXPECT_EQ(played, QStringList{QStringLiteral("\\Cmd.wav")});
    EXPECT_EQ(Customers(), QStringList{QStringLiteral("Yarının İşi")});
    EXPECT_EQ(Units(), (QStringList{"7", "0", "0", "0"}));

    // A job finished meanwhile is gone when the panel is opened again.
    Jobs()->ExecuteNative(QStringLiteral("UPDATE Montaj SET Tamam=1 WHERE Unvan='Yarının İşi'"));
    Click(QStringLiteral("Command4"));
    EXPECT_FALSE(frame->isVisible());
    Click(QStringLiteral("Command4"));
    EXPECT_TRUE(Customers().isEmpty());
    EXPECT_EQ(Units(), (QStringList{"0", "0", "0", "0"}));

    // Another day in the panel's picker, while it is shown.
    picker->setDate(Today());
    EXPECT_EQ(Customers(), (QStringList{"Montaj Müşterisi", "İkinci Montaj", "İptal Edilmiş Paket", "Servis Müşterisi"}));
    EXPECT_EQ(window->DBGrid1->model()->rowCount(), 4);
    // A kind without open units shows 0; half units are kept.
    EXPECT_EQ(Units(), (QStringList{"5", "2,5", "0", "1"}));
    EXPECT_EQ(Labels("Label2"), (QStringList{"Montaj", "Servis", "Keşif", "Paket Teslim"}));

    // "Kapat" hides it and the board's grid shows the board's kind and day.
    Click(QStringLiteral("Command5(1)"));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(w.DataGörev.RecordSource(),
              QStringLiteral("Select * From Montaj Where Görev='Montaj' And Tarih=#12/07/2026# Order By SipNo Asc"));
    EXPECT_EQ(w.DataGörev.RecordCount(), 3);
}

} // namespace
