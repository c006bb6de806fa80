#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Values as a Jet 4 file stores them, turned into what the stores keep.
// Each function works on the raw bytes or the raw number of one field, so
// nothing passes through a text form that could round or cut it.
namespace import {

// A date/time: days since 1899-12-30, the fraction the time of day. For a
// negative serial the whole part is still the day and the fraction counts
// forward from its midnight: -1.75 is 1899-12-29 18:00:00. Writes the stores'
// "YYYY-MM-DD HH:MM:SS" into `out`; false for a value no date can have (not a
// number, or outside the years 100 to 9999 that Access allows).
bool DateTimeFromSerial(double serial, std::string& out);

// Currency: a whole number of ten-thousandths. The result is the double
// nearest to the exact decimal, so "17.3333" comes back as 17.3333.
double CurrencyValue(std::int64_t tenThousandths);

// Single: the shortest decimal that reads back as the same float, as a
// double (2.5f -> 2.5, 0.1f -> 0.1, not 0.10000000149011612).
double SingleValue(float value);

// Decimal (Jet's NUMERIC): a sign byte, then a 128-bit unsigned whole number
// in four little-endian 32-bit words, the most significant word first, and
// the scale from the column. Gives the exact decimal text ("-12.50").
std::string DecimalText(const unsigned char* bytes17, int scale);

// Text: UTF-16LE, or Jet's compressed form (it starts with FF FE and then
// switches at every 00 byte between one byte a character and two). Writes
// UTF-8 into `out`; a lone surrogate becomes "?".
void TextFromJet(const unsigned char* bytes, std::size_t length, std::string& out);

// A replication ID (GUID) the way Access shows it: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
std::string GuidText(const unsigned char* bytes16);

// Little-endian readers for raw field bytes.
inline std::uint16_t ReadU16(const unsigned char* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::uint32_t ReadU32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
        | (std::uint32_t(p[3]) << 24);
}
inline std::uint64_t ReadU64(const unsigned char* p)
{
    return std::uint64_t(ReadU32(p)) | (std::uint64_t(ReadU32(p + 4)) << 32);
}

} // namespace import
