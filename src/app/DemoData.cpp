#include "app/DemoData.h"

#include "store/Connection.h"
#include "store/Layouts.h"
#include "store/Sql.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <vector>

// The demo business sells household goods and sends its own fitters: air
// conditioners, boilers, windows and kitchens are installed ("Montaj"), white
// goods are delivered ("Paket"), fitted goods get service calls ("Servis"),
// and site surveys ("Kesif") are entered through the survey dialog. The data
// is made by playing the business day by day with the program's own rules
// (which lines a kind offers, when a line may be marked again, what a job
// gets as its quantity), so every state the board shows comes out of the
// same rules the program applies.
namespace app {

namespace {

using store::StoredDate;

enum Kind { KMontaj = 0, KServis = 1, KKesif = 2, KPaket = 3 };
const char* const kKindCode[] = {"Montaj", "Servis", "Kesif", "Paket"};

// A seeded generator with its own range arithmetic, so one seed gives the
// same data with every standard library.
class Rng {
public:
    explicit Rng(quint32 seed) : g_(seed) {}
    int below(int n) { return n <= 1 ? 0 : int(g_() % quint32(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(double p) { return double(g_() % 1000000u) < p * 1000000.0; }
    template <class T> const T& pick(const std::vector<T>& v) { return v[size_t(below(int(v.size())))]; }

private:
    std::mt19937 g_;
};

struct Product {
    const char* code;
    const char* name;
    const char* unit;
    double price;
    Kind kind; // KMontaj: fitted, KPaket: delivered, KKesif: a line without a product code
    int minQty;
    int maxQty;
};

const std::vector<Product>& products()
{
    static const std::vector<Product> p{
        {"KLM-09", "Klima 9000 BTU Inverter", "Adet", 18500, KMontaj, 1, 2},
        {"KLM-12", "Klima 12000 BTU Inverter", "Adet", 22900, KMontaj, 1, 3},
        {"KLM-18", "Klima 18000 BTU Inverter", "Adet", 31500, KMontaj, 1, 2},
        {"KMB-24", "Kombi 24 kW Yoğuşmalı", "Adet", 27800, KMontaj, 1, 1},
        {"SFN-11", "Şofben 11 Lt", "Adet", 6400, KMontaj, 1, 1},
        {"PVC-1215", "PVC Pencere 120x150", "Adet", 7900, KMontaj, 1, 6},
        {"PVC-0812", "PVC Pencere 80x120", "Adet", 5200, KMontaj, 1, 4},
        {"CLK-90", "Çelik Kapı 90x200", "Adet", 16400, KMontaj, 1, 1},
        {"DSK-90", "Duşakabin 90x90", "Adet", 8700, KMontaj, 1, 2},
        {"MTF-01", "Mutfak Dolabı (metre)", "Metre", 9600, KMontaj, 3, 8},
        {"PNJ-01", "Alüminyum Panjur (m²)", "m²", 2100, KMontaj, 2, 10},
        {"STR-01", "Stor Perde (m²)", "m²", 650, KMontaj, 3, 15},
        {"LMN-08", "Laminat Parke 8 mm (m²)", "m²", 480, KMontaj, 20, 90},
        {"ANK-FR", "Ankastre Fırın", "Adet", 14200, KMontaj, 1, 1},
        {"DVL-60", "Davlumbaz 60 cm", "Adet", 5300, KMontaj, 1, 1},
        {"OCK-4G", "Ankastre Ocak 4 Gözlü", "Adet", 6900, KMontaj, 1, 1},
        {"SNK-01", "Plise Sineklik (m²)", "m²", 900, KMontaj, 1, 6},
        {"BZD-01", "Buzdolabı No Frost", "Adet", 26500, KPaket, 1, 1},
        {"CMS-09", "Çamaşır Makinesi 9 kg", "Adet", 17800, KPaket, 1, 1},
        {"BLS-01", "Bulaşık Makinesi", "Adet", 15400, KPaket, 1, 1},
        {"SPR-01", "Elektrikli Süpürge", "Adet", 4300, KPaket, 1, 2},
        {"TV-55", "Televizyon 55 inç", "Adet", 21900, KPaket, 1, 1},
        {"MKR-01", "Mikrodalga Fırın", "Adet", 3900, KPaket, 1, 1},
        {"HLI-01", "Halı 200x290", "Adet", 6200, KPaket, 1, 3},
    };
    return p;
}

const std::vector<Product>& uncodedProducts()
{
    static const std::vector<Product> p{
        {"", "Nakliye Bedeli", "Hizmet", 750, KKesif, 1, 1},
        {"", "İşçilik (ek)", "Hizmet", 1200, KKesif, 1, 2},
        {"", "Özel Ölçü Cam", "Adet", 2400, KKesif, 1, 3},
    };
    return p;
}

// The customers of the small set, chosen to try the program: a quote in a
// name, every Turkish letter in upper and lower case, firms and persons.
const std::vector<QString>& fixedCustomers()
{
    static const std::vector<QString> names{
        QStringLiteral("Ahmet'in Yeri"), QStringLiteral("İlker Şahin"), QStringLiteral("Ömer Güler"),
        QStringLiteral("Çağla Özdemir"), QStringLiteral("Ümit Işık"), QStringLiteral("Gülşen Doğan"),
        QStringLiteral("Şeyma Ağca"), QStringLiteral("Işıl Ünal"), QStringLiteral("Özgür İnşaat Ltd. Şti."),
        QStringLiteral("Çiçek Pastanesi"), QStringLiteral("Yılmaz Mobilya"), QStringLiteral("Kardeşler Market"),
        QStringLiteral("Ayşe Kaya"), QStringLiteral("Fatma Yıldırım"), QStringLiteral("Mustafa Aydın"),
        QStringLiteral("Emine Arslan"), QStringLiteral("Hasan Koç"), QStringLiteral("Zeynep Kurt"),
        QStringLiteral("İbrahim Polat"), QStringLiteral("Hatice Erdoğan"), QStringLiteral("Osman Kılıç"),
        QStringLiteral("Elif Şimşek"), QStringLiteral("Ramazan Aktaş"), QStringLiteral("Merve Çetin"),
        QStringLiteral("Yusuf Kara"), QStringLiteral("Sevgi Uçar"), QStringLiteral("Murat Güneş"),
        QStringLiteral("Burcu Tekin"), QStringLiteral("Cengiz Bulut"), QStringLiteral("Derya Akın"),
        QStringLiteral("Kemal Acar"), QStringLiteral("Nurcan Karaca"), QStringLiteral("Serkan Yavuz"),
        QStringLiteral("Tuğba Öztürk"), QStringLiteral("Uğur Sarı"), QStringLiteral("Gökhan Özkan"),
        QStringLiteral("Dilek Ateş"), QStringLiteral("Erkan Bozkurt"), QStringLiteral("Şule Korkmaz"),
        QStringLiteral("Barış Demirci"), QStringLiteral("Pınar Kalkan"), QStringLiteral("Volkan Işıklar"),
        QStringLiteral("Hülya Sönmez"), QStringLiteral("Ercan Türkmen"), QStringLiteral("Gizem Ekinci"),
        QStringLiteral("Levent Ülker"), QStringLiteral("Aslı Güleç"), QStringLiteral("Tolga Çakır"),
        QStringLiteral("Sibel Yücel"), QStringLiteral("Oğuz Taş"), QStringLiteral("Ege Çelik Kapı San."),
        QStringLiteral("Akdeniz Otel"), QStringLiteral("Güven Apartmanı Yönetimi"),
        QStringLiteral("Işık Kırtasiye"), QStringLiteral("Doğa Kafe"), QStringLiteral("İzmir Dişçilik"),
        QStringLiteral("Çamlık Sitesi Yönetimi"), QStringLiteral("Öz Ağaç Doğrama"),
        QStringLiteral("Üçler Oto Yıkama"), QStringLiteral("Şahin Eczanesi"),
    };
    return names;
}

const std::vector<QString> kFixedStaff{
    QStringLiteral("Ali Demir"), QStringLiteral("Mehmet Yıldız"), QStringLiteral("Hüseyin Çelik"),
    QStringLiteral("İsmail Öztürk"), QStringLiteral("Şükrü Ağaoğlu"),
};
const QString kPackageStaff = QStringLiteral("Paket Teslim");

const std::vector<QString> kFirstNames{
    QStringLiteral("Ahmet"), QStringLiteral("Mehmet"), QStringLiteral("Mustafa"), QStringLiteral("Ali"),
    QStringLiteral("Hüseyin"), QStringLiteral("Hasan"), QStringLiteral("İbrahim"), QStringLiteral("İsmail"),
    QStringLiteral("Osman"), QStringLiteral("Yusuf"), QStringLiteral("Murat"), QStringLiteral("Ömer"),
    QStringLiteral("Ramazan"), QStringLiteral("Halil"), QStringLiteral("Süleyman"), QStringLiteral("Abdullah"),
    QStringLiteral("Mahmut"), QStringLiteral("Recep"), QStringLiteral("Salih"), QStringLiteral("Kemal"),
    QStringLiteral("Fatma"), QStringLiteral("Ayşe"), QStringLiteral("Emine"), QStringLiteral("Hatice"),
    QStringLiteral("Zeynep"), QStringLiteral("Elif"), QStringLiteral("Meryem"), QStringLiteral("Şerife"),
    QStringLiteral("Sultan"), QStringLiteral("Zehra"), QStringLiteral("Hanife"), QStringLiteral("Merve"),
    QStringLiteral("Havva"), QStringLiteral("Zeliha"), QStringLiteral("Esra"), QStringLiteral("Fadime"),
    QStringLiteral("Özlem"), QStringLiteral("Hacer"), QStringLiteral("Yasemin"), QStringLiteral("Hülya"),
    QStringLiteral("Cemile"), QStringLiteral("Gül"), QStringLiteral("Derya"), QStringLiteral("Şükrü"),
    QStringLiteral("Çağrı"), QStringLiteral("Ümit"), QStringLiteral("İlknur"), QStringLiteral("Gökçe"),
    QStringLiteral("Özge"), QStringLiteral("Şenay"),
};
const std::vector<QString> kSurnames{
    QStringLiteral("Yılmaz"), QStringLiteral("Kaya"), QStringLiteral("Demir"), QStringLiteral("Şahin"),
    QStringLiteral("Çelik"), QStringLiteral("Yıldız"), QStringLiteral("Yıldırım"), QStringLiteral("Öztürk"),
    QStringLiteral("Aydın"), QStringLiteral("Özdemir"), QStringLiteral("Arslan"), QStringLiteral("Doğan"),
    QStringLiteral("Kılıç"), QStringLiteral("Aslan"), QStringLiteral("Çetin"), QStringLiteral("Kara"),
    QStringLiteral("Koç"), QStringLiteral("Kurt"), QStringLiteral("Özkan"), QStringLiteral("Şimşek"),
    QStringLiteral("Polat"), QStringLiteral("Özcan"), QStringLiteral("Korkmaz"), QStringLiteral("Çakır"),
    QStringLiteral("Erdoğan"), QStringLiteral("Yavuz"), QStringLiteral("Can"), QStringLiteral("Acar"),
    QStringLiteral("Şen"), QStringLiteral("Aktaş"), QStringLiteral("Güler"), QStringLiteral("Yalçın"),
    QStringLiteral("Güneş"), QStringLiteral("Bozkurt"), QStringLiteral("Bulut"), QStringLiteral("Keskin"),
    QStringLiteral("Ünal"), QStringLiteral("Turan"), QStringLiteral("Gül"), QStringLiteral("Özer"),
    QStringLiteral("Işık"), QStringLiteral("Kaplan"), QStringLiteral("Avcı"), QStringLiteral("Sarı"),
    QStringLiteral("Tekin"), QStringLiteral("Taş"), QStringLiteral("Kaptan"), QStringLiteral("Aksoy"),
    QStringLiteral("Ateş"), QStringLiteral("Uçar"),
};

const std::vector<QString> kStreets{
    QStringLiteral("Atatürk Cad."), QStringLiteral("Cumhuriyet Bulvarı"), QStringLiteral("İnönü Sok."),
    QStringLiteral("Şehitler Cad."), QStringLiteral("Çınarlı Sok."), QStringLiteral("Gül Sok."),
    QStringLiteral("Menekşe Sok."), QStringLiteral("Fevzi Çakmak Cad."), QStringLiteral("Kıbrıs Şehitleri Cad."),
    QStringLiteral("Talatpaşa Bulvarı"), QStringLiteral("1203/4 Sok."), QStringLiteral("Ege Cad."),
    QStringLiteral("Yeşillik Cad."), QStringLiteral("Ulubatlı Hasan Sok."), QStringLiteral("Özgürlük Meydanı"),
};
const std::vector<QString> kDistricts{
    QStringLiteral("Bornova"), QStringLiteral("Karşıyaka"), QStringLiteral("Buca"), QStringLiteral("Bayraklı"),
    QStringLiteral("Çiğli"), QStringLiteral("Konak"), QStringLiteral("Gaziemir"), QStringLiteral("Narlıdere"),
    QStringLiteral("Balçova"), QStringLiteral("Menemen"), QStringLiteral("Torbalı"), QStringLiteral("Urla"),
};
const std::vector<QString> kLineNotes{
    QStringLiteral("Kapıcıya haber verilecek"), QStringLiteral("Öğleden sonra gelinsin"),
    QStringLiteral("Müşteri aranmadan gidilmesin"), QStringLiteral("Asansör yok, 4. kat"),
    QStringLiteral("Eski cihaz sökülecek"), QStringLiteral("Site girişinde kimlik istiyorlar"),
    QStringLiteral("Hafta içi 17:00'den sonra"), QStringLiteral("Ödeme teslimde alınacak"),
};
const std::vector<QString> kSurveyNotes{
    QStringLiteral("Balkon için ölçü alınacak"), QStringLiteral("Mutfak yenileme keşfi"),
    QStringLiteral("Kombi yeri bakılacak"), QStringLiteral("Pencere değişimi keşfi"),
    QStringLiteral("Klima yeri belirlenecek"), QStringLiteral("Çatı katı, merdivenle çıkılıyor"),
};

struct Card {
    QString code, name, tel, address, city, district, gsm, telHome, note, group, taxOffice, taxNo;
    QDate opened;
    bool closed = false;
    double borc = 0, alacak = 0;
    QDate firstSale;
};

struct OrderLine {
    int customer = 0;
    QString sipTur;
    QDate sipTarih, tesTarih;
    QString sipNo;
    double tesAdet = 0, kalAdet = 0;
    QString stokKod, birim, stokAdi;
    double fiyat = 0, kdv = 20, miktar = 0, tutar = 0, kdvTutar = 0;
    QString aciklama, fisNo;
    QString sec, gorev, eleman;
    std::array<bool, 4> flag{};
    QString note;
    Kind productKind = KKesif;
    bool entered = false;
};

struct Job {
    QString eleman;
    Kind kind = KMontaj;
    QDate tarih;
    int line = 0;
    bool tamam = false, iptal = false;
    double adet = 0, kalan = 0, recNo = 0;
};

struct DayStaff {
    Kind kind;
    QString sipNo, eleman;
    QDate tarih;
    double recNo;
};

struct Posting {
    int card;
    QDate date;
    QString text;
    double borc = 0, alacak = 0;
    bool carisiNull = false;
    QString digerId, nerde;
};

struct Request {
    int line;
    Kind kind;
    int attempt;
};

struct Params {
    int staff, customers, lines, days, marks;
    double counterShare; // product lines sold over the counter: no job at all
};

class Generator {
public:
    Generator(const QDate& today, DemoSize size, quint32 seed)
        : today_(today), rng_(seed)
    {
        p_ = size == DemoSize::Small ? Params{6, 60, 400, 91, 6, 0.08}
                                     : Params{50, 2000, 200000, 730, 40, 0.58};
        start_ = today_.addDays(-(p_.days - 1));
        requests_.resize(size_t(p_.days));
    }

    void run()
    {
        makeNames();
        planLines();
        for (QDate d = start_; d <= today_; d = d.addDays(1))
            playDay(d);
        ensureEveryKindToday();
        markSomeLines();
        takePayments();
    }

    void write(const QString& root, DemoSummary& summary);

private:
    int dayIndex(const QDate& d) const { return int(start_.daysTo(d)); }
    bool workDay(const QDate& d) const { return d.dayOfWeek() != Qt::Sunday || d == today_; }
    QDate workDayFrom(QDate d) const
    {
        while (!workDay(d))
            d = d.addDays(1);
        return d;
    }

    void request(const QDate& day, int line, Kind kind, int attempt = 0)
    {
        const QDate d = workDayFrom(day);
        if (d <= today_ && d >= start_)
            requests_[size_t(dayIndex(d))].push_back({line, kind, attempt});
    }

    QString phone(const char* area)
    {
        return QStringLiteral("%1 %2 %3 %4").arg(QLatin1String(area)).arg(rng_.between(200, 899))
            .arg(rng_.between(10, 99)).arg(rng_.between(10, 99));
    }
    QString mobile()
    {
        static const char* const pre[] = {"0530", "0532", "0533", "0535", "0542", "0543", "0505", "0555"};
        return phone(pre[rng_.below(8)]);
    }

    void makeNames();
    void planLines();
    void playDay(const QDate& d);
    void enterSurvey(const QDate& d, bool service, bool forceToday);
    bool eligible(int line, Kind kind, const QDate& day) const;
    void makeBatch(const QString& staff, Kind kind, std::vector<int> lines, const QDate& d);
    void settle(int job, const QDate& d);
    void ensureEveryKindToday();
    void markSomeLines();
    void takePayments();
    double nextEntryNumber(int year);
    QString installer() { return staff_[size_t(rng_.below(int(staff_.size()) - 1))]; }

    QDate today_, start_;
    Rng rng_;
    Params p_{};
    std::vector<QString> staff_;     // installers, then "Paket Teslim" last
    std::vector<Card> cards_;        // staff cards first, then customers
    int firstCustomer_ = 0;
    std::vector<OrderLine> lines_;
    std::vector<int> entryOrder_;    // lines in the order they were entered
    std::vector<std::vector<int>> byDay_; // regular lines per day of entry
    std::vector<std::pair<QDate, bool>> surveys_; // survey (false) / service (true) entries
    std::vector<Job> jobs_;
    std::array<std::vector<int>, 4> firstJob_; // per kind: the first job of each line, -1 when none
    std::vector<DayStaff> dayStaff_;
    QSet<QString> registered_;      // kind|day|staff with a day registration
    std::vector<std::vector<Request>> requests_;
    std::vector<Posting> postings_;
    std::map<int, QString> yearCounter_; // year -> last "Indexi" given
    double counter_ = 1000;              // "RecSay": batches and survey entries share it
};

void Generator::makeNames()
{
    // Generated names come from a seeded walk over first name x surname, so
    // the large set has thousands of distinct, believable names.
    std::vector<QString> pool;
    pool.reserve(kFirstNames.size() * kSurnames.size());
    for (const QString& s : kSurnames)
        for (const QString& f : kFirstNames)
            pool.push_back(f + QLatin1Char(' ') + s);
    for (size_t i = pool.size() - 1; i > 0; --i)
        std::swap(pool[i], pool[size_t(rng_.below(int(i) + 1))]);
    QSet<QString> used;
    for (const QString& n : fixedCustomers())
        used.insert(n);
    for (const QString& n : kFixedStaff)
        used.insert(n);
    size_t next = 0;
    auto fresh = [&]() {
        while (used.contains(pool[next]))
            ++next;
        used.insert(pool[next]);
        return pool[next++];
    };

    for (int i = 0; i < p_.staff - 1; ++i)
        staff_.push_back(i < int(kFixedStaff.size()) ? kFixedStaff[size_t(i)] : fresh());
    staff_.push_back(kPackageStaff);

    auto baseCard = [&](Card& c) {
        c.district = rng_.pick(kDistricts);
        c.address = QStringLiteral("%1 No: %2 D: %3").arg(rng_.pick(kStreets)).arg(rng_.between(1, 180))
                        .arg(rng_.between(1, 24));
        c.city = c.district + QStringLiteral(" / İzmir");
        c.opened = today_.addDays(-rng_.between(400, 3000));
    };
    for (int i = 0; i < int(staff_.size()); ++i) {
        Card c;
        c.code = QStringLiteral("335.01.%1").arg(i + 1, 3, 10, QLatin1Char('0'));
        c.name = staff_[size_t(i)];
        c.group = QStringLiteral("Eleman");
        baseCard(c);
        c.gsm = mobile();
        if (c.name == kPackageStaff) {
            c.address = QStringLiteral("Merkez Depo");
            c.gsm.clear();
            c.note = QStringLiteral("Paket teslimatları için");
        }
        cards_.push_back(c);
    }
    firstCustomer_ = int(cards_.size());
    for (int i = 0; i < p_.customers; ++i) {
        Card c;
        c.code = QStringLiteral("120.01.%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        c.name = i < int(fixedCustomers().size()) ? fixedCustomers()[size_t(i)] : fresh();
        c.group = QStringLiteral("Müşteri");
        baseCard(c);
        if (rng_.chance(0.8))
            c.tel = phone("0232");
        if (rng_.chance(0.7) || c.tel.isEmpty())
            c.gsm = mobile();
        if (rng_.chance(0.2))
            c.telHome = phone("0232");
        if (rng_.chance(0.1))
            c.note = rng_.chance(0.5) ? QStringLiteral("Ödeme elden") : QStringLiteral("Fatura şirket adına");
        if (rng_.chance(0.3)) {
            c.taxOffice = c.district;
            c.taxNo = QString::number(rng_.between(100000000, 999999999)) + QString::number(rng_.below(10));
        }
        cards_.push_back(c);
    }
    // One closed account: every list of the program leaves it out.
    Card closed;
    closed.code = QStringLiteral("120.99.001");
    closed.name = QStringLiteral("Kapanan Hesap Ltd.");
    closed.group = QStringLiteral("Müşteri");
    closed.closed = true;
    baseCard(closed);
    closed.tel = phone("0232");
    closed.borc = 1250;
    closed.alacak = 1250;
    cards_.push_back(closed);
}

void Generator::planLines()
{
    const int surveys = std::max(4, p_.lines * 6 / 100);
    const int services = std::max(2, p_.lines / 100);
    const int regular = p_.lines - surveys - services;
    const int uncoded = std::max(6, regular * 4 / 100);

    std::vector<int> dayOf(static_cast<size_t>(regular));
    for (int& d : dayOf)
        d = rng_.below(p_.days);
    std::sort(dayOf.begin(), dayOf.end());
    byDay_.resize(size_t(p_.days));
    lines_.reserve(size_t(p_.lines));
    for (int i = 0; i < regular; ++i) {
        OrderLine l;
        l.customer = firstCustomer_ + rng_.below(p_.customers);
        l.sipTarih = start_.addDays(dayOf[size_t(i)]);
        l.sipNo = QString::number(240001 + i);
        l.fisNo = QStringLiteral("SF%1").arg(80001 + i);
        const bool noCode = rng_.below(regular) < uncoded;
        const Product& pr = noCode ? rng_.pick(uncodedProducts()) : rng_.pick(products());
        l.stokKod = QString::fromUtf8(pr.code);
        l.stokAdi = QString::fromUtf8(pr.name);
        l.birim = QString::fromUtf8(pr.unit);
        l.fiyat = pr.price;
        l.miktar = rng_.between(pr.minQty, pr.maxQty);
        l.kdvTutar = std::round(l.fiyat * l.miktar * 0.20 * 100) / 100;
        l.tutar = l.fiyat * l.miktar + l.kdvTutar;
        l.productKind = pr.kind;
        l.tesTarih = l.sipTarih.addDays(pr.kind == KPaket ? rng_.between(1, 6) : rng_.between(1, 12));
        if (pr.kind == KMontaj && rng_.chance(0.3))
            l.aciklama = QStringLiteral("Montaj dahil");
        if (rng_.chance(0.15))
            l.note = rng_.pick(kLineNotes);
        byDay_[size_t(dayOf[size_t(i)])].push_back(i);
        lines_.push_back(l);
    }
    for (int i = 0; i < surveys + services; ++i)
        surveys_.push_back({start_.addDays(rng_.below(p_.days)), i >= surveys});
    // The last survey is entered today, so the survey list always has a
    // line waiting for today's board.
    surveys_[size_t(surveys - 1)].first = today_;
    std::stable_sort(surveys_.begin(), surveys_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& v : firstJob_)
        v.assign(size_t(p_.lines), -1);
}

double Generator::nextEntryNumber(int year)
{
    // The yearly numbering of fees: "26" + 1, 2, ... for the year 2026.
    QString& last = yearCounter_[year];
    const QString key = QString::number(year);
    if (last.isEmpty())
        last = key.right(2) + QLatin1Char('1');
    else
        last = last.left(2) + QString::number(last.mid(2).toLongLong() + 1);
    return last.toDouble();
}

void Generator::enterSurvey(const QDate& d, bool service, bool forceToday)
{
    OrderLine l;
    l.customer = firstCustomer_ + rng_.below(p_.customers);
    l.sipTarih = d;
    counter_ += 1;
    l.sipNo = QLatin1Char('X') + QString::number(qint64(counter_));
    l.miktar = 1;
    if (service) {
        l.sipTur = QStringLiteral("SERVİS");
        l.gorev = QStringLiteral("Servis");
        l.flag[KMontaj] = true;
        l.stokAdi = QStringLiteral("SERVİS");
        l.tesAdet = 1;
    } else {
        l.gorev = QStringLiteral("Kesif");
        l.stokAdi = QStringLiteral("KEŞİF");
    }
    if (rng_.chance(0.6))
        l.note = rng_.pick(kSurveyNotes);
    l.entered = true;
    const int index = int(lines_.size());
    lines_.push_back(l);
    entryOrder_.push_back(index);

    if (rng_.chance(0.6)) {
        const double fee = service ? 400 : 250;
        Card& c = cards_[size_t(l.customer)];
        c.borc += fee;
        Posting p;
        p.card = l.customer;
        p.date = d;
        p.text = service ? QStringLiteral("Servis Bedeli") : QStringLiteral("Keşif Bedeli");
        p.borc = fee;
        p.carisiNull = true;
        p.digerId = QLatin1Char('M') + QString::number(qint64(nextEntryNumber(d.year())));
        p.nerde = QStringLiteral("C");
        postings_.push_back(p);
    }
    if (!service)
        request(forceToday ? today_ : d.addDays(rng_.between(0, 4)), index, KKesif);
}

bool Generator::eligible(int line, Kind kind, const QDate& day) const
{
    const OrderLine& l = lines_[size_t(line)];
    if (!l.entered || l.sipTarih > day)
        return false;
    const bool coded = !l.stokKod.isEmpty();
    switch (kind) {
    case KMontaj:
        if (l.gorev == QLatin1String("Kesif") || l.kalAdet <= 0 || !coded)
            return false;
        break;
    case KServis:
        if (l.gorev == QLatin1String("Kesif") || l.gorev == QLatin1String("Paket") || !coded
            || !l.flag[KMontaj] || l.tesAdet <= 0)
            return false;
        break;
    case KKesif:
        if (l.gorev != QLatin1String("Kesif"))
            return false;
        break;
    case KPaket:
        if (l.gorev == QLatin1String("Servis") || l.gorev == QLatin1String("Kesif")
            || l.gorev == QLatin1String("Montaj") || l.kalAdet <= 0 || !coded)
            return false;
        break;
    }
    // The marking rule: a line may be marked again only when its first job of
    // the kind was cancelled, or (installation, delivery) done in part.
    const int first = firstJob_[kind][size_t(line)];
    if (first >= 0) {
        const Job& j = jobs_[size_t(first)];
        if ((j.tamam && j.kalan == j.adet) || (!j.tamam && !j.iptal)
            || ((kind == KServis || kind == KKesif) && j.tamam))
            return false;
    }
    return true;
}

void Generator::makeBatch(const QString& staff, Kind kind, std::vector<int> lines, const QDate& d)
{
    std::sort(lines.begin(), lines.end(),
              [&](int a, int b) { return lines_[size_t(a)].sipNo < lines_[size_t(b)].sipNo; });
    counter_ += 1;
    const double recNo = counter_;
    const QString regKey = QStringLiteral("%1|%2|%3").arg(kind).arg(d.toJulianDay()).arg(staff);
    if (!registered_.contains(regKey)) {
        registered_.insert(regKey);
        dayStaff_.push_back({kind, lines_[size_t(lines.front())].sipNo, staff, d, recNo});
    }
    for (int li : lines) {
        OrderLine& l = lines_[size_t(li)];
        const int first = firstJob_[kind][size_t(li)];
        const double earlier = first >= 0 ? jobs_[size_t(first)].kalan : 0;
        Job j;
        j.eleman = staff;
        j.kind = kind;
        j.tarih = d;
        j.line = li;
        j.adet = kind == KServis ? earlier : l.miktar - earlier;
        j.recNo = recNo;
        const int index = int(jobs_.size());
        jobs_.push_back(j);
        if (first < 0)
            firstJob_[kind][size_t(li)] = index;
        l.sec.clear();
        l.gorev = QString::fromLatin1(kKindCode[kind]);
        l.eleman = staff;
        l.flag[kind] = true;
    }
}

// What became of a job by the evening of its day, and what the accounting
// package and the customers did next.
void Generator::settle(int index, const QDate& d)
{
    Job& j = jobs_[size_t(index)];
    OrderLine& l = lines_[size_t(j.line)];
    const bool isToday = d == today_;
    if (isToday ? rng_.chance(0.7) : rng_.chance(0.02))
        return; // still planned
    const int roll = rng_.below(100);
    const bool counted = j.kind == KMontaj || j.kind == KPaket;
    if (roll < 9) {
        j.iptal = true;
        j.kalan = 0;
        // A cancelled job that the user later deleted is kept marked done.
        if (!isToday && rng_.chance(0.05))
            j.tamam = true;
    } else if (counted && roll < 18 && j.adet >= 2) {
        j.tamam = true;
        j.kalan = rng_.between(1, int(j.adet) - 1);
    } else {
        j.tamam = true;
        j.kalan = j.adet;
    }
    if (counted && j.tamam && !j.iptal) {
        l.tesAdet += j.kalan;
        l.kalAdet = std::max(0.0, l.kalAdet - j.kalan);
    }
    const bool firstTry = firstJob_[j.kind][size_t(j.line)] == index;
    if (firstTry && (j.iptal || j.kalan < j.adet))
        request(d.addDays(rng_.between(1, 6)), j.line, j.kind, 1);
    if (j.kind == KMontaj && j.tamam && !j.iptal && rng_.chance(0.12))
        request(d.addDays(rng_.between(3, 40)), j.line, KServis);
}

void Generator::playDay(const QDate& d)
{
    const int di = dayIndex(d);
    for (int li : byDay_[size_t(di)]) {
        OrderLine& l = lines_[size_t(li)];
        l.entered = true;
        entryOrder_.push_back(li);
        l.kalAdet = l.miktar;
        if (l.productKind == KKesif)
            continue; // no product code: never offered for a job
        if (rng_.chance(p_.counterShare)) {
            l.kalAdet = 0; // taken over the counter
            l.tesAdet = l.miktar;
            continue;
        }
        if (rng_.chance(0.04))
            continue; // the customer has not given a day yet
        request(l.tesTarih, li, l.productKind);
    }
    while (!surveys_.empty() && surveys_.front().first == d) {
        const bool service = surveys_.front().second;
        surveys_.erase(surveys_.begin());
        const bool lastSurvey = !service && d == today_
            && std::none_of(surveys_.begin(), surveys_.end(), [](const auto& s) { return !s.second; });
        enterSurvey(d, service, lastSurvey);
    }
    if (!workDay(d))
        return;

    // Collect today's work per staff member and kind, one job per line.
    std::map<std::pair<QString, int>, std::vector<int>> batches;
    QSet<int> taken;
    for (const Request& r : requests_[size_t(di)]) {
        if (taken.contains(r.line) || !eligible(r.line, r.kind, d))
            continue;
        taken.insert(r.line);
        const QString staff = r.kind == KPaket && rng_.chance(0.85) ? kPackageStaff : installer();
        batches[{staff, r.kind}].push_back(r.line);
    }
    requests_[size_t(di)].clear();
    for (auto& [key, lines] : batches) {
        const int firstNew = int(jobs_.size());
        makeBatch(key.first, Kind(key.second), lines, d);
        for (int j = firstNew; j < int(jobs_.size()); ++j)
            settle(j, d);
    }
}

void Generator::ensureEveryKindToday()
{
    // Today's board shows a working day for every kind: lines due soonest are
    // brought forward until each kind has a few jobs today.
    static constexpr int kWanted[] = {6, 2, 2, 3};
    for (int k = KMontaj; k <= KPaket; ++k) {
        const Kind kind = Kind(k);
        const int has = int(std::count_if(jobs_.begin(), jobs_.end(),
                                          [&](const Job& j) { return j.kind == kind && j.tarih == today_; }));
        int need = kWanted[k] - has;
        if (need <= 0)
            continue;
        // Fitted goods for installation, white goods for delivery, where there are any.
        std::vector<int> candidates, fitting;
        for (int li : entryOrder_)
            if (eligible(li, kind, today_)) {
                candidates.push_back(li);
                if (lines_[size_t(li)].productKind == kind)
                    fitting.push_back(li);
            }
        if (!fitting.empty())
            candidates = fitting;
        std::stable_sort(candidates.begin(), candidates.end(), [&](int a, int b) {
            return lines_[size_t(a)].tesTarih < lines_[size_t(b)].tesTarih;
        });
        std::map<QString, std::vector<int>> batches;
        for (int li : candidates) {
            if (need-- <= 0)
                break;
            batches[kind == KPaket ? kPackageStaff : installer()].push_back(li);
        }
        for (auto& [staff, lines] : batches) {
            const int firstNew = int(jobs_.size());
            makeBatch(staff, kind, lines, today_);
            for (int j = firstNew; j < int(jobs_.size()); ++j)
                settle(j, today_);
        }
    }
}

void Generator::markSomeLines()
{
    // A few lines marked for installation, as a user leaves them before
    // pressing "Görev Ekle".
    std::vector<int> candidates;
    for (int li : entryOrder_)
        if (eligible(li, KMontaj, today_) && lines_[size_t(li)].productKind == KMontaj)
            candidates.push_back(li);
    for (int n = 0; n < p_.marks && !candidates.empty(); ++n) {
        const int at = rng_.below(int(candidates.size()));
        lines_[size_t(candidates[size_t(at)])].sec = QStringLiteral("X");
        candidates.erase(candidates.begin() + at);
    }
}

void Generator::takePayments()
{
    for (const OrderLine& l : lines_) {
        if (l.sipNo.startsWith(QLatin1Char('X')))
            continue;
        Card& c = cards_[size_t(l.customer)];
        c.borc += l.tutar;
        if (!c.firstSale.isValid() || l.sipTarih < c.firstSale)
            c.firstSale = l.sipTarih;
    }
    int receipt = 1;
    for (int ci = firstCustomer_; ci < int(cards_.size()); ++ci) {
        Card& c = cards_[size_t(ci)];
        if (c.closed || c.borc <= 0)
            continue;
        const QDate from = c.firstSale.isValid() ? c.firstSale : start_;
        const double share = rng_.between(40, 105) / 100.0;
        const int parts = rng_.between(1, 3);
        for (int i = 0; i < parts; ++i) {
            const double amount = std::round(c.borc * share / parts / 10) * 10;
            if (amount <= 0)
                continue;
            Posting p;
            p.card = ci;
            p.date = from.addDays(rng_.below(int(from.daysTo(today_)) + 1));
            p.text = QStringLiteral("Tahsilat");
            p.alacak = amount;
            p.digerId = QStringLiteral("T%1").arg(receipt++);
            p.nerde = QStringLiteral("K");
            postings_.push_back(p);
            c.alacak += amount;
        }
    }
}

// ---------------------------------------------------------------------------
// Writing: one prepared INSERT per table, all rows of a store in one
// transaction.

class Inserter {
public:
    Inserter(store::Connection& c, store::StoreKind kind, const char* table) : conn_(c)
    {
        for (const store::TableDef& t : store::TablesOf(kind))
            if (qstrcmp(t.name, table) == 0)
                columns_ = int(t.fields.size());
        QStringList marks;
        for (int i = 0; i < columns_; ++i)
            marks << QStringLiteral("?");
        const QByteArray sql = QStringLiteral("INSERT INTO \"%1\" VALUES (%2)")
                                   .arg(QString::fromUtf8(table), marks.join(QLatin1Char(',')))
                                   .toUtf8();
        if (sqlite3_prepare_v2(conn_.handle(), sql.constData(), -1, &st_, nullptr) != SQLITE_OK)
            conn_.Fail(QStringLiteral("\"%1\" tablosuna yazılamadı").arg(QString::fromUtf8(table)));
    }
    ~Inserter() { sqlite3_finalize(st_); }
    Inserter(const Inserter&) = delete;
    Inserter& operator=(const Inserter&) = delete;

    Inserter& text(const QString& s)
    {
        const QByteArray u = s.toUtf8();
        sqlite3_bind_text(st_, ++col_, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Inserter& num(double v)
    {
        sqlite3_bind_double(st_, ++col_, v);
        return *this;
    }
    Inserter& flag(bool b)
    {
        sqlite3_bind_int(st_, ++col_, b ? 1 : 0);
        return *this;
    }
    Inserter& date(const QDate& d)
    {
        if (d.isValid())
            return text(StoredDate(d));
        return null();
    }
    Inserter& null()
    {
        sqlite3_bind_null(st_, ++col_);
        return *this;
    }
    void row()
    {
        if (col_ != columns_)
            throw store::StoreError(QStringLiteral("Örnek veri: alan sayısı tutmuyor (%1/%2)").arg(col_).arg(columns_));
        if (sqlite3_step(st_) != SQLITE_DONE)
            conn_.Fail(QStringLiteral("Örnek veri yazılamadı"));
        sqlite3_reset(st_);
        col_ = 0;
    }

private:
    store::Connection& conn_;
    sqlite3_stmt* st_ = nullptr;
    int columns_ = 0;
    int col_ = 0;
};

void Generator::write(const QString& root, DemoSummary& summary)
{
    using store::StoreKind;
    const QString jobsPath = root + QStringLiteral("Montaj.mdb");
    const QString reportsPath = root + QStringLiteral("Rapor.mdb");
    const QString accountsPath = root + QStringLiteral("Cari.Mdb");
    const QString ordersPath = root + QStringLiteral("Siparis.Mdb");
    const QString indexPath = root + QStringLiteral("Index.Mdb");
    store::CreateStore(StoreKind::Jobs, jobsPath);
    store::CreateStore(StoreKind::Reports, reportsPath);
    store::CreateStore(StoreKind::Accounts, accountsPath);
    store::CreateStore(StoreKind::Orders, ordersPath);
    store::CreateStore(StoreKind::Index, indexPath);

    {   // account store
        auto conn = store::Connection::Open(accountsPath);
        store::Transaction tx(*conn);
        Inserter ins(*conn, StoreKind::Accounts, "CariKartlar");
        for (const Card& c : cards_) {
            const bool credit = c.alacak > c.borc;
            ins.text(c.code).text(c.name).text(c.tel).text(c.address).text(c.city)
                .text(c.district).text(QString()).text(QStringLiteral("Türkiye")).text(c.taxOffice)
                .text(c.taxNo).text(QString()).text(QString()).text(QString()).text(QString())
                .num(c.group == QLatin1String("Müşteri") ? 30 : 0).num(0).num(0).date(c.opened)
                .text(QStringLiteral("TL")).text(QStringLiteral("Ege")).text(c.gsm).text(QString())
                .date(c.opened).text(c.group == QLatin1String("Eleman") ? QStringLiteral("Personel")
                                                                         : QStringLiteral("Alıcı"))
                .text(c.telHome).text(c.note).text(c.group).flag(c.closed).num(c.borc).num(c.alacak)
                .num(credit ? c.alacak - c.borc : c.borc - c.alacak)
                .text(credit ? QStringLiteral("Alacak") : QStringLiteral("Borç"));
            ins.row();
        }
        Inserter mov(*conn, StoreKind::Accounts, "CariHareket");
        auto post = [&](const Posting& p) {
            const Card& c = cards_[size_t(p.card)];
            mov.text(c.code).date(p.date).text(p.text).num(p.borc).num(p.alacak);
            if (p.carisiNull)
                mov.null();
            else
                mov.text(QString());
            mov.text(p.digerId).text(c.name).text(p.nerde);
            mov.row();
            ++summary.transactions;
        };
        for (int li : entryOrder_) {
            const OrderLine& l = lines_[size_t(li)];
            if (l.sipNo.startsWith(QLatin1Char('X')))
                continue;
            Posting p;
            p.card = l.customer;
            p.date = l.sipTarih;
            p.text = QStringLiteral("Satış Faturası ") + l.fisNo;
            p.borc = l.tutar;
            p.digerId = l.fisNo;
            p.nerde = QStringLiteral("F");
            post(p);
        }
        for (const Posting& p : postings_)
            post(p);
        tx.Commit();
    }
    {   // order store
        auto conn = store::Connection::Open(ordersPath);
        store::Transaction tx(*conn);
        Inserter ins(*conn, StoreKind::Orders, "Siparisler");
        for (int li : entryOrder_) {
            const OrderLine& l = lines_[size_t(li)];
            const Card& c = cards_[size_t(l.customer)];
            const bool own = l.sipNo.startsWith(QLatin1Char('X'));
            ins.text(c.code).text(l.sipTur).date(l.sipTarih);
            if (own) // the survey dialog writes only what it knows
                ins.null();
            else
                ins.date(l.tesTarih);
            ins.text(l.sipNo).num(l.tesAdet).num(l.kalAdet).text(l.stokKod).text(l.birim)
                .text(own ? QString() : QStringLiteral("Merkez Depo")).text(c.name).text(l.stokAdi)
                .num(l.fiyat).num(own ? 0 : l.kdv).num(l.miktar).num(l.tutar).text(l.aciklama)
                .num(0).num(l.kdvTutar).text(own ? QString() : QStringLiteral("TL")).num(own ? 0 : 1)
                .text(QString()).text(l.fisNo).text(own ? QString() : QStringLiteral("Muhasebe"))
                .text(l.sec).text(l.gorev).text(l.eleman).flag(l.flag[KMontaj]).flag(l.flag[KServis])
                .flag(l.flag[KKesif]).flag(l.flag[KPaket]).text(l.note);
            ins.row();
        }
        std::array<std::unique_ptr<Inserter>, 4> staffIns;
        for (int k = 0; k < 4; ++k)
            staffIns[size_t(k)] = std::make_unique<Inserter>(*conn, StoreKind::Orders, kKindCode[k]);
        for (const DayStaff& r : dayStaff_) {
            Inserter& s = *staffIns[size_t(r.kind)];
            s.text(r.sipNo).text(r.eleman).date(r.tarih).text(QString()).num(r.recNo).flag(false);
            s.row();
        }
        staffIns = {};
        tx.Commit();
    }
    {   // job store
        auto conn = store::Connection::Open(jobsPath);
        store::Transaction tx(*conn);
        Inserter ins(*conn, StoreKind::Jobs, "Montaj");
        for (const Job& j : jobs_) {
            const OrderLine& l = lines_[size_t(j.line)];
            ins.text(j.eleman).text(QString::fromLatin1(kKindCode[j.kind])).date(j.tarih).text(l.sipNo)
                .flag(j.tamam).num(j.adet).num(j.recNo).text(cards_[size_t(l.customer)].code)
                .text(cards_[size_t(l.customer)].name).flag(j.iptal).text(l.stokAdi).num(j.kalan)
                .text(l.note);
            ins.row();
        }
        conn->ExecuteNative(QStringLiteral("UPDATE \"RecSay\" SET \"RecNo\" = %1").arg(qint64(counter_)));
        tx.Commit();
    }
    {   // index store: the yearly numbering of fees
        auto conn = store::Connection::Open(indexPath);
        store::Transaction tx(*conn);
        Inserter keys(*conn, StoreKind::Index, "Tarih");
        Inserter counters(*conn, StoreKind::Index, "Mdbindex");
        for (const auto& [year, last] : yearCounter_) {
            const QString key = QString::number(year);
            keys.text(key);
            keys.row();
            counters.text(key).text(key.right(2) + QLatin1Char('1')).text(last);
            counters.row();
        }
        tx.Commit();
    }

    summary.staff = int(staff_.size());
    summary.customers = p_.customers;
    summary.orderLines = int(entryOrder_.size());
    summary.jobs = int(jobs_.size());
    summary.dayStaffRows = int(dayStaff_.size());
    summary.lastRecNo = counter_;
}

} // namespace

DemoSummary MakeDemoData(const QString& dir, const QDate& today, DemoSize size, quint32 seed)
{
    const QString root = QDir(dir).absolutePath() + QStringLiteral("/MuhasebeData/");
    const bool existed = QFileInfo::exists(root);
    if (!QDir().mkpath(root))
        throw store::StoreError(QStringLiteral("Klasör oluşturulamadı: %1").arg(QDir::toNativeSeparators(root)));
    Generator g(today, size, seed);
    g.run();
    DemoSummary summary;
    summary.dataRoot = root;
    try {
        g.write(root, summary);
    } catch (...) {
        if (!existed) // half a demo is worse than none
            QDir(root).removeRecursively();
        throw;
    }
    return summary;
}

} // namespace app
