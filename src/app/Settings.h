#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The program's settings: the current user's registry hive. Off Windows the
// hive is one text file in the ".reg" export format, so a user coming from
// Windows can bring a registry export as it is.
namespace app {

enum class RootKey { CurrentUser };

// The key under which every value of the program lives.
inline const QString kSettingsKey = QStringLiteral("Kapivar\\Properties1");

// A text value (REG_SZ) of the key; empty text when the key or the value is
// missing, the value is of another type, or the file cannot be read. A text
// stored without a terminating NUL is read whole; one holding a NUL is cut there.
QString GetRegString(RootKey root, const QString& subKey, const QString& valueName);

// Stores a text value, creating the key. A file that cannot be parsed is never
// overwritten: the write is dropped and the old content stays.
void SaveRegString(RootKey root, const QString& subKey, const QString& valueName, const QString& value);

// The same read and write on a hive's bytes, without the file: the settings
// fuzz target drives the parser through these. A problem is empty when the
// bytes were understood; no bytes come back when the hive cannot be parsed or
// the value cannot be stored so that it reads back whole.
QString RegStringInHive(const QByteArray& hiveBytes, const QString& subKey, const QString& valueName,
                        QString* problem = nullptr);
std::optional<QByteArray> HiveWithRegString(const QByteArray& hiveBytes, const QString& subKey,
                                            const QString& valueName, const QString& value);

class SettingsFile {
public:
    // $XDG_CONFIG_HOME/velmora/HKEY_CURRENT_USER.reg (default ~/.config/...),
    // unless a test has pointed it elsewhere.
    static QString Path();
    static void SetPathForTesting(const QString& path); // empty: back to the default

    // The problem found in the file at the last read, or empty. A window shows
    // it once; the settings layer never opens a message box.
    static QString LastProblem();
    // Returns the problem once, then empty until the file changes again.
    static QString TakeProblem();
};

} // namespace app
