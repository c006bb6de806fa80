#pragma once

#include "app/DemoData.h"
#include "store/RecordView.h"
#include "store/StoreError.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace store {
class Connection;
}

// Shared helpers for the tests of every layer.
namespace testsupport {

// The demo data of every test: the small set, this "today", this seed.
// It holds 6 staff cards (one "Paket Teslim"), 60 customer cards plus one
// closed card (HesKullan True), 400 order lines and jobs of every kind and
// state on Today().
inline QDate DemoToday() { return QDate(2026, 12, 7); }
constexpr quint32 kDemoSeed = 7;

// A fresh data directory in a temporary folder, with its own settings file
// ("Diski" points at the folder, no "Firma"), and "today" fixed to
// DemoToday(). Everything is put back when it goes out of scope.
//
// The demo stores are made once per test process and copied for each
// TestDataDir, so every test gets untouched data cheaply.
class TestDataDir {
public:
    enum class Content { Demo, EmptyStores, Nothing };

    explicit TestDataDir(Content content = Content::Demo);
    ~TestDataDir();
    TestDataDir(const TestDataDir&) = delete;
    TestDataDir& operator=(const TestDataDir&) = delete;

    bool ok() const { return ok_; }
    QString path() const { return dir_.path(); }   // the temporary folder
    QString dataRoot() const;                      // path() + "/MuhasebeData/"
    QString settingsFile() const;                  // path() + "/settings.reg"

    QString jobs() const;     // Montaj.mdb
    QString reports() const;  // Rapor.mdb
    QString accounts() const; // Cari.Mdb
    QString orders() const;   // Siparis.Mdb
    QString index() const;    // Index.Mdb

    std::shared_ptr<store::Connection> Open(const QString& storePath) const;
    // First field of the first row of a dialect statement, as a number (0 for no value).
    double Number(const QString& storePath, const QString& jetSql) const;

private:
    QTemporaryDir dir_;
    bool ok_ = false;
};

// A .reg settings file of its own for one test; restores the default path
// when it goes out of scope.
class ScopedSettingsFile {
public:
    ScopedSettingsFile();
    ~ScopedSettingsFile();
    ScopedSettingsFile(const ScopedSettingsFile&) = delete;
    ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

    QString path() const;
    void write(const QByteArray& bytes) const; // replaces the file's content
    QByteArray read() const;

private:
    QTemporaryDir dir_;
};

// Where the built executables are (velmora-sql, velmora-demo).
QString BinDir();

// A view on a store, refreshed, on its first row.
std::unique_ptr<store::RecordView> OpenView(const QString& storePath, const QString& source,
                                            const QString& name = QStringLiteral("DataTest"));

// Replaces a file's content whole, making its folder; false when it cannot.
bool WriteFile(const QString& path, const QByteArray& bytes);
// A file's bytes; empty when it cannot be read.
QByteArray ReadFile(const QString& path);

// Every file and folder under a folder (hidden ones too), by relative path,
// with a hash of each file's content: "left as it was" means this did not change.
QMap<QString, QByteArray> Snapshot(const QString& dir);

// The message of the store error `act` raises; empty when it raises none.
template <typename Act> QString StoreErrorOf(Act&& act)
{
    try {
        act();
    } catch (const store::StoreError& e) {
        return e.message();
    }
    return {};
}

} // namespace testsupport
