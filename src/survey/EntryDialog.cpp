#include "survey/EntryDialog.h"

#include "app/Prompt.h"
#include "app/Refresh.h"
#include "store/StoreError.h"
#include "survey/CustomerPicker.h"
#include "survey/EntryNumbers.h"
#include "ui/DataList.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace survey {

namespace {

const QString kSurveyTitle = QStringLiteral("> > > KEŞİF < < <");
const QString kServiceTitle = QStringLiteral("> > > SERVİS < < <");

bool IsEnter(const QKeyEvent* k)
{
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

} // namespace

EntryDialog* EntryDialog::Open(QWidget* owner, const app::StorePaths& paths, store::RecordView& cards,
                               store::RecordView& orders, const QDate& boardDay, std::function<void()> closed)
{
    auto* dialog = new EntryDialog(owner, paths, cards, orders, boardDay);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    if (closed)
        connect(dialog, &QDialog::finished, owner, [closed = std::move(closed)] { closed(); });
    dialog->show();
    dialog->CariTxt[CustomerPicker::Name]->setFocus(Qt::OtherFocusReason);
    return dialog;
}

EntryDialog::EntryDialog(QWidget* owner, const app::StorePaths& paths, store::RecordView& cards,
                         store::RecordView& orders, const QDate& boardDay)
    : QDialog(owner)
    , paths_(paths)
    , cards_(cards)
    , orders_(orders)
    , boardDay_(boardDay)
{
    setObjectName(QStringLiteral("KayıtFrm"));
    setWindowTitle(QStringLiteral(" Keşif / Servis"));
    setModal(true);
    buildControls();
    picker_ = new CustomerPicker(CariTxt, CariTxt6, dbListe1, Data1, cards_, KesifCmd[1]);
    Load();
}

EntryDialog::~EntryDialog()
{
    Data1.Close();
}

void EntryDialog::buildControls()
{
    auto* grid = new QGridLayout(this);

    Label1 = new QLabel(kSurveyTitle, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    Label1->setFont(bold);
    grid->addWidget(Label1, 0, 0, 1, 2);

    auto* kinds = new QHBoxLayout;
    const char* kindCaptions[] = {"Keşif", "Servis"};
    for (int i = 0; i < 2; ++i) {
        Option1[size_t(i)] = new QRadioButton(QString::fromUtf8(kindCaptions[i]), this);
        Option1[size_t(i)]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        connect(Option1[size_t(i)], &QRadioButton::clicked, this, [this, i] { KindChosen(i); });
        kinds->addWidget(Option1[size_t(i)]);
    }
    Option1[0]->setChecked(true);
    kinds->addStretch();
    auto* numberLabel = new QLabel(QStringLiteral("Kayıt No"), this);
    numberLabel->setObjectName(QStringLiteral("lblKayitNo"));
    kinds->addWidget(numberLabel);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaxLength(11);
    Text1->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12 + 12);
    Text1->installEventFilter(this);
    numberLabel->setBuddy(Text1);
    kinds->addWidget(Text1);
    grid->addLayout(kinds, 1, 0, 1, 2);

    const char* captions[] = {" Müşteri Adı", " Adres", " Şehir", " Telefon İş", " Telefon Ev", " GSM", "  Not"};
    for (int i = 0; i < 7; ++i) {
        lblLabels[size_t(i)] = new QLabel(QString::fromUtf8(captions[i]), this);
        lblLabels[size_t(i)]->setObjectName(QStringLiteral("lblLabels(%1)").arg(i));
    }
    const int wide = fontMetrics().averageCharWidth() * 50;
    for (int i = 0; i < 6; ++i) {
        CariTxt[size_t(i)] = new QLineEdit(this);
        CariTxt[size_t(i)]->setObjectName(QStringLiteral("CariTxt(%1)").arg(i));
        CariTxt[size_t(i)]->setMinimumWidth(wide);
        lblLabels[size_t(i)]->setBuddy(CariTxt[size_t(i)]);
        grid->addWidget(lblLabels[size_t(i)], 2 + i, 0);
        grid->addWidget(CariTxt[size_t(i)], 2 + i, 1);
    }
    // Telephone numbers are short: the boxes need not span the dialog.
    for (int i = CustomerPicker::WorkPhone; i <= CustomerPicker::Mobile; ++i)
        CariTxt[size_t(i)]->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12 + 12);

    auto* feeLabel = new QLabel(QStringLiteral(" Bedel"), this);
    feeLabel->setObjectName(QStringLiteral("lblBedel"));
    CariText = new QLineEdit(QStringLiteral("0"), this);
    CariText->setObjectName(QStringLiteral("CariText"));
    CariText->setMaxLength(11);
    CariText->setAlignment(Qt::AlignRight);
    CariText->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12 + 12);
    CariText->installEventFilter(this);
    feeLabel->setBuddy(CariText);
    connect(CariText, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (t.isEmpty()) {
            CariText->setText(QStringLiteral("0"));
            CariText->selectAll();
        }
    });
    grid->addWidget(feeLabel, 8, 0);
    grid->addWidget(CariText, 8, 1);

    CariTxt6 = new QPlainTextEdit(this);
    CariTxt6->setObjectName(QStringLiteral("CariTxt(6)"));
    CariTxt6->setTabChangesFocus(true);
    CariTxt6->setFixedHeight(fontMetrics().lineSpacing() * 4 + 12);
    lblLabels[6]->setBuddy(CariTxt6);
    grid->addWidget(lblLabels[6], 9, 0, Qt::AlignTop);
    grid->addWidget(CariTxt6, 9, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const char* commandCaptions[] = {"Vazgeç", "Tamam"};
    for (int i = 1; i >= 0; --i) {
        KesifCmd[size_t(i)] = new QPushButton(QString::fromUtf8(commandCaptions[i]), this);
        KesifCmd[size_t(i)]->setObjectName(QStringLiteral("KesifCmd(%1)").arg(i));
        KesifCmd[size_t(i)]->setMinimumSize(100, 30);
        connect(KesifCmd[size_t(i)], &QPushButton::clicked, this, [this, i] { CommandClicked(i); });
        buttons->addWidget(KesifCmd[size_t(i)]);
    }
    grid->addLayout(buttons, 10, 0, 1, 2);

    // Over the boxes below the name; shown only while it offers matches.
    dbListe1 = new ui::DataList(this);
    dbListe1->setObjectName(QStringLiteral("dbListe1"));
    dbListe1->hide();

    QWidget* order[] = {CariTxt[0], CariTxt[1], CariTxt[2], CariTxt[3], CariTxt[4], CariTxt[5], CariText,
                        CariTxt6,   KesifCmd[1], KesifCmd[0], Option1[0], Option1[1], Text1};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void EntryDialog::Load()
{
    Data1.setDatabaseName(app::StorePaths::Local(paths_.accounts()));
    Data1.setRecordSource(QStringLiteral("Select * From CariKartlar Where HesKullan=False Order By Unvan ASC"));
    app::RefreshData(Data1);

    for (store::RecordView* v : {&IndexPrimary, &IndexSecondary})
        v->setDatabaseName(app::StorePaths::Local(paths_.index()));
    IndexPrimary.setRecordSource(QStringLiteral("Tarih"));
    IndexSecondary.setRecordSource(QStringLiteral("Mdbindex"));
    app::RefreshData(IndexPrimary);

    DataRecSay.setDatabaseName(app::StorePaths::Local(paths_.jobs()));
    DataRecSay.setRecordSource(QStringLiteral("RecSay"));
    app::RefreshData(DataRecSay);
    double last = 0;
    try {
        if (DataRecSay.RecordCount() > 0)
            last = DataRecSay.Field(0).toDouble();
    } catch (const store::StoreError&) {
    }
    NextRecordNo = last + 1;
    Text1->setText(PlainDigits(NextRecordNo));
    dbListe1->raise();
}

void EntryDialog::KindChosen(int index)
{
    Label1->setText(index == 0 ? kSurveyTitle : kServiceTitle);
}

bool EntryDialog::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (watched == Text1)
            return RecordNumberKey(k);
        if (watched == CariText)
            return FeeKey(k);
    } else if (e->type() == QEvent::FocusIn && watched == CariText) {
        QTimer::singleShot(0, CariText, [this] { CariText->selectAll(); });
    }
    return QDialog::eventFilter(watched, e);
}

bool EntryDialog::RecordNumberKey(QKeyEvent* k)
{
    if (!IsEnter(k))
        return false;
    try {
        StoreRecordNumber();
    } catch (const store::StoreError& e) {
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Warning);
    }
    return true;
}

void EntryDialog::StoreRecordNumber()
{
    const std::optional<double> n = WholeNumber(Text1->text());
    if (!n) {
        app::Prompt::Message(this,
                             QStringLiteral("Kayıt No bir sayı olmalıdır: \"%1\"\nKayıt numarası değişmedi.")
                                 .arg(Text1->text()),
                             {}, app::MessageIcon::Warning);
        Text1->setText(PlainDigits(NextRecordNo));
        Text1->selectAll();
        return;
    }
    // The number is the last one used from now on, even when the entry is
    // then cancelled.
    WriteRecordNumber(*n);
    NextRecordNo = *n;
    app::RefreshData(DataRecSay);
}

void EntryDialog::WriteRecordNumber(double number)
{
    if (DataRecSay.RecordCount() > 0) {
        DataRecSay.MoveFirst();
        DataRecSay.Edit();
    } else {
        DataRecSay.AddNew();
    }
    DataRecSay.setField(0, number);
    DataRecSay.Update();
}

bool EntryDialog::FeeKey(QKeyEvent* k)
{
    if (IsEnter(k)) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(CariText, &tab);
        return true;
    }
    const QString text = k->text();
    if (text.size() != 1 || k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab || k->key() == Qt::Key_Escape)
        return false; // keys that move or close, or type nothing
    const QChar c = text.at(0);
    if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('\b'))
        return false;
    app::Prompt::Beep();
    return true;
}

void EntryDialog::CommandClicked(int index)
{
    if (index == 0) {
        reject();
        return;
    }
    try {
        Confirm();
    } catch (const store::StoreError& e) {
        // A store that cannot even be read for the checks: nothing was written.
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Warning);
    }
}

} // namespace survey
