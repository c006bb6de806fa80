// velmora-import SOURCE-DIR [DEST-DIR] [--company CODE] [--replace]
//
// Brings a business's Access stores into Velmora: reads the Access files of
// the five store names in SOURCE-DIR and writes the stores of the same names
// into DEST-DIR (the data folder of the settings when left out). Exit code 0
// when every store found was written, 1 when nothing was changed because of
// an error, 2 for a wrong command line.

#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "app/StorePaths.h"
#include "import/StoreImport.h"
#include "store/StoreError.h"
#include "version/Version.h"

#include <QDir>
#include <QLocale>
#include <QStringList>

#include <cstdio>

namespace {

void out(const QString& s) { std::fputs(s.toUtf8().constData(), stdout); }

int usage(const QString& problem)
{
    if (!problem.isEmpty())
        std::fprintf(stderr, "velmora-import: %s\n", problem.toUtf8().constData());
    std::fputs(QStringLiteral(
                   "Kullanım: velmora-import KAYNAK-KLASÖR [HEDEF-KLASÖR] [--company KOD] [--replace]\n"
                   "\n"
                   "KAYNAK-KLASÖR içindeki Access dosyalarını (Montaj.mdb, Rapor.mdb, <KOD>Cari.Mdb,\n"
                   "<KOD>Siparis.Mdb, <KOD>Index.Mdb) Velmora'nın veri dosyalarına aktarır.\n"
                   "\n"
                   "  HEDEF-KLASÖR   verilmezse ayarlardaki veri klasörü (\"Diski\" + MuhasebeData)\n"
                   "  --company KOD  şirket kodu; verilmezse ayarlardaki \"Firma\"\n"
                   "  --replace      var olan veri dosyalarını <ad>.bak olarak saklayıp yenilerini yazar\n")
                   .toUtf8()
                   .constData(),
               problem.isEmpty() ? stdout : stderr);
    return problem.isEmpty() ? 0 : 2;
}

QString seconds(qint64 ms)
{
    return QLocale(QLocale::Turkish, QLocale::Turkey).toString(double(ms) / 1000.0, 'f', 1);
}

} // namespace

int main(int argc, char** argv)
{
    if (version::PrintIfAsked(argc, argv, "velmora-import"))
        return 0;
    QStringList positional;
    QString company;
    bool companyGiven = false;
    bool replace = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return usage({});
        if (arg == QLatin1String("--replace")) {
            replace = true;
        } else if (arg == QLatin1String("--company")) {
            if (++i >= argc)
                return usage(QStringLiteral("--company bir şirket kodu bekliyor."));
            company = QString::fromLocal8Bit(argv[i]);
            companyGiven = true;
        } else if (arg.startsWith(QLatin1String("--company="))) {
            company = arg.mid(10);
            companyGiven = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("Bilinmeyen seçenek: %1").arg(arg));
        } else {
            positional << arg;
        }
    }
    if (positional.isEmpty() || positional.size() > 2)
        return usage(positional.isEmpty() ? QStringLiteral("Kaynak klasör verilmedi.")
                                          : QStringLiteral("Fazla klasör verildi."));

    // Velmora's own lock: a running program would go on writing into the
    // stores this replaces, and its work would end up in the .bak files.
    app::SingleInstance instance;
    if (!instance.IsFirst()) {
        std::fputs("velmora-import: Velmora ya da başka bir içe aktarma şu anda çalışıyor. Veri dosyaları "
                   "kullanılırken içe aktarılamaz: önce Velmora'yı kapatın.\n",
                   stderr);
        return 1;
    }

    import::ImportOptions options;
    options.sourceDir = positional.at(0);
    options.destDir = positional.size() > 1
        ? positional.at(1)
        : app::StorePaths::Local(app::StorePaths::FromSettings().dataRoot);
    options.companyCode = companyGiven
        ? company
        : app::GetRegString(app::RootKey::CurrentUser, app::kSettingsKey, QStringLiteral("Firma"));
    options.replace = replace;
    if (const QString problem = app::SettingsFile::TakeProblem(); !problem.isEmpty())
        std::fprintf(stderr, "velmora-import: %s\n", problem.toUtf8().constData());

    out(QStringLiteral("Kaynak: %1\nHedef:  %2\nŞirket kodu: %3\n")
            .arg(QDir::toNativeSeparators(QDir(options.sourceDir).absolutePath()),
                 QDir::toNativeSeparators(QDir(options.destDir).absolutePath()),
                 options.companyCode.isEmpty() ? QStringLiteral("(yok)") : options.companyCode));

    import::ConsoleProgress progress(stdout, import::ConsoleProgress::IsTerminal(stdout),
                                     import::ConsoleProgress::TerminalWidth(stdout));
    try {
        const import::ImportSummary s = import::ImportStores(options, &progress);
        const QLocale tr(QLocale::Turkish, QLocale::Turkey);
        out(QStringLiteral("Bitti: %1 veri dosyası, %2 tablo, %3 satır, %4 sn.\n")
                .arg(s.stores)
                .arg(s.tables)
                .arg(tr.toString(qlonglong(s.rows)), seconds(s.milliseconds)));
        for (const QString& w : s.written)
            out(QStringLiteral("  yazıldı:    %1\n").arg(QDir::toNativeSeparators(w)));
        for (const QString& b : s.backups)
            out(QStringLiteral("  saklandı:   %1\n").arg(QDir::toNativeSeparators(b)));
        return 0;
    } catch (const store::StoreError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "velmora-import: %s\n", e.message().toUtf8().constData());
        return 1;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "velmora-import: Beklenmeyen hata: %s\n", e.what());
        return 1;
    }
}
