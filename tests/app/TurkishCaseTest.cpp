#include "app/TurkishCase.h"

#include <gtest/gtest.h>

namespace {

TEST(TurkishCase, UpperAndLowerFormsKeepTheDottedAndDotlessI)
{
    const struct {
        const char* text;
        const char* upper;
        const char* lower;
    } cases[] = {
        {"istanbul", "İSTANBUL", "istanbul"},
        {"ISPARTA", "ISPARTA", "ısparta"},
        {"ılık İnci", "ILIK İNCİ", "ılık inci"},
        {"Şişli Çağrı", "ŞİŞLİ ÇAĞRI", "şişli çağrı"},
        {"24001", "24001", "24001"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::TurkishUpperForm(QString::fromUtf8(c.text)), QString::fromUtf8(c.upper)) << c.text;
        EXPECT_EQ(app::TurkishLowerForm(QString::fromUtf8(c.text)), QString::fromUtf8(c.lower)) << c.text;
    }
}

} // namespace
