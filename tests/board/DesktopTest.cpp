#include "BoardFixture.h"

#include "app/Look.h"
#include "app/Settings.h"
#include "app/Turkish.h"
#include "version/Version.h"
#include "app/WindowPlacement.h"
#include "ui/DatePicker.h"

#include <QCalendarWidget>
#include <QFile>
#include <QLocale>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>

namespace {

// The board as a desktop program: its language, its place on the screen,
// the keyboard, the About box and its colours.
class DesktopTest : public BoardTest {
protected:
    void TearDown() override
    {
        BoardTest::TearDown();
        QLocale::setDefault(QLocale::c());
    }

    // The nearest named widget around the one with the focus.
    static QString FocusName()
    {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
                return w->objectName();
        return {};
    }
};

TEST_F(DesktopTest, TheCalendarIsTurkishUnderTheCLocale)
{
    // CTest runs every test under LC_ALL=C.UTF-8: the system says nothing Turkish.
    ASSERT_NE(QLocale::system().language(), QLocale::Turkish);
    app::UseTurkish(*qApp);
    auto& w = Open();
    w.DTPicker1->setDate(QDate(2026, 12, 1));
    QCalendarWidget* calendar = w.DTPicker1->calendarWidget();
    calendar->setSelectedDate(QDate(2026, 12, 1));
    calendar->show(); // the popup's calendar, shown on its own

    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), QStringLiteral("Aralık"));
    // The heading row of the days: the week starts on Monday, every name whole.
    auto* days = calendar->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    ASSERT_NE(days, nullptr);
    QStringList headings;
    for (int col = 0; col < days->model()->columnCount(); ++col)
        if (const QString h = days->model()->index(0, col).data().toString(); !h.isEmpty())
            headings << h;
    EXPECT_EQ(headings, (QStringList{"Pzt", "Sal", "Çar", "Per", "Cum", "Cmt", "Paz"}));
    const QFontMetrics fm(days->font());
    for (int col = 0; col < days->model()->columnCount(); ++col)
        EXPECT_GE(days->columnWidth(col), fm.horizontalAdvance(QStringLiteral("Pzt"))) << col;
    // Number grouping and day formats follow.
    EXPECT_EQ(QLocale().toString(1234567), QStringLiteral("1.234.567"));
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 1), QStringLiteral("dddd d MMMM")),
              QStringLiteral("Salı 1 Aralık"));
}

TEST_F(DesktopTest, PlaceSizeAndSplitterComeBackFromTheSettingsHive)
{
    auto& first = Open();
    // The first run: the top left corner, the available screen filled.
    const QRect avail = first.screen()->availableGeometry();
    EXPECT_GE(first.width(), avail.width() - 8);
    auto* splitter = Find<QSplitter>(QStringLiteral("BoardSplitter"));
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->widget(0), OrderGrid());
    EXPECT_EQ(splitter->widget(1), JobGrid());

    first.resize(900, 640);
    first.move(40, 30);
    splitter->setSizes({150, 350});
    const QList<int> sizes = splitter->sizes();
    first.close();

    // In the hive, under the program's own key.
    const auto value = [](const char* name) {
        return app::GetRegString(app::RootKey::CurrentUser, app::kWindowKey, QString::fromUtf8(name));
    };
    EXPECT_EQ(value("Konum"), QStringLiteral("40,30,900,640"));
    EXPECT_EQ(value("Büyük"), QStringLiteral("0"));
    EXPECT_EQ(value("Bölücü"), QStringLiteral("%1,%2").arg(sizes[0]).arg(sizes[1]));

    auto& second = Open();
    EXPECT_EQ(second.size(), QSize(900, 640));
    EXPECT_EQ(second.frameGeometry().topLeft(), QPoint(40, 30));
    EXPECT_EQ(Find<QSplitter>(QStringLiteral("BoardSplitter"))->sizes(), sizes);

    // Maximised, it comes back maximised.
    second.showMaximized();
    second.close();
    EXPECT_EQ(value("Büyük"), QStringLiteral("1"));
}

TEST_F(DesktopTest, TabFollowsTheScreenAndLeavesTheDayAtOnce)
{
    auto& w = Open();
    QApplication::setActiveWindow(&w);
    w.Option1[0]->setFocus();
    QStringList visited{FocusName()};
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << FocusName();
    }
    // One Tab leaves the day field, whichever of its parts has the cursor.
    EXPECT_EQ(visited.join(QLatin1Char(' ')).toStdString(),
              "Option1(0) DTPicker1 Text1 Check1 StokDataGrid GörevGrid DBGrid2 DBCombo1 Command2 "
              "Command1(1) Command1(2) Command3 Command4 Command1(0) Option1(0)");
}

TEST_F(DesktopTest, F1ShowsVersionDataFolderSettingsAndStoreSizes)
{
    auto& w = Open();
    QApplication::setActiveWindow(&w);
    QTest::keyClick(&w, Qt::Key_F1);
    ASSERT_EQ(prompt.shown.size(), 1u);
    const QString text = prompt.shown[0].text;
    EXPECT_EQ(prompt.shown[0].title, QStringLiteral("Velmora Hakkında"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Velmora ") + QString::fromLatin1(version::Number()))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Lisans:")));
    EXPECT_TRUE(text.contains(app::SettingsFile::Path()));
    EXPECT_TRUE(text.contains(QStringLiteral("MuhasebeData"))) << text.toStdString();
    for (const char* file : {"Montaj.mdb", "Rapor.mdb", "Cari.Mdb", "Siparis.Mdb"}) {
        const QString size = QLocale().formattedDataSize(QFile(Store(file)).size(), 1,
                                                         QLocale::DataSizeTraditionalFormat);
        EXPECT_TRUE(text.contains(QString::fromUtf8(file) + QStringLiteral("  ") + size)) << file;
    }
}

TEST_F(DesktopTest, OwnColouredButtonsKeepDarkTextOnADarkDesktop)
{
    QApplication::setPalette(app::DarkPalette());
    auto& w = Open();
    for (int kind : {0, 2}) {
        w.ChooseKind(kind);
        // What is drawn: mostly the button's own colour, with a black caption.
        const QImage shot = w.Command3->grab().toImage();
        std::map<QRgb, int> colours;
        int dark = 0;
        for (int x = 0; x < shot.width(); ++x)
            for (int y = 0; y < shot.height(); ++y) {
                ++colours[shot.pixel(x, y) | 0xff000000u];
                dark += shot.pixelColor(x, y).lightness() < 60;
            }
        const auto most = std::max_element(colours.begin(), colours.end(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
        const QColor fill(most->first);
        EXPECT_EQ(fill.hsvHue(), kind == 2 ? 120 : 60) << kind;
        EXPECT_GT(fill.hsvSaturation(), 200) << kind;
        EXPECT_GT(dark, 10) << "no dark caption on kind " << kind;
    }
    QApplication::setPalette(QPalette());
}

} // namespace
