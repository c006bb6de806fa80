#include "UiStore.h"

#include "app/Clock.h"
#include "ui/DataCombo.h"
#include "ui/DataList.h"
#include "ui/DatePicker.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TEST(DataComboTest, ListsTheFieldFollowsTheViewAndLeavesTheTextFree)
{
    UiStore s(6);
    auto view = s.View(QStringLiteral("Select * From Montaj Where Adet <= 3 Order By SipNo"));
    ui::DataCombo combo;
    combo.bind(view.get(), QStringLiteral("SipNo"));
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("S0001"));
    EXPECT_EQ(combo.itemText(2), QStringLiteral("S0003"));

    combo.setText(QStringLiteral("S0002"));
    EXPECT_EQ(combo.Text(), QStringLiteral("S0002"));
    EXPECT_EQ(combo.currentIndex(), 1);

    // The view is read again with more rows: the list grows, the text stays.
    view->setRecordSource(QStringLiteral("Select * From Montaj Order By SipNo Desc"));
    view->Refresh();
    EXPECT_EQ(combo.count(), 6);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("S0006"));
    EXPECT_EQ(combo.Text(), QStringLiteral("S0002"));

    // Stored, added and deleted rows show in the list.
    view->setAbsolutePosition(0);
    view->Edit();
    view->setField(QStringLiteral("SipNo"), QStringLiteral("S0006A"));
    view->Update();
    EXPECT_EQ(combo.itemText(0), QStringLiteral("S0006A"));
    view->Delete();
    EXPECT_EQ(combo.count(), 5);

    // The text is free and never added to the list.
    const int count = combo.count();
    combo.setText(QStringLiteral("Listede Olmayan Usta"));
    EXPECT_EQ(combo.Text(), QStringLiteral("Listede Olmayan Usta"));
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.count(), count);

    // Typed by the user and confirmed: still not added.
    combo.lineEdit()->selectAll();
    QTest::keyClicks(combo.lineEdit(), QStringLiteral("Yeni Usta"));
    QTest::keyClick(combo.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(combo.Text(), QStringLiteral("Yeni Usta"));
    EXPECT_EQ(combo.count(), count);

    combo.setText(QString());
    EXPECT_EQ(combo.Text(), QString());
}

TEST(DatePickerTest, ShowsDayMonthYearWithACalendarAndStartsToday)
{
    app::Clock::SetTodayForTesting(QDate(2026, 12, 7));
    ui::DatePicker picker;
    app::Clock::SetTodayForTesting({});
    EXPECT_TRUE(picker.calendarPopup());
    EXPECT_EQ(picker.date(), QDate(2026, 12, 7));
    EXPECT_EQ(picker.text(), QStringLiteral("07.12.2026"));

    QSignalSpy changed(&picker, &QDateEdit::dateChanged);
    picker.setDate(QDate(2027, 1, 31));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(picker.text(), QStringLiteral("31.01.2027"));
}


TEST(DataListTest, ShowsTheFieldAndReportsClicksAndFocus)
{
    UiStore s(5);
    auto view = s.View(QStringLiteral("Select * From Montaj Order By SipNo Desc"));
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* list = new ui::DataList(&window);
    auto* other = new QLineEdit(&window);
    layout->addWidget(list);
    layout->addWidget(other);
    list->bind(view.get(), QStringLiteral("SipNo"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    ASSERT_EQ(list->model()->rowCount(), 5);
    list->setText(QStringLiteral("S0004"));
    EXPECT_EQ(list->currentIndex().row(), 1);
    EXPECT_EQ(list->Text(), QStringLiteral("S0004"));
    list->setText(QStringLiteral("Yok"));
    EXPECT_EQ(list->Text(), QString());

    QString clicked;
    QObject::connect(list, &ui::DataList::entryClicked, [&] { clicked = list->Text(); });
    const QRect third = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(clicked, QStringLiteral("S0003"));
    EXPECT_EQ(view->AbsolutePosition(), 0); // the view stays where it was

    QSignalSpy lost(list, &ui::DataList::focusLost);
    list->setFocus();
    other->setFocus();
    EXPECT_EQ(lost.count(), 1);

    // A new search result replaces the entries.
    view->setRecordSource(QStringLiteral("Select * From Montaj Where SipNo Like 'S000[12]'"));
    view->Refresh();
    EXPECT_EQ(list->model()->rowCount(), 2);
}

} // namespace
