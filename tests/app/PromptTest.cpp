#include "app/Clock.h"
#include "app/Prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using app::Answer;
using app::ScriptedPrompt;
namespace Prompt = app::Prompt;

TEST(PromptTest, ScriptedAnswersAreTakenInOrderThenDefaults)
{
    ScriptedPrompt prompt;
    prompt.answers = {Answer::No, Answer::Yes};
    prompt.inputs = {QStringLiteral("12"), std::nullopt};

    EXPECT_FALSE(Prompt::Ask(nullptr, QStringLiteral("Silinsin mi?")));
    EXPECT_TRUE(Prompt::Ask(nullptr, QStringLiteral("Emin misiniz?"), QStringLiteral("Sil")));
    // Queue empty: a Yes/No box is answered Yes.
    EXPECT_TRUE(Prompt::Ask(nullptr, QStringLiteral("Bir daha?")));

    EXPECT_EQ(Prompt::Input(nullptr, QStringLiteral("Not Girin"), QStringLiteral("Not Girişi"),
                            QStringLiteral("eski")),
              QStringLiteral("12"));
    EXPECT_EQ(Prompt::Input(nullptr, QStringLiteral("Not Girin"), QStringLiteral("Not Girişi")),
              std::nullopt);
    // Queue empty: an input box is cancelled.
    EXPECT_EQ(Prompt::Input(nullptr, QStringLiteral("x"), QStringLiteral("y")), std::nullopt);

    Prompt::Message(nullptr, QStringLiteral("Önce Servisini Silin...."));
    Prompt::Beep();
    Prompt::Beep();

    ASSERT_EQ(prompt.shown.size(), 7u);
    EXPECT_EQ(prompt.shown[0].title, QStringLiteral("Velmora")); // default title
    EXPECT_TRUE(prompt.shown[0].yesNo);
    EXPECT_EQ(prompt.shown[1].title, QStringLiteral("Sil"));
    EXPECT_TRUE(prompt.shown[3].input);
    EXPECT_EQ(prompt.shown[3].text, QStringLiteral("Not Girin"));
    EXPECT_EQ(prompt.shown[3].defaultText, QStringLiteral("eski"));
    EXPECT_EQ(prompt.shown[6].text, QStringLiteral("Önce Servisini Silin...."));
    EXPECT_FALSE(prompt.shown[6].yesNo);
    EXPECT_FALSE(prompt.shown[6].input);
    EXPECT_EQ(prompt.beeps, 2);
}

TEST(PromptTest, YesNoCancelBoxesAnswerAllThree)
{
    ScriptedPrompt prompt;
    prompt.answers = {Answer::Cancel, Answer::No};
    EXPECT_EQ(Prompt::AskYesNoCancel(nullptr, QStringLiteral("Yazmaya Devam Et"), QStringLiteral("Yazıcı")),
              Answer::Cancel);
    EXPECT_EQ(Prompt::AskYesNoCancel(nullptr, QStringLiteral("Yazmaya Devam Et")), Answer::No);
    EXPECT_EQ(Prompt::AskYesNoCancel(nullptr, QStringLiteral("Yazmaya Devam Et")), Answer::Yes);
    ASSERT_EQ(prompt.shown.size(), 3u);
    EXPECT_EQ(prompt.shown[0].buttons, app::MessageButtons::YesNoCancel);
    EXPECT_EQ(prompt.shown[0].icon, app::MessageIcon::Question);
    EXPECT_EQ(prompt.shown[0].title, QStringLiteral("Yazıcı"));
    EXPECT_TRUE(prompt.shown[0].yesNo);
}

// The real box: Esc on a Yes/No/Cancel question is Cancel, on a Yes/No one No.
TEST(PromptTest, RealBoxEscapeIsCancelOnlyWhereThereIsACancel)
{
    ASSERT_EQ(Prompt::Handler(), nullptr);
    for (const bool withCancel : {true, false}) {
        QTimer timer;
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                timer.stop();
                EXPECT_EQ(box->buttons().size(), withCancel ? 3 : 2);
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        timer.start();
        if (withCancel)
            EXPECT_EQ(Prompt::AskYesNoCancel(nullptr, QStringLiteral("Devam?")), Answer::Cancel);
        else
            EXPECT_FALSE(Prompt::Ask(nullptr, QStringLiteral("Devam?")));
    }
}

TEST(PromptTest, NestedScriptsHandBackTheOuterOneAndLeaveNoneInstalled)
{
    {
        ScriptedPrompt outer;
        {
            ScriptedPrompt inner;
            Prompt::Message(nullptr, QStringLiteral("iç"));
            EXPECT_EQ(inner.shown.size(), 1u);
        }
        Prompt::Message(nullptr, QStringLiteral("dış"));
        ASSERT_EQ(outer.shown.size(), 1u);
        EXPECT_EQ(outer.shown[0].text, QStringLiteral("dış"));
        EXPECT_EQ(Prompt::Handler(), &outer);
    }
    EXPECT_EQ(Prompt::Handler(), nullptr);
}

TEST(ClockTest, FixedTodayAndBack)
{
    app::Clock::SetTodayForTesting(QDate(2024, 2, 29));
    EXPECT_EQ(app::Clock::Today(), QDate(2024, 2, 29));
    app::Clock::SetTodayForTesting({});
    EXPECT_EQ(app::Clock::Today(), QDate::currentDate());
}

} // namespace
