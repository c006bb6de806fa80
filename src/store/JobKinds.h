#pragma once

#include <QString>
#include <array>

// The four job kinds: the code stored in `Görev`, the text shown for it, the
// Yes/No field of an order line that says such a job was made from the line,
// and the order-line list piece that offers lines for it.
//
// The accounting package leaves a new line's kind empty as Null, not as '';
// a Null compared with <> is neither true nor false, so every piece that
// excludes kinds lets a line without a kind through explicitly. Without that
// a fresh order line would never be offered on any list.
namespace store {

struct JobKind {
    const char* code;
    const char* display;
    int orderFlagPosition; // position in "Siparisler"
    const char* orderFilter;
};

inline const std::array<JobKind, 4>& JobKinds()
{
    static const std::array<JobKind, 4> kinds{{
        {"Montaj", "Montaj", 27, " And (Görev Is Null Or Görev<>'Kesif') And KalAdet>0 And StokKod<>''"},
        {"Servis", "Servis", 28,
         " And (Görev Is Null Or (Görev<>'Kesif' And Görev<>'Paket')) And StokKod<>'' And Montaj And TesAdet>0"},
        {"Kesif", "Keşif", 29, " And Görev='Kesif'"},
        {"Paket", "Paket Teslim", 30,
         " And (Görev Is Null Or (Görev<>'Servis' And Görev<>'Kesif' And Görev<>'Montaj')) And KalAdet>0"
         " And StokKod<>''"},
    }};
    return kinds;
}

// The kind with this code; the installation kind when the code is unknown.
inline const JobKind& KindByCode(const QString& code)
{
    for (const JobKind& k : JobKinds())
        if (code == QString::fromUtf8(k.code))
            return k;
    return JobKinds()[0];
}

} // namespace store
