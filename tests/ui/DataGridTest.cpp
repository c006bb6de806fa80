#include "UiStore.h"

#include "ui/DataGrid.h"
#include "ui/RecordModel.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>

namespace {

using ui::ColumnAlign;
using ui::ColumnFormat;
using ui::DataGrid;
using ui::GridColumn;

// The job grid of the board in small: 0 SipNo, 1 Eleman, 2 Tamam, 3 Adet, 4 Kalan.
std::vector<GridColumn> JobColumns()
{
    return {Col("Sipariş", "SipNo", 1200), Col("Eleman", "Eleman", 1800),
            Col("Tamam", "Tamam", 700, ColumnFormat::YesNo),
            Col("Adet", "Adet", 700, ColumnFormat::GeneralNumber),
            Col("Yapıldı", "Kalan", 900, ColumnFormat::GeneralNumber)};
}

// A fresh window with the grid and one other control, shown and active.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view = store.View();
        auto* layout = new QVBoxLayout(&window);
        grid = new DataGrid(&window);
        grid->setObjectName(QStringLiteral("GörevGrid"));
        other = new QLineEdit(&window);
        layout->addWidget(grid);
        layout->addWidget(other);
        grid->setColumns(JobColumns());
        grid->setView(view.get());
        window.resize(700, 400);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Stored value of a job, read past the view.
    QVariant Stored(const char* field, const char* sipNo)
    {
        return store.conn->Scalar(QStringLiteral("Select %1 From Montaj Where SipNo='%2'")
                                      .arg(QString::fromUtf8(field), QString::fromUtf8(sipNo)));
    }

    QPoint CellCenter(int row, int column)
    {
        grid->scrollTo(grid->model()->index(row, column));
        return grid->visualRect(grid->model()->index(row, column)).center();
    }

    // Types into the current cell and commits with Enter.
    void TypeIntoCurrentCell(const QString& text)
    {
        grid->setFocus();
        QTest::keyClicks(grid, text);
        QWidget* editor = QApplication::focusWidget();
        ASSERT_TRUE(editor && editor != other && grid->isAncestorOf(editor)) << "no editor opened";
        QTest::keyClick(editor, Qt::Key_Return);
        // The item delegate commits on Enter through a queued call.
        QCoreApplication::processEvents();
    }

    UiStore store{40};
    std::unique_ptr<store::RecordView> view;
    QWidget window;
    DataGrid* grid = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(GridTest, GridFollowsTheViewAndTheViewFollowsTheGrid)
{
    QSignalSpy rowChanged(grid, &DataGrid::rowChanged);
    EXPECT_EQ(grid->currentIndex().row(), 0);

    view->MoveLast();
    EXPECT_EQ(grid->currentIndex().row(), 39);
    view->FindFirst(QStringLiteral("SipNo='S0012'"));
    EXPECT_EQ(grid->currentIndex().row(), 11);
    EXPECT_EQ(rowChanged.count(), 2);

    // A click moves the view; the handler of the click sees the view moved.
    int positionAtClick = -1;
    QObject::connect(grid, &DataGrid::cellClick, [&] { positionAtClick = view->AbsolutePosition(); });
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(5, 1));
    EXPECT_EQ(view->AbsolutePosition(), 5);
    EXPECT_EQ(positionAtClick, 5);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Text(), QStringLiteral("Eleman 0")); // job 6
    EXPECT_EQ(rowChanged.count(), 3);

    // Keys move it too.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(view->AbsolutePosition(), 6);
    EXPECT_EQ(view->Field(QStringLiteral("SipNo")).toString(), QStringLiteral("S0007"));
}

TEST_F(GridTest, RereadingAndDeletingKeepGridAndViewOnTheSameRecord)
{
    // A new result: the first row, announced even though row 0 was current before.
    QSignalSpy rowChanged(grid, &DataGrid::rowChanged);
    view->setRecordSource(QStringLiteral("Select * From Montaj Order By SipNo Desc"));
    view->Refresh();
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(grid->CellText(0), QStringLiteral("S0040"));
    EXPECT_EQ(rowChanged.count(), 1);

    // Deleting: the row after it becomes current in both.
    view->setAbsolutePosition(3);
    view->Delete();
    EXPECT_EQ(view->AbsolutePosition(), 3);
    EXPECT_EQ(grid->currentIndex().row(), 3);
    EXPECT_EQ(grid->CellText(0), QStringLiteral("S0036"));
    // The last row: nothing is current afterwards.
    view->MoveLast();
    view->Delete();
    EXPECT_TRUE(view->EOF());
    EXPECT_FALSE(grid->currentIndex().isValid());
    EXPECT_EQ(grid->Text(), QString());
    EXPECT_EQ(grid->model()->rowCount(), 38);
}

TEST_F(GridTest, ColumnResizedOnlyForTheUsersResizes)
{
    QSignalSpy resized(grid, &DataGrid::columnResized);
    // By code: none of these is the user's.
    grid->setWidthTwips(1, 2400);
    grid->setColumnVisible(2, false);
    grid->setColumnVisible(2, true);
    grid->setColumns(JobColumns());
    grid->HoldFields();
    grid->Rebind();
    view->Refresh();
    EXPECT_EQ(resized.count(), 0);
    EXPECT_EQ(grid->columnWidth(1), ui::TwipsToPixels(1800));

    // The user drags the right edge of column 0 by 30 pixels.
    QHeaderView* head = grid->horizontalHeader();
    const int edge = head->sectionViewportPosition(0) + head->sectionSize(0) - 1;
    const int y = head->height() / 2;
    const int before = head->sectionSize(0);
    QTest::mousePress(head->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(edge + 30, y), head->viewport()->mapToGlobal(QPointF(edge + 30, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(head->viewport(), &move);
    QTest::mouseRelease(head->viewport(), Qt::LeftButton, {}, QPoint(edge + 30, y));

    ASSERT_GE(resized.count(), 1);
    EXPECT_EQ(resized.last().at(0).toInt(), 0);
    EXPECT_EQ(head->sectionSize(0), before + 30);
    EXPECT_NEAR(grid->WidthTwips(0), ui::PixelsToTwips(before + 30), 0.01);
}

TEST_F(GridTest, UserCanNeverChangeTheSelection)
{
    int asked = 0;
    QObject::connect(grid, &DataGrid::selectionChanging, [&](bool* cancel) {
        ++asked;
        *cancel = true;
    });
    const auto selectedRows = [&] {
        QList<int> rows;
        for (const QModelIndex& i : grid->selectionModel()->selectedRows())
            rows.append(i.row());
        return rows;
    };

    grid->setHighlight(true);
    EXPECT_EQ(selectedRows(), QList<int>{0});
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(4, 0));
    EXPECT_EQ(selectedRows(), QList<int>{4}); // the highlight follows the current row
    EXPECT_EQ(asked, 0);

    // Ctrl+click, Shift+click, Shift+Down, Ctrl+A: each asked, each refused.
    const std::function<void()> attempts[] = {
        [&] { QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(6, 0)); },
        [&] { QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCenter(9, 0)); },
        [&] { QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier); },
        [&] { QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier); }};
    for (int i = 0; i < 4; ++i) {
        attempts[i]();
        EXPECT_EQ(asked, i + 1);
        EXPECT_EQ(selectedRows().size(), 1) << "attempt " << i;
    }

    // Without highlight: no marker at all, whatever the user clicks.
    grid->setHighlight(false);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(2, 1));
    EXPECT_TRUE(selectedRows().isEmpty());
    view->MoveLast();
    EXPECT_TRUE(selectedRows().isEmpty());
    grid->setHighlight(true);
    EXPECT_EQ(selectedRows(), QList<int>{39});
}

TEST_F(GridTest, KeysAndMouseAreReportedFirstAndConsumedKeysDoNothing)
{
    std::vector<int> keys;
    QObject::connect(grid, &DataGrid::keyDown, [&](int key, Qt::KeyboardModifiers, bool* consume) {
        keys.push_back(key);
        *consume = key == Qt::Key_Down;
    });
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(view->AbsolutePosition(), 0); // consumed
    QTest::keyClick(grid, Qt::Key_T);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->AbsolutePosition(), 39); // not consumed
    // The Ctrl key itself is a key press too.
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_Down, Qt::Key_T, Qt::Key_Control, Qt::Key_End}));

    std::vector<QString> order;
    QObject::connect(grid, &DataGrid::mouseDown, [&](Qt::MouseButton b, Qt::KeyboardModifiers m) {
        order.push_back(QStringLiteral("down %1 %2 at %3")
                            .arg(int(b))
                            .arg(int(m))
                            .arg(view->AbsolutePosition()));
    });
    QObject::connect(grid, &DataGrid::cellClick,
                     [&] { order.push_back(QStringLiteral("click at %1").arg(view->AbsolutePosition())); });
    QObject::connect(grid, &DataGrid::cellDoubleClick, [&] { order.push_back(QStringLiteral("double")); });
    QObject::connect(grid, &DataGrid::headClick,
                     [&](int c) { order.push_back(QStringLiteral("head %1").arg(c)); });

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(2, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(2, 2));
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCenter(3, 0));
    QHeaderView* head = grid->horizontalHeader();
    QTest::mouseClick(head->viewport(), Qt::LeftButton, {},
                      QPoint(head->sectionViewportPosition(3) + 5, head->height() / 2));

    const std::vector<QString> expected = {
        QStringLiteral("down %1 %2 at 39").arg(int(Qt::LeftButton)).arg(int(Qt::ControlModifier)),
        QStringLiteral("click at 2"),
        QStringLiteral("down %1 0 at 2").arg(int(Qt::LeftButton)),
        QStringLiteral("double"),
        QStringLiteral("down %1 0 at 2").arg(int(Qt::RightButton)),
        QStringLiteral("head 3"),
    };
    EXPECT_EQ(order, expected);
}

TEST_F(GridTest, FocusSignalsIgnoreTheGridsOwnEditor)
{
    grid->setLocked(4, false);
    grid->setAllowUpdate(true);
    other->setFocus();
    QSignalSpy gained(grid, &DataGrid::focusGained);
    QSignalSpy lost(grid, &DataGrid::focusLost);

    grid->setFocus();
    EXPECT_EQ(gained.count(), 1);
    grid->setCol(4);
    QTest::keyClicks(grid, QStringLiteral("3")); // opens the editor inside the grid
    ASSERT_TRUE(grid->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // back to the grid
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), grid);
    EXPECT_EQ(gained.count(), 1);
    EXPECT_EQ(lost.count(), 0);

    other->setFocus();
    EXPECT_EQ(lost.count(), 1);
    grid->setFocus();
    EXPECT_EQ(gained.count(), 2);

    // Leaving straight from an open editor counts too.
    QTest::keyClicks(grid, QStringLiteral("4"));
    ASSERT_TRUE(grid->isAncestorOf(QApplication::focusWidget()));
    other->setFocus();
    EXPECT_EQ(lost.count(), 2);
}

TEST_F(GridTest, TypingRunsTheUpdateCycle)
{
    grid->setLocked(4, false);
    grid->setAllowUpdate(true);
    view->setAbsolutePosition(2); // S0003, Adet 3, Kalan 0
    grid->setCol(4);

    // 1. Refused before the column update: the old value is back, nothing stored.
    std::vector<QString> seen;
    auto refuse = QObject::connect(grid, &DataGrid::beforeColUpdate,
                                   [&](int col, const QVariant& old, const QString& text, bool* cancel) {
                                       seen.push_back(QStringLiteral("%1 %2 %3").arg(col).arg(old.toString(), text));
                                       *cancel = true;
                                   });
    TypeIntoCurrentCell(QStringLiteral("7"));
    EXPECT_EQ(seen, std::vector<QString>{QStringLiteral("4 0 7")});
    EXPECT_EQ(grid->Text(), QStringLiteral("0"));
    EXPECT_EQ(Stored("Kalan", "S0003").toDouble(), 0.0);
    QObject::disconnect(refuse);

    // 2. Accepted: Text() is the new text inside afterColUpdate, then it is stored.
    QString textInAfter;
    auto after = QObject::connect(grid, &DataGrid::afterColUpdate, [&](int) { textInAfter = grid->Text(); });
    TypeIntoCurrentCell(QStringLiteral("2"));
    EXPECT_EQ(textInAfter, QStringLiteral("2"));
    EXPECT_EQ(Stored("Kalan", "S0003").toDouble(), 2.0);
    EXPECT_EQ(grid->Text(), QStringLiteral("2"));
    QObject::disconnect(after);

    // 3. beforeUpdate lowers what is about to be stored to Adet.
    auto cap = QObject::connect(grid, &DataGrid::beforeUpdate, [&](bool*) {
        if (grid->CellValue(3).toDouble() < grid->CellValue(4).toDouble())
            grid->setCellText(4, grid->CellText(3));
    });
    TypeIntoCurrentCell(QStringLiteral("9"));
    EXPECT_EQ(Stored("Kalan", "S0003").toDouble(), 3.0);
    QObject::disconnect(cap);

    // 4. beforeUpdate cancels: nothing stored, the stored value shows again.
    auto cancel = QObject::connect(grid, &DataGrid::beforeUpdate, [&](bool* c) { *c = true; });
    TypeIntoCurrentCell(QStringLiteral("1"));
    EXPECT_EQ(Stored("Kalan", "S0003").toDouble(), 3.0);
    EXPECT_EQ(grid->Text(), QStringLiteral("3"));
    QObject::disconnect(cancel);

    // 5. The handler stores the row itself after the column update: stored once.
    QSignalSpy rowStored(view.get(), &store::RecordView::rowChanged);
    auto own = QObject::connect(grid, &DataGrid::afterColUpdate, [&](int col) {
        view->Edit();
        view->setField(QStringLiteral("Kalan"), grid->CellText(col));
        view->Update();
    });
    TypeIntoCurrentCell(QStringLiteral("1"));
    EXPECT_EQ(Stored("Kalan", "S0003").toDouble(), 1.0);
    EXPECT_EQ(rowStored.count(), 1);
    QObject::disconnect(own);

    // 6. A value the field cannot hold is reported, not stored.
    QSignalSpy failed(grid, &DataGrid::updateFailed);
    TypeIntoCurrentCell(QStringLiteral("abc"));
    EXPECT_EQ(failed.count(), 1);
    EXPECT_EQ(Stored("Kalan", "S0003").toDouble(), 1.0);
    EXPECT_EQ(grid->Text(), QStringLiteral("1"));
}

TEST_F(GridTest, OnlyUnlockedColumnsAcceptTypingAndOnlyWhenAllowed)
{
    grid->setFocus();
    const struct { const char* name; bool unlocked, allowed; int col; bool opens; } cases[] = {
        {"locked by default", false, false, 4, false}, {"typing not allowed", true, false, 4, false},
        {"column 1 still locked", true, true, 1, false}, {"unlocked and allowed", true, true, 4, true}};
    for (const auto& c : cases) {
        grid->setLocked(4, !c.unlocked);
        grid->setAllowUpdate(c.allowed);
        grid->setCol(c.col);
        QTest::keyClicks(grid, QStringLiteral("5"));
        EXPECT_EQ(QApplication::focusWidget() != grid, c.opens) << c.name;
    }
}

TEST_F(GridTest, HoldFieldsAndRebindKeepColumnsAndWidthsAcrossANewSource)
{
    // The user has widened column 1; the widths are the grid's, not the view's.
    grid->horizontalHeader()->resizeSection(1, 250);
    grid->setColumnVisible(2, false);
    grid->HoldFields();
    view->setRecordSource(QStringLiteral("Select * From Montaj Where Eleman='Eleman 1' Order By Adet Desc"));
    view->Refresh();
    grid->Rebind();

    EXPECT_EQ(grid->ColumnCount(), 5);
    EXPECT_EQ(grid->columnWidth(1), 250);
    EXPECT_NEAR(grid->WidthTwips(1), ui::PixelsToTwips(250), 0.01);
    EXPECT_TRUE(grid->isColumnHidden(2));
    EXPECT_EQ(grid->columnWidth(0), ui::TwipsToPixels(1200));
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(grid->CellText(0), QStringLiteral("S0040"));

    // A source with the fields in another order still fills the same columns.
    grid->HoldFields();
    view->setRecordSource(QStringLiteral("Select Kalan, Adet, Tamam, Eleman, SipNo From Montaj Order By SipNo"));
    view->Refresh();
    grid->Rebind();
    EXPECT_EQ(grid->CellText(0), QStringLiteral("S0001"));
    EXPECT_EQ(grid->CellText(3), QStringLiteral("1"));
    EXPECT_EQ(grid->columnWidth(1), 250);
}

TEST_F(GridTest, PropertiesOfTheGrid)
{
    // The heading row is measured again when its font or a caption changes,
    // and only then (refreshes keep the measure).
    const int plainHeight = grid->horizontalHeader()->sizeHint().height();
    view->Refresh();
    EXPECT_EQ(grid->horizontalHeader()->sizeHint().height(), plainHeight);
    QFont f(QStringLiteral("Liberation Serif"), 13, QFont::Bold);
    grid->setHeadingFont(f);
    const int bigHeight = grid->horizontalHeader()->sizeHint().height();
    EXPECT_GT(bigHeight, plainHeight);
    grid->setCaption(0, QStringLiteral("Sipariş\nNo"));
    EXPECT_GT(grid->horizontalHeader()->sizeHint().height(), bigHeight);

    grid->setCaption(1, QStringLiteral("                   Eleman"));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("                   Eleman"));

    // Value is the stored value, Text what the cell shows.
    view->setAbsolutePosition(3); // S0004: Tamam
    grid->setCol(2);
    EXPECT_EQ(grid->Value(), QVariant(true));
    EXPECT_EQ(grid->Text(), QStringLiteral("\u2713"));
    grid->setCol(3);
    EXPECT_EQ(grid->Value().toDouble(), 4.0);
    EXPECT_EQ(grid->Text(), QStringLiteral("4"));
}

TEST(GridTwipsTest, FifteenTwipsAPixelAtNinetySixDpi)
{
    const double dpi = 1440.0 / ui::TwipsPerPixel();
    EXPECT_NEAR(dpi, QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 1e-9);
    EXPECT_EQ(ui::TwipsToPixels(ui::PixelsToTwips(123)), 123);
    if (QGuiApplication::primaryScreen()->logicalDotsPerInchX() == 96) {
        EXPECT_EQ(ui::TwipsToPixels(1440), 96);
        EXPECT_EQ(ui::PixelsToTwips(18), 270);
    }
}

TEST(LargeGridTest, TwoHundredThousandRowsAreShownAndReachedAtOnce)
{
    UiStore big(200000);
    auto view = big.View(QStringLiteral("Select * From Montaj Order By Adet"));
    DataGrid grid;
    grid.setColumns(JobColumns());
    grid.setView(view.get());
    grid.resize(600, 400);
    grid.show();
    EXPECT_EQ(grid.model()->rowCount(), 200000);
    view->MoveLast();
    EXPECT_EQ(grid.currentIndex().row(), 199999);
    EXPECT_EQ(grid.CellText(0), QStringLiteral("S200000"));
    grid.repaint();
    EXPECT_EQ(grid.rowAt(grid.viewport()->height() - 2) >= 199990, true);
}

TEST_F(GridTest, ACutCellShowsItsWholeTextAsATip)
{
    grid->setTipText(QStringLiteral(" Ara Çubuğu Seçim "));
    EXPECT_EQ(grid->toolTip(), QStringLiteral(" Ara Çubuğu Seçim "));
    const QModelIndex cell = grid->model()->index(0, 0);
    const QString whole = cell.data().toString();
    ASSERT_FALSE(whole.isEmpty());
    struct Case { const char* what; int width; bool cut; } cases[] = {
        {"wide column", 400, false},
        {"narrow column", 12, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->setColumnWidth(0, c.width);
        EXPECT_EQ(grid->CutCellText(cell), c.cut ? whole : QString());
        // What a resting mouse shows: the whole text, or the grid's own tip.
        QHelpEvent help(QEvent::ToolTip, grid->visualRect(cell).center(),
                        grid->viewport()->mapToGlobal(grid->visualRect(cell).center()));
        QApplication::sendEvent(grid->viewport(), &help);
        if (c.cut) {
            EXPECT_EQ(QToolTip::text(), whole);
        }
        QToolTip::hideText();
    }
}

} // namespace
