#include "ImportFixture.h"

#include "import/JetValues.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace import;

namespace {

std::vector<unsigned char> utf16(const std::u16string& s)
{
    std::vector<unsigned char> out;
    for (char16_t c : s) {
        out.push_back(static_cast<unsigned char>(c & 0xff));
        out.push_back(static_cast<unsigned char>(c >> 8));
    }
    return out;
}

std::string text(const std::vector<unsigned char>& bytes)
{
    std::string out = "left over";
    TextFromJet(bytes.data(), bytes.size(), out);
    return out;
}

std::optional<std::string> date(double serial)
{
    std::string out = "left over";
    if (!DateTimeFromSerial(serial, out))
        return std::nullopt;
    return out;
}

} // namespace

TEST(JetValues, DatesCountTheFractionForwardFromTheDayAlsoBeforeTheEpoch)
{
    struct Case {
        double serial;
        const char* stored;
    };
    const Case cases[] = {
        {0.0, "1899-12-30 00:00:00"},
        {1.5, "1899-12-31 12:00:00"},
        {-1.0, "1899-12-29 00:00:00"},
        {-1.75, "1899-12-29 18:00:00"}, // the day before the epoch at 18:00, not 06:00
        {-0.5, "1899-12-30 12:00:00"},  // "minus zero" days: still the epoch's day
        {-4186.0, "1888-07-14 00:00:00"},
        {-4186.25, "1888-07-14 06:00:00"},
        {46024.0, "2026-01-02 00:00:00"},
        {45658.0 + 8.0 / 24.0, "2025-01-01 08:00:00"},
        {2.0 + 0.999999999, "1900-01-02 00:00:00"},  // rounds up to the next midnight
        {-2.0 - 0.999999999, "1899-12-29 00:00:00"}, // the next midnight after 1899-12-28
        {-657434.0, "0100-01-01 00:00:00"},
        {2958465.0 + 86399.0 / 86400.0, "9999-12-31 23:59:59"},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> got = date(c.serial);
        ASSERT_TRUE(got.has_value()) << c.serial;
        EXPECT_EQ(*got, c.stored) << c.serial;
    }
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(), -657435.0, 2958466.0, 1e300})
        EXPECT_FALSE(date(bad).has_value()) << bad;
}

TEST(JetValues, CurrencyKeepsItsFourDecimalsAndSingleGainsNoBinaryNoise)
{
    struct Money {
        std::int64_t raw;
        const char* shown;
    };
    for (const Money& m : {Money{173333, "17.3333"}, Money{329999900, "32999.99"},
                           Money{12345678900, "1234567.89"}, Money{-1500000, "-150"}, Money{0, "0"},
                           Money{999999999999999, "99999999999.9999"}})
        EXPECT_EQ(importfixture::Shortest(CurrencyValue(m.raw)), m.shown) << m.raw;
    EXPECT_EQ(CurrencyValue(1), 0.0001);

    struct Single {
        float value;
        const char* shown;
    };
    for (const Single& s : {Single{0.0f, "0"}, Single{2.5f, "2.5"}, Single{0.1f, "0.1"}, Single{7.3f, "7.3"},
                            Single{12.5f, "12.5"}, Single{-0.3f, "-0.3"}, Single{1e-7f, "1e-07"},
                            Single{16777216.0f, "16777216"}})
        EXPECT_EQ(importfixture::Shortest(SingleValue(s.value)), s.shown) << s.value;
    // Plain widening would have kept the float's error.
    EXPECT_NE(SingleValue(0.1f), double(0.1f));
}

TEST(JetValues, DecimalsAreReadWithTheirScaleAndSign)
{
    // Sign byte, then four 32-bit little-endian words, most significant first.
    const auto decimal = [](bool negative, std::array<std::uint32_t, 4> words) {
        std::array<unsigned char, 17> b{};
        b[0] = negative ? 0x80 : 0x00;
        for (int w = 0; w < 4; ++w)
            for (int k = 0; k < 4; ++k)
                b[size_t(1 + 4 * w + k)] = static_cast<unsigned char>(words[size_t(w)] >> (8 * k));
        return b;
    };
    struct Case {
        bool negative;
        std::array<std::uint32_t, 4> words;
        int scale;
        const char* text;
    };
    const Case cases[] = {
        {false, {0, 0, 0, 350}, 2, "3.50"},
        {true, {0, 0, 0, 1250}, 2, "-12.50"},
        {false, {0, 0, 0, 5}, 3, "0.005"},
        {true, {0, 0, 0, 0}, 2, "0.00"}, // no minus zero
        {false, {0, 0, 1, 0}, 0, "4294967296"},
        {false, {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff}, 0,
         "340282366920938463463374607431768211455"},
    };
    for (const Case& c : cases) {
        const auto b = decimal(c.negative, c.words);
        EXPECT_EQ(DecimalText(b.data(), c.scale), c.text);
    }
}

TEST(JetValues, TextsArePlainOrCompressedUtf16)
{
    // Uncompressed: two bytes a character.
    EXPECT_EQ(text(utf16(u"ŞİŞLİ GÜVEN İNŞAAT A.Ş.")), "ŞİŞLİ GÜVEN İNŞAAT A.Ş.");
    EXPECT_EQ(text(utf16(u"Mir — Мир m²")), "Mir — Мир m²");
    EXPECT_EQ(text({}), "");

    // Compressed: FF FE, then one byte a character until a 00 switches to
    // two bytes a character, and back at the next 00.
    std::vector<unsigned char> mixed{0xFF, 0xFE, 'K', 'e', 'm', 'a', 'l', '\'', 'i', 'n', ' ', 0x00};
    for (unsigned char b : utf16(u"ŞİŞ"))
        mixed.push_back(b);
    mixed.insert(mixed.end(), {0x00, '\t', 'x', '\r', '\n', 0xE7}); // ç as a Latin-1 byte
    EXPECT_EQ(text(mixed), "Kemal'in ŞİŞ\tx\r\nç");
    EXPECT_EQ(text({0xFF, 0xFE}), "");
    EXPECT_EQ(text({0xFF, 0xFE, 'a', 0x00, 0x5F}), "a"); // half a character at the end is dropped

    // A pair of surrogates is one character; a lone one cannot be UTF-8.
    EXPECT_EQ(text(utf16(u"a\U0001F600b")), "a\xF0\x9F\x98\x80" "b");
    EXPECT_EQ(text({0x00, 0xD8, 'a', 0x00}), "?a");
    EXPECT_EQ(text({'a', 0x00, 0x00, 0xDC}), "a?");
    EXPECT_EQ(text({0x00, 0xD8}), "?");
}

TEST(JetValues, ReplicationIdsReadAsAccessShowsThem)
{
    const unsigned char guid[16] = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,
                                    0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    EXPECT_EQ(GuidText(guid), "{00112233-4455-6677-8899-AABBCCDDEEFF}");
}
