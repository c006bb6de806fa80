// "Tamam" of the entry dialog: the checks, then the card, the order line, the
// fee and the record number stored together.
#include "survey/EntryDialog.h"

#include "app/Clock.h"
#include "app/Prompt.h"
#include "app/Refresh.h"
#include "app/SharedState.h"
#include "store/Connection.h"
#include "store/Sql.h"
#include "store/StoreAction.h"
#include "store/StoreError.h"
#include "survey/CustomerPicker.h"
#include "survey/EntryNumbers.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>


namespace survey {

namespace {

using Box = CustomerPicker::Box;

// Runs `work` as one action over the stores: stored in one commit, or not
// at all.
void InOneAction(const QStringList& storePaths, const std::function<void()>& work)
{
    QStringList local;
    for (const QString& p : storePaths)
        local << app::StorePaths::Local(p);
    store::StoreAction action(local);
    work();
    action.Commit();
}

} // namespace

void EntryDialog::Confirm()
{
    app::SuppressListSync = true;
    auto resume = qScopeGuard([] { app::SuppressListSync = false; });

    const QString name = picker_->Text(Box::Name);
    bool found = false;
    if (!name.isEmpty()) {
        cards_.FindFirst(QStringLiteral("Unvan=") + store::SqlText(name));
        found = !cards_.NoMatch();
    }
    if (!found) {
        // A new customer needs a name, an address and one telephone number.
        int missing = -1;
        if (name.isEmpty())
            missing = Box::Name;
        else if (picker_->Text(Box::Address).isEmpty())
            missing = Box::Address;
        else if (picker_->Text(Box::WorkPhone).isEmpty() && picker_->Text(Box::HomePhone).isEmpty()
                 && picker_->Text(Box::Mobile).isEmpty())
            missing = Box::WorkPhone;
        if (missing >= 0) {
            CariTxt[size_t(missing)]->setFocus(Qt::OtherFocusReason);
            return;
        }
    }

    const std::optional<double> fee = WholeNumber(CariText->text());
    if (!fee) {
        app::Prompt::Message(this,
                             QStringLiteral("Bedel bir sayı olmalıdır: \"%1\"\nHiçbir bilgi kaydedilmedi.")
                                 .arg(CariText->text()),
                             {}, app::MessageIcon::Warning);
        CariText->setFocus(Qt::OtherFocusReason);
        return;
    }

    const QString sipNo = QLatin1Char('X') + PlainDigits(NextRecordNo);
    try {
        auto orders = store::Connection::Open(app::StorePaths::Local(paths_.orders()));
        if (orders->Scalar(QStringLiteral("Select Count(*) From Siparisler Where SipNo=") + store::SqlText(sipNo))
                .toDouble()
            > 0) {
            app::Prompt::Message(this,
                                 QStringLiteral("%1 numaralı sipariş zaten kayıtlı. Kayıt No kutusuna başka bir "
                                                "numara yazıp Enter'a basın.\nHiçbir bilgi kaydedilmedi.")
                                     .arg(sipNo),
                                 {}, app::MessageIcon::Warning);
            Text1->setFocus(Qt::OtherFocusReason);
            return;
        }

        if (!found)
            KesifCmd[1]->hide();
        QString code;
        InOneAction({paths_.accounts(), paths_.orders(), paths_.index(), paths_.jobs()},
                    [&] { code = Save(*fee, sipNo, found); });
        app::LastCustomerCode = code;
    } catch (const store::StoreError& e) {
        // Views that saw a row of the undone work read their stores again.
        for (store::RecordView* v : {&cards_, &IndexPrimary, &IndexSecondary, &DataRecSay, &Data1})
            app::RefreshData(*v);
        picker_->Search();
        KesifCmd[1]->show();
        app::Prompt::Message(this,
                             QStringLiteral("Kayıt yapılamadı; hiçbir bilgi kaydedilmedi.\n\n") + e.message(), {},
                             app::MessageIcon::Critical);
        return;
    }

    app::RefreshData(orders_);
    app::RefreshData(DataRecSay);
    accept();
}

QString EntryDialog::Save(double fee, const QString& sipNo, bool found)
{
    const QString code = StoreCard(found);
    AddOrderLine(code, sipNo);
    if (fee != 0)
        PostFee(fee);

    WriteRecordNumber(NextRecordNo);
    return code;
}

QString EntryDialog::StoreCard(bool found)
{
    const auto text = [this](int box) { return picker_->Text(box); };
    QString code;
    if (found) {
        code = cards_.Field(0).toString();
        cards_.Edit();
    } else {
        code = NewCustomerCode(text(Box::Name), [this](const QString& c) { return CodeTaken(c); });
        cards_.AddNew();
        cards_.setField(0, code);
        cards_.setField(1, text(Box::Name));
    }
    cards_.setField(3, text(Box::Address));
    cards_.setField(4, text(Box::City));
    cards_.setField(2, text(Box::WorkPhone));
    cards_.setField(24, text(Box::HomePhone));
    cards_.setField(20, text(Box::Mobile));
    cards_.setField(25, text(Box::Note));
    cards_.Update();
    // A new card joins the end of the view; the fee goes onto it.
    if (!found)
        cards_.MoveLast();
    return code;
}

bool EntryDialog::CodeTaken(const QString& code) const
{
    // A code still named by a transaction stays taken after its card is gone.
    store::Connection* c = cards_.connection();
    return c->Scalar(QStringLiteral("Select Count(*) From CariKartlar Where CariKod=") + store::SqlText(code))
                   .toDouble()
               > 0
           || c->Scalar(QStringLiteral("Select Count(*) From CariHareket Where CariHarKod=") + store::SqlText(code))
                   .toDouble()
               > 0;
}

void EntryDialog::AddOrderLine(const QString& code, const QString& sipNo)
{
    // Added through a view of its own, so the order list keeps the source the
    // user gave it (filtered or not); it is read again afterwards.
    store::RecordView line(QStringLiteral("SurveyLine"));
    line.setDatabaseName(orders_.DatabaseName());
    line.setRecordSource(QStringLiteral("Select * From Siparisler Where SipNo=") + store::SqlText(sipNo));
    line.Refresh();
    line.AddNew();
    line.setField(0, code);
    line.setField(2, boardDay_);
    line.setField(4, sipNo);
    line.setField(14, 1.0);
    line.setField(10, picker_->Text(Box::Name));
    if (Option1[0]->isChecked()) {
        line.setField(25, QStringLiteral("Kesif"));
        line.setField(QStringLiteral("StokAdi"), QStringLiteral("KEŞİF"));
    } else {
        line.setField(1, QStringLiteral("SERVİS"));
        line.setField(25, QStringLiteral("Servis"));
        line.setField(27, true);
        line.setField(QStringLiteral("StokAdi"), QStringLiteral("SERVİS"));
        line.setField(QStringLiteral("TesAdet"), 1.0);
    }
    line.setField(31, picker_->Text(Box::Note));
    line.Update();
}

void EntryDialog::PostFee(double fee)
{
    // The card of the entry is the current row of the cards.
    const double borc = cards_.Field(QStringLiteral("Borc")).toDouble() + fee;
    const double alacak = cards_.Field(QStringLiteral("Alacak")).toDouble();
    cards_.Edit();
    cards_.setField(QStringLiteral("Borc"), borc);
    if (alacak > borc) {
        cards_.setField(QStringLiteral("Bakiye"), alacak - borc);
        cards_.setField(QStringLiteral("Hesap"), QStringLiteral("Alacak"));
    } else {
        cards_.setField(QStringLiteral("Bakiye"), borc - alacak);
        cards_.setField(QStringLiteral("Hesap"), QStringLiteral("Borç"));
    }
    cards_.Update();

    Data1.setRecordSource(QStringLiteral("CariHareket"));
    app::RefreshData(Data1);
    const QString number =
        NextEntryNumber(IndexPrimary, IndexSecondary, QString::number(app::Clock::Today().year()));

    Data1.AddNew();
    Data1.setField(QStringLiteral("CariHarKod"), cards_.Field(0));
    Data1.setField(QStringLiteral("Tarih"), boardDay_);
    Data1.setField(QStringLiteral("Aciklama"),
                   (Option1[0]->isChecked() ? Option1[0] : Option1[1])->text() + QStringLiteral(" Bedeli"));
    Data1.setField(QStringLiteral("Borc"), fee);
    Data1.setField(QStringLiteral("Carisi"), QVariant());
    Data1.setField(QStringLiteral("DigerId"), QLatin1Char('M') + number);
    Data1.setField(QStringLiteral("Unvan"), cards_.Field(1));
    Data1.setField(QStringLiteral("Nerde"), QStringLiteral("C"));
    Data1.Update();
}

} // namespace survey
