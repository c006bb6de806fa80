#include "reports/ListPrintouts.h"

#include "app/Prompt.h"
#include "app/Refresh.h"
#include "app/Settings.h"
#include "app/SharedState.h"
#include "print/PageLayout.h"
#include "print/PrinterDialog.h"
#include "print/Printers.h"
#include "reports/PictureBox.h"
#include "store/JobKinds.h"
#include "store/RecordView.h"
#include "store/StoreError.h"

#include <QLocale>

#include <optional>

namespace reports {

namespace {

QString Setting(const char* name)
{
    return app::GetRegString(app::RootKey::CurrentUser, app::kSettingsKey, QString::fromUtf8(name));
}

QString Blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

// The plan both lists share: the font and the measures, a header on every
// page, one row per record, the page check after each row but the last, the
// closing of the last page.
class ListWriter {
public:
    ListWriter(QWidget* owner, print::Surface& s, store::RecordView& view, const PictureBox* picture)
        : owner_(owner)
        , s_(s)
        , view_(view)
        , picture_(picture)
    {
    }
    virtual ~ListWriter() = default;

    void Write()
    {
        cursor_.On();
        s_.setPrintQuality(-1);
        s_.setFontUnderline(false);
        s_.setFontStrikethru(false);
        SetFont();
        TakeMeasures();
        s_.setCurrentY(0);
        const int count = view_.RecordCount();
        view_.MoveFirst();
        for (int i = 1; i <= count; ++i) {
            if (s_.CurrentY() == 0)
                Header();
            Row();
            if (i < count && s_.CurrentY() + 5 * s_.TextHeight(QStringLiteral("M")) > s_.ScaleHeight()) {
                const print::PageBreakAnswer answer = print::AskPageBreak(owner_, cursor_);
                if (answer == print::PageBreakAnswer::Cancel)
                    return; // the page goes out as it stands
                if (answer == print::PageBreakAnswer::Finish)
                    break;
                CloseTable();
                print::PrintCentred(s_, Footer());
                s_.NewPage();
                ++page_;
            }
            view_.MoveNext();
        }
        Finish();
    }

protected:
    virtual void SetFont() = 0;
    virtual void TakeMeasures() = 0;
    virtual void Header() = 0;
    virtual void Row() = 0;
    virtual void Finish() = 0;

    // The table is as wide as the page less 120, in the middle of it.
    void TableAcross()
    {
        table_.width = s_.ScaleWidth() - 120;
        table_.left = (s_.ScaleWidth() - table_.width) / 2;
    }
    void Down(double twips) { s_.setCurrentY(s_.CurrentY() + twips); }
    void At(double x, const QString& text, bool endLine = false)
    {
        s_.setCurrentX(x);
        s_.Print(text, endLine);
    }
    QString Text(int position) const { return view_.Field(position).toString(); }
    QString Footer() const { return QStringLiteral("Sayfa ") + QString::number(page_) + QLatin1Char(' '); }
    void CloseTable()
    {
        Down(30);
        table_.Close(s_);
        Down(60);
    }
    // The last page: the table closed, its number at the table's right edge,
    // the totals picture at its left edge on the same line. Returns the foot
    // of the picture (the current y when it is empty).
    double CloseLastPage()
    {
        CloseTable();
        const QString footer = Footer();
        At(table_.left + table_.width - s_.TextWidth(footer), footer);
        const double top = s_.CurrentY();
        if (!picture_)
            return top;
        picture_->DrawOn(s_, table_.left, top);
        return top + picture_->ContentHeightTwips();
    }

    QWidget* owner_;
    print::Surface& s_;
    store::RecordView& view_;
    const PictureBox* picture_;
    print::WaitCursor cursor_;
    print::RuledTable table_;
    int page_ = 1;
};

class PendingListWriter : public ListWriter {
public:
    PendingListWriter(const PendingListSource& source, print::Surface& s)
        : ListWriter(source.owner, s, source.DataMr, source.picture)
        , src_(source)
    {
    }

private:
    void SetFont() override
    {
        const QString face = Setting("RapFont");
        if (!face.isEmpty())
            s_.setFontName(face);
        s_.setFontSize(8);
    }

    void TakeMeasures() override
    {
        TableAcross();
        w_[0] = s_.TextWidth(Blanks(60));
        w_[1] = s_.TextWidth(Blanks(75));
        w_[2] = s_.TextWidth(QStringLiteral("Adet "));
        w_[3] = s_.TextWidth(Blanks(30));
        w_[4] = s_.TextWidth(QStringLiteral(" Montaj "));
        w_[5] = table_.width - (w_[0] + w_[1] + w_[2] + w_[3] + w_[4]);
        left_[0] = table_.left;
        for (int c = 1; c < 6; ++c)
            left_[c] = left_[c - 1] + w_[c - 1];
        table_.borders.assign(left_.begin(), left_.end());
        table_.borders.push_back(table_.left + table_.width);
    }

    void Header() override
    {
        s_.setFontSize(12);
        print::PrintCentred(s_, QStringLiteral("Sorvik"));
        s_.setFontSize(8);
        Down(60);
        print::PrintCentred(s_, src_.caption);
        s_.setCurrentX(table_.left);
        Down(30);
        table_.top = s_.CurrentY();
        table_.Rule(s_);
        Down(30);
        const QString headings[] = {QStringLiteral("Müşteri"), QStringLiteral("Ürün"),   QStringLiteral("Ad"),
                                    QStringLiteral("Eleman"),  QStringLiteral("Görev"), QStringLiteral("Not")};
        for (int c = 0; c < 6; ++c)
            At(left_[c] + (w_[c] - s_.TextWidth(headings[c])) / 2, headings[c], c == 5);
    }

    void Row() override
    {
        Down(60);
        table_.Rule(s_);
        Down(60);
        At(left_[0] + 30, print::ShortenToWidth(s_, Text(8), w_[0] - 30));
        const QString product = print::ShortenToWidth(s_, Text(10), w_[1] - 30);
        if (!product.trimmed().isEmpty())
            At(left_[1] + 30, product);
        const QString quantity = print::CountText(view_.Field(5).toDouble()) + QLatin1Char(' ');
        At(left_[2] + w_[2] - s_.TextWidth(quantity), quantity);
        At(left_[3] + 30, print::ShortenToWidth(s_, Text(0), w_[3]));
        At(left_[4] + 30, print::ShortenToWidth(s_, Text(1), w_[4]));

        // A note on several lines of the store reads as one text on paper.
        QString note = Text(12);
        note.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        note.replace(QLatin1Char('\r'), QLatin1Char(' '));
        note.replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (note.isEmpty()) {
            s_.EndLine();
            return;
        }
        const print::NotePieces pieces = print::BreakNote(s_, note, w_[5] - 30, QStringLiteral("  "), w_[5]);
        for (const QString& piece : pieces.pieces) {
            At(left_[5] + 30, piece, true);
            Down(60);
        }
        if (!pieces.rest.isEmpty())
            At(left_[5] + 30, pieces.rest, true);
    }

    void Finish() override
    {
        if (s_.CurrentY() != 0) {
            // The totals go below the work report's picture, never over it.
            const double pictureFoot = CloseLastPage();
            if (picture_ && !picture_->Texts().isEmpty())
                s_.setCurrentY(qMax(s_.CurrentY(), pictureFoot));
        }
        for (int k = 0; k < 4; ++k) {
            At(table_.left, QString::fromUtf8(store::JobKinds()[k].display));
            At(1500, QStringLiteral("=  ") + src_.totals[k], true);
        }
    }

    const PendingListSource& src_;
    std::array<double, 6> w_{};
    std::array<double, 6> left_{};
};

class ReportListWriter : public ListWriter {
public:
    ReportListWriter(const ReportListSource& source, print::Surface& s)
        : ListWriter(source.owner, s, source.DataRapor, source.picture)
        , src_(source)
    {
    }

private:
    void SetFont() override
    {
        const ListFont font = ReadListFont();
        if (!font.face.isEmpty()) {
            s_.setFontName(font.face);
            s_.setFontBold(font.bold);
            s_.setFontItalic(font.italic);
        }
        // Without a usable size (every installation that never set one) the
        // printer's size 10.
        size_ = font.size.value_or(10);
        s_.setFontSize(size_);
    }

    void TakeMeasures() override
    {
        TableAcross();
        w2_ = s_.TextWidth(Blanks(22));
        w3_ = s_.TextWidth(Blanks(11));
        w1_ = table_.width - w2_ - w3_;
        table_.borders = {table_.left, table_.left + w1_, table_.left + w1_ + w2_, table_.left + table_.width};
    }

    void Header() override
    {
        s_.setFontSize(size_ + 4);
        print::PrintCentred(s_, QStringLiteral("Sorvik"));
        s_.setFontSize(size_ + 2);
        Down(60);
        print::PrintCentred(s_, src_.caption);
        s_.setCurrentX(table_.left);
        Down(30);
        table_.top = s_.CurrentY();
    }

    void Row() override
    {
        table_.Rule(s_);
        Down(30);
        At(table_.left, print::ShortenToWidth(s_, QLatin1Char(' ') + Text(0), w1_));
        At(table_.left + w1_, QLatin1Char(' ') + Text(1));
        const QString done = QLatin1Char(' ') + print::CountText(view_.Field(2).toDouble());
        At(table_.left + table_.width - 60 - s_.TextWidth(done), done, true);
    }

    void Finish() override
    {
        if (s_.CurrentY() != 0)
            CloseLastPage();
    }

    const ReportListSource& src_;
    double size_ = 10;
    double w1_ = 0, w2_ = 0, w3_ = 0;
};

// The start and the closing steps both lists share: the printer dialog, the
// list read again, the document ended whatever happened, and a word to the
// user when nothing could be printed.
template <typename Writer, typename Source>
void RunList(const Source& source, store::RecordView& view, const print::DocumentInfo& info,
             const QString& nothingToPrint)
{
    if (!print::ShowPrinterDialog(source.owner))
        return;
    app::SuppressListSync = false;
    std::optional<print::Document> document;
    QString problem;
    bool empty = false;
    try {
        app::RefreshData(view);
        if (view.RecordCount() == 0) {
            empty = true;
        } else {
            document.emplace(source.owner, info);
            Writer(source, document->surface()).Write();
        }
    } catch (const store::StoreError& e) {
        problem = e.message();
    }
    if (document)
        document->End();
    if (!problem.isEmpty())
        app::Prompt::Message(source.owner, QStringLiteral("Liste yazdırılamadı:\n") + problem, {},
                             app::MessageIcon::Warning);
    else if (empty)
        app::Prompt::Message(source.owner, nothingToPrint, {}, app::MessageIcon::Information);
}

} // namespace

bool SettingBoolean(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    bool ok = false;
    const double n = QLocale::c().toDouble(t, &ok);
    return ok && n != 0;
}

std::optional<double> SettingSize(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double n = QLocale::c().toDouble(t, &ok);
    if (!ok || !(n >= 1 && n <= 200))
        return std::nullopt;
    return n;
}

ListFont ReadListFont()
{
    ListFont f;
    f.face = Setting("RapFont");
    if (f.face.isEmpty())
        return f;
    f.size = SettingSize(Setting("RapSize"));
    f.bold = SettingBoolean(Setting("RapBold"));
    f.italic = SettingBoolean(Setting("RapItal"));
    return f;
}

void PrintPendingList(const PendingListSource& source)
{
    RunList<PendingListWriter>(source, source.DataMr, {QStringLiteral("Yapılacak Listesi"), source.subject},
                               QStringLiteral("Bu gün için açık görev yok; yazdırılacak bir şey yok."));
}

void PrintReportList(const ReportListSource& source)
{
    RunList<ReportListWriter>(source, source.DataRapor, {QStringLiteral("Çalışma Raporu"), source.caption.trimmed()},
                              QStringLiteral("Raporda satır yok; yazdırılacak bir şey yok."));
}

} // namespace reports
