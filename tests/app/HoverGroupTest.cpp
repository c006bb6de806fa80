#include "app/HoverGroup.h"
#include "app/Sound.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class HoverGroupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app::Sound::RecordForTesting(&played);
        for (int i = 0; i < 3; ++i) {
            c1[i] = new QPushButton(QStringLiteral("C1"), &window);
            c1[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        }
        c2 = new QPushButton(QStringLiteral("C2"), &window);
        c2->setObjectName(QStringLiteral("Command2"));
        // The main window's first group: Command1(2) is not in any list.
        for (int i = 0; i < 3; ++i)
            group.add(c1[i], {c1[0], c1[1], c2});
        group.add(c2, {c1[0], c1[1]});
    }
    void TearDown() override { app::Sound::RecordForTesting(nullptr); }

    static void Enter(QWidget* w)
    {
        QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(w, &e);
    }
    int Sounds() const { return int(played.count(QStringLiteral("\\Cmd.wav"))); }
    QPushButton* Named(const char* name) const
    {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    QStringList played;
    QWidget window;
    QPushButton* c1[3]{};
    QPushButton* c2 = nullptr;
    app::HoverGroup group{&window};
};

} // namespace

TEST_F(HoverGroupTest, SoundOncePerEntryAgainAfterAnotherButton)
{
    QWidget* add = Named("Command2");
    QWidget* all = Named("Command1(1)");
    Enter(add);
    EXPECT_TRUE(app::HoverGroup::IsBold(add));
    EXPECT_EQ(Sounds(), 1);
    Enter(add); // still bold: nothing
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(add, &move);
    EXPECT_EQ(Sounds(), 1);

    Enter(all);
    EXPECT_TRUE(app::HoverGroup::IsBold(all));
    EXPECT_FALSE(app::HoverGroup::IsBold(add));
    EXPECT_EQ(Sounds(), 2);
    Enter(add);
    EXPECT_TRUE(app::HoverGroup::IsBold(add));
    EXPECT_FALSE(app::HoverGroup::IsBold(all));
    EXPECT_EQ(Sounds(), 3);
}

TEST_F(HoverGroupTest, ButtonLeftOutOfTheListsKeepsItsBold)
{
    QWidget* single = Named("Command1(2)");
    Enter(single);
    EXPECT_TRUE(app::HoverGroup::IsBold(single));
    Enter(Named("Command1(0)"));
    Enter(Named("Command2"));
    EXPECT_TRUE(app::HoverGroup::IsBold(single));
    EXPECT_FALSE(app::HoverGroup::IsBold(Named("Command1(0)")));
    // Back on it: already bold, so no sound.
    const int before = Sounds();
    Enter(single);
    EXPECT_EQ(Sounds(), before);
}

TEST_F(HoverGroupTest, DisabledButtonDoesNotReact)
{
    c1[0]->setEnabled(false);
    Enter(c1[0]);
    EXPECT_FALSE(app::HoverGroup::IsBold(c1[0]));
    EXPECT_EQ(Sounds(), 0);
}

TEST_F(HoverGroupTest, MutualGroup)
{
    app::HoverGroup dialog;
    QPushButton ok(QStringLiteral("Tamam")), cancel(QStringLiteral("Vazgeç"));
    dialog.addMutual({&ok, &cancel});
    Enter(&ok);
    Enter(&cancel);
    EXPECT_FALSE(app::HoverGroup::IsBold(&ok));
    EXPECT_TRUE(app::HoverGroup::IsBold(&cancel));
    EXPECT_EQ(Sounds(), 2);
}
