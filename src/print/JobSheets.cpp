#include "print/JobSheets.h"

#include "app/Prompt.h"
#include "app/Refresh.h"
#include "print/PageLayout.h"
#include "print/PrinterDialog.h"
#include "print/Printers.h"
#include "store/RecordView.h"
#include "store/Sql.h"
#include "store/StoreError.h"

#include <QDateEdit>
#include <QPushButton>

#include <cmath>
#include <optional>

namespace print {

namespace {

const QString kTitle = QStringLiteral("* * * * * Sorvik * * * * *");
const QString kGreen = QStringLiteral("background-color: rgb(0, 255, 0);");
const QString kYellow = QStringLiteral("background-color: rgb(255, 255, 0);");

bool HasRow(const store::RecordView& v)
{
    return v.RecordCount() > 0 && !v.BOF() && !v.EOF();
}

QString Text(const store::RecordView& v, int position)
{
    return v.Field(position).toString();
}

double Number(const store::RecordView& v, const char* field)
{
    return v.Field(QString::fromUtf8(field)).toDouble();
}

// One job of the sheet with what its order line and customer card say,
// read once: the next job is looked at before the page check decides.
struct SheetJob {
    QString staff, kind, sipNo, note;
    QString jobCustomerCode, jobCustomerName, jobProduct;
    double jobQuantity = 0;

    bool lineFound = false;
    QString lineCustomerCode, lineKind, lineProduct, lineServiceQty, lineOpenQty;
    double lineAmount = 0, ordered = 0, open = 0, price = 0, delivered = 0;

    bool cardFound = false;
    QString cardCode, name, phone, address1, address2, mobile;
    double balance = 0;

    // Consecutive jobs with the same key share one customer block.
    QString key;

    // Without its order line or card the job shows its own customer and product.
    bool Complete() const { return lineFound && cardFound; }
};

// The layout of the sheets of one printout, job by job.
class SheetWriter {
public:
    SheetWriter(const JobSheetViews& v, Surface& s, bool all, QDate day, QWidget* owner)
        : v_(v)
        , s_(s)
        , all_(all)
        , day_(day)
        , owner_(owner)
    {
    }

    enum class Outcome { Done, Cancelled };
    Outcome Write();

private:
    SheetJob Read() const;
    void TakeMeasures();
    void Header(const SheetJob& job);
    void Block(const SheetJob& job);
    void JobLine(const SheetJob& job);
    void BalanceLine();
    void OwedBalance();
    void ClosePage();
    void Finish();

    const JobSheetViews& v_;
    Surface& s_;
    bool all_;
    QDate day_;
    QWidget* owner_;
    WaitCursor cursor_;

    double w1_ = 0, w2_ = 3600, w3_ = 4300, w4_ = 0, t_ = 0, x0_ = 0;
    double col2_ = 0, col3_ = 0, col4_ = 0;
    RuledTable table_;

    QString staff_;
    QString previousKey_;
    bool repeatBlock_ = false;  // after a page break the block is printed again
    double balance_ = 0;
    bool balanceOwed_ = false;  // the current customer's balance line is still to come
    bool balanceLast_ = false;  // the last thing printed was a balance line
    double blockHeight_ = 0;
    int page_ = 1;
};

SheetJob SheetWriter::Read() const
{
    const store::RecordView& jobs = v_.DataGörevTmp;
    SheetJob j;
    j.staff = Text(jobs, 0);
    j.kind = Text(jobs, 1);
    j.sipNo = Text(jobs, 3);
    j.jobQuantity = jobs.Field(5).toDouble();
    j.jobCustomerCode = Text(jobs, 7);
    j.jobCustomerName = Text(jobs, 8);
    j.jobProduct = Text(jobs, 10);
    j.note = jobs.Field(QStringLiteral("Not")).toString();

    store::RecordView& lines = v_.DataTmp;
    lines.FindFirst(QStringLiteral("SipNo=") + store::SqlText(j.sipNo));
    j.lineFound = !lines.NoMatch() && HasRow(lines);
    if (j.lineFound) {
        j.lineCustomerCode = Text(lines, 0);
        j.lineServiceQty = CountText(lines.Field(5).toDouble());
        j.lineOpenQty = CountText(lines.Field(6).toDouble());
        j.lineProduct = Text(lines, 11);
        j.lineAmount = lines.Field(15).toDouble();
        j.lineKind = Text(lines, 25);
        j.ordered = Number(lines, "Miktar");
        j.open = Number(lines, "KalAdet");
        j.price = Number(lines, "Fiyat");
        j.delivered = Number(lines, "TesAdet");

        store::RecordView& cards = v_.DataCari;
        cards.FindFirst(QStringLiteral("CariKod=") + store::SqlText(j.lineCustomerCode));
        j.cardFound = !cards.NoMatch() && HasRow(cards);
        if (j.cardFound) {
            j.cardCode = Text(cards, 0);
            j.name = Text(cards, 1);
            j.phone = Text(cards, 2);
            j.address1 = Text(cards, 3);
            j.address2 = Text(cards, 4);
            j.mobile = Text(cards, 20);
            const double balance = cards.Field(30).toDouble();
            j.balance = cards.Field(QStringLiteral("Hesap")).toString() == QLatin1String("Alacak")
                            ? std::round(-balance * 100) / 100
                            : balance;
        }
    }
    if (!j.cardFound) {
        // Never another customer's card: the job's own name, no balance.
        j.cardCode = j.jobCustomerCode;
        j.name = j.jobCustomerName;
    }
    const QChar sep(0x1f);
    j.key = j.staff + sep + (j.Complete() ? j.cardCode : QStringLiteral("?") + j.jobCustomerCode + sep + j.name);
    return j;
}

void SheetWriter::TakeMeasures()
{
    s_.setFontSize(10);
    const double pageWidth = s_.ScaleWidth();
    w1_ = s_.TextWidth(QStringLiteral(" Sipariş No "));
    w4_ = pageWidth - (w1_ + w2_ + w3_) - 120;
    t_ = w1_ + w2_ + w3_ + w4_;
    x0_ = (pageWidth - t_) / 2;
    col2_ = x0_ + w1_;
    col3_ = col2_ + w2_;
    col4_ = col3_ + w3_;
    table_.left = x0_;
    table_.width = t_;
    table_.borders = {x0_, col2_, col3_, col4_, x0_ + t_};
}

SheetWriter::Outcome SheetWriter::Write()
{
    cursor_.On();
    TakeMeasures();
    const int count = v_.DataGörevTmp.RecordCount();
    v_.DataGörevTmp.MoveFirst();
    SheetJob job = Read();
    for (int i = 1; i <= count; ++i) {
        if (s_.CurrentY() == 0)
            Header(job);
        const bool newCustomer = job.key != previousKey_;
        if (newCustomer || repeatBlock_) {
            if (newCustomer)
                OwedBalance(); // the previous customer's, before this one's separator line
            Block(job);
            if (newCustomer) {
                balance_ = job.Complete() ? job.balance : 0;
                balanceOwed_ = job.Complete();
                previousKey_ = job.key;
            }
            repeatBlock_ = false;
        }
        JobLine(job);
        if (i == count)
            break; // after the last job nothing follows: no break, no empty page

        v_.DataGörevTmp.MoveNext();
        const SheetJob next = Read();
        const bool staffChanges = all_ && next.staff != staff_;
        if (s_.CurrentY() + blockHeight_ > s_.ScaleHeight() || staffChanges) {
            // A customer whose last job ends the page gets its balance here,
            // not on a page that no longer shows it.
            if (next.key != job.key)
                OwedBalance();
            const PageBreakAnswer answer = AskPageBreak(owner_, cursor_);
            if (answer == PageBreakAnswer::Cancel)
                return Outcome::Cancelled; // the page goes out as it stands
            if (answer == PageBreakAnswer::Finish)
                break;
            ClosePage();
        }
        job = next;
    }
    Finish();
    return Outcome::Done;
}

void SheetWriter::Header(const SheetJob& job)
{
    s_.setFontBold(false);
    s_.EndLine();
    s_.setFontSize(12);
    PrintCentred(s_, kTitle);
    s_.EndLine();

    s_.setFontSize(10);
    s_.setCurrentX(x0_);
    staff_ = job.staff;
    s_.PrintStaying(QStringLiteral("Montör Adı : ") + staff_);
    const QString date = QStringLiteral("Tarih : ") + LongDate(day_);
    s_.setCurrentX(x0_ + t_ - s_.TextWidth(date));
    s_.Print(date);

    s_.setFontSize(8);
    s_.setCurrentY(s_.CurrentY() + 60);
    table_.top = s_.CurrentY();
    table_.Rule(s_);
    s_.setCurrentY(s_.CurrentY() + 30);

    s_.setFontBold(true);
    const QString headings[] = {QStringLiteral("Sipariş No"),
                                QStringLiteral("Müşteri Adı - Adresi- Telefonu - Hizmet Türü"),
                                QStringLiteral("Görev"), QStringLiteral("Müşteri Notu")};
    const double lefts[] = {x0_, col2_, col3_, col4_};
    const double widths[] = {w1_, w2_, w3_, w4_};
    for (int c = 0; c < 4; ++c) {
        s_.setCurrentX(lefts[c] + (widths[c] - s_.TextWidth(headings[c])) / 2);
        s_.Print(headings[c], c == 3);
    }
    s_.setCurrentY(s_.CurrentY() + 30);
    s_.setFontBold(false);
    balanceLast_ = false;
}

void SheetWriter::Block(const SheetJob& job)
{
    v_.DataYazTmp.setRecordSource(QStringLiteral("Select * From Montaj Where CariKod=")
                                  + store::SqlText(job.cardCode));
    app::RefreshData(v_.DataYazTmp);
    int rows = v_.DataYazTmp.RecordCount() + 6;
    for (const QString& part : {job.name, job.address1, job.address2, job.phone + job.mobile})
        rows += part.isEmpty() ? 0 : 1;
    blockHeight_ = rows * s_.TextHeight(QStringLiteral("M"));

    table_.Rule(s_);
    const double textX = col2_ + 30;
    s_.setCurrentY(s_.CurrentY() + 60);
    s_.setCurrentX(textX);
    const double nameTop = s_.CurrentY();
    s_.Print(ShortenToWidth(s_, job.name, w2_));
    const double nameBottom = s_.CurrentY();

    QString note = job.note;
    note.remove(QStringLiteral("\r\n"));
    note.remove(QLatin1Char('\r'));
    note.remove(QLatin1Char('\n'));
    double noteBottom = 0;
    if (note.isEmpty()) {
        s_.EndLine();
    } else {
        s_.setCurrentY(nameTop);
        const NotePieces pieces = BreakNote(s_, note, w4_, QStringLiteral("M"), w4_);
        for (const QString& piece : pieces.pieces) {
            s_.setCurrentX(col4_ + 30);
            s_.Print(piece);
            s_.setCurrentY(s_.CurrentY() + 60);
        }
        if (!pieces.rest.isEmpty()) {
            s_.setCurrentX(col4_ + 30);
            s_.Print(pieces.rest);
        }
        noteBottom = s_.CurrentY();
    }

    s_.setCurrentY(nameBottom + 60);
    s_.setCurrentX(textX);
    s_.Print(ShortenToWidth(s_, job.address1, w2_));
    s_.setCurrentY(s_.CurrentY() + 60);
    s_.setCurrentX(textX);
    s_.Print(job.address2);
    s_.setCurrentX(textX);
    s_.setCurrentY(s_.CurrentY() + 60);
    if (!job.phone.isEmpty())
        s_.PrintStaying(QStringLiteral("Telefon : ") + job.phone + QStringLiteral("  "));
    if (!job.mobile.isEmpty())
        s_.PrintStaying(QStringLiteral("Gsm : ") + job.mobile + QStringLiteral("  "));
    if (s_.CurrentX() > textX)
        s_.EndLine();
    // A note longer than the address goes on below it rather than under the job lines.
    if (noteBottom > s_.CurrentY())
        s_.setCurrentY(noteBottom);
    balanceLast_ = false;
}

void SheetWriter::JobLine(const SheetJob& job)
{
    s_.setCurrentY(s_.CurrentY() + 30);
    s_.setCurrentX(x0_ + 30);
    s_.PrintStaying(job.sipNo);
    s_.setCurrentX(col2_ + 30);
    const QString kind = job.kind == QLatin1String("Kesif") ? QStringLiteral("Keşif") : job.kind;
    s_.PrintStaying(QStringLiteral("Görev : ") + kind);

    if (job.kind == QLatin1String("Montaj") && job.Complete()) {
        balance_ += job.lineAmount;
        if (job.ordered > job.open && job.open > 0)
            balance_ -= job.price * job.delivered;
    }

    s_.setCurrentX(col3_ + 30);
    s_.Print(ShortenToWidth(s_, job.Complete() ? job.lineProduct : job.jobProduct, w3_));

    QString quantity;
    if (job.lineFound) {
        if (job.lineKind == QLatin1String("Servis"))
            quantity = job.lineServiceQty + QStringLiteral(" Adet");
        else if (job.lineKind != QLatin1String("Kesif"))
            quantity = job.lineOpenQty + QStringLiteral(" Adet");
    } else if (job.kind != QLatin1String("Kesif")) {
        quantity = CountText(job.jobQuantity) + QStringLiteral(" Adet");
    }
    s_.setCurrentX(col3_ + (w3_ - s_.TextWidth(quantity)) / 2);
    s_.Print(quantity);
    s_.setFontSize(8);
    s_.setFontBold(false);
    balanceLast_ = false;
}

void SheetWriter::BalanceLine()
{
    s_.setCurrentY(s_.CurrentY() + 30);
    s_.setCurrentX(col2_ + 30);
    s_.setFontUnderline(true);
    s_.PrintStaying(QStringLiteral("Bakiye ="));
    s_.setFontUnderline(false);
    s_.setFontBold(true);
    s_.setFontSize(10);
    s_.Print(QStringLiteral("  ") + MoneyText(balance_) + QStringLiteral(" TL."));
    s_.setFontSize(8);
    s_.setFontBold(false);
    balanceLast_ = true;
}

void SheetWriter::OwedBalance()
{
    if (balanceOwed_ && balance_ > 0)
        BalanceLine();
    balanceOwed_ = false;
}

void SheetWriter::ClosePage()
{
    repeatBlock_ = true;
    s_.setCurrentY(s_.CurrentY() + 30);
    table_.Close(s_);
    s_.setCurrentY(s_.CurrentY() + 60);
    PrintCentred(s_, QStringLiteral("Sayfa ") + QString::number(page_));
    s_.NewPage();
    ++page_;
}

void SheetWriter::Finish()
{
    if (s_.CurrentY() == 0)
        return;
    OwedBalance();
    if (balanceLast_)
        s_.setCurrentY(s_.CurrentY() + 90);
    table_.Close(s_);
    s_.setCurrentY(s_.CurrentY() + 60);
    PrintCentred(s_, QStringLiteral("Sayfa ") + QString::number(page_));
}

} // namespace

JobSheets::JobSheets(const JobSheetViews& views, const JobSheetControls& controls)
    : v_(views)
    , c_(controls)
{
}

void JobSheets::Click(int index)
{
    if ((c_.MrFrame && c_.MrFrame->isVisible()) || (c_.Frame1 && c_.Frame1->isVisible()))
        return;
    SetButtonColours(index);
    if (index == 2)
        PrintJobSheet();
    else if (index == 1)
        PrintAllJobSheets();
}

void JobSheets::PrintJobSheet()
{
    Run(false);
}

void JobSheets::PrintAllJobSheets()
{
    Run(true);
}

void JobSheets::SetButtonColours(int green)
{
    for (int i : {1, 2})
        if (QPushButton* b = c_.Command1[size_t(i)])
            b->setStyleSheet(i == green ? kGreen : kYellow);
}

void JobSheets::Run(bool all)
{
    QString staff;
    std::optional<Document> document;
    QString problem;
    bool nothingOpen = false;
    try {
        if (!all) {
            if (!HasRow(v_.DataGörev)) {
                SetButtonColours(0);
                app::Prompt::Message(c_.owner,
                                     QStringLiteral("Tek yazdırmak için önce görev listesinden "
                                                    "elemanın bir görevini seçin."),
                                     {}, app::MessageIcon::Information);
                return;
            }
            staff = v_.DataGörev.Field(0).toString();
        }
        const QString& day = *c_.BoardDateText;
        v_.DataTmp.setDatabaseName(v_.DataSiparis.DatabaseName());
        v_.DataTmp.setRecordSource(QStringLiteral("Select * From Siparisler Where SipTarih<=") + day
                                   + QStringLiteral(" Order By SipNo Desc"));
        app::RefreshData(v_.DataTmp);

        if (ShowPrinterDialog(c_.owner)) {
            document.emplace(c_.owner, DocumentInfo{QStringLiteral("Görev Fişi"),
                                                    all ? QStringLiteral("Tüm Elemanlar") : staff});
            v_.DataGörevTmp.setRecordSource(
                all ? QStringLiteral("Select * From Montaj Where Görev<>'Paket' And Tamam=False And Iptal=False "
                                     "And Tarih=")
                          + day + QStringLiteral(" Order By Eleman, Görev, Unvan Asc")
                    : QStringLiteral("Select * From Montaj Where Tamam=False And Iptal=False And Tarih=") + day
                          + QStringLiteral(" And Görev<>'Paket' And Eleman=") + store::SqlText(staff)
                          + QStringLiteral(" Order By Görev, Unvan Asc"));
            app::RefreshData(v_.DataGörevTmp);
            if (v_.DataGörevTmp.RecordCount() > 0) {
                SheetWriter writer(v_, document->surface(), all, c_.DTPicker1->date(), c_.owner);
                writer.Write();
            } else {
                nothingOpen = true;
            }
        }
    } catch (const store::StoreError& e) {
        problem = e.message();
    }

    // The closing steps, whatever happened above: what was printed is sent.
    if (document)
        document->End();
    SetButtonColours(0);
    v_.DataTmp.Close();
    if (!problem.isEmpty())
        app::Prompt::Message(c_.owner, QStringLiteral("Görev fişi yazdırılamadı:\n") + problem, {},
                             app::MessageIcon::Warning);
    else if (nothingOpen)
        app::Prompt::Message(c_.owner, QStringLiteral("Bu gün için yazdırılacak açık görev yok."), {},
                             app::MessageIcon::Information);
}

} // namespace print
