#include "board/StatusReport.h"

#include "store/StoreError.h"

#include <QLocale>
#include <QStatusBar>

namespace board {

namespace {

// A batch number is a name, not an amount: never grouped.
QString Number(double n)
{
    return QString::number(n, 'f', 0);
}

QString Quantity(double n)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(n, 'g', 15);
}

// "12345 (Deneme Müşteri)": the order number, with its customer when known.
QString Line(const QString& sipNo, const QString& customer)
{
    return customer.isEmpty() ? sipNo : QStringLiteral("%1 (%2)").arg(sipNo, customer);
}

} // namespace

StatusReport::StatusReport(QStatusBar* bar)
    : bar_(bar)
{
    bar_->setObjectName(QStringLiteral("StatusReport"));
}

void StatusReport::Say(const QString& text)
{
    // Stays until the next action says something else.
    bar_->showMessage(text);
}

QString StatusReport::Text() const
{
    return bar_->currentMessage();
}

void StatusReport::JobsCreated(int count, const QString& kindText, const QString& staff, const QDate& day,
                               double batch)
{
    Say(QStringLiteral("%1 %2 görevi eklendi: %3, %4 (parti no %5).")
            .arg(QString::number(count), kindText, staff.isEmpty() ? QStringLiteral("eleman seçilmedi") : staff,
                 QLocale().toString(day, QStringLiteral("dd.MM.yyyy")), Number(batch)));
}

void StatusReport::NothingMarked()
{
    Say(QStringLiteral("İşaretli satır yok: görev eklenmedi. Satırları \"Seç\" sütununa çift tıklayarak "
                       "işaretleyin."));
}

void StatusReport::Marked(const QString& sipNo, bool marked)
{
    Say(marked ? QStringLiteral("%1 işaretlendi.").arg(sipNo)
               : QStringLiteral("%1 satırının işareti kaldırıldı.").arg(sipNo));
}

void StatusReport::MarkRefused(const QString& sipNo, const QString& why)
{
    Say(QStringLiteral("%1 işaretlenemez: %2.").arg(sipNo, why));
}

void StatusReport::JobStateChanged(const QString& sipNo, const QString& customer, bool done, bool cancelled)
{
    const QString what = done        ? QStringLiteral("tamamlandı")
                         : cancelled ? QStringLiteral("iptal edildi")
                                     : QStringLiteral("yeniden açıldı");
    Say(QStringLiteral("%1 görevi %2.").arg(Line(sipNo, customer), what));
}

void StatusReport::JobStateRefused(const QString& sipNo, const QString& why)
{
    Say(QStringLiteral("%1 görevi değiştirilemez: %2.").arg(sipNo, why));
}

void StatusReport::QuantityStored(const QString& sipNo, double quantity, bool capped)
{
    Say(capped ? QStringLiteral("%1: yapılan adet görevin adedi olan %2 olarak kaydedildi.")
                     .arg(sipNo, Quantity(quantity))
               : QStringLiteral("%1: yapılan adet %2 olarak kaydedildi.").arg(sipNo, Quantity(quantity)));
}

void StatusReport::NumberRefused(const QString& typed)
{
    Say(QStringLiteral("\"%1\" yapılan adet olarak alınmadı: sıfır ya da daha büyük bir sayı yazın.")
            .arg(typed.trimmed()));
}

void StatusReport::JobDeleted(const QString& sipNo, const QString& customer)
{
    Say(QStringLiteral("%1 görevi silindi.").arg(Line(sipNo, customer)));
}

void StatusReport::LineDeleted(const QString& sipNo)
{
    Say(QStringLiteral("%1 satırı silindi.").arg(sipNo));
}

void StatusReport::NothingDeleted(const QString& sipNo, const QString& why)
{
    Say(QStringLiteral("%1 silinmedi: %2.").arg(sipNo, why));
}

void StatusReport::NoteStored(const QString& sipNo, bool cleared)
{
    Say(cleared ? QStringLiteral("%1 satırının notu silindi.").arg(sipNo)
                : QStringLiteral("%1 satırının notu kaydedildi.").arg(sipNo));
}

void StatusReport::KindChosen(const QString& kindText)
{
    Say(QStringLiteral("%1 listesi açıldı; satır işaretleri temizlendi.").arg(kindText));
}

void StatusReport::OrderLinesReread(int count)
{
    Say(QStringLiteral("Sipariş satırları yeniden okundu: %1 satır.").arg(QLocale().toString(count)));
}

void StatusReport::Failed(const store::StoreError& e)
{
    if (e.busy()) {
        Say(QStringLiteral("Veri dosyası meşgul: başka bir işlem kullanıyor. İşlem yapılmadı; "
                           "biraz sonra yeniden deneyin."));
        return;
    }
    Say(QStringLiteral("İşlem yapılmadı: %1").arg(e.message().section(QLatin1Char('\n'), 0, 0)));
}

} // namespace board
