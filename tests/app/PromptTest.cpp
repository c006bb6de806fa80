#include "app/Clock.h"
#include "app/Prompt.h"

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

TEST(PromptTest, NestedScriptsHandBackTheOuterOne)
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

TEST(PromptTest, NoScriptLeftInstalledAfterwards)
{
    { ScriptedPrompt p; }
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
