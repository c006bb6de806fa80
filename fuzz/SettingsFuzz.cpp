// Fuzz target for the settings hive reader. Besides crashes and what the
// sanitizers catch, it stops when a hive the reader understood is written
// into one that does not read back: the value set must read as set, the
// other values as before, and the file must still be understood.
#include "app/Settings.h"

#include <QByteArray>
#include <QString>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void finding(const char* what, const QByteArray& hive, const QString& name, const QString& value)
{
    std::fprintf(stderr, "%s\nname: %s\nvalue: %s\nhive:\n%s\n", what, name.toUtf8().constData(),
                 value.toUtf8().constData(), hive.constData());
    std::abort();
}

QString asStored(const QString& value)
{
    const qsizetype nul = value.indexOf(QChar(0));
    return nul < 0 ? value : value.left(nul);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString key = in.ConsumeBool() ? app::kSettingsKey : QString::fromUtf8(in.ConsumeRandomLengthString(24));
    const QString name = QString::fromUtf8(in.ConsumeRandomLengthString(24));
    const QString value = QString::fromUtf8(in.ConsumeRandomLengthString(64));
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray hive(rest.data(), qsizetype(rest.size()));

    QString problem;
    const QString other = QStringLiteral("Diski");
    const QString otherBefore = app::RegStringInHive(hive, app::kSettingsKey, other, &problem);
    const std::optional<QByteArray> written = app::HiveWithRegString(hive, key, name, value);
    if (!problem.isEmpty()) {
        if (written)
            finding("a hive that was not understood was written", hive, name, value);
        return 0;
    }
    if (!written)
        return 0; // refused to write: the file stays as it was
    QString after;
    const QString back = app::RegStringInHive(*written, key, name, &after);
    if (!after.isEmpty())
        finding("the written hive is not understood", *written, name, value);
    if (back != asStored(value))
        finding("the value does not read back as set", *written, name, value);
    // (A key written another way may be the same key: any "Diski" is left out.)
    if (name.toCaseFolded() != other.toCaseFolded() && app::RegStringInHive(*written, app::kSettingsKey, other) != otherBefore)
        finding("another value changed", *written, name, value);
    return 0;
}
