#pragma once

#include "PrintFixture.h"

#include "store/Sql.h"

#include <QDir>
#include <QFile>

// The job sheets' own small business, written into empty stores, so every
// line of a recorded sheet can be told from the data below.
class SheetTest : public PrintTest {
protected:
    SheetTest()
        : PrintTest(testsupport::TestDataDir::Content::EmptyStores)
    {
    }

    struct Card {
        const char* code;
        const char* name;
        const char* phone = "";
        const char* address1 = "";
        const char* address2 = "";
        const char* mobile = "";
        double balance = 0;
        const char* side = "Borç";
    };
    struct Line {
        const char* sipNo;
        const char* customer;
        const char* product;
        const char* kind = "Montaj"; // the line's Görev
        double ordered = 1, open = 1, delivered = 0, price = 0, amount = 0;
    };
    struct Job {
        const char* staff;
        const char* kind;
        const char* sipNo;
        const char* customer; // code
        const char* name;     // Unvan as the job keeps it
        const char* product = "";
        double quantity = 1;
        const char* note = "";
        int daysFromToday = 0;
        bool done = false, cancelled = false;
    };

    // Every sheet test prints from the same business.
    void SetUp() override
    {
        PrintTest::SetUp();
        Jobs()->Execute(QStringLiteral("INSERT INTO RecSay (RecNo) VALUES (100)"));
        MakeBusiness();
    }

    static QString T(const char* s) { return store::SqlText(QString::fromUtf8(s)); }
    static QString N(double v) { return QString::number(v); }
    static QString B(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }
    static void Insert(store::Connection& c, const char* into, const QStringList& values)
    {
        c.Execute(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(QString::fromUtf8(into), values.join(", ")));
    }

    void AddStaff(const char* name) const
    {
        Insert(*data.Open(data.accounts()), "CariKartlar (CariKod, Unvan, Gurup, HesKullan)",
               {T(name), T(name), "'Eleman'", "False"});
    }
    void AddCard(const Card& c) const
    {
        Insert(*data.Open(data.accounts()),
               "CariKartlar (CariKod, Unvan, Tel, Adres, Sehir, Gsm, Gurup, HesKullan, Bakiye, Hesap)",
               {T(c.code), T(c.name), T(c.phone), T(c.address1), T(c.address2), T(c.mobile), "'Müşteri'", "False",
                N(c.balance), T(c.side)});
    }
    void AddLine(const Line& l) const
    {
        Insert(*Orders(), "Siparisler (CariKod, SipTarih, TesTarih, SipNo, TesAdet, KalAdet, StokKod, StokAdi, Fiyat, "
                          "Miktar, Tutar, Görev)",
               {T(l.customer), store::DateLiteral(Today().addDays(-10)), store::DateLiteral(Today()), T(l.sipNo),
                N(l.delivered), N(l.open), "'K-1'", T(l.product), N(l.price), N(l.ordered), N(l.amount), T(l.kind)});
    }
    void AddJob(const Job& j) const
    {
        Insert(*Jobs(), "Montaj (Eleman, Görev, Tarih, SipNo, Tamam, Adet, RecNo, CariKod, Unvan, Iptal, Stok, [Not])",
               {T(j.staff), T(j.kind), store::DateLiteral(Today().addDays(j.daysFromToday)), T(j.sipNo), B(j.done),
                N(j.quantity), "1", T(j.customer), T(j.name), B(j.cancelled), T(j.product), T(j.note)});
    }

    static constexpr const char* kLongNote =
        "Kapıcıya haber verilecek. Öğleden sonra gelinsin, asansör yok. Kapıcıya haber verilecek; "
        "eski ölçüler geçersiz, yeni ölçü alınacak ve yeni ölçü müşteriye yazılı verilecek.";

    // Ali Demir: a survey with a long note, three installations for two
    // customers (one with two jobs), a service call; and the jobs that never
    // reach a sheet. Mehmet Yıldız: the first customer again, a job whose
    // order line is gone and one whose card is gone. Hüseyin Çelik: one
    // customer with six installations.
    void MakeBusiness() const
    {
        for (const char* s : {"Ali Demir", "Mehmet Yıldız", "Hüseyin Çelik"})
            AddStaff(s);
        AddCard({"120.01.0001", "Ahmet'in Yeri", "0232 111 22 33", "Atatürk Cad. No: 5", "Karşıyaka / İzmir",
                 "0532 111 22 33", 1500});
        AddCard({"120.01.0002", "Çağla Özdemir", "", "Gazi Bulvarı 12/3", "Konak / İzmir", "0533 222 33 44", 5000,
                 "Alacak"});
        AddCard({"120.01.0003", "Özgür İnşaat Mühendislik Taahhüt Sanayi ve Ticaret Ltd. Şti.", "0232 333 44 55",
                 "Mustafa Kemal Sahil Bulvarı No: 1234 Daire: 56 Kat: 7 Yalı Mahallesi",
                 "Ege Serbest Bölgesi Yönetim Binası Arkası, Gaziemir / İzmir (kulübeden geçiş kartı alınacak)"});
        AddCard({"120.01.0004", "İlker Şahin", "0232 444 55 66", "Yeni Mah. 3. Sok. No: 8", "Buca / İzmir", "", 250});
        AddCard({"120.01.0005", "Kardeşler Market", "0232 555 66 77", "Çarşı İçi No: 2", "Bornova / İzmir",
                 "0535 555 66 77", 1000});

        AddLine({"240101", "120.01.0001", "Klima 12000 BTU Inverter", "Montaj", 2, 2, 0, 10000, 20000});
        AddLine({"240102", "120.01.0001", "PVC Pencere 120x150", "Montaj", 3, 1, 2, 5200, 15600});
        AddLine({"240103", "120.01.0002", "Kombi 24 kW Yoğuşmalı", "Montaj", 1, 1, 0, 3000, 3000});
        AddLine({"X1001", "120.01.0003", "KEŞİF", "Kesif", 1, 0, 0, 0, 0});
        AddLine({"240104", "120.01.0004", "SERVİS", "Servis", 1, 0, 2, 0, 0});
        AddLine({"240105", "120.01.0001", "Buzdolabı No Frost", "Paket", 1, 1, 0, 26500, 26500});
        AddLine({"240106", "120.01.0001", "Çelik Kapı 90x200", "Montaj", 1, 1, 0, 16400, 16400});
        AddLine({"240108", "120.01.9999", "Duşakabin 90x90", "Montaj", 1, 1, 0, 8700, 8700});
        for (int i = 0; i < 6; ++i)
            AddLine({kMarketOrders[i], "120.01.0005", "Alüminyum Panjur (m²)", "Montaj", 4, 4, 0, 250, 1000});

        AddJob({"Ali Demir", "Montaj", "240101", "120.01.0001", "Ahmet'in Yeri", "Klima 12000 BTU Inverter", 2});
        AddJob({"Ali Demir", "Montaj", "240102", "120.01.0001", "Ahmet'in Yeri", "PVC Pencere 120x150", 1});
        AddJob({"Ali Demir", "Montaj", "240103", "120.01.0002", "Çağla Özdemir", "Kombi 24 kW Yoğuşmalı", 1});
        AddJob({"Ali Demir", "Kesif", "X1001", "120.01.0003", "Özgür İnşaat Mühendislik Taahhüt Sanayi ve Ticaret "
                "Ltd. Şti.", "KEŞİF", 1, kLongNote});
        AddJob({"Ali Demir", "Servis", "240104", "120.01.0004", "İlker Şahin", "SERVİS", 1, "Kombi su kaçırıyor"});
        // Never on a sheet: a delivery, a done job, a cancelled job, another day.
        AddJob({"Ali Demir", "Paket", "240105", "120.01.0001", "Ahmet'in Yeri", "Buzdolabı No Frost"});
        AddJob({"Ali Demir", "Montaj", "240101", "120.01.0001", "Ahmet'in Yeri", "Klima", 2, "", 0, true});
        AddJob({"Ali Demir", "Montaj", "240103", "120.01.0002", "Çağla Özdemir", "Kombi", 1, "", 0, false, true});
        AddJob({"Ali Demir", "Montaj", "240106", "120.01.0001", "Ahmet'in Yeri", "Çelik Kapı", 1, "", -1});

        AddJob({"Mehmet Yıldız", "Montaj", "240106", "120.01.0001", "Ahmet'in Yeri", "Çelik Kapı 90x200", 1});
        AddJob({"Mehmet Yıldız", "Montaj", "240107", "120.01.0077", "Kayıp Sipariş Müşterisi", "Kayıp Ürün", 3});
        AddJob({"Mehmet Yıldız", "Montaj", "240108", "120.01.9999", "Kartsız Müşteri", "Kartsız Ürün", 1});

        for (int i = 0; i < 6; ++i)
            AddJob({"Hüseyin Çelik", "Montaj", kMarketOrders[i], "120.01.0005", "Kardeşler Market",
                    "Alüminyum Panjur (m²)", 4});
    }

    static constexpr const char* kMarketOrders[] = {"240201", "240202", "240203", "240204", "240205", "240206"};

    // The board with the staff member's first job clicked in the job grid
    // (which also enables "Tek &Yazdır").
    board::MainWindow& OpenOn(const char* staff)
    {
        auto& w = Open();
        EXPECT_TRUE(GoTo(w.DataGörev, QStringLiteral("Eleman=") + T(staff))) << staff;
        ClickCell(Find<ui::DataGrid>(QStringLiteral("GörevGrid")), 0);
        EXPECT_EQ(w.DataGörev.Field(0).toString(), QString::fromUtf8(staff));
        return w;
    }

    // "Tek Yazdır" on the staff member's first job, and "Tümünü Yazdır" on the board, answered "Tamam".
    const print::RecordingSurface& PrintOne(const char* staff)
    {
        OpenOn(staff);
        ClickPrint(2);
        return Recording();
    }
    const print::RecordingSurface& PrintAll()
    {
        Open();
        ClickPrint(1);
        return Recording();
    }

    static void ExpectGolden(const print::RecordingSurface& recording, const char* name)
    {
        ExpectGoldenFile(recording, "print", name);
    }
};
