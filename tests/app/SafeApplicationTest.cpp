#include "app/Prompt.h"
#include "app/SafeApplication.h"
#include "store/StoreError.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(SafeApplicationTest, AnErrorEscapingAHandlerBecomesAMessage)
{
    app::ScriptedPrompt prompt;
    struct Case {
        std::function<bool()> deliver;
        bool handled;
        const char* shown; // nullptr: no box
    };
    const Case cases[] = {
        {[] { return true; }, true, nullptr},
        {[]() -> bool { throw store::StoreError(QStringLiteral("Siparis.Mdb okunamadı")); }, false,
         "Siparis.Mdb okunamadı"},
        {[]() -> bool { throw std::runtime_error("bad_alloc"); }, false, "Beklenmeyen bir hata"},
    };
    for (const Case& c : cases) {
        prompt.shown.clear();
        bool handled = !c.handled;
        EXPECT_NO_THROW(handled = app::SafeApplication::DeliverSafely(c.deliver));
        EXPECT_EQ(handled, c.handled);
        if (!c.shown) {
            EXPECT_TRUE(prompt.shown.empty());
            continue;
        }
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_TRUE(prompt.shown[0].text.startsWith(QString::fromUtf8(c.shown))) << prompt.shown[0].text.toStdString();
    }
}
