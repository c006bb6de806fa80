#pragma once

#include <QString>

// The one place that knows where each store and layout file is.
//
// Paths are built exactly as the settings give them: "Diski" + "MuhasebeData\"
// is the data root, and the company stores are the data root + "Firma" + the
// file name, with nothing added in between (a separator wanted there must be
// part of "Firma"). The Windows form keeps backslashes; Local() turns them
// into this system's separators.
namespace app {

struct StorePaths {
    QString dataRoot;    // Windows form, e.g. "E:\MuhasebeData\"
    QString companyCode; // "Firma" as stored

    static StorePaths FromSettings();
    static StorePaths From(const QString& diski, const QString& firma);

    QString jobs() const;     // DataRoot + "Montaj.mdb"
    QString reports() const;  // DataRoot + "Rapor.mdb"
    QString accounts() const; // DataRoot + CompanyCode + "Cari.Mdb"
    QString orders() const;   // DataRoot + CompanyCode + "Siparis.Mdb"
    QString index() const;    // DataRoot + CompanyCode + "Index.Mdb"
    QString gridLayout(const QString& gridName) const; // DataRoot + name + ".Dat"

    // A path of the Windows form as a path of this system.
    static QString Local(const QString& windowsPath);
};

} // namespace app
