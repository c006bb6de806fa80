#include "BoardFixture.h"

#include "app/SharedState.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {

// The customer detail frame on the real board, over jobs of the test's own.
class CustomerDetailTest : public BoardTest {
protected:
    const QString customer = QStringLiteral("Detay Müşteri A.Ş.");

    struct Job {
        const char* sipNo;
        const char* kind;
        bool done = false, cancelled = false;
    };

    // The customer's order line in the list, and jobs of several kinds and states.
    void AddCustomerWithJobs(const std::vector<Job>& jobs) const
    {
        AddLine({.sipNo = QStringLiteral("T80000"), .customer = customer});
        for (const Job& j : jobs)
            Jobs()->Execute(QStringLiteral("INSERT INTO Montaj (Eleman, Görev, Tarih, SipNo, Tamam, Adet, RecNo, "
                                           "CariKod, Unvan, Iptal, Kalan) VALUES ('Usta Bir', ")
                            + store::SqlText(QString::fromUtf8(j.kind)) + ", " + store::DateLiteral(Today())
                            + ", " + store::SqlText(QString::fromUtf8(j.sipNo)) + ", "
                            + (j.done ? "True" : "False") + ", 2, 1, '120.T.T80000', "
                            + store::SqlText(customer) + ", " + (j.cancelled ? "True" : "False") + ", 0)");
    }

    void OpenDetailFor(const QString& sipNo)
    {
        ASSERT_TRUE(GoTo(window->DataSiparis, QStringLiteral("SipNo=") + store::SqlText(sipNo)));
        window->Detay->trigger();
        QApplication::processEvents();
    }

    QStringList Listed() const
    {
        QStringList out;
        store::RecordView& v = window->DataDetay;
        for (int r = 0; r < v.RecordCount(); ++r)
            out << v.ValueAt(r, v.FieldIndex(QStringLiteral("SipNo"))).toString();
        return out;
    }

    QRadioButton* Option(int i) const { return Find<QRadioButton>(QStringLiteral("Option2(%1)").arg(i)); }
    QGroupBox* Frame() const { return Find<QGroupBox>(QStringLiteral("DetayFrm")); }
};

TEST_F(CustomerDetailTest, OpeningListsEveryKindAndTheOptionsTheCurrentKindOnly)
{
    AddCustomerWithJobs({{"T80001", "Montaj", true},
                         {"T80002", "Montaj", false, true},
                         {"T80003", "Servis", true},
                         {"T80004", "Montaj"},
                         {"T80005", "Paket", false, true}});
    auto& w = Open();
    EXPECT_TRUE(w.Detay->isEnabled());
    OpenDetailFor(QStringLiteral("T80000"));

    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->title(), QStringLiteral(" Müşteri Detay "));
    EXPECT_EQ(Find<QLabel>(QStringLiteral("DetayLbl"))->text(), customer);
    EXPECT_EQ(Listed(), (QStringList{"T80001", "T80002", "T80003", "T80004", "T80005"}));
    EXPECT_TRUE(Option(2)->isChecked());
    EXPECT_TRUE(w.DetayDBGrid->Highlight());
    EXPECT_TRUE(w.DetayDBGrid->hasFocus());
    EXPECT_TRUE(app::SuppressListSync);
    bool refused = false;
    emit w.DetayDBGrid->selectionChanging(&refused);
    EXPECT_TRUE(refused);

    const struct {
        int option;
        QStringList listed;
    } filters[] = {
        {1, {"T80001"}},                     // done, of the installation kind
        {0, {"T80002"}},                     // cancelled
        {2, {"T80001", "T80002", "T80004"}}, // all of the kind: no longer the others
    };
    for (const auto& f : filters) {
        QTest::mouseClick(Option(f.option), Qt::LeftButton);
        EXPECT_EQ(Listed(), f.listed) << f.option;
        EXPECT_TRUE(w.DetayDBGrid->Highlight()) << f.option;
    }

    // Opened again, it starts from every kind with "Tümü" chosen.
    QTest::mouseClick(Option(1), Qt::LeftButton);
    OpenDetailFor(QStringLiteral("T80000"));
    EXPECT_TRUE(Option(2)->isChecked());
    EXPECT_EQ(Listed().size(), 5);

    QTest::mouseClick(Find<QPushButton>(QStringLiteral("DetayCmd")), Qt::LeftButton);
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_FALSE(app::SuppressListSync);
}

TEST_F(CustomerDetailTest, ACustomerWithoutJobsShowsAnEmptyListUnderTheLastName)
{
    AddCustomerWithJobs({{"T80001", "Montaj"}});
    AddLine({.sipNo = QStringLiteral("T80100"), .customer = QStringLiteral("İşi Olmayan Müşteri")});
    auto& w = Open();
    OpenDetailFor(QStringLiteral("T80000"));
    ASSERT_TRUE(w.DetayDBGrid->Highlight());
    OpenDetailFor(QStringLiteral("T80100"));
    EXPECT_EQ(w.DataDetay.RecordCount(), 0);
    EXPECT_FALSE(w.DetayDBGrid->Highlight());
    EXPECT_EQ(Find<QLabel>(QStringLiteral("DetayLbl"))->text(), customer);
    // Options on an empty history leave it empty, without a message.
    QTest::mouseClick(Option(0), Qt::LeftButton);
    EXPECT_EQ(w.DataDetay.RecordCount(), 0);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(CustomerDetailTest, WhileOpenTheJobGridDoesNotMoveTheOrderList)
{
    AddCustomerWithJobs({{"T80001", "Montaj"}});
    auto& w = Open();
    // Today's jobs whose order lines the list shows.
    std::vector<int> followable;
    for (int r = 0; r < w.DataGörev.RecordCount(); ++r)
        if (GoTo(w.DataSiparis, SipNoIs(w.DataGörev.ValueAt(r, w.DataGörev.FieldIndex(QStringLiteral("SipNo"))).toString())))
            followable.push_back(r);
    ASSERT_GE(followable.size(), 2u);
    w.DataGörev.setAbsolutePosition(followable[0]);

    OpenDetailFor(QStringLiteral("T80000"));
    w.DataGörev.setAbsolutePosition(followable[1]);
    QApplication::processEvents();
    EXPECT_EQ(w.DataSiparis.Field(QStringLiteral("SipNo")).toString(), QStringLiteral("T80000"));

    QTest::mouseClick(Find<QPushButton>(QStringLiteral("DetayCmd")), Qt::LeftButton);
    w.DataGörev.setAbsolutePosition(followable[0]);
    QApplication::processEvents();
    EXPECT_EQ(w.DataSiparis.Field(QStringLiteral("SipNo")).toString(),
              w.DataGörev.Field(QStringLiteral("SipNo")).toString());
}

TEST_F(CustomerDetailTest, LeavingKapatWhileOpenReturnsToTheList)
{
    AddCustomerWithJobs({{"T80001", "Montaj"}});
    auto& w = Open();
    OpenDetailFor(QStringLiteral("T80000"));
    auto* close = Find<QPushButton>(QStringLiteral("DetayCmd"));
    close->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(close->hasFocus());
    w.GörevGrid->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(w.DetayDBGrid->hasFocus());

    // Closed, the frame lets the focus go.
    QTest::mouseClick(close, Qt::LeftButton);
    QApplication::processEvents();
    w.GörevGrid->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(w.GörevGrid->hasFocus());
}

} // namespace
