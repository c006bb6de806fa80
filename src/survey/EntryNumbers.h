#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace store { class RecordView; }

// The numbers a survey or service entry is given: the account code of a new
// customer, the yearly reference number of a fee posting, and the record
// number typed by the user.
namespace survey {

// Account codes are at most this long.
constexpr int kCodeLength = 20;

// The account code of a new card: the first 20 characters of the name while
// no card has that code; otherwise the name shortened so that "-2", "-3", ...
// fits within 20 characters, the first such code that is free. Lookups by
// code (job sheets, balances) then always find the one card.
QString NewCustomerCode(const QString& name, const std::function<bool(const QString&)>& taken);

// The number after `last` in the yearly counter: its first two characters
// (the year's) followed by the rest read as a number plus one, in plain
// digits ("269" -> "2610"). Nothing when the rest is not a number, so a
// damaged counter never gives a number twice.
std::optional<QString> FollowingEntryNumber(const QString& last);

// The next reference number for a key (the year, "2026"), taken from the
// index store's "Tarih" keys (`primary`) and "Mdbindex" counters
// (`secondary`): "261", "262", ... for the year's fees. A missing key row is
// added. Raises StoreError (nothing written) on a counter it cannot read.
QString NextEntryNumber(store::RecordView& primary, store::RecordView& secondary, const QString& key);

// A record number or fee as typed: digits only (blanks around allowed), at
// most 11 of them. Nothing for anything else.
std::optional<double> WholeNumber(const QString& text);

// A number as plain digits, never in exponent form: 500 -> "500".
QString PlainDigits(double number);

} // namespace survey
