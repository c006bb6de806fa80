#include "import/JetValues.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace import {

namespace {

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's
// civil_from_days), which Access uses for all its years.
void civilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

void putDigits(std::string& out, int value, int width)
{
    char buf[8];
    for (int i = width - 1; i >= 0; --i) {
        buf[i] = char('0' + value % 10);
        value /= 10;
    }
    out.append(buf, size_t(width));
}

} // namespace

bool DateTimeFromSerial(double serial, std::string& out)
{
    // 0100-01-01 and 9999-12-31 23:59:59 are the ends Access accepts.
    constexpr double kFirst = -657434.0;
    constexpr double kLast = 2958466.0;
    if (!std::isfinite(serial) || serial <= kFirst - 1.0 || serial >= kLast)
        return false;
    double whole = 0;
    const double fraction = std::fabs(std::modf(serial, &whole));
    std::int64_t day = std::int64_t(whole);
    std::int64_t seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        // Rounded up to the next midnight: that is the next calendar day.
        seconds -= 86400;
        ++day;
    }
    int year = 0, month = 0, dayOfMonth = 0;
    civilFromDays(day - 25569, year, month, dayOfMonth); // 1899-12-30 is 25569 days before 1970
    if (year < 100 || year > 9999)
        return false;
    out.clear();
    putDigits(out, year, 4);
    out.push_back('-');
    putDigits(out, month, 2);
    out.push_back('-');
    putDigits(out, dayOfMonth, 2);
    out.push_back(' ');
    putDigits(out, int(seconds / 3600), 2);
    out.push_back(':');
    putDigits(out, int(seconds / 60 % 60), 2);
    out.push_back(':');
    putDigits(out, int(seconds % 60), 2);
    return true;
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

namespace {

void putUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// UTF-16 code units to UTF-8, pairing surrogates as they come.
class Utf8Writer {
public:
    explicit Utf8Writer(std::string& out) : out_(out) {}
    ~Utf8Writer() { flush(); }
    void unit(char16_t u)
    {
        if (u >= 0xDC00 && u <= 0xDFFF && high_) {
            putUtf8(out_, 0x10000 + ((char32_t(high_) - 0xD800) << 10) + (char32_t(u) - 0xDC00));
            high_ = 0;
            return;
        }
        flush();
        if (u >= 0xD800 && u <= 0xDBFF)
            high_ = u;
        else if (u >= 0xDC00 && u <= 0xDFFF)
            out_.push_back('?');
        else
            putUtf8(out_, u);
    }

private:
    void flush()
    {
        if (high_)
            out_.push_back('?');
        high_ = 0;
    }
    std::string& out_;
    char16_t high_ = 0;
};

} // namespace

void TextFromJet(const unsigned char* bytes, std::size_t length, std::string& out)
{
    out.clear();
    Utf8Writer w(out);
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        bool compressed = true;
        std::size_t i = 2;
        while (i < length) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                w.unit(char16_t(bytes[i]));
                ++i;
            } else if (i + 1 < length) {
                w.unit(char16_t(bytes[i] | (bytes[i + 1] << 8)));
                i += 2;
            } else {
                break;
            }
        }
    } else {
        for (std::size_t i = 0; i + 1 < length; i += 2)
            w.unit(char16_t(bytes[i] | (bytes[i + 1] << 8)));
    }
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
