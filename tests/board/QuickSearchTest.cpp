#include "BoardFixture.h"

#include "board/QuickSearch.h"

#include <QLineEdit>

namespace {

using board::QuickSearch;

// The quick-search box on the real board.
class QuickSearchTest : public BoardTest {
protected:
    QLineEdit* Box() const { return Find<QLineEdit>(QStringLiteral("Text1")); }

    // Clicks from the order list into the box and types, one key at a time.
    void Type(const QString& text)
    {
        ClickIntoBox();
        QTest::keyClicks(Box(), text);
    }
    // Typed text outside the keyboard's plain keys arrives as a whole.
    void Enter(const QString& text)
    {
        ClickIntoBox();
        Box()->insert(text);
    }
    void ClickIntoBox()
    {
        window->StokDataGrid->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(Box(), Qt::LeftButton);
        ASSERT_TRUE(Box()->text().isEmpty());
    }

    QString CurrentSipNo() const { return window->DataSiparis.Field(QStringLiteral("SipNo")).toString(); }
};

TEST_F(QuickSearchTest, EnteringEmptiesTheBoxAndLeavingPutsTheRestingTextBack)
{
    auto& w = Open();
    EXPECT_EQ(Box()->text(), QStringLiteral(" Kayıt Bul"));
    w.DataSiparis.setAbsolutePosition(7);
    QTest::mouseClick(Box(), Qt::LeftButton);
    EXPECT_TRUE(Box()->text().isEmpty());
    w.StokDataGrid->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Box()->text(), QStringLiteral(" Kayıt Bul"));
    EXPECT_EQ(w.DataSiparis.AbsolutePosition(), 7);
}

TEST_F(QuickSearchTest, FindsByNumberThenNameInBothCasesThenProduct)
{
    AddLine({.sipNo = QStringLiteral("T70001"), .customer = QStringLiteral("Başka Müşteri")});
    AddLine({.sipNo = QStringLiteral("T10001"), .customer = QStringLiteral("T7 Klima Servisi")});
    AddLine({.sipNo = QStringLiteral("T10002"), .customer = QStringLiteral("İZMİR KLİMA SAN.")});
    AddLine({.sipNo = QStringLiteral("T10003"), .customer = QStringLiteral("ısparta yapı")});
    AddLine({.sipNo = QStringLiteral("T10004"), .product = QStringLiteral("Vitrifiye Lavabo Seti")});
    AddLine({.sipNo = QStringLiteral("T10005"), .customer = QStringLiteral("Ahmet'in Yeri")});
    auto& w = Open();
    const struct {
        const char* typed;
        const char* sipNo;
    } cases[] = {
        {"t7", "T70001"},       // the order number before a name that starts the same
        {"izmir", "T10002"},    // capitals with a dotted İ, through the upper-case form
        {"ISPARTA", "T10003"},  // small letters with a dotless ı, through the lower-case form
        {"vitrifiye l", "T10004"},
        {"ahmet'in", "T10005"},
        {"ahm*yeri", "T10005"},
    };
    for (const auto& c : cases) {
        w.DataSiparis.MoveFirst();
        Type(QString::fromUtf8(c.typed));
        EXPECT_EQ(CurrentSipNo(), QString::fromUtf8(c.sipNo)) << c.typed;
        EXPECT_TRUE(w.StokDataGrid->Highlight()) << c.typed;
        EXPECT_EQ(w.StokDataGrid->currentIndex().row(), w.DataSiparis.AbsolutePosition()) << c.typed;
    }
    w.DataSiparis.MoveFirst();
    Enter(QStringLiteral("İzmir klima"));
    EXPECT_EQ(CurrentSipNo(), QStringLiteral("T10002"));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(QuickSearchTest, NoMatchTurnsTheHighlightOffAndClearingDoesNotMoveTheList)
{
    AddLine({.sipNo = QStringLiteral("T10002"), .customer = QStringLiteral("İZMİR KLİMA SAN.")});
    auto& w = Open();
    Type(QStringLiteral("izmir"));
    ASSERT_EQ(CurrentSipNo(), QStringLiteral("T10002"));
    const int at = w.DataSiparis.AbsolutePosition();

    // "[" and "#" are no pattern characters: nothing starts with them here.
    for (const char* typed : {"zzqx", "#", "[a-z]"}) {
        Box()->selectAll();
        QTest::keyClick(Box(), Qt::Key_Delete);
        EXPECT_EQ(w.DataSiparis.AbsolutePosition(), at) << "cleared before " << typed;
        EXPECT_TRUE(w.StokDataGrid->Highlight()) << typed; // clearing searches nothing
        Box()->insert(QString::fromUtf8(typed));
        EXPECT_FALSE(w.StokDataGrid->Highlight()) << typed;
        EXPECT_EQ(w.DataSiparis.AbsolutePosition(), at) << typed;
        Box()->clear();
        Box()->insert(QStringLiteral("izmir"));
        ASSERT_TRUE(w.StokDataGrid->Highlight());
    }
}

} // namespace
