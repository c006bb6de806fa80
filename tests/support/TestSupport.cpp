#include "TestSupport.h"

#include "app/Clock.h"
#include "app/Settings.h"
#include "store/Connection.h"
#include "store/Layouts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

namespace {

// Tests never need a display: with none chosen they use the offscreen
// platform, also when CTest lists the tests right after the build.
const bool kOffscreen = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

const char* const kStoreFiles[] = {"Montaj.mdb", "Rapor.mdb", "Cari.Mdb", "Siparis.Mdb", "Index.Mdb"};

// The demo stores of this process, made on first use.
const QString& demoTemplate()
{
    static QTemporaryDir dir;
    static const QString root = [] {
        app::MakeDemoData(dir.path(), DemoToday(), app::DemoSize::Small, kDemoSeed);
        return dir.path() + QStringLiteral("/MuhasebeData/");
    }();
    return root;
}

} // namespace

TestDataDir::TestDataDir(Content content)
{
    if (!dir_.isValid())
        return;
    const QString root = dataRoot();
    QDir().mkpath(root);
    bool copied = true;
    if (content == Content::Demo) {
        for (const char* f : kStoreFiles)
            copied = QFile::copy(demoTemplate() + QLatin1String(f), root + QLatin1String(f)) && copied;
    } else if (content == Content::EmptyStores) {
        store::CreateStore(store::StoreKind::Jobs, jobs());
        store::CreateStore(store::StoreKind::Reports, reports());
        store::CreateStore(store::StoreKind::Accounts, accounts());
        store::CreateStore(store::StoreKind::Orders, orders());
        store::CreateStore(store::StoreKind::Index, index());
    }
    app::SettingsFile::SetPathForTesting(settingsFile());
    app::SaveRegString(app::RootKey::CurrentUser, app::kSettingsKey, QStringLiteral("Diski"),
                       dir_.path() + QLatin1Char('/'));
    app::Clock::SetTodayForTesting(DemoToday());
    ok_ = copied;
}

TestDataDir::~TestDataDir()
{
    app::Clock::SetTodayForTesting(QDate());
    app::SettingsFile::SetPathForTesting(QString());
}

QString TestDataDir::dataRoot() const { return dir_.path() + QStringLiteral("/MuhasebeData/"); }
QString TestDataDir::settingsFile() const { return dir_.path() + QStringLiteral("/settings.reg"); }
QString TestDataDir::jobs() const { return dataRoot() + QStringLiteral("Montaj.mdb"); }
QString TestDataDir::reports() const { return dataRoot() + QStringLiteral("Rapor.mdb"); }
QString TestDataDir::accounts() const { return dataRoot() + QStringLiteral("Cari.Mdb"); }
QString TestDataDir::orders() const { return dataRoot() + QStringLiteral("Siparis.Mdb"); }
QString TestDataDir::index() const { return dataRoot() + QStringLiteral("Index.Mdb"); }

std::shared_ptr<store::Connection> TestDataDir::Open(const QString& storePath) const
{
    return store::Connection::Open(storePath);
}

double TestDataDir::Number(const QString& storePath, const QString& jetSql) const
{
    return Open(storePath)->Scalar(jetSql).toDouble();
}

ScopedSettingsFile::ScopedSettingsFile()
{
    app::SettingsFile::SetPathForTesting(path());
}

ScopedSettingsFile::~ScopedSettingsFile() { app::SettingsFile::SetPathForTesting(QString()); }

QString ScopedSettingsFile::path() const { return dir_.path() + QStringLiteral("/velmora/HKEY_CURRENT_USER.reg"); }

void ScopedSettingsFile::write(const QByteArray& bytes) const { WriteFile(path(), bytes); }

QByteArray ScopedSettingsFile::read() const { return ReadFile(path()); }

std::unique_ptr<store::RecordView> OpenView(const QString& storePath, const QString& source, const QString& name)
{
    auto v = std::make_unique<store::RecordView>(name);
    v->setDatabaseName(storePath);
    v->setRecordSource(source);
    v->Refresh();
    return v;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QMap<QString, QByteArray> Snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const bool file = it.fileInfo().isFile();
        files.insert(QDir(dir).relativeFilePath(path),
                     file ? QCryptographicHash::hash(ReadFile(path), QCryptographicHash::Sha1) : "dir");
    }
    return files;
}

QString BinDir()
{
#ifdef VELMORA_BIN_DIR
    return QStringLiteral(VELMORA_BIN_DIR);
#else
    return QCoreApplication::applicationDirPath();
#endif
}

} // namespace testsupport
