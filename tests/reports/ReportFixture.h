#pragma once

#include "../print/PrintFixture.h"

#include "app/Settings.h"
#include "reports/PictureBox.h"
#include "store/Sql.h"
#include "ui/DatePicker.h"

#include <QGroupBox>
#include <QLabel>

// The report panels on a small business of the test's own, written into
// empty stores: staff cards whose account codes differ from their names, and
// jobs placed exactly where a period begins and ends.
class ReportTest : public PrintTest {
protected:
    ReportTest()
        : PrintTest(testsupport::TestDataDir::Content::EmptyStores)
    {
    }

    void SetUp() override
    {
        PrintTest::SetUp();
        Jobs()->Execute(QStringLiteral("INSERT INTO RecSay (RecNo) VALUES (100)"));
    }

    static QString T(const QString& s) { return store::SqlText(s); }

    void AddStaff(const QString& code, const QString& name) const
    {
        data.Open(data.accounts())
            ->Execute(QStringLiteral("INSERT INTO CariKartlar (CariKod, Unvan, Gurup, HesKullan) VALUES (") + T(code)
                      + ", " + T(name) + ", 'Eleman', False)");
    }

    struct Job {
        QString staff;
        QString kind = QStringLiteral("Montaj");
        QString when; // as stored: "YYYY-MM-DD HH:MM:SS"
        bool done = true, cancelled = false;
        double done_units = 1;
        QString customer = QStringLiteral("Deneme Müşteri");
        double quantity = 1;
        QString product = QStringLiteral("Split Klima");
        QString note;
    };
    void AddJob(const Job& j) const
    {
        Jobs()->ExecuteNative(QStringLiteral("INSERT INTO Montaj (Eleman, \"Görev\", Tarih, SipNo, Tamam, Adet, RecNo, "
                                             "CariKod, Unvan, Iptal, Stok, Kalan, \"Not\") VALUES (")
                              + T(j.staff) + ", " + T(j.kind) + ", " + T(j.when) + ", '1', " + (j.done ? "1" : "0")
                              + ", " + QString::number(j.quantity) + ", 1, '120', " + T(j.customer) + ", "
                              + (j.cancelled ? "1" : "0") + ", " + T(j.product) + ", "
                              + QString::number(j.done_units) + ", " + T(j.note) + ")");
    }

    // The board on this day (the report's day), activated.
    board::MainWindow& OpenOnDay(const QDate& day)
    {
        auto& w = Open();
        w.DTPicker1->setDate(day);
        return w;
    }

    QPushButton* Button(const QString& name) const { return Find<QPushButton>(name); }
    void Click(const QString& name) const { QTest::mouseClick(Button(name), Qt::LeftButton); }
    void ClickPrinting(const QString& name, std::function<void(print::PrinterDialog&)> action = PressTamam)
    {
        WithPrinterDialog(std::move(action), [&] {
            Click(name);
            return 0;
        });
    }

    // Every row of "Rapor" in table order: code | kind | done | customer.
    QStringList RaporRows() const
    {
        QStringList out;
        for (const Row& r : Rows(data.reports(), QStringLiteral("Select * From Rapor")))
            out << QString::fromStdString(r.at("Eleman") + " | " + r.at("Görev") + " | " + r.at("Yapilan") + " | "
                                          + r.at("Unvan"));
        return out;
    }

    reports::PictureBox* Picture() const { return Find<reports::PictureBox>(QStringLiteral("Picture1")); }

    static void SetSetting(const char* name, const QString& value)
    {
        app::SaveRegString(app::RootKey::CurrentUser, app::kSettingsKey, QString::fromUtf8(name), value);
    }

    static QString Stored(const QDate& d, const char* time = "00:00:00")
    {
        return d.toString(QStringLiteral("yyyy-MM-dd ")) + QString::fromUtf8(time);
    }
};
