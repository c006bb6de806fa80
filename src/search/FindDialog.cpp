#include "search/FindDialog.h"

#include "app/Prompt.h"
#include "app/Refresh.h"
#include "store/StoreError.h"
#include "ui/DataGrid.h"
#include "ui/FocusReason.h"
#include "ui/RecordModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace search {

namespace {

// The status line holds one line of this width; longer texts are cut.
constexpr double kMessageTwips = 5880;
const QString kNotFound = QStringLiteral(".. Bulunamadı.");
const QString kOther = QStringLiteral("Başka ");

QString Number(const QVariant& v)
{
    return ui::RecordModel::FormatValue(v, ui::ColumnFormat::GeneralNumber);
}

} // namespace

FindDialog* FindDialog::Show(QWidget* owner, store::RecordView& orders, ui::DataGrid* orderGrid)
{
    FindDialog* dialog = nullptr;
    // A closed dialog is only waiting to be deleted: a new one takes its place.
    for (FindDialog* d : owner->findChildren<FindDialog*>(QString(), Qt::FindDirectChildrenOnly))
        if (d->isVisible())
            dialog = d;
    if (!dialog)
        dialog = new FindDialog(owner, orders, orderGrid);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

FindDialog::FindDialog(QWidget* owner, store::RecordView& orders, ui::DataGrid* orderGrid)
    : QDialog(owner)
    , orders_(orders)
    , orderGrid_(orderGrid)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral(" Bul"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    buildControls();
    CentreOverOwner();
    Combo1->clearEditText();

    Data1.setDatabaseName(orders_.DatabaseName());
    Data1.setRecordSource(QStringLiteral("Select * From Siparisler"));
    app::RefreshData(Data1);

    // F3 and Esc are the dialog's wherever its focus is, and F3 also steps on
    // from the order list the search has moved.
    qApp->installEventFilter(this);
}

FindDialog::~FindDialog()
{
    qApp->removeEventFilter(this);
}

void FindDialog::buildControls()
{
    Label1 = new QLabel(QStringLiteral("Aranacak :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    // The list grows only by the texts searched for, and what is typed stays
    // as typed (no completion from the list).
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    Combo1->setMinimumWidth(260);
    // Enabled and focused when the dialog is first activated.
    Combo1->setEnabled(false);
    Combo1->installEventFilter(this);
    Combo1->lineEdit()->installEventFilter(this);
    Label1->setBuddy(Combo1);
    connect(Combo1, &QComboBox::editTextChanged, this, &FindDialog::SearchBoxChanged);

    GenelChk = new QCheckBox(QStringLiteral("GENEL ARAMA"), this);
    GenelChk->setObjectName(QStringLiteral("GenelChk"));

    const char* captions[] = {"Bul", "Tekrar Bul", "Kapat"};
    for (int i = 0; i < 3; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        Command1[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        Command1[i]->setMinimumWidth(100);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { CommandClicked(i); });
    }

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setMinimumWidth(ui::TwipsToPixels(kMessageTwips));
    // Blinking must not move the controls around it.
    QSizePolicy keep = Label2->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Label2->setSizePolicy(keep);
    Label2->setStyleSheet(QStringLiteral("color: #b00000;"));
    connect(GenelChk, &QCheckBox::toggled, Label2, &QLabel::clear);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { Label2->setVisible(Label2->isHidden()); });
    Timer1->start();

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setAutoFillBackground(true);
    Label3 = new QLabel(Frame1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setToolTip(QStringLiteral("Kapatmak için tıklayın"));
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->installEventFilter(this);
    (new QVBoxLayout(Frame1))->addWidget(Label3);
    Frame1->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Combo1, 0, 1);
    grid->addWidget(Command1[0], 0, 2);
    grid->addWidget(GenelChk, 1, 1);
    grid->addWidget(Command1[1], 1, 2);
    grid->addWidget(Label2, 2, 0, 1, 2);
    grid->addWidget(Command1[2], 2, 2);
    // The details of a general search lie over the status line and the room
    // below it: five lines.
    grid->addItem(new QSpacerItem(0, 4 * fontMetrics().lineSpacing() + 16), 3, 0);
    grid->addWidget(Frame1, 2, 0, 2, 2);
    grid->activate();
    setFixedSize(sizeHint());
}

void FindDialog::CentreOverOwner()
{
    const QWidget* owner = parentWidget();
    if (!owner)
        return;
    const QRect o = owner->frameGeometry();
    move(o.x() + (o.width() - width()) / 2, o.y() + (o.height() - height()) / 2);
}

bool FindDialog::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        Activated();
    return QDialog::event(e);
}

void FindDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // Not every window system activates a newly shown window; the box must
    // still become usable.
    QMetaObject::invokeMethod(this, [this] { Activated(); }, Qt::QueuedConnection);
}

void FindDialog::Activated()
{
    if (Combo1->isEnabled())
        return;
    Combo1->setEnabled(true);
    Combo1->setFocus(Qt::OtherFocusReason);
}

bool FindDialog::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        if (isVisible() && HandleKey(watched, static_cast<QKeyEvent*>(e)->key()))
            return true;
        break;
    case QEvent::FocusIn:
        if (watched == Combo1 && ui::FocusMovedByUser(e))
            SearchBoxChanged();
        break;
    case QEvent::FocusOut:
        if (watched == Combo1 && ui::FocusMovedByUser(e))
            SearchBoxLeft();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Label3)
            Frame1->hide();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, e);
}

bool FindDialog::HandleKey(QObject* watched, int key)
{
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w)
        return false;
    const bool here = w->window() == this;
    if (here && (watched == Combo1 || watched == Combo1->lineEdit())
        && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (Command1[0]->isVisible())
            Command1[0]->setFocus(Qt::OtherFocusReason);
        Command1[0]->click();
        return true;
    }
    if (key == Qt::Key_F3 && (here || w->window() == parentWidget())) {
        // Only after a successful search: "Bul" is hidden until the text changes.
        if (!Command1[0]->isHidden())
            return false;
        Command1[1]->click();
        return true;
    }
    if (here && key == Qt::Key_Escape) {
        close();
        return true;
    }
    return false;
}

void FindDialog::SearchBoxChanged()
{
    Label2->clear();
    Command1[0]->show();
}

void FindDialog::SearchBoxLeft()
{
    const QString text = Combo1->currentText();
    if (Combo1->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        Combo1->addItem(text);
}

void FindDialog::CommandClicked(int index)
{
    try {
        if (GenelChk->isChecked()) {
            GeneralSearch();
            return;
        }
        Label2->clear();
        switch (index) {
        case 0:
            Search();
            break;
        case 1:
            SearchNext();
            break;
        default:
            close();
            break;
        }
    } catch (const store::StoreError& e) {
        Command1[0]->show();
        app::Prompt::Message(this, e.message(), {}, app::MessageIcon::Warning);
    }
}

void FindDialog::Search()
{
    Command1[0]->hide();
    const QString typed = Combo1->currentText();
    FindCriteria = Criteria::ForText(typed);
    if (FindByNumberNameOrProduct(orders_, FindCriteria))
        ShowOrderList(); // "Bul" stays hidden, so F3 steps on
    else
        NotFound(DisplayPattern(typed));
}

void FindDialog::SearchNext()
{
    Command1[0]->hide();
    // Before any search there is no condition to step on with: nothing more is found.
    bool found = false;
    if (!FindCriteria.isEmpty()) {
        orders_.FindNext(FindCriteria.text());
        found = !orders_.NoMatch();
    }
    if (found)
        ShowOrderList();
    else
        NoOtherFound(Combo1->currentText());
}

void FindDialog::GeneralSearch()
{
    Command1[0]->hide();
    const QString typed = Combo1->currentText();
    FindCriteria = Criteria::ForText(typed);
    if (!FindByNumberNameOrProduct(Data1, FindCriteria)) {
        NotFound(DisplayPattern(typed));
        return;
    }
    const auto text = [this](const char* field) { return Data1.Field(QString::fromUtf8(field)).toString(); };
    Label3->setText(QStringList{
        QStringLiteral("Görev = > ") + text("Görev"),
        text("CariAdi"),
        text("StokAdi"),
        QStringLiteral("Adet=") + Number(Data1.Field(QStringLiteral("Miktar"))) + QStringLiteral(" Fiyat=")
            + Number(Data1.Field(QStringLiteral("Fiyat"))) + QStringLiteral(" Tutar=")
            + Number(Data1.Field(QStringLiteral("Tutar"))),
        text("Aciklama"),
    }.join(QLatin1Char('\n')));
    Frame1->show();
    Frame1->raise();
}

void FindDialog::ShowOrderList()
{
    if (!orderGrid_)
        return;
    orderGrid_->window()->activateWindow();
    orderGrid_->setFocus(Qt::OtherFocusReason);
}

void FindDialog::NotFound(const QString& t)
{
    Label2->show();
    Label2->setText(FitToWidth(t, {}, kNotFound, Label2->fontMetrics(), kMessageTwips) + kNotFound);
    app::Prompt::Beep();
    Command1[0]->show();
}

void FindDialog::NoOtherFound(const QString& typed)
{
    const QString t = FitToWidth(typed, kOther, kNotFound, Label2->fontMetrics(), kMessageTwips);
    Label2->show();
    Label2->setText(t + kNotFound);
    app::Prompt::Beep();
    Label2->setText(kOther + t + kNotFound);
    app::Prompt::Beep();
    Command1[0]->show();
}

} // namespace search
