#include "import/JetValues.h"

#include "store/Sql.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace import {

std::optional<QString> DateTimeFromSerial(double serial)
{
    // 0100-01-01 and 9999-12-31 23:59:59 are the ends Access accepts.
    constexpr double kFirst = -657434.0;
    constexpr double kLast = 2958466.0;
    if (!std::isfinite(serial) || serial <= kFirst - 1.0 || serial >= kLast)
        return std::nullopt;
    double whole = 0;
    const double fraction = std::fabs(std::modf(serial, &whole));
    qint64 day = qint64(whole);
    qint64 seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        // Rounded up to the next midnight: that is the next calendar day.
        seconds -= 86400;
        ++day;
    }
    const QDate date = QDate(1899, 12, 30).addDays(day);
    if (!date.isValid() || date.year() < 100 || date.year() > 9999)
        return std::nullopt;
    const QTime time = QTime(0, 0).addSecs(int(seconds));
    return store::StoredDateTime(QDateTime(date, time, Qt::UTC));
}

double CurrencyValue(std::int64_t tenThousandths)
{
    // Both operands are exact doubles up to 2^53, and IEEE division rounds
    // correctly, so this is the double nearest the decimal itself.
    return double(tenThousandths) / 10000.0;
}

double SingleValue(float value)
{
    if (!std::isfinite(value))
        return double(value);
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value);
    double out = 0;
    std::from_chars(text.data(), written.ptr, out);
    return out;
}

std::string DecimalText(const unsigned char* bytes17, int scale)
{
    // The 128-bit magnitude as four 32-bit words, most significant first;
    // divided by ten again and again for its decimal digits.
    std::array<std::uint32_t, 4> words{};
    for (int i = 0; i < 4; ++i)
        words[size_t(i)] = ReadU32(bytes17 + 1 + 4 * i);
    const bool negative = (bytes17[0] & 0x80) && (words[0] | words[1] | words[2] | words[3]);
    std::string digits;
    bool zero = false;
    while (!zero) {
        std::uint64_t rest = 0;
        zero = true;
        for (std::uint32_t& w : words) {
            const std::uint64_t cur = (rest << 32) | w;
            w = std::uint32_t(cur / 10);
            rest = cur % 10;
            zero = zero && w == 0;
        }
        digits.push_back(char('0' + rest));
    }
    scale = std::max(0, std::min(scale, 38));
    while (int(digits.size()) <= scale)
        digits.push_back('0');
    std::string out;
    if (negative)
        out.push_back('-');
    for (size_t i = digits.size(); i-- > 0;) {
        out.push_back(digits[i]);
        if (scale > 0 && i == size_t(scale))
            out.push_back('.');
    }
    return out;
}

std::string TextFromJet(const unsigned char* bytes, std::size_t length)
{
    std::u16string units;
    units.reserve(length);
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        bool compressed = true;
        std::size_t i = 2;
        while (i < length) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                units.push_back(char16_t(bytes[i]));
                ++i;
            } else if (i + 1 < length) {
                units.push_back(char16_t(bytes[i] | (bytes[i + 1] << 8)));
                i += 2;
            } else {
                break;
            }
        }
    } else {
        for (std::size_t i = 0; i + 1 < length; i += 2)
            units.push_back(char16_t(bytes[i] | (bytes[i + 1] << 8)));
    }
    const QByteArray utf8 = QString::fromUtf16(units.data(), qsizetype(units.size())).toUtf8();
    return std::string(utf8.constData(), size_t(utf8.size()));
}

std::string GuidText(const unsigned char* b)
{
    char text[40];
    std::snprintf(text, sizeof text,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3], b[2],
                  b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text;
}

} // namespace import
