#include "app/KeepOnScreen.h"
#include "app/Wheelmouse.h"

#include <QApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <gtest/gtest.h>

TEST(KeepOnScreen, Table)
{
    const QRect screen(0, 0, 1000, 800);
    const int reserve = 44;
    struct Case {
        const char* name;
        QRect frame;
        QPoint expected;
    } cases[] = {
        {"inside stays", QRect(100, 100, 400, 300), QPoint(100, 100)},
        {"off left", QRect(-50, 100, 400, 300), QPoint(0, 100)},
        {"off top", QRect(100, -20, 400, 300), QPoint(100, 0)},
        {"off left and top", QRect(-5, -5, 400, 300), QPoint(0, 0)},
        {"past right", QRect(700, 100, 400, 300), QPoint(600, 100)},
        {"right edge on screen edge", QRect(600, 100, 400, 300), QPoint(600, 100)},
        {"into bottom reserve", QRect(100, 460, 400, 300), QPoint(100, 456)},
        {"bottom reserve exactly free", QRect(100, 456, 400, 300), QPoint(100, 456)},
        // Wider than the screen: the right edge wins, as it is tested last.
        {"wider than screen", QRect(-10, 0, 1200, 300), QPoint(-200, 0)},
        {"taller than screen", QRect(0, -10, 400, 900), QPoint(0, -144)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(app::KeepOnScreen(c.frame, screen, reserve), c.expected);
    }
    // A second screen to the right is measured from its own corner.
    EXPECT_EQ(app::KeepOnScreen(QRect(900, 100, 400, 300), QRect(1000, 0, 1000, 800), reserve),
              QPoint(1000, 100));
}

TEST(KeepOnScreen, WindowDraggedOffTheCornerComesBack)
{
    QWidget w;
    w.resize(200, 150);
    w.show();
    w.move(-80, -40);
    EXPECT_TRUE(app::KeepWindowOnScreen(&w, 44));
    EXPECT_EQ(w.frameGeometry().topLeft(), w.screen()->geometry().topLeft());
    EXPECT_FALSE(app::KeepWindowOnScreen(&w, 44));
}

TEST(Wheelmouse, IsOverWindowIncludesTheEdges)
{
    QWidget w;
    w.resize(100, 50);
    w.show();
    const QPoint o = w.mapToGlobal(QPoint(0, 0));
    const struct { int dx, dy; bool over; } points[] = {
        {0, 0, true}, {100, 50, true}, {40, 20, true}, {-1, 0, false}, {101, 0, false}, {0, 51, false}};
    for (const auto& p : points)
        EXPECT_EQ(app::IsOverWindow(&w, o.x() + p.dx, o.y() + p.dy), p.over) << p.dx << "," << p.dy;
    EXPECT_FALSE(app::IsOverWindow(nullptr, 0, 0));
}

TEST(Wheelmouse, UnhookWithoutAStoredProcedureDoesNothing)
{
    QWidget w;
    app::UnhookWheel(&w);
    EXPECT_FALSE(w.property("PrevWndProc").isValid());
    w.setProperty("PrevWndProc", 1234);
    app::UnhookWheel(&w);
    EXPECT_FALSE(w.property("PrevWndProc").isValid());
    app::UnhookWheel(nullptr);
}
