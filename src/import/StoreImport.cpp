#include "import/StoreImport.h"

#include "app/StorePaths.h"
#include "import/AccessFile.h"
#include "import/TableCopy.h"
#include "store/Connection.h"
#include "store/Layouts.h"
#include "store/StoreError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace import {

namespace {

using store::StoreError;
using store::StoreKind;

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

struct StoreRole {
    StoreKind kind;
    QString (app::StorePaths::*path)() const;
    const char* what; // for messages
};

const StoreRole kRoles[] = {
    {StoreKind::Jobs, &app::StorePaths::jobs, "görev deposu"},
    {StoreKind::Reports, &app::StorePaths::reports, "rapor deposu"},
    {StoreKind::Accounts, &app::StorePaths::accounts, "cari hesap deposu"},
    {StoreKind::Orders, &app::StorePaths::orders, "sipariş deposu"},
    {StoreKind::Index, &app::StorePaths::index, "kayıt numarası deposu"},
};

// A folder's store paths: the company code joined exactly as the program
// joins it, so "ABC\" looks in the folder ABC.
app::StorePaths pathsIn(const QString& dir, const QString& companyCode)
{
    return app::StorePaths{QDir(dir).absolutePath() + QLatin1Char('/'), companyCode};
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// One store to write: where it comes from, where it goes and the
// temporary file it is written to first.
struct PlannedStore {
    const StoreRole* role;
    QString source;
    QString target;
    QString temporary;
    bool replaces = false;
    QString backup;
};

void syncPath(const QString& path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)path;
#endif
}

class Importer {
public:
    Importer(const ImportOptions& options, ImportProgress* progress)
        : options_(options), progress_(progress ? progress : &silent_)
    {
    }

    ImportSummary Run()
    {
        QElapsedTimer clock;
        clock.start();
        try {
            plan();
            for (const PlannedStore& s : stores_)
                writeStore(s);
            commit();
        } catch (const StoreError& e) {
            cleanUp();
            throw StoreError(e.message() + QStringLiteral("\nHedef klasörde hiçbir şey değişmedi."));
        } catch (...) {
            cleanUp();
            throw;
        }
        summary_.milliseconds = clock.elapsed();
        return summary_;
    }

private:
    void plan()
    {
        const QFileInfo sourceDir(options_.sourceDir);
        if (!sourceDir.isDir())
            throw StoreError(QStringLiteral("Kaynak klasör bulunamadı: %1").arg(shown(options_.sourceDir)));
        const QFileInfo destDir(options_.destDir);
        if (destDir.exists() && !destDir.isDir())
            throw StoreError(QStringLiteral("Hedef bir klasör değil: %1").arg(shown(options_.destDir)));

        const app::StorePaths from = pathsIn(options_.sourceDir, options_.companyCode);
        const app::StorePaths to = pathsIn(options_.destDir, options_.companyCode);
        QStringList looked, existing;
        for (const StoreRole& role : kRoles) {
            const QString wanted = app::StorePaths::Local((from.*role.path)());
            looked << QFileInfo(wanted).fileName();
            const QString source = store::Connection::ResolveCaseInsensitive(wanted);
            if (!QFileInfo(source).isFile())
                continue;
            PlannedStore s{&role, source, {}, {}, false, {}};
            s.target = store::Connection::ResolveCaseInsensitive(app::StorePaths::Local((to.*role.path)()));
            const QFileInfo target(s.target);
            s.temporary = target.absolutePath() + QStringLiteral("/.") + target.fileName()
                + QStringLiteral(".import-tmp");
            if (target.exists()) {
                if (target.isDir())
                    throw StoreError(QStringLiteral("Hedefte \"%1\" adında bir klasör var: %2")
                                         .arg(target.fileName(), shown(s.target)));
                s.replaces = true;
                s.backup = backupName(s.target);
                existing << shown(s.target);
            }
            stores_.push_back(s);
        }
        if (stores_.empty())
            throw StoreError(QStringLiteral("%1 klasöründe içe aktarılacak Access dosyası bulunamadı. Aranan "
                                            "dosyalar: %2.%3")
                                 .arg(shown(options_.sourceDir), looked.join(QStringLiteral(", ")),
                                      companyHint(looked)));
        if (!existing.isEmpty() && !options_.replace)
            throw StoreError(QStringLiteral("Şu veri dosyaları zaten var, üzerlerine yazılmadı:\n  %1\nEskileri "
                                            ".bak olarak saklanıp yenileri yazılsın isterseniz --replace ile "
                                            "çalıştırın.")
                                 .arg(existing.join(QStringLiteral("\n  "))));
        for (const QString& name : looked)
            if (std::none_of(stores_.begin(), stores_.end(), [&](const PlannedStore& s) {
                    return sameName(QFileInfo(s.source).fileName(), name);
                }))
                progress_->Note(QStringLiteral("%1 kaynakta yok; içe aktarılmadı.").arg(name));
    }

    // With no company stores found, the likely cause is the company code.
    QString companyHint(const QStringList& looked) const
    {
        const QStringList found =
            QDir(options_.sourceDir).entryList({QStringLiteral("*Cari.mdb")}, QDir::Files);
        if (found.isEmpty() || found.contains(looked.value(2), Qt::CaseInsensitive))
            return {};
        return QStringLiteral(" Klasörde %1 var: şirket kodunu --company ile verin.")
            .arg(found.join(QStringLiteral(", ")));
    }

    static QString backupName(const QString& target)
    {
        QString name = target + QStringLiteral(".bak");
        for (int n = 2; QFileInfo::exists(name); ++n)
            name = target + QStringLiteral(".%1.bak").arg(n);
        return name;
    }

    void makeFolder(const QString& dir)
    {
        // Folders made here go again if the import fails; the deepest first.
        QStringList missing;
        for (QString d = QDir::cleanPath(dir); !QFileInfo::exists(d); d = QFileInfo(d).absolutePath())
            missing.prepend(d);
        for (const QString& d : missing) {
            if (!QDir().mkdir(d))
                throw StoreError(QStringLiteral("Hedef klasör oluşturulamadı: %1").arg(shown(d)));
            madeFolders_.prepend(d);
        }
    }

    void writeStore(const PlannedStore& s)
    {
        makeFolder(QFileInfo(s.temporary).absolutePath());
        QFile::remove(s.temporary); // left by an import that was cut off
        temporaries_ << s.temporary;

        AccessFile file(s.source);
        const QStringList sourceTables = file.TableNames();
        const std::vector<store::TableDef>& layout = store::TablesOf(s.role->kind);
        // Every table of the layout must be there: without them this is not
        // the store it is named after.
        std::vector<QString> order;
        for (const store::TableDef& t : layout) {
            const QString name = QString::fromUtf8(t.name);
            const auto it = std::find_if(sourceTables.begin(), sourceTables.end(),
                                         [&](const QString& n) { return sameName(n, name); });
            if (it == sourceTables.end())
                throw StoreError(QStringLiteral("\"%1\" dosyasında \"%2\" tablosu yok: bu dosya Velmora'nın "
                                                "%3 değil ya da eksik (%4).")
                                     .arg(file.fileName(), name, QString::fromUtf8(s.role->what),
                                          shown(s.source)));
            order.push_back(*it);
        }
        for (const QString& n : sourceTables)
            if (std::find(order.begin(), order.end(), n) == order.end())
                order.push_back(n);

        // An empty file is an empty store. No journal and no syncing while it
        // fills: until it is renamed into place it is nobody's store, and a
        // failure throws it away. One sync before the rename makes it durable.
        QFile empty(s.temporary);
        if (!empty.open(QIODevice::WriteOnly))
            throw StoreError(QStringLiteral("\"%1\" yazılamıyor: %2 (%3)")
                                 .arg(QFileInfo(s.temporary).fileName(), empty.errorString(), shown(s.temporary)));
        empty.close();
        auto conn = store::Connection::Open(s.temporary);
        conn->ExecuteNative(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF"));
        store::Transaction tx(*conn);
        for (const QString& name : order) {
            std::unique_ptr<TableReader> reader = file.Open(name);
            const store::TableDef* known = nullptr;
            for (const store::TableDef& t : layout)
                if (sameName(QString::fromUtf8(t.name), name))
                    known = &t;
            const CopiedTable copied = CopyTable(*reader, file.fileName(), known, *conn, *progress_);
            ++summary_.tables;
            summary_.rows += copied.rows;
        }
        tx.Commit();
        checkIntegrity(*conn, s);
        conn.reset();
        syncPath(s.temporary);
        ++summary_.stores;
    }

    static void checkIntegrity(store::Connection& conn, const PlannedStore& s)
    {
        sqlite3_stmt* st = nullptr;
        bool ok = sqlite3_prepare_v2(conn.handle(), "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK
            && sqlite3_step(st) == SQLITE_ROW
            && qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "ok") == 0;
        sqlite3_finalize(st);
        if (!ok)
            throw StoreError(QStringLiteral("Yazılan \"%1\" denetimden geçmedi (%2).")
                                 .arg(QFileInfo(s.target).fileName(), shown(s.temporary)));
    }

    // Every store is written and checked: now they take their places. A
    // rename that fails puts back the ones already made.
    void commit()
    {
        std::vector<const PlannedStore*> done;
        for (const PlannedStore& s : stores_) {
            bool ok = true;
            if (s.replaces)
                ok = QFile::rename(s.target, s.backup);
            if (ok && !QFile::rename(s.temporary, s.target)) {
                if (s.replaces)
                    QFile::rename(s.backup, s.target);
                ok = false;
            }
            if (!ok) {
                for (auto it = done.rbegin(); it != done.rend(); ++it) {
                    QFile::remove((*it)->target);
                    if ((*it)->replaces)
                        QFile::rename((*it)->backup, (*it)->target);
                }
                throw StoreError(QStringLiteral("\"%1\" yerine konamadı (%2).")
                                     .arg(QFileInfo(s.target).fileName(), shown(s.target)));
            }
            done.push_back(&s);
        }
        QSet<QString> folders;
        for (const PlannedStore& s : stores_) {
            summary_.written << s.target;
            if (s.replaces)
                summary_.backups << s.backup;
            folders.insert(QFileInfo(s.target).absolutePath());
        }
        for (const QString& f : folders)
            syncPath(f);
        temporaries_.clear();
        madeFolders_.clear();
    }

    void cleanUp()
    {
        for (const QString& t : temporaries_) {
            QFile::remove(t);
            QFile::remove(t + QStringLiteral("-journal"));
        }
        for (const QString& d : madeFolders_)
            QDir().rmdir(d);
    }

    const ImportOptions& options_;
    ImportProgress silent_;
    ImportProgress* progress_;
    std::vector<PlannedStore> stores_;
    QStringList temporaries_;
    QStringList madeFolders_;
    ImportSummary summary_;
};

} // namespace

ImportSummary ImportStores(const ImportOptions& options, ImportProgress* progress)
{
    return Importer(options, progress).Run();
}

} // namespace import
