// velmora-demo DIR [--large] [--today YYYY-MM-DD] [--seed N]
//
// Makes DIR/MuhasebeData/ with the five stores filled with a demo business.
// Start the program from DIR and it finds the data without any settings.

#include "app/DemoData.h"
#include "store/StoreError.h"
#include "version/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

int usage(const char* why = nullptr)
{
    if (why)
        std::fprintf(stderr, "velmora-demo: %s\n", why);
    std::fprintf(stderr,
                 "usage: velmora-demo DIR [--large] [--today YYYY-MM-DD] [--seed N]\n"
                 "  Creates DIR/MuhasebeData/ with demo stores; start velmora from DIR.\n");
    return 2;
}

void print(const QString& s) { std::fputs(s.toUtf8().constData(), stdout); }

} // namespace

int main(int argc, char** argv)
{
    if (version::PrintIfAsked(argc, argv, "velmora-demo"))
        return 0;
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);

    QString dir;
    app::DemoSize size = app::DemoSize::Small;
    QDate today = QDate::currentDate();
    quint32 seed = 1;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--large")) {
            size = app::DemoSize::Large;
        } else if (a == QLatin1String("--today") && i + 1 < args.size()) {
            today = QDate::fromString(args[++i], Qt::ISODate);
            if (!today.isValid())
                return usage("--today wants a date like 2026-03-18");
        } else if (a == QLatin1String("--seed") && i + 1 < args.size()) {
            bool ok = false;
            seed = args[++i].toUInt(&ok);
            if (!ok)
                return usage("--seed wants a whole number");
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            return usage();
        } else if (a.startsWith(QLatin1Char('-')) || !dir.isEmpty()) {
            return usage(qPrintable(QStringLiteral("unexpected argument: ") + a));
        } else {
            dir = a;
        }
    }
    if (dir.isEmpty())
        return usage("no directory given");

    const QString root = QDir(dir).absoluteFilePath(QStringLiteral("MuhasebeData"));
    if (QFileInfo::exists(root)) {
        std::fprintf(stderr,
                     "velmora-demo: %s already exists; nothing was changed.\n"
                     "Remove it first or choose another directory.\n",
                     root.toUtf8().constData());
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    try {
        const app::DemoSummary s = app::MakeDemoData(dir, today, size, seed);
        print(QStringLiteral("Demo data for %1 (seed %2) in %3\n")
                  .arg(today.toString(Qt::ISODate)).arg(seed).arg(QDir::toNativeSeparators(s.dataRoot)));
        print(QStringLiteral("  %1 staff, %2 customers, %3 order lines, %4 jobs, %5 day registrations, "
                             "%6 account postings; last batch number %7\n")
                  .arg(s.staff).arg(s.customers).arg(s.orderLines).arg(s.jobs).arg(s.dayStaffRows)
                  .arg(s.transactions).arg(qint64(s.lastRecNo)));
        print(QStringLiteral("  made in %1 s. Start velmora from %2\n")
                  .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1)
                  .arg(QDir::toNativeSeparators(QDir(dir).absolutePath())));
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "velmora-demo: %s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
