#include "app/StorePaths.h"
#include "app/Settings.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using app::StorePaths;

TEST(StorePathsTest, JoinsSettingsWithNothingInBetween)
{
    const StorePaths folder = StorePaths::From(QStringLiteral("E:\\"), QStringLiteral("ABC\\"));
    EXPECT_EQ(folder.dataRoot, QStringLiteral("E:\\MuhasebeData\\"));
    EXPECT_EQ(folder.accounts(), QStringLiteral("E:\\MuhasebeData\\ABC\\Cari.Mdb"));
    EXPECT_EQ(folder.orders(), QStringLiteral("E:\\MuhasebeData\\ABC\\Siparis.Mdb"));
    EXPECT_EQ(folder.index(), QStringLiteral("E:\\MuhasebeData\\ABC\\Index.Mdb"));
    // The shared stores and the layout files ignore the company.
    EXPECT_EQ(folder.jobs(), QStringLiteral("E:\\MuhasebeData\\Montaj.mdb"));
    EXPECT_EQ(folder.reports(), QStringLiteral("E:\\MuhasebeData\\Rapor.mdb"));
    EXPECT_EQ(folder.gridLayout(QStringLiteral("StokDataGrid")), QStringLiteral("E:\\MuhasebeData\\StokDataGrid.Dat"));

    const StorePaths prefix = StorePaths::From(QStringLiteral("E:\\"), QStringLiteral("ABC"));
    EXPECT_EQ(prefix.accounts(), QStringLiteral("E:\\MuhasebeData\\ABCCari.Mdb"));

    const StorePaths none = StorePaths::From(QString(), QString());
    EXPECT_EQ(none.dataRoot, QStringLiteral("MuhasebeData\\"));
    EXPECT_EQ(none.accounts(), QStringLiteral("MuhasebeData\\Cari.Mdb"));
    // Local turns backslashes into slashes.
    EXPECT_EQ(StorePaths::Local(none.accounts()), QStringLiteral("MuhasebeData/Cari.Mdb"));
    EXPECT_EQ(StorePaths::Local(QStringLiteral("/srv/data/MuhasebeData\\Montaj.mdb")),
              QStringLiteral("/srv/data/MuhasebeData/Montaj.mdb"));
}

TEST(StorePathsTest, FromSettingsReadsDiskiAndFirma)
{
    testsupport::ScopedSettingsFile file;
    EXPECT_EQ(StorePaths::FromSettings().dataRoot, QStringLiteral("MuhasebeData\\"));
    EXPECT_EQ(StorePaths::FromSettings().companyCode, QString());

    file.write("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Kapivar\\Properties1]\n"
               "\"Diski\"=\"E:\\\\\"\n\"Firma\"=\"ABC\\\\\"\n");
    const StorePaths p = StorePaths::FromSettings();
    EXPECT_EQ(p.accounts(), QStringLiteral("E:\\MuhasebeData\\ABC\\Cari.Mdb"));

    // A "Firma" of another type reads as no company at all.
    file.write("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Kapivar\\Properties1]\n"
               "\"Diski\"=\"E:\\\\\"\n\"Firma\"=dword:00000007\n");
    EXPECT_EQ(StorePaths::FromSettings().accounts(), QStringLiteral("E:\\MuhasebeData\\Cari.Mdb"));
}
