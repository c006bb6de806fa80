#pragma once

#include <QDate>
#include <QString>

// A believable small business to run and test the program on: staff and
// customer cards, order lines of the last months, the jobs made from them in
// every state, the day registrations, the batch counter and the survey
// numbering. The same arguments always give the same data.
namespace app {

enum class DemoSize {
    Small, // 6 staff, 60 customers, 400 order lines over three months
    Large, // 50 staff, 2,000 customers, 200,000 order lines, about 100,000 jobs over two years
};

struct DemoSummary {
    QString dataRoot; // dir + "/MuhasebeData/"
    int staff = 0;
    int customers = 0;
    int orderLines = 0;
    int jobs = 0;
    int dayStaffRows = 0;
    int transactions = 0;
    double lastRecNo = 0;
};

// Creates dir/MuhasebeData/ with the five stores (no company code: the
// company stores are "Cari.Mdb", "Siparis.Mdb" and "Index.Mdb" in the data
// root). Raises store::StoreError when a store already exists or cannot be
// written.
DemoSummary MakeDemoData(const QString& dir, const QDate& today, DemoSize size, quint32 seed);

} // namespace app
